#include "sim/HexText.h"

namespace sim {

std::string HexText(uint64_t value, size_t digits) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(digits, '0');
    for (size_t position = digits; position > 0; --position, value >>= 4) {
        text[position - 1] = kDigits[value & 0xF];
    }
    return text;
}

}  // namespace sim
