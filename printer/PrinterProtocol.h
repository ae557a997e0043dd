// The printer's message layouts: the firmware items, the target areas that the download
// commands name, and the decoded version reply.
#pragma once

#include "platform/WinTypes.h"

// The four firmware items, in the order of every per-item table; the tool's own facts of each
// (label, fields, message, area, image) are kDataSlotFacts in app/DataSlotFacts.h.
enum DataSlot : int { DATA1_M = 0, DATA2_T = 1, DATA3_F = 2, DATA4_M = 3 };
constexpr int kDataSlotCount = 4;

// Area numbers of the download commands; each selects a letter (see TargetAreaLetter).
using TargetArea = WORD;
constexpr TargetArea kAreaData1 = 0;  // p
constexpr TargetArea kAreaData2 = 1;  // t
constexpr TargetArea kAreaSpare = 2;  // c, never used by the update
constexpr TargetArea kAreaData3 = 3;  // f
constexpr TargetArea kAreaData4 = 4;  // s

// The letter of an area, or 0 for a number outside 0 to 4.
constexpr char TargetAreaLetter(TargetArea area) {
    constexpr char kLetters[] = {'p', 't', 'c', 'f', 's'};
    return area < 5 ? kLetters[area] : '\0';
}

struct VersionEntry {
    char version[8];  // six characters and two NULs
    DWORD checksum;   // 0 to FFFF
};

struct VersionInfo {
    VersionEntry item[kDataSlotCount];
};

constexpr int kVersionReplySize = 36;
constexpr int kStatusReplySize = 18;
constexpr int kIdentityReplySize = 28;
constexpr BYTE kReplyHeader[4] = {0xE4, 0x47, 0x44, 0x30};
