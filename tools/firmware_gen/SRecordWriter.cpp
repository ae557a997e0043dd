#include "tools/firmware_gen/SRecordWriter.h"

#include <stdexcept>

namespace firmware {

void SRecordWriter::AddHeader(std::span<const uint8_t> bytes) {
    AddRecord('0', 0, 2, bytes);
}

void SRecordWriter::AddData(uint32_t address, std::span<const uint8_t> bytes) {
    AddRecord('3', address, 4, bytes);
}

void SRecordWriter::AddStart(uint32_t address) {
    AddRecord('7', address, 4, {});
}

std::string SRecordWriter::Finish(bool lineBreakAfterLastLine) {
    if (!lineBreakAfterLastLine && m_text.ends_with("\r\n")) {
        m_text.resize(m_text.size() - 2);
    }
    return std::move(m_text);
}

void SRecordWriter::AddRecord(char type, uint32_t address, int addressBytes,
                              std::span<const uint8_t> data) {
    const size_t count = addressBytes + data.size() + 1;
    if (count > 0xFF) {
        throw std::length_error("S-record longer than 255 bytes");
    }
    m_text += 'S';
    m_text += type;
    m_sum = 0;
    AddByte(static_cast<uint8_t>(count));
    for (int shift = 8 * (addressBytes - 1); shift >= 0; shift -= 8) {
        AddByte(static_cast<uint8_t>(address >> shift));
    }
    for (uint8_t byte : data) {
        AddByte(byte);
    }
    AddByte(static_cast<uint8_t>(~m_sum));
    m_text += "\r\n";
}

void SRecordWriter::AddByte(uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    m_text += kDigits[byte >> 4];
    m_text += kDigits[byte & 0x0F];
    m_sum = static_cast<uint8_t>(m_sum + byte);
}

}  // namespace firmware
