// Receives the data records that an SRecordDecoder takes from a Motorola S-record text.
#pragma once

#include <cstdint>
#include <span>

namespace sim {

class SRecordSink {
public:
    virtual ~SRecordSink() = default;
    // One data record's bytes at their load address. Returning false rejects the record (for
    // example an address outside the memory that is being loaded), which stops the decoder.
    virtual bool OnData(uint32_t address, std::span<const uint8_t> data) = 0;
};

}  // namespace sim
