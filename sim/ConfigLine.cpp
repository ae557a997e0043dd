#include "sim/ConfigLine.h"

#include <cctype>

namespace sim {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper >= 'A' && upper <= 'F') {
        return upper - 'A' + 10;
    }
    return -1;
}

std::string_view WithoutHexPrefix(std::string_view word) {
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        return word.substr(2);
    }
    return word;
}

}  // namespace

ConfigLine::ConfigLine(uint32_t number, std::string_view text, ConfigError& error)
    : m_number(number), m_error(error) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        if (i == text.size() || text[i] == '#') {
            break;
        }
        const size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        words.emplace_back(text.substr(start, i - start));
    }
    if (!words.empty()) {
        m_key = words.front();
        m_values.assign(words.begin() + 1, words.end());
    }
}

bool ConfigLine::ExpectValues(size_t least, size_t most) {
    if (m_values.size() >= least && m_values.size() <= most) {
        return true;
    }
    std::string expected = std::to_string(least);
    if (most != least) {
        expected += " to " + std::to_string(most);
    }
    return Fail("expected " + expected + (most == 1 ? " value" : " values") + ", found " +
                std::to_string(m_values.size()));
}

bool ConfigLine::Number(size_t index, uint64_t most, uint64_t& value) {
    const std::string& word = m_values[index];
    const std::string_view hex = WithoutHexPrefix(word);
    const bool isHex = hex.size() != word.size();
    const uint64_t base = isHex ? 16 : 10;
    const std::string_view digits = isHex ? hex : std::string_view(word);
    uint64_t result = 0;
    bool valid = !digits.empty();
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0 || static_cast<uint64_t>(digit) >= base ||
            result > (most - static_cast<uint64_t>(digit)) / base) {
            valid = false;
            break;
        }
        result = result * base + static_cast<uint64_t>(digit);
    }
    if (!valid) {
        return Fail("expected a number from 0 to " + std::to_string(most) + ", found \"" + word +
                    "\"");
    }
    value = result;
    return true;
}

bool ConfigLine::Hex(size_t index, size_t digits, uint64_t& value) {
    const std::string& word = m_values[index];
    const std::string_view text = WithoutHexPrefix(word);
    uint64_t result = 0;
    bool valid = text.size() == digits;
    for (char c : text) {
        const int digit = HexDigit(c);
        valid = valid && digit >= 0;
        result = result * 16 + static_cast<uint64_t>(digit < 0 ? 0 : digit);
    }
    if (!valid) {
        return Fail("expected " + std::to_string(digits) + " hexadecimal digits, found \"" + word +
                    "\"");
    }
    value = result;
    return true;
}

bool ConfigLine::YesNo(size_t index, bool& value) {
    if (m_values[index] == "yes" || m_values[index] == "no") {
        value = m_values[index] == "yes";
        return true;
    }
    return Fail("expected yes or no, found \"" + m_values[index] + "\"");
}

bool ConfigLine::Area(size_t index, const AreaLayout*& area) {
    area = AreaLayout::ByName(m_values[index]);
    if (area == nullptr) {
        return Fail(
            "expected an area letter (p, t, c, f, s) or item (DATA1(M) to DATA4(M)), "
            "found \"" +
            m_values[index] + "\"");
    }
    return true;
}

bool ConfigLine::Version(size_t index, std::array<uint8_t, 6>& version) {
    const std::string& word = m_values[index];
    if (word.size() != version.size()) {
        return Fail("expected 6 characters, found \"" + word + "\"");
    }
    for (size_t i = 0; i < version.size(); ++i) {
        version[i] = static_cast<uint8_t>(word[i]);
    }
    return true;
}

bool ConfigLine::Occurrence(size_t index, uint32_t& occurrence) {
    uint64_t value = 0;
    if (!Number(index, UINT32_MAX, value)) {
        return false;
    }
    if (value == 0) {
        return Fail("the occurrence counts from 1");
    }
    occurrence = static_cast<uint32_t>(value);
    return true;
}

bool ConfigLine::JoinedHexBytes(std::span<uint8_t> bytes) {
    std::string digits;
    for (const std::string& word : m_values) {
        digits += word;
    }
    if (digits.size() != 2 * bytes.size()) {
        return Fail("expected " + std::to_string(bytes.size()) + " bytes as " +
                    std::to_string(2 * bytes.size()) + " hexadecimal digits, found " +
                    std::to_string(digits.size()) + " digits");
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexDigit(digits[2 * i]);
        const int low = HexDigit(digits[2 * i + 1]);
        if (high < 0 || low < 0) {
            return Fail("\"" + digits.substr(2 * i, 2) + "\" is not a hexadecimal byte");
        }
        bytes[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return true;
}

bool ConfigLine::Fail(const std::string& message) {
    m_error.line = m_number;
    m_error.field = m_key;
    m_error.message = message;
    return false;
}

}  // namespace sim
