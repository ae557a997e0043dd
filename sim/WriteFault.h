// A configured fault of the host's writes: the n-th write of a command or image block fails, is
// taken only in part, or is the moment the printer is unplugged.
#pragma once

#include <cstdint>

#include "sim/AreaLayout.h"
#include "sim/CommandSet.h"

namespace sim {

struct WriteFault {
    enum class Action {
        Fail,
        TakeShort,
        Unplug,  // the write fails, and so does every later transfer and open
    };

    // Image blocks when set, otherwise writes of `command`.
    bool image = false;
    CommandKind command = CommandKind::Unknown;
    // Restricts prepare, start-write and image faults to one area; null matches every area.
    const AreaLayout* area = nullptr;
    // 1 for the first matching write, 2 for the second, ...; 0 for every matching write.
    uint32_t occurrence = 0;
    Action action = Action::Fail;
    // TakeShort: how many bytes the printer takes of that write.
    uint32_t acceptedBytes = 0;
};

}  // namespace sim
