// The table of the firmware package built into the program: the printer it is for, the
// versions and checksums of each package set, the printers each set applies to, and the
// waiting times of the download. Filled and validated once by Load.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

// The constants that Load puts into the table; BuiltIn() is this program's package.
struct PackageValues {
    std::string vendorId;
    std::string productId;
    std::string modelCode;
    std::array<std::string, 4> set1Version;
    std::array<std::string, 4> set1Checksum;
    int set1PairCount;
    std::vector<std::string> set1ApplicableTexts;
    std::array<std::string, 4> set2Version;
    std::array<std::string, 4> set2Checksum;
    int set2PairCount;
    std::vector<std::string> set2ApplicableTexts;
    int initWait;
    int restartWait;
    std::array<int, 4> prepareWait;
    std::array<int, 4> writeEstimate;
    std::array<int, 4> writeTimeout;

    static PackageValues BuiltIn();
};

class CPackageInfo {
public:
    CPackageInfo() = default;
    virtual ~CPackageInfo() = default;

    BOOL Load();
    BOOL LoadFrom(const PackageValues& values);
    static BOOL HasLength(const std::string& text, int count);

    std::string GetVendorId() const { return m_strVendorId; }
    std::string GetProductId() const { return m_strProductId; }
    std::string GetModelCode() const { return m_strModelCode; }
    // set is 1 or 2 (any other value reads set 1); slot is a DataSlot 0 to 3.
    std::string GetVersion(int set, int slot) const;
    std::string GetChecksum(int set, int slot) const;
    std::vector<std::string> GetApplicableList(int set) const;

    BYTE m_bSecondSetBlank = FALSE;
    LONG m_nInitWait = 0;
    LONG m_nRestartWait = 0;
    std::array<LONG, 4> m_nPrepareWait{};
    std::array<LONG, 4> m_nWriteEstimate{};
    std::array<LONG, 4> m_nWriteTimeout{};

private:
    struct PackageSetTable {
        std::array<std::string, 4> m_strVersion;
        std::array<std::string, 4> m_strChecksum;
        LONG m_nPairCount = 0;
        std::vector<std::string> m_applicable;
    };

    static BOOL SplitApplicableTexts(const std::vector<std::string>& texts, int pairCount,
                                     PackageSetTable& set);
    BOOL Validate();
    static BOOL IsValidItem(const PackageSetTable& set, int slot);
    const PackageSetTable& Set(int set) const { return set == 2 ? m_set2 : m_set1; }

    std::string m_strVendorId;
    std::string m_strProductId;
    std::string m_strModelCode;
    PackageSetTable m_set1;
    PackageSetTable m_set2;
};
