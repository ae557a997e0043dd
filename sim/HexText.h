// Numbers and bytes as upper-case hexadecimal text, as the simulator's logs, state file and
// traces write them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

// The lowest `digits` hexadecimal digits of `value`, zero-padded.
std::string HexText(uint64_t value, size_t digits);

}  // namespace sim
