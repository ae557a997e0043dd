// CPackageInfo::LoadFrom over the built-in package with fuzzed applicable-version texts, pair
// counts and first versions of both sets. Besides crashes, it checks the splitting: a text
// with more than one comma is refused; an accepted table holds exactly two entries per pair,
// each text split at its comma with a missing or empty part read as the blank " ", the first
// entry of a set-1 pair a full version and every other entry a full version or the blank.
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "package/PackageInfo.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

const std::string kBlank = " ";

struct FuzzedSet {
    std::vector<std::string> texts;
    int pairCount;
};

FuzzedSet TakeSet(FuzzInput& input) {
    FuzzedSet set;
    const int count = input.Byte() % 9;
    for (int i = 0; i < count; ++i) {
        set.texts.push_back(input.Bytes(input.Byte() % 24));
    }
    // Around the number of texts: fewer pairs than texts, exactly as many, or more.
    set.pairCount = static_cast<int>(input.Byte() % (count + 5)) - 2;
    return set;
}

// The entries a text stands for when it has at most one comma.
std::pair<std::string, std::string> ExpectedPair(const std::string& text) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) {
        return {text.empty() ? kBlank : text, kBlank};
    }
    const std::string second = text.substr(comma + 1);
    return {text.substr(0, comma), second.empty() ? kBlank : second};
}

void CheckAcceptedSet(const FuzzedSet& fuzzed, const std::vector<std::string>& entries,
                      bool firstEntriesAreVersions) {
    const size_t pairs = fuzzed.pairCount > 0 ? static_cast<size_t>(fuzzed.pairCount) : 0;
    Require(entries.size() == 2 * pairs);
    for (size_t i = 0; i < pairs; ++i) {
        const std::string text = i < fuzzed.texts.size() ? fuzzed.texts[i] : std::string();
        const auto [first, second] = ExpectedPair(text);
        Require(entries[2 * i] == first && entries[2 * i + 1] == second);
        Require(first.size() == 6 || (!firstEntriesAreVersions && first == kBlank));
        Require(second.size() == 6 || second == kBlank);
    }
}

bool HasTwoCommas(const FuzzedSet& set) {
    for (int i = 0; i < set.pairCount && i < static_cast<int>(set.texts.size()); ++i) {
        const std::string& text = set.texts[static_cast<size_t>(i)];
        const size_t comma = text.find(',');
        if (comma != std::string::npos && text.find(',', comma + 1) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    PackageValues values = PackageValues::BuiltIn();
    const FuzzedSet set1 = TakeSet(input);
    const FuzzedSet set2 = TakeSet(input);
    values.set1ApplicableTexts = set1.texts;
    values.set1PairCount = set1.pairCount;
    values.set2ApplicableTexts = set2.texts;
    values.set2PairCount = set2.pairCount;
    if (input.Byte() % 2 != 0) {
        values.set2Version[0] = input.Bytes(7);
        values.set2Checksum[0] = input.Bytes(5);
    }

    CPackageInfo package;
    const BOOL loaded = package.LoadFrom(values);
    if (HasTwoCommas(set1) || HasTwoCommas(set2)) {
        Require(loaded == FALSE);
    }
    if (!loaded) {
        return 0;
    }
    CheckAcceptedSet(set1, package.GetApplicableList(1), true);
    CheckAcceptedSet(set2, package.GetApplicableList(2), false);
    return 0;
}
