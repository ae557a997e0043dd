#include "sim/CommandSet.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace sim {

namespace {

constexpr std::array<uint8_t, 8> kDownloadMode{0x1B, 0x66, 0x67, 0x6A, 0x70, 0x64, 0x6C, 0x00};
constexpr std::array<uint8_t, 4> kRestart{0x1B, 0x66, 0x72, 0x00};
constexpr std::array<uint8_t, 11> kVersionInquiry{0x1B, 0x47, 0x44, 0x30, 0x00, 0x00,
                                                  0x04, 0x0C, 0x0E, 0x0D, 0x13};
constexpr std::array<uint8_t, 10> kStatusInquiry{0x1B, 0x47, 0x44, 0x30, 0x00,
                                                 0x00, 0x03, 0x02, 0x16, 0x17};
constexpr std::array<uint8_t, 22> kIdentityRead{0x1B, 0x61, 0x36, 0x36, 0x41, 0xBE, 0x00, 0x00,
                                                0x00, 0x06, 0x00, 0x00, 0x00, 0x30, 0xFF, 0xFF,
                                                0xFF, 0xF9, 0xFF, 0xFF, 0xFF, 0xCF};
constexpr std::array<uint8_t, 4> kReplyHeader{0xE4, 0x47, 0x44, 0x30};
constexpr uint8_t kPrepareLetter = 0x65;
constexpr uint8_t kStartWriteLetter = 0x73;

template <size_t N>
bool Equals(std::span<const uint8_t> transfer, const std::array<uint8_t, N>& expected) {
    return transfer.size() == N && std::equal(expected.begin(), expected.end(), transfer.begin());
}

// ESC f <op> <area letter>, followed by `zeros` zero bytes.
const AreaLayout* AreaCommand(std::span<const uint8_t> transfer, uint8_t op, size_t zeros) {
    if (transfer.size() != 4 + zeros || transfer[0] != 0x1B || transfer[1] != 0x66 ||
        transfer[2] != op) {
        return nullptr;
    }
    if (!std::all_of(transfer.begin() + 4, transfer.end(), [](uint8_t b) { return b == 0; })) {
        return nullptr;
    }
    return AreaLayout::ByLetter(static_cast<char>(transfer[3]));
}

}  // namespace

bool CommandSet::IsCommand(std::span<const uint8_t> transfer) {
    return !transfer.empty() && transfer[0] == kEscape;
}

Command CommandSet::Classify(std::span<const uint8_t> transfer) {
    if (Equals(transfer, kDownloadMode)) {
        return {CommandKind::DownloadMode};
    }
    if (Equals(transfer, kRestart)) {
        return {CommandKind::Restart};
    }
    if (Equals(transfer, kVersionInquiry)) {
        return {CommandKind::VersionInquiry};
    }
    if (Equals(transfer, kStatusInquiry)) {
        return {CommandKind::StatusInquiry};
    }
    if (Equals(transfer, kIdentityRead)) {
        return {CommandKind::IdentityRead};
    }
    if (const AreaLayout* area = AreaCommand(transfer, kPrepareLetter, 0)) {
        return {CommandKind::PrepareArea, area};
    }
    if (const AreaLayout* area = AreaCommand(transfer, kStartWriteLetter, kStartWriteSize - 4)) {
        return {CommandKind::StartWrite, area};
    }
    return {CommandKind::Unknown};
}

std::string_view CommandSet::Name(CommandKind kind) {
    // In the order of CommandKind.
    static constexpr std::string_view kNames[] = {
        "download-mode",   "restart",        "prepare",       "start-write",
        "version-inquiry", "status-inquiry", "identity-read", "unknown"};
    static_assert(std::size(kNames) == static_cast<size_t>(CommandKind::Unknown) + 1);
    const auto position = static_cast<size_t>(kind);
    return position < std::size(kNames) ? kNames[position] : "unknown";
}

std::vector<uint8_t> CommandSet::StatusReply(uint8_t modelCode, uint16_t errorCode,
                                             uint8_t printingState) {
    std::vector<uint8_t> reply(kStatusReplySize, 0);
    std::copy(kReplyHeader.begin(), kReplyHeader.end(), reply.begin());
    reply[4] = modelCode;
    reply[5] = static_cast<uint8_t>(errorCode >> 8);
    reply[6] = static_cast<uint8_t>(errorCode & 0xFF);
    reply[16] = printingState;
    return reply;
}

std::vector<uint8_t> CommandSet::IdentityReply(const std::array<uint8_t, 6>& identity) {
    // The printer echoes the request's selector bytes, with the first byte inverted like the
    // get-data replies, ahead of the identity.
    std::vector<uint8_t> reply(kIdentityReplySize, 0);
    std::copy(kIdentityRead.begin(), kIdentityRead.end(), reply.begin());
    reply[0] = static_cast<uint8_t>(~kEscape);
    std::copy(identity.begin(), identity.end(), reply.begin() + 22);
    return reply;
}

std::vector<uint8_t> CommandSet::VersionReply(const std::array<ItemFirmware, 4>& items) {
    std::vector<uint8_t> reply(kVersionReplySize, 0);
    std::copy(kReplyHeader.begin(), kReplyHeader.end(), reply.begin());
    for (size_t k = 0; k < items.size(); ++k) {
        const auto record = reply.begin() + 4 + 8 * k;
        std::copy(items[k].version.begin(), items[k].version.end(), record);
        record[6] = static_cast<uint8_t>(items[k].checksum >> 8);
        record[7] = static_cast<uint8_t>(items[k].checksum & 0xFF);
    }
    return reply;
}

}  // namespace sim
