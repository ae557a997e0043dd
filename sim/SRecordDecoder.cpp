#include "sim/SRecordDecoder.h"

namespace sim {

namespace {

int HexValue(uint8_t c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

uint32_t BigEndian32(const uint8_t* bytes) {
    return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
           (static_cast<uint32_t>(bytes[2]) << 8) | bytes[3];
}

}  // namespace

size_t SRecordDecoder::Feed(std::span<const uint8_t> bytes) {
    size_t taken = 0;
    while (m_state == State::Reading && taken < bytes.size()) {
        const uint8_t c = bytes[taken++];
        if (!TakeCharacter(c)) {
            break;
        }
    }
    return taken;
}

bool SRecordDecoder::TakeCharacter(uint8_t c) {
    switch (m_expect) {
        case Expect::RecordStart:
            if (c == '\n') {
                ++m_line;
                return true;
            }
            if (c == '\r') {
                return true;
            }
            if (c == 0) {
                m_state = State::Ended;
                return false;
            }
            if (c != 'S') {
                Fail(Fault::BadCharacter);
                return false;
            }
            m_expect = Expect::TypeDigit;
            return true;
        case Expect::TypeDigit:
            if (c < '0' || c > '9') {
                Fail(Fault::BadCharacter);
                return false;
            }
            m_type = c - '0';
            if (m_type != 0 && m_type != 3 && m_type != 7) {
                Fail(Fault::UnsupportedType);
                return false;
            }
            m_recordBytes = 0;
            m_expect = Expect::HighNibble;
            return true;
        case Expect::HighNibble:
        case Expect::LowNibble:
            return TakeHexDigit(c);
    }
    return false;
}

bool SRecordDecoder::TakeHexDigit(uint8_t c) {
    const int value = HexValue(c);
    if (value < 0) {
        Fail(Fault::BadCharacter);
        return false;
    }
    if (m_expect == Expect::HighNibble) {
        m_highNibble = static_cast<uint8_t>(value);
        m_expect = Expect::LowNibble;
        return true;
    }
    m_record[m_recordBytes++] = static_cast<uint8_t>((m_highNibble << 4) | value);
    m_expect = Expect::HighNibble;
    // The count byte itself plus the count of bytes it announces make the whole record.
    if (m_recordBytes == static_cast<size_t>(m_record[0]) + 1) {
        return FinishRecord();
    }
    return true;
}

bool SRecordDecoder::FinishRecord() {
    const size_t count = m_record[0];
    const size_t addressBytes = (m_type == 0) ? 2 : 4;
    if (count < addressBytes + 1 || (m_type == 7 && count != addressBytes + 1)) {
        Fail(Fault::BadLength);
        return false;
    }
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i) {
        sum += m_record[i];
    }
    if (static_cast<uint8_t>(~sum) != m_record[count]) {
        Fail(Fault::BadChecksum);
        return false;
    }
    m_expect = Expect::RecordStart;
    if (m_type == 7) {
        m_state = State::Finished;
        return false;
    }
    if (m_type == 3) {
        ++m_dataRecords;
        const std::span<const uint8_t> data(&m_record[1 + addressBytes], count - addressBytes - 1);
        if (!m_sink.OnData(BigEndian32(&m_record[1]), data)) {
            Fail(Fault::Rejected);
            return false;
        }
    }
    return true;
}

void SRecordDecoder::Fail(Fault fault) {
    m_state = State::Failed;
    m_fault = fault;
}

}  // namespace sim
