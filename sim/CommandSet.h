// The printer's side of the command set: recognising the host's commands by their exact bytes
// and building the replies.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "sim/AreaLayout.h"
#include "sim/ItemFirmware.h"

namespace sim {

enum class CommandKind {
    DownloadMode,
    Restart,
    PrepareArea,
    StartWrite,
    VersionInquiry,
    StatusInquiry,
    IdentityRead,
    Unknown,  // begins with ESC but is none of the above
};

struct Command {
    CommandKind kind = CommandKind::Unknown;
    const AreaLayout* area = nullptr;  // PrepareArea and StartWrite only
};

class CommandSet {
public:
    static constexpr uint8_t kEscape = 0x1B;
    static constexpr size_t kStatusReplySize = 18;
    static constexpr size_t kIdentityReplySize = 28;
    static constexpr size_t kVersionReplySize = 36;
    static constexpr size_t kStartWriteSize = 512;

    // A transfer that begins with ESC is a command; S-record text never contains ESC.
    static bool IsCommand(std::span<const uint8_t> transfer);
    static Command Classify(std::span<const uint8_t> transfer);
    // "download-mode", "restart", "prepare", "start-write", "version-inquiry",
    // "status-inquiry", "identity-read", "unknown".
    static std::string_view Name(CommandKind kind);

    static std::vector<uint8_t> StatusReply(uint8_t modelCode, uint16_t errorCode,
                                            uint8_t printingState);
    static std::vector<uint8_t> IdentityReply(const std::array<uint8_t, 6>& identity);
    // Items in the reply's order: DATA1(M), DATA2(T), DATA3(F), DATA4(M).
    static std::vector<uint8_t> VersionReply(const std::array<ItemFirmware, 4>& items);
};

}  // namespace sim
