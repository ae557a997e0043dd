// What one write of the host is to the printer: a command, or a block of the image that the
// printer is receiving.
#pragma once

#include "sim/AreaLayout.h"
#include "sim/CommandSet.h"

namespace sim {

struct HostWrite {
    enum class Kind { Command, Image, Stray };

    Kind kind = Kind::Stray;
    CommandKind command = CommandKind::Unknown;  // Kind::Command
    const AreaLayout* area = nullptr;            // prepare, start-write and image blocks
};

}  // namespace sim
