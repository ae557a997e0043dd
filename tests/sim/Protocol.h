// The host's side of the printer protocol, byte for byte, for the simulator's tests.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace simtest {

inline const std::vector<uint8_t> kDownloadMode{0x1B, 0x66, 0x67, 0x6A, 0x70, 0x64, 0x6C, 0x00};
inline const std::vector<uint8_t> kRestart{0x1B, 0x66, 0x72, 0x00};
inline const std::vector<uint8_t> kVersionInquiry{0x1B, 0x47, 0x44, 0x30, 0x00, 0x00,
                                                  0x04, 0x0C, 0x0E, 0x0D, 0x13};
inline const std::vector<uint8_t> kStatusInquiry{0x1B, 0x47, 0x44, 0x30, 0x00,
                                                 0x00, 0x03, 0x02, 0x16, 0x17};
inline const std::vector<uint8_t> kIdentityRead{0x1B, 0x61, 0x36, 0x36, 0x41, 0xBE, 0x00, 0x00,
                                                0x00, 0x06, 0x00, 0x00, 0x00, 0x30, 0xFF, 0xFF,
                                                0xFF, 0xF9, 0xFF, 0xFF, 0xFF, 0xCF};

inline std::vector<uint8_t> PrepareArea(char letter) {
    return {0x1B, 0x66, 0x65, static_cast<uint8_t>(letter)};
}

inline std::vector<uint8_t> StartWrite(char letter) {
    std::vector<uint8_t> command(512, 0);
    command[0] = 0x1B;
    command[1] = 0x66;
    command[2] = 0x73;
    command[3] = static_cast<uint8_t>(letter);
    return command;
}

// The writes the tool makes of an image: whole blocks of 4096 bytes, then the rest followed
// by 1 to 64 zero bytes, up to a multiple of 64.
inline std::vector<std::vector<uint8_t>> ImageBlocks(std::string_view image) {
    std::vector<std::vector<uint8_t>> blocks;
    size_t offset = 0;
    for (; image.size() - offset >= 4096; offset += 4096) {
        blocks.emplace_back(image.begin() + offset, image.begin() + offset + 4096);
    }
    const size_t rest = image.size() - offset;
    if (rest != 0) {
        std::vector<uint8_t> tail(rest / 64 * 64 + 64, 0);
        std::copy(image.begin() + offset, image.end(), tail.begin());
        blocks.push_back(tail);
    }
    return blocks;
}

}  // namespace simtest
