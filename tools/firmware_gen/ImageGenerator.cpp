#include "tools/firmware_gen/ImageGenerator.h"

#include <algorithm>
#include <random>

#include "tools/firmware_gen/AreaMemory.h"
#include "tools/firmware_gen/SRecordWriter.h"

namespace firmware {

namespace {

AreaMemory FillArea(const ImageLayout& layout) {
    AreaMemory memory(layout.area.first, layout.area.last);
    std::mt19937 filler(layout.fillerSeed);
    for (const auto& run : layout.runs) {
        std::ranges::generate(memory.Bytes(run.first, run.last),
                              [&filler] { return static_cast<uint8_t>(filler() >> 24); });
    }
    for (const auto& fixed : layout.fixedBytes) {
        memory.Write(fixed.address, fixed.bytes);
    }
    memory.WriteWord(layout.balanceWordAddress, 0);
    memory.WriteWord(layout.balanceWordAddress,
                     static_cast<uint16_t>(layout.areaChecksum - memory.WordSum()));
    return memory;
}

}  // namespace

std::string GenerateImage(const ImageLayout& layout) {
    AreaMemory memory = FillArea(layout);
    SRecordWriter writer;
    writer.AddHeader(layout.header);
    for (const auto& run : layout.runs) {
        for (uint64_t address = run.first; address <= run.last; address += layout.bytesPerRecord) {
            const uint32_t last = static_cast<uint32_t>(
                std::min<uint64_t>(address + layout.bytesPerRecord - 1, run.last));
            writer.AddData(static_cast<uint32_t>(address),
                           memory.Bytes(static_cast<uint32_t>(address), last));
        }
    }
    writer.AddStart(layout.startAddress);
    return writer.Finish(layout.lineBreakAfterLastLine);
}

}  // namespace firmware
