// What each of the package's three firmware images must be, written down from the package's
// description independently of the generator's own layout tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tests/package/firmware/SRecordFile.h"

struct ImageFacts {
    std::string name;
    std::string path;  // the generated image
    uint16_t resourceId;
    size_t size;
    size_t lines;
    bool lineBreakAfterLastLine;
    std::string s0Line;
    std::string s7Line;
    size_t dataRecords;
    size_t bytesPerRecord;
    SRecordFile::Range area;
    std::vector<SRecordFile::Range> runs;
    size_t dataBytes;
    std::string version;
    std::vector<uint8_t> firstBytes;  // at the area's first address
    std::vector<uint8_t> lastBytes;   // the area's last 16 bytes, FF where nothing is written
    std::string checksum;             // as the manifest writes it
};

const std::vector<ImageFacts>& PackageImages();
// Names the image in test failure messages.
void PrintTo(const ImageFacts& facts, std::ostream* out);

std::string ReadWholeFile(const std::string& path);

// Sum, modulo 65536, of the 16-bit little-endian words of an area's bytes.
uint16_t LittleEndianWordSum(const std::vector<uint8_t>& bytes);
// Four upper-case hexadecimal digits, the manifest's form of a checksum.
std::string ChecksumText(uint16_t sum);
