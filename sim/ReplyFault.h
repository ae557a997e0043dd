// A configured fault of the printer's replies: a reply cut short or sent with another header.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sim/CommandSet.h"

namespace sim {

struct ReplyFault {
    // The inquiry whose reply is changed: VersionInquiry, StatusInquiry or IdentityRead.
    CommandKind inquiry = CommandKind::VersionInquiry;
    uint32_t missingBytes = 0;
    std::optional<std::array<uint8_t, 4>> header;
    // 1 for the first reply to that inquiry, ...; 0 for every one.
    uint32_t occurrence = 0;
};

}  // namespace sim
