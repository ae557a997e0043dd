// Writes Motorola S-record text in upper-case hexadecimal, one record a line, each line ended
// by CR LF.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace firmware {

class SRecordWriter {
public:
    void AddHeader(std::span<const uint8_t> bytes);                  // S0, address 0000
    void AddData(uint32_t address, std::span<const uint8_t> bytes);  // S3, 4-byte address
    void AddStart(uint32_t address);                                 // S7, 4-byte address

    // The text written so far; without lineBreakAfterLastLine it ends with the last record's
    // checksum digits.
    std::string Finish(bool lineBreakAfterLastLine);

private:
    void AddRecord(char type, uint32_t address, int addressBytes, std::span<const uint8_t> data);
    void AddByte(uint8_t byte);

    std::string m_text;
    uint8_t m_sum = 0;
};

}  // namespace firmware
