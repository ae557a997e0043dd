// CUpdateDlg::CheckVersions with the fuzzer's bytes as the printer's version reply. The first
// input byte chooses the run: whether "-frcdlm" forces set 1, which set an earlier run
// selected, and whether the reply keeps its header. The package is the built-in set 1 and a
// set 2 with a wildcard entry and an entry without a DATA2(T) version. Besides crashes, it
// checks the check against rules of its own: which set applies, the up-to-date rule, the
// Before row and the remembered versions, and every box with its exact text, for versions
// with NULs (a version ends at its first NUL) and ones shorter than six characters.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/MessageCatalogue.h"
#include "app/UpdateDlg.h"
#include "fuzz/FuzzClock.h"
#include "fuzz/FuzzInput.h"
#include "platform/model/ModelBackend.h"
#include "printer/PrinterProtocol.h"
#include "printer/UsbPort.h"
#include "tests/harness/FakeUsbLibrary.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

PackageValues TwoSets() {
    PackageValues values = PackageValues::BuiltIn();
    values.set2Version = {"450F42", "452D11", "453B11", ""};
    values.set2Checksum = {"1111", "2222", "3333", ""};
    values.set2PairCount = 2;
    values.set2ApplicableTexts = {"450E40,452D11", "450E31"};
    return values;
}

struct Applicable {
    std::string data1;
    std::string data2;  // empty: any DATA2(T) version
};

const std::vector<Applicable> kSet1 = {
    {"450A41", "452B11"}, {"450B42", "452C11"}, {"450C41", "452C11"}, {"450D42", "452C11"}};
const std::vector<Applicable> kSet2 = {{"450E40", "452D11"}, {"450E31", ""}};
const std::array<std::string, 4> kSet1Versions = {"450D42", "452C11", "", "454F11"};
const std::array<std::string, 4> kSet2Versions = {"450F42", "452D11", "453B11", ""};

// Six characters that agree with the entry in the first five places and, unless the entry
// ends in the wildcard '0', in the sixth.
bool Matches(const std::string& entry, const std::string& version) {
    if (version.size() != 6) {
        return false;
    }
    for (size_t place = 0; place < 6; ++place) {
        const bool wildcard = place == 5 && entry[place] == '0';
        if (!wildcard && entry[place] != version[place]) {
            return false;
        }
    }
    return true;
}

bool Applies(const std::vector<Applicable>& list, const std::string& data1,
             const std::string& data2) {
    for (const Applicable& pair : list) {
        if (Matches(pair.data1, data1) && (pair.data2.empty() || Matches(pair.data2, data2))) {
            return true;
        }
    }
    return false;
}

bool UpToDate(const std::array<std::string, 4>& printer, const std::array<std::string, 4>& set) {
    for (size_t slot = 0; slot < 4; ++slot) {
        if ((slot == 0 || !set[slot].empty()) && printer[slot] != set[slot]) {
            return false;
        }
    }
    return true;
}

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

