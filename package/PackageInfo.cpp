#include "package/PackageInfo.h"

namespace {

const std::string kBlank = " ";

}  // namespace

PackageValues PackageValues::BuiltIn() {
    return {"2E91",
            "5D36",
            "5F",
            {"450D42", "452C11", "", "454F11"},
            {"3AC3", "BEB3", "", "A789"},
            4,
            {"450A41,452B11", "450B42,452C11", "450C41,452C11", "450D42,452C11"},
            {"", "", "", ""},
            {"", "", "", ""},
            0,
            {},
            15,
            18,
            {8, 10, 10, 3},
            {7, 44, 45, 3},
            {120, 180, 180, 120}};
}

BOOL CPackageInfo::Load() {
    return LoadFrom(PackageValues::BuiltIn());
}

BOOL CPackageInfo::HasLength(const std::string& text, int count) {
    return static_cast<int>(text.size()) == count ? TRUE : FALSE;
}

BOOL CPackageInfo::SplitApplicableTexts(const std::vector<std::string>& texts, int pairCount,
                                        PackageSetTable& set) {
    set.m_nPairCount = pairCount;
    set.m_applicable.clear();
    for (int i = 0; i < pairCount; ++i) {
        const size_t index = static_cast<size_t>(i);
        std::string rest = index < texts.size() ? texts[index] : std::string();
        int entries = 0;
        for (;;) {
            const size_t comma = rest.find(',');
            ++entries;
            if (comma == std::string::npos) {
                set.m_applicable.push_back(rest.empty() ? kBlank : rest);
                break;
            }
            set.m_applicable.push_back(rest.substr(0, comma));
            rest = rest.substr(comma + 1);
        }
        if (entries == 1) {
            set.m_applicable.push_back(kBlank);  // a pair with no DATA2(T) version
        }
        if (entries > 2) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CPackageInfo::LoadFrom(const PackageValues& values) {
    m_strVendorId = values.vendorId;
    m_strProductId = values.productId;
    m_strModelCode = values.modelCode;
    m_set1.m_strVersion = values.set1Version;
    m_set1.m_strChecksum = values.set1Checksum;
    if (!SplitApplicableTexts(values.set1ApplicableTexts, values.set1PairCount, m_set1)) {
        return FALSE;
    }
    m_set2.m_strVersion = values.set2Version;
    m_set2.m_strChecksum = values.set2Checksum;
    if (!SplitApplicableTexts(values.set2ApplicableTexts, values.set2PairCount, m_set2)) {
        return FALSE;
    }
    m_nInitWait = values.initWait;
    m_nRestartWait = values.restartWait;
    for (size_t slot = 0; slot < 4; ++slot) {
        m_nPrepareWait[slot] = values.prepareWait[slot];
        m_nWriteEstimate[slot] = values.writeEstimate[slot];
        m_nWriteTimeout[slot] = values.writeTimeout[slot];
    }
    return Validate();
}

// An item other than DATA1(M) that a set holds needs the set's DATA1(M) item and full texts.
BOOL CPackageInfo::IsValidItem(const PackageSetTable& set, int slot) {
    const size_t index = static_cast<size_t>(slot);
    if (set.m_strVersion[index].empty()) {
        return TRUE;
    }
    return !set.m_strVersion[0].empty() && HasLength(set.m_strVersion[index], 6) &&
                   HasLength(set.m_strChecksum[index], 4)
               ? TRUE
               : FALSE;
}

BOOL CPackageInfo::Validate() {
    BOOL result = TRUE;
    auto require = [&result](bool rule) {
        if (!rule) {
            result = FALSE;
        }
    };
    require(HasLength(m_strVendorId, 4) && HasLength(m_strProductId, 4) &&
            HasLength(m_strModelCode, 2));
    require(HasLength(m_set1.m_strVersion[0], 6) && HasLength(m_set1.m_strChecksum[0], 4));
    for (int slot = 1; slot < 4; ++slot) {
        require(IsValidItem(m_set1, slot) != FALSE);
    }
    for (size_t i = 0; i < m_set1.m_applicable.size(); ++i) {
        const std::string& entry = m_set1.m_applicable[i];
        if (i % 2 == 0) {
            require(HasLength(entry, 6) && entry != kBlank);
        } else {
            require(entry == kBlank || HasLength(entry, 6));
        }
    }
    const std::string& set2First = m_set2.m_strVersion[0];
    for (size_t i = 0; i < m_set2.m_applicable.size(); i += 2) {
        const std::string& entry = m_set2.m_applicable[i];
        if (entry == kBlank) {
            m_bSecondSetBlank = TRUE;
            require(set2First.empty());
        } else {
            require(!set2First.empty() && HasLength(entry, 6));
        }
    }
    if (result) {
        for (size_t i = 1; i < m_set2.m_applicable.size(); i += 2) {
            const std::string& entry = m_set2.m_applicable[i];
            require(entry == kBlank || HasLength(entry, 6));
        }
        if (!set2First.empty()) {
            require(HasLength(set2First, 6) && HasLength(m_set2.m_strChecksum[0], 4));
        }
    }
    for (int slot = 1; slot < 4; ++slot) {
        require(IsValidItem(m_set2, slot) != FALSE);
    }
    return result;
}

std::string CPackageInfo::GetVersion(int set, int slot) const {
    return slot >= 0 && slot < 4 ? Set(set).m_strVersion[static_cast<size_t>(slot)] : std::string();
}

std::string CPackageInfo::GetChecksum(int set, int slot) const {
    return slot >= 0 && slot < 4 ? Set(set).m_strChecksum[static_cast<size_t>(slot)]
                                 : std::string();
}

std::vector<std::string> CPackageInfo::GetApplicableList(int set) const {
    return Set(set).m_applicable;
}
