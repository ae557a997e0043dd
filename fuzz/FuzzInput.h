// Splits one fuzzer input into the parts a target needs: single bytes for choices and
// lengths, then byte strings. Reads past the end yield zeros and empty strings, so every
// input is usable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t Byte() { return m_offset < m_size ? m_data[m_offset++] : 0; }
    // Up to `count` bytes, fewer at the end of the input.
    std::string Bytes(size_t count) {
        const size_t taken = count < m_size - m_offset ? count : m_size - m_offset;
        std::string bytes(reinterpret_cast<const char*>(m_data + m_offset), taken);
        m_offset += taken;
        return bytes;
    }
    // A string whose length the next byte gives.
    std::string Sized() { return Bytes(Byte()); }
    std::string Rest() { return Bytes(m_size - m_offset); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_offset = 0;
};
