// A configured fault of a firmware area: after an image has been written to it, the printer
// reports this version or checksum instead of what its memory yields.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sim/AreaLayout.h"

namespace sim {

struct ReportOverride {
    const AreaLayout* area = nullptr;
    std::optional<std::array<uint8_t, 6>> version;
    std::optional<uint16_t> checksum;
};

}  // namespace sim
