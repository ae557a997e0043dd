// Decodes a Motorola S-record text fed in arbitrary chunks, as a printer's loader reads it from
// its bulk pipe. Accepts S0 (header), S3 (data, 32-bit address) and S7 (end) records, upper- or
// lower-case hexadecimal, with CR and LF between records. Every record's checksum is checked.
// Any other input stops decoding: nothing is read past the first fault or past the S7 record.
// A zero byte where a record would start is the padding of the last block: the data has ended.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/SRecordSink.h"

namespace sim {

class SRecordDecoder {
public:
    enum class State {
        Reading,
        Finished,  // after the S7 record
        Ended,     // zero padding came before the S7 record
        Failed,
    };
    enum class Fault {
        None,
        BadCharacter,     // not a record start, type digit, hexadecimal digit or line end
        UnsupportedType,  // a type other than S0, S3, S7
        BadLength,        // a count too small for its record type, or an S7 count other than 5
        BadChecksum,      // the record's checksum byte does not match
        Rejected,         // the sink refused a data record
    };

    explicit SRecordDecoder(SRecordSink& sink) : m_sink(sink) {}

    // Decodes as much of the bytes as belongs to the text; returns how many were taken. Fewer
    // than given means decoding has stopped: finished, ended or failed.
    size_t Feed(std::span<const uint8_t> bytes);

    State GetState() const { return m_state; }
    Fault GetFault() const { return m_fault; }
    // Line of the text (from 1) where decoding stopped or is now.
    uint32_t Line() const { return m_line; }
    uint32_t DataRecords() const { return m_dataRecords; }

private:
    enum class Expect { RecordStart, TypeDigit, HighNibble, LowNibble };

    bool TakeCharacter(uint8_t c);
    bool TakeHexDigit(uint8_t c);
    bool FinishRecord();
    void Fail(Fault fault);

    SRecordSink& m_sink;
    State m_state = State::Reading;
    Fault m_fault = Fault::None;
    Expect m_expect = Expect::RecordStart;
    uint32_t m_line = 1;
    uint32_t m_dataRecords = 0;
    uint8_t m_type = 0;
    uint8_t m_highNibble = 0;
    // The count byte first, then the address, data and checksum bytes it announces.
    std::array<uint8_t, 256> m_record{};
    size_t m_recordBytes = 0;
};

}  // namespace sim
