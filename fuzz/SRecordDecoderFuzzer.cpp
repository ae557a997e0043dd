// The simulated printer's S-record decoder over arbitrary image bytes, loading a small area's
// memory as the printer does. The same bytes are decoded twice: whole, and cut into chunks
// at places the input chooses, as the pipe's transfers cut an image. Both must stop at the
// same byte in the same state, having loaded the same records; a decoder that stopped takes
// nothing more.
#include <cstdlib>
#include <span>
#include <vector>

#include "sim/AreaLayout.h"
#include "sim/AreaMemory.h"
#include "sim/SRecordDecoder.h"
#include "sim/SRecordSink.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// 4 KiB from 00001000: small enough to erase for every input, reachable by records.
const sim::AreaLayout kArea{'x', "", 0x1000, 0x1FFF, -1};

// Loads the area's memory and remembers every record it was given.
class RecordingArea final : public sim::SRecordSink {
public:
    RecordingArea() : m_memory(kArea) { m_memory.Erase(); }

    bool OnData(uint32_t address, std::span<const uint8_t> data) override {
        const bool stored = m_memory.OnData(address, data);
        m_records.push_back({address, std::vector<uint8_t>(data.begin(), data.end()), stored});
        return stored;
    }

    struct Record {
        uint32_t address;
        std::vector<uint8_t> data;
        bool stored;
        bool operator==(const Record&) const = default;
    };
    const std::vector<Record>& Records() const { return m_records; }
    sim::ItemFirmware Firmware() const { return m_memory.Firmware(); }

private:
    sim::AreaMemory m_memory;
    std::vector<Record> m_records;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);

    RecordingArea whole;
    sim::SRecordDecoder wholeDecoder(whole);
    const size_t taken = wholeDecoder.Feed(bytes);
    Require(taken <= size);
    // The byte that stops decoding counts as taken; only a decoder still reading takes all.
    if (wholeDecoder.GetState() == sim::SRecordDecoder::State::Reading) {
        Require(taken == size);
    }
    if (wholeDecoder.GetState() != sim::SRecordDecoder::State::Reading) {
        Require(wholeDecoder.Feed(bytes) == 0);
    }
    Require((wholeDecoder.GetFault() != sim::SRecordDecoder::Fault::None) ==
            (wholeDecoder.GetState() == sim::SRecordDecoder::State::Failed));
    Require(wholeDecoder.DataRecords() == whole.Records().size());

    RecordingArea chunked;
    sim::SRecordDecoder chunkedDecoder(chunked);
    size_t offset = 0;
    size_t chunkedTaken = 0;
    uint32_t cut = static_cast<uint32_t>(size) * 2654435761u;
    while (offset < size) {
        cut = cut * 1103515245u + 12345u;
        const size_t length = std::min<size_t>(size - offset, 1 + (cut >> 16) % 97);
        const size_t fed = chunkedDecoder.Feed(bytes.subspan(offset, length));
        Require(fed <= length);
        chunkedTaken += fed;
        if (fed < length) {
            Require(chunkedDecoder.GetState() != sim::SRecordDecoder::State::Reading);
            Require(chunkedDecoder.Feed(bytes.subspan(offset + fed)) == 0);
            break;
        }
        offset += length;
    }
    Require(chunkedTaken == taken);
    Require(chunkedDecoder.GetState() == wholeDecoder.GetState());
    Require(chunkedDecoder.GetFault() == wholeDecoder.GetFault());
    Require(chunkedDecoder.Line() == wholeDecoder.Line());
    Require(chunked.Records() == whole.Records());
    Require(chunked.Firmware() == whole.Firmware());
    return 0;
}
