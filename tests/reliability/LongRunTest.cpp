// One main window holding a hundred Downloads in virtual time, a fresh printer for each (so
// that every press downloads), every other one failing in a different way: each run ends with
// its own boxes, and the process's memory and descriptors stay where the first runs left
// them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/MessageCatalogue.h"
#include "tests/harness/SimulatedLibrary.h"
#include "tests/harness/UpdateHarness.h"
#include "tests/support/Handles.h"
#include "tests/support/ProcessMemory.h"

namespace {

constexpr int kRuns = 100;
constexpr DWORD kFirstPress = 15000;
// Far longer than a run, which waits about 96 s of the printer's time.
constexpr DWORD kRunSpacing = 1000000;
constexpr DWORD kLookAfterPress = 900000;
// The first runs settle the allocator's pools and the library's lasting descriptors.
constexpr int kSettlingRuns = 10;
constexpr size_t kMiB = 1024 * 1024;
// The window's own records of the runs (the boxes shown) grow a little with every run.
constexpr size_t kAllowedHeapGrowth = 1 * kMiB;
// A Download holds its images twice, 19 MB. The allocator may keep the pages of one such pair
// after freeing it; a copy lost in every run would show many times over.
constexpr size_t kImageCopiesBytes = 2 * (2974598 + 6291482 + 370828);
constexpr size_t kAllowedResidentGrowth = kImageCopiesBytes + 4 * kMiB;

struct Fault {
    const char* config;
    Box box;
};

struct Sample {
    size_t boxes;
    int descriptors;
    unsigned libraryHandles;
    testing_support::ProcessMemory memory;
};

// How far a figure of the later samples rose above its value once the runs had settled.
template <typename Figure>
size_t GrowthAfterSettling(const std::vector<Sample>& samples, Figure figure) {
    const size_t settled = figure(samples[kSettlingRuns - 1]);
    size_t highest = settled;
    for (size_t run = kSettlingRuns; run < samples.size(); ++run) {
        highest = std::max(highest, figure(samples[run]));
    }
    return highest - settled;
}

class LongRunTest : public UpdateHarness {
protected:
    static std::string Failed() { return CMessageCatalogue::Load(IDS_FAILED); }
    static std::string RunError(unsigned id) {
        return CMessageCatalogue::ComposeError(id, IDS_SUFFIX_DOWNLOAD);
    }

    std::string ConfigFor(int run) const {
        const std::string number = std::to_string(run);
        const std::string identity = "R" + std::string(5 - number.size(), '0') + number;
        if (run % 2 == 0) {
            return "printer\nidentity " + identity + "\n";
        }
        const Fault& fault = m_faults[static_cast<size_t>(run / 2) % m_faults.size()];
        return "printer\nidentity " + identity + "\n" + fault.config + "\n";
    }
    Box ExpectedBox(int run) const {
        return run % 2 == 0 ? Box{CMessageCatalogue::Load(IDS_SUCCESS), kCaptionSuccess,
                                  win::MB_ICONWARNING, IDD_UPDATE_DIALOG}
                            : m_faults[static_cast<size_t>(run / 2) % m_faults.size()].box;
    }

    SimulatedLibrary sim{clock};
    const std::vector<Fault> m_faults = {
        {"write-fails image:t 700", ErrorBox(Failed())},
        {"unplug-after 4000000", ErrorBox(Failed())},
        {"reply-short version 4 2", NoOwnerErrorBox(Failed())},
        {"silent-after 2", ErrorBox(RunError(IDS_VERSION_FAILED))},
        {"write-short start-write:t 100", ErrorBox(Failed())},
        {"report-after-write DATA4(M) - 0000", NoOwnerErrorBox(Failed())},
        {"reply-header status E4474431", ErrorBox(RunError(IDS_STATE_FAILED))},
    };
};

TEST_F(LongRunTest, AHundredDownloadsLeaveMemoryAndDescriptorsFlat) {
    ASSERT_TRUE(sim.Loaded());
    ASSERT_TRUE(sim.Reset(ConfigFor(0)));
    std::vector<Sample> samples;
    samples.reserve(kRuns);
    for (int run = 0; run < kRuns; ++run) {
        const DWORD press = kFirstPress + static_cast<DWORD>(run) * kRunSpacing;
        model.ClickButton(press, IDC_DOWNLOAD);
        model.Probe(press + kLookAfterPress, [this, run, &samples] {
            // The library closes its ends of the run's pipes once it has seen them closed.
            const unsigned libraryHandles = sim.OpenHandles();
            samples.push_back({model.MessageBoxes().size(), testing_support::CountOpenHandles(),
                               libraryHandles, testing_support::ProcessMemory::Current()});
            EXPECT_TRUE(dialog.GetDlgItem(IDC_DOWNLOAD)->IsWindowEnabled()) << "run " << run;
            sim.Reset(ConfigFor(run + 1));
        });
    }
    RunMainWindow();

    ASSERT_EQ(samples.size(), static_cast<size_t>(kRuns));
    const std::vector<Box> boxes = Boxes();
    size_t shown = 0;
    for (int run = 0; run < kRuns; ++run) {
        const Sample& sample = samples[static_cast<size_t>(run)];
        ASSERT_EQ(sample.boxes, shown + 1) << "one box in run " << run;
        EXPECT_EQ(boxes[shown], ExpectedBox(run)) << "run " << run << ": " << ConfigFor(run);
        shown = sample.boxes;
        EXPECT_EQ(sample.libraryHandles, 0u) << "run " << run;
    }
    // The library's write interception, set up by the first fault that needs it, keeps a
    // descriptor for the rest of the process.
    for (int run = 2; run < kRuns; ++run) {
        EXPECT_EQ(samples[static_cast<size_t>(run)].descriptors, samples[1].descriptors)
            << "run " << run;
    }
    const size_t heapGrowth = GrowthAfterSettling(
        samples, [](const Sample& sample) { return sample.memory.heapInUseBytes; });
    const size_t residentGrowth = GrowthAfterSettling(
        samples, [](const Sample& sample) { return sample.memory.residentBytes; });
    EXPECT_LE(heapGrowth, kAllowedHeapGrowth)
        << "live allocations after run " << kSettlingRuns << ": "
        << samples[kSettlingRuns - 1].memory.heapInUseBytes << " bytes";
    if (!testing_support::ProcessMemory::ResidentHoldsFreedMemory()) {
        EXPECT_LE(residentGrowth, kAllowedResidentGrowth)
            << "resident after run " << kSettlingRuns << ": "
            << samples[kSettlingRuns - 1].memory.residentBytes << " bytes";
    }
    RecordProperty("heap_growth_bytes", std::to_string(heapGrowth));
    RecordProperty("resident_growth_bytes", std::to_string(residentGrowth));
    RecordProperty("resident_after_last_run", std::to_string(samples.back().memory.residentBytes));
}

}  // namespace