class WindowUnderTest : public CUpdateDlg {
public:
    WindowUnderTest() {
        Require(m_package.LoadFrom(TwoSets()) == TRUE);
        for (int slot = 0; slot < kDataSlotCount; ++slot) {
            const auto index = static_cast<size_t>(slot);
            m_bSet1Item[index] = m_package.GetVersion(1, slot).empty() ? FALSE : TRUE;
            m_bSet2Item[index] = m_package.GetVersion(2, slot).empty() ? FALSE : TRUE;
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t options = input.Byte();
    const bool forced = (options & 1) != 0;
    const int entrySet = ((options >> 1) & 3) % 3;
    std::string reply = input.Rest();
    if ((options & 8) != 0) {
        reply.insert(0, reinterpret_cast<const char*>(kReplyHeader), sizeof kReplyHeader);
    }

    win::ModelBackend model(&g_fuzzClock);
    win::SetUiBackend(&model);
    FakeUsbLibrary library;
    CUsbPort port;
    port.SetDeviceIds("2E91", "5D36");
    Require(port.Open() == TRUE);
    library.Latest("PIPE01").Send(reply);

    WindowUnderTest window;
    window.m_bForceDownload = forced ? TRUE : FALSE;
    window.PackageSet = entrySet;
    BOOL upToDate = TRUE;
    const BOOL result = window.CheckVersions(port, upToDate, nullptr, FALSE);
    win::SetUiBackend(nullptr);

    std::vector<std::string> boxes;
    for (const win::MessageBoxRecord& box : model.MessageBoxes()) {
        boxes.push_back(box.caption + ": " + box.text);
    }
    const unsigned suffix = entrySet == 0 ? IDS_SUFFIX_RESTART : IDS_SUFFIX_DOWNLOAD;
    const bool readable = reply.size() >= static_cast<size_t>(kVersionReplySize) &&
                          reply.compare(0, 4, reinterpret_cast<const char*>(kReplyHeader), 4) == 0;
    if (!readable) {
        Require(result == FALSE && upToDate == FALSE);
        Require(window.PackageSet == entrySet);
        Require(window.m_strBeforeVersion[0].empty());
        Require(boxes == std::vector<std::string>{
                             std::string(kCaptionError) + ": " +
                             CMessageCatalogue::ComposeError(IDS_VERSION_FAILED, suffix)});
        return 0;
    }

    std::array<std::string, 4> printer;
    std::array<unsigned, 4> checksums{};
    for (size_t slot = 0; slot < 4; ++slot) {
        const std::string record = reply.substr(4 + 8 * slot, 8);
        printer[slot] = record.substr(0, std::min(record.find('\0'), size_t{6}));
        checksums[slot] = static_cast<uint8_t>(record[6]) * 256u + static_cast<uint8_t>(record[7]);
    }
    int expectedSet = entrySet;
    bool applies = true;
    bool expectedUpToDate = false;
    if (forced) {
        expectedSet = 1;
    } else if (Applies(kSet1, printer[0], printer[1])) {
        expectedSet = 1;
        expectedUpToDate = UpToDate(printer, kSet1Versions);
    } else if (Applies(kSet2, printer[0], printer[1])) {
        expectedSet = 2;
        expectedUpToDate = UpToDate(printer, kSet2Versions);
    } else {
        applies = false;
    }
    Require((result != FALSE) == applies);
    Require((upToDate != FALSE) == expectedUpToDate);
    Require(window.PackageSet == expectedSet);

    const std::array<std::string, 4>* carried =
        expectedSet == 1 ? &kSet1Versions : (expectedSet == 2 ? &kSet2Versions : nullptr);
    for (size_t slot = 0; slot < 4; ++slot) {
        const bool shown = carried != nullptr && !(*carried)[slot].empty();
        Require(window.m_strBeforeVersion[slot] == (shown ? printer[slot] : ""));
        Require(window.m_strBeforeChecksum[slot] == (shown ? Hex4(checksums[slot]) : ""));
        if (shown) {
            Require(window.m_rememberedVersions[slot].version == printer[slot]);
            Require(window.m_rememberedVersions[slot].checksum == checksums[slot]);
        }
    }

    std::vector<std::string> expectedBoxes;
    if (!applies) {
        std::string text =
            "This program is not applicable on this printer.\nDATA1(M) : " + printer[0] + " / " +
            Hex4(checksums[0]) + "\nDATA2(T) : " + printer[1] + " / " + Hex4(checksums[1]);
        if (expectedSet == 0) {
            text += CMessageCatalogue::Load(IDS_SUFFIX_RESTART);
        }
        expectedBoxes.push_back(std::string(kCaptionVersionCheck) + ": " + text);
    }
    if (expectedUpToDate && (entrySet == 0 || entrySet == expectedSet)) {
        expectedBoxes.push_back(std::string(kCaptionVersionCheck) + ": " +
                                CMessageCatalogue::Load(IDS_NEWEST));
    }
    Require(boxes == expectedBoxes);
    Require(window.m_bReportExitFailure == ((!applies || expectedUpToDate) ? 1 : 0));
    return 0;
}
