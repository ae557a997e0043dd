#include "tools/firmware_gen/ImageLayouts.h"

#include <algorithm>

namespace firmware {

namespace {

std::vector<uint8_t> Ascii(std::string_view text) {
    return {text.begin(), text.end()};
}

// The version text padded with zero bytes to the given length.
std::vector<uint8_t> VersionBlock(std::string_view version, size_t length) {
    std::vector<uint8_t> block(length, 0);
    std::copy(version.begin(), version.end(), block.begin());
    return block;
}

const std::vector<ImageLayout>& Layouts() {
    static const std::vector<ImageLayout> layouts = {
        {
            .name = "DATA1M",
            .header = Ascii("HDR"),
            .startAddress = 0x80000008,
            .area = {0x00080000, 0x0027FFFF},
            .runs = {{0x00080000, 0x00080005},
                     {0x00080008, 0x00080043},
                     {0x00080100, 0x001812B3},
                     {0x001C0000, 0x001CD1D3},
                     {0x00200000, 0x0020E557},
                     {0x0027FC00, 0x0027FC3F},
                     {0x0027FFF0, 0x0027FFF7}},
            .bytesPerRecord = 29,
            .fixedBytes = {{0x00080000, VersionBlock("450D42", 6)},
                           {0x0027FFF0, VersionBlock("450D42", 8)}},
            .balanceWordAddress = 0x001812B2,
            .areaChecksum = 0x3AC3,
            .fillerSeed = 130,
            .lineBreakAfterLastLine = true,
        },
        {
            .name = "DATA2T",
            .header = {},
            .startAddress = 0,
            .area = {0x00500000, 0x006FFFFF},
            .runs = {{0x00500000, 0x006FFFFF}},
            .bytesPerRecord = 16,
            .fixedBytes = {{0x00500000, VersionBlock("452C11", 16)},
                           {0x006FFFF0, VersionBlock("452C11", 16)}},
            .balanceWordAddress = 0x006FFFEE,
            .areaChecksum = 0xBEB3,
            .fillerSeed = 137,
            .lineBreakAfterLastLine = false,
        },
        {
            .name = "DATA4M",
            .header = {},
            .startAddress = 0,
            .area = {0x002C0000, 0x002FFFFF},
            .runs = {{0x002C0000, 0x002DE2BF}, {0x002FFFF0, 0x002FFFFF}},
            .bytesPerRecord = 16,
            .fixedBytes = {{0x002C0000, {0x5A, 0xA5, 0xA5, 0x5A}},
                           {0x002FFFF0, VersionBlock("454F11", 16)}},
            .balanceWordAddress = 0x002DE2BE,
            .areaChecksum = 0xA789,
            .fillerSeed = 131,
            .lineBreakAfterLastLine = true,
        },
    };
    return layouts;
}

}  // namespace

const ImageLayout* FindImageLayout(std::string_view name) {
    const auto& layouts = Layouts();
    auto found = std::find_if(layouts.begin(), layouts.end(),
                              [name](const ImageLayout& layout) { return layout.name == name; });
    return found != layouts.end() ? &*found : nullptr;
}

std::vector<std::string> ImageLayoutNames() {
    std::vector<std::string> names;
    for (const auto& layout : Layouts()) {
        names.push_back(layout.name);
    }
    return names;
}

}  // namespace firmware
