#include "tests/package/firmware/ImageFacts.h"

#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>

#include "app/Resource.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text, size_t zeros, size_t erased = 0) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.insert(bytes.end(), zeros, 0x00);
    bytes.insert(bytes.end(), erased, 0xFF);
    return bytes;
}

}  // namespace

const std::vector<ImageFacts>& PackageImages() {
    static const std::vector<ImageFacts> images = {
        {
            .name = "DATA1M",
            .path = RXT9_GENERATED_IMAGE_DATA1M,
            .resourceId = IDR_DATA1M,
            .size = 2974598,
            .lines = 40203,
            .lineBreakAfterLastLine = true,
            .s0Line = "S00600004844521B",
            .s7Line = "S7058000000872",
            .dataRecords = 40201,
            .bytesPerRecord = 29,
            .area = {0x00080000, 0x0027FFFF},
            .runs = {{0x00080000, 0x00080005},
                     {0x00080008, 0x00080043},
                     {0x00080100, 0x001812B3},
                     {0x001C0000, 0x001CD1D3},
                     {0x00200000, 0x0020E557},
                     {0x0027FC00, 0x0027FC3F},
                     {0x0027FFF0, 0x0027FFF7}},
            .dataBytes = 1165674,
            .version = "450D42",
            .firstBytes = Bytes("450D42", 0, 2),
            .lastBytes = Bytes("450D42", 2, 8),
            .checksum = "3AC3",
        },
        {
            .name = "DATA2T",
            .path = RXT9_GENERATED_IMAGE_DATA2T,
            .resourceId = IDR_DATA2T,
            .size = 6291482,
            .lines = 131074,
            .lineBreakAfterLastLine = false,
            .s0Line = "S0030000FC",
            .s7Line = "S70500000000FA",
            .dataRecords = 131072,
            .bytesPerRecord = 16,
            .area = {0x00500000, 0x006FFFFF},
            .runs = {{0x00500000, 0x006FFFFF}},
            .dataBytes = 2097152,
            .version = "452C11",
            .firstBytes = Bytes("452C11", 10),
            .lastBytes = Bytes("452C11", 10),
            .checksum = "BEB3",
        },
        {
            .name = "DATA4M",
            .path = RXT9_GENERATED_IMAGE_DATA4M,
            .resourceId = IDR_DATA4M,
            .size = 370828,
            .lines = 7727,
            .lineBreakAfterLastLine = true,
            .s0Line = "S0030000FC",
            .s7Line = "S70500000000FA",
            .dataRecords = 7725,
            .bytesPerRecord = 16,
            .area = {0x002C0000, 0x002FFFFF},
            .runs = {{0x002C0000, 0x002DE2BF}, {0x002FFFF0, 0x002FFFFF}},
            .dataBytes = 123600,
            .version = "454F11",
            .firstBytes = {0x5A, 0xA5, 0xA5, 0x5A},
            .lastBytes = Bytes("454F11", 10),
            .checksum = "A789",
        },
    };
    return images;
}

void PrintTo(const ImageFacts& facts, std::ostream* out) {
    *out << facts.name;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint16_t LittleEndianWordSum(const std::vector<uint8_t>& bytes) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        sum += bytes[i] + 256u * bytes[i + 1];
    }
    return static_cast<uint16_t>(sum);
}

std::string ChecksumText(uint16_t sum) {
    std::ostringstream text;
    text << std::uppercase << std::hex << std::setw(4) << std::setfill('0') << sum;
    return text.str();
}
