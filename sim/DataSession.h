// The data of one image, from the start-write command until the next command: decoded into
// the area's memory until the S7 record, a faulty record or the end of the data.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "sim/AreaMemory.h"
#include "sim/SRecordDecoder.h"

namespace sim {

class DataSession {
public:
    enum class Status {
        Receiving,    // before the S7 record
        Complete,     // the S7 record arrived; what follows it is ignored
        Failed,       // a record could not be decoded or lay outside the area
        Stopped,      // padding or the next command came before the S7 record
        NotPrepared,  // the area was not prepared; the printer discards the data
    };

    // `prepared` false: the printer discards everything it is sent.
    DataSession(AreaMemory& memory, bool prepared);

    // One transfer of image data. Returns true when this transfer ended the decoding (S7
    // record or fault), which is when the area's memory reached its final contents.
    bool Receive(std::span<const uint8_t> transfer);
    // The next command ends the data; true when it did so before the S7 record.
    bool Close();

    Status GetStatus() const { return m_status; }
    const AreaLayout& Area() const { return m_memory.Layout(); }
    uint64_t Bytes() const { return m_bytes; }
    // "data p: 8192 bytes in 2 transfers, complete"
    std::string Describe() const;

private:
    AreaMemory& m_memory;
    SRecordDecoder m_decoder;
    Status m_status;
    uint64_t m_bytes = 0;
    uint32_t m_transfers = 0;
};

}  // namespace sim
