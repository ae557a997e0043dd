#include <gtest/gtest.h>

#include "app/ProgressDlg.h"
#include "tests/harness/FakeUsbLibrary.h"
#include "tests/harness/UpdateHarness.h"

namespace {

class SendImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::SetClock(&clock);
        win::SetUiBackend(&model);
        port.SetDeviceIds("2E91", "5D36");
        ASSERT_TRUE(port.Open());
    }
    void TearDown() override {
        win::SetUiBackend(nullptr);
        win::SetClock(nullptr);
    }
    std::vector<size_t> WrittenLengths() {
        std::vector<size_t> lengths;
        for (const std::string& packet : library.Latest("PIPE00").TakePackets()) {
            lengths.push_back(packet.size());
        }
        return lengths;
    }

    win::VirtualClock clock{5000};
    ScriptedModel model{&clock};
    FakeUsbLibrary library;
    CUsbPort port;
    CUpdateDlg window;
};

TEST_F(SendImageTest, BlocksAndTheZeroPaddedTail) {
    struct Case {
        DWORD size;
        std::vector<size_t> writes;
    };
    const Case cases[] = {
        {8192, {4096, 4096}},
        {8193, {4096, 4096, 64}},
        {4096 * 2 + 64, {4096, 4096, 128}},
        {100, {128}},
        {128, {192}},
        {4095, {4096}},
        {0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::vector<BYTE> image(c.size);
        for (size_t i = 0; i < image.size(); ++i) {
            image[i] = static_cast<BYTE>(i * 7 + 1);
        }
        DWORD error = 77;
        EXPECT_TRUE(window.SendImage(port, image.data(), c.size, 120000, nullptr, &error));
        EXPECT_EQ(error, 0u);
        const auto packets = library.Latest("PIPE00").TakePackets();
        std::vector<size_t> lengths;
        std::string sent;
        for (const std::string& packet : packets) {
            lengths.push_back(packet.size());
            sent += packet;
        }
        EXPECT_EQ(lengths, c.writes);
        ASSERT_GE(sent.size(), c.size);
        EXPECT_EQ(sent.substr(0, c.size), std::string(image.begin(), image.end()));
        EXPECT_EQ(sent.substr(c.size), std::string(sent.size() - c.size, '\0'));
    }
}

TEST_F(SendImageTest, TimeLimitIsCheckedAfterWholeBlocksOnly) {
    std::vector<BYTE> image(4096 * 3 + 10, 0x55);
    clock.SetAdvancePerReading(100);  // each reading of the tick count is 100 ms later
    DWORD error = 0;
    EXPECT_FALSE(window.SendImage(port, image.data(), static_cast<DWORD>(image.size()), 250,
                                  nullptr, &error))
        << "300 ms after the last whole block";
    EXPECT_EQ(error, 2u);
    EXPECT_EQ(WrittenLengths(), (std::vector<size_t>{4096, 4096, 4096}));

    EXPECT_TRUE(window.SendImage(port, image.data(), static_cast<DWORD>(image.size()), 300, nullptr,
                                 &error))
        << "the limit passes during the tail, which is not timed";
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(WrittenLengths(), (std::vector<size_t>{4096, 4096, 4096, 64}));
}

TEST_F(SendImageTest, AFailedBlockStopsTheImage) {
    std::vector<BYTE> image(4096 * 2, 1);
    library.Latest("PIPE00").CloseFarEnd();
    DWORD error = 0;
    EXPECT_FALSE(window.SendImage(port, image.data(), 8192, 120000, nullptr, &error));
    EXPECT_EQ(error, 101u);
    EXPECT_EQ(window.SendImage(port, image.data(), 0, 120000, nullptr, nullptr), TRUE)
        << "nothing to send needs no pipe";
}

TEST_F(SendImageTest, ASetThatCarriesNothingSendsNothing) {
    // The built-in package with its images loaded: set 1 carries three items, set 2 none.
    ASSERT_TRUE(window.m_package.Load());
    for (int slot = 0; slot < kDataSlotCount; ++slot) {
        const auto index = static_cast<size_t>(slot);
        window.m_bSet1Item[index] = window.m_package.GetVersion(1, slot).empty() ? FALSE : TRUE;
        window.m_bSet2Item[index] = window.m_package.GetVersion(2, slot).empty() ? FALSE : TRUE;
    }
    ASSERT_EQ(window.m_bSet1Item, (std::array<BOOL, 4>{TRUE, TRUE, FALSE, TRUE}));
    ASSERT_EQ(window.m_bSet2Item, (std::array<BOOL, 4>{}));
    ASSERT_TRUE(window.LoadPackageImages());
    window.PackageSet = 2;
    ASSERT_TRUE(window.SelectPackageImages());
    ASSERT_GT(window.m_set1Images[0].size, 0u) << "set 1 has images to send";

    theApp.m_pMainWnd = nullptr;
    CProgressDlg progress(IDS_UPGRADE);
    ASSERT_TRUE(progress.Create());
    EXPECT_TRUE(window.TransferImages(port, &progress));
    EXPECT_TRUE(WrittenLengths().empty());
    EXPECT_EQ(clock.Now(), 5000u) << "no item's wait ran";
}

}  // namespace
