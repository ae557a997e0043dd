#include "sim/StateFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/AreaLayout.h"

namespace {

using sim::ItemFirmware;
using sim::PrinterState;
using sim::StateFile;

class StateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_directory = std::filesystem::temp_directory_path() /
                      (std::string("rxt9-sim-state-") + test->name() + "-" +
                       std::to_string(std::hash<std::string>{}(test->name())));
        std::filesystem::remove_all(m_directory);
    }
    void TearDown() override { std::filesystem::remove_all(m_directory); }

    std::string PathIn(const std::string& relative) const {
        return (m_directory / relative).string();
    }

    static PrinterState Printer(size_t position, const char* identity, const char* version,
                                uint16_t checksum) {
        PrinterState state;
        state.position = position;
        std::copy_n(identity, 6, state.identity.begin());
        for (const sim::AreaLayout& area : sim::AreaLayout::All()) {
            state.firmware[area.Index()] =
                ItemFirmware::Of(version, static_cast<uint16_t>(checksum + area.Index()));
        }
        return state;
    }

    std::filesystem::path m_directory;
};

bool Same(const PrinterState& a, const PrinterState& b) {
    return a.position == b.position && a.identity == b.identity && a.firmware == b.firmware;
}

TEST_F(StateFileTest, StoresAndLoadsEveryPrinterCreatingTheDirectory) {
    const StateFile file(PathIn("nested/dir/state"));
    PrinterState odd = Printer(1, "AB\0CDE", "450D42", 0x3AC3);
    odd.firmware[0].version = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_TRUE(file.Store({Printer(0, "T90001", "450B42", 0x1000), odd}));

    const std::vector<PrinterState> loaded = file.Load();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_TRUE(Same(loaded[0], Printer(0, "T90001", "450B42", 0x1000)));
    EXPECT_TRUE(Same(loaded[1], odd));
    // Only the file itself remains: the temporary one was renamed over it.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(m_directory / "nested/dir")) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
}

TEST_F(StateFileTest, StoringReplacesTheSamePrinterAndKeepsOthers) {
    const StateFile file(PathIn("state"));
    ASSERT_TRUE(file.Store({Printer(0, "T90001", "450B42", 1), Printer(1, "T90002", "450B42", 2)}));
    ASSERT_TRUE(file.Store({Printer(0, "T90001", "450D42", 3), Printer(0, "OTHER1", "450A41", 4)}));

    const std::vector<PrinterState> loaded = file.Load();
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_TRUE(Same(loaded[0], Printer(0, "T90001", "450D42", 3)));
    EXPECT_TRUE(Same(loaded[1], Printer(1, "T90002", "450B42", 2)));
    EXPECT_TRUE(Same(loaded[2], Printer(0, "OTHER1", "450A41", 4)));
}

TEST_F(StateFileTest, AMissingFileOrABrokenBlockDescribesNothing) {
    EXPECT_TRUE(StateFile(PathIn("missing")).Load().empty());

    std::filesystem::create_directories(m_directory);
    std::ofstream(PathIn("state")) << "printer 0 543930303031\n"
                                      "p 343530443432 3AC3\n"
                                      "t 343532433131 ZZZZ\n"
                                      "printer x 543930303032\n"
                                      "p 343530443432 3AC3\n"
                                      "printer 2 543930303033\n"
                                      "p 343530443432 3AC3\n";
    EXPECT_TRUE(StateFile(PathIn("state")).Load().empty());
}

TEST_F(StateFileTest, AFileThatCannotBeWrittenIsReported) {
    std::filesystem::create_directories(m_directory / "state");
    EXPECT_FALSE(StateFile(PathIn("state")).Store({Printer(0, "T90001", "450B42", 1)}));
}

TEST(StateFilePath, FollowsTheEnvironment) {
    EXPECT_EQ(StateFile::ResolvePath("/tmp/s", "/x", "/home/u"), "/tmp/s");
    EXPECT_EQ(StateFile::ResolvePath("", "/x", "/home/u"), std::nullopt);
    EXPECT_EQ(StateFile::ResolvePath(nullptr, "/x", "/home/u"), "/x/rxt9-sim/state");
    EXPECT_EQ(StateFile::ResolvePath(nullptr, "", "/home/u"),
              "/home/u/.local/state/rxt9-sim/state");
    EXPECT_EQ(StateFile::ResolvePath(nullptr, nullptr, nullptr), std::nullopt);
}

}  // namespace
