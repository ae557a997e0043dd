// What the printer reports for one firmware area: its version text and 16-bit checksum.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace sim {

struct ItemFirmware {
    // Six bytes as the area holds them: usually ASCII, but an erased or broken area yields
    // any values.
    std::array<uint8_t, 6> version{'0', '0', '0', '0', '0', '0'};
    uint16_t checksum = 0;

    static ItemFirmware Of(std::string_view versionText, uint16_t checksum) {
        ItemFirmware firmware;
        for (size_t i = 0; i < firmware.version.size() && i < versionText.size(); ++i) {
            firmware.version[i] = static_cast<uint8_t>(versionText[i]);
        }
        firmware.checksum = checksum;
        return firmware;
    }

    bool operator==(const ItemFirmware&) const = default;
};

}  // namespace sim
