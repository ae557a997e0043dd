// The firmware that one simulated printer reports, as kept between runs of the tool.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sim/ItemFirmware.h"

namespace sim {

struct PrinterState {
    // A printer is recognised by its position in the configuration together with its identity.
    size_t position = 0;
    std::array<uint8_t, 6> identity{};
    // By the index of AreaLayout::All().
    std::array<ItemFirmware, 5> firmware{};
};

}  // namespace sim
