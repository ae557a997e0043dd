// What the tool knows of each firmware item besides the package table: its label, the value
// fields of its line in the main window's three rows, the message shown while it is sent, the
// printer's area that takes it and the resource of its image. In DataSlot order.
#pragma once

#include <array>

#include "app/MessageCatalogue.h"
#include "app/Resource.h"
#include "printer/PrinterProtocol.h"

// The two value fields of an item's line in one row.
struct RowFields {
    int version;
    int checksum;
};

struct DataSlotFacts {
    const char* label;
    RowFields package;
    RowFields before;
    RowFields after;
    unsigned loadingMessage;
    TargetArea area;  // its letter: TargetAreaLetter
    WORD imageResource;
};

constexpr std::array<DataSlotFacts, kDataSlotCount> kDataSlotFacts = {{
    {"DATA1(M)",
     {IDC_DATA1_PACKAGE_VERSION, IDC_DATA1_PACKAGE_CHECKSUM},
     {IDC_DATA1_BEFORE_VERSION, IDC_DATA1_BEFORE_CHECKSUM},
     {IDC_DATA1_AFTER_VERSION, IDC_DATA1_AFTER_CHECKSUM},
     IDS_LOADING_DATA1,
     kAreaData1,
     IDR_DATA1M},
    {"DATA2(T)",
     {IDC_DATA2_PACKAGE_VERSION, IDC_DATA2_PACKAGE_CHECKSUM},
     {IDC_DATA2_BEFORE_VERSION, IDC_DATA2_BEFORE_CHECKSUM},
     {IDC_DATA2_AFTER_VERSION, IDC_DATA2_AFTER_CHECKSUM},
     IDS_LOADING_DATA2,
     kAreaData2,
     IDR_DATA2T},
    {"DATA3(F)",
     {IDC_DATA3_PACKAGE_VERSION, IDC_DATA3_PACKAGE_CHECKSUM},
     {IDC_DATA3_BEFORE_VERSION, IDC_DATA3_BEFORE_CHECKSUM},
     {IDC_DATA3_AFTER_VERSION, IDC_DATA3_AFTER_CHECKSUM},
     IDS_LOADING_DATA3,
     kAreaData3,
     IDR_NO_IMAGE},
    {"DATA4(M)",
     {IDC_DATA4_PACKAGE_VERSION, IDC_DATA4_PACKAGE_CHECKSUM},
     {IDC_DATA4_BEFORE_VERSION, IDC_DATA4_BEFORE_CHECKSUM},
     {IDC_DATA4_AFTER_VERSION, IDC_DATA4_AFTER_CHECKSUM},
     IDS_LOADING_DATA4,
     kAreaData4,
     IDR_DATA4M},
}};

// The facts of a slot; a number outside the four reads as DATA3(F), which has no image.
constexpr const DataSlotFacts& FactsOf(int slot) {
    return kDataSlotFacts[static_cast<size_t>(slot >= DATA1_M && slot <= DATA4_M ? slot : DATA3_F)];
}
