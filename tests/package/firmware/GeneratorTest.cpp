// The generator makes the same bytes on every run, so two builds embed the same images.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/package/firmware/ImageFacts.h"
#include "tests/package/firmware/ShellCommand.h"

namespace {

class GeneratorTest : public testing::TestWithParam<ImageFacts> {};

TEST_P(GeneratorTest, AnotherRunWritesTheSameBytes) {
    const std::string output = TemporaryPath(GetParam().name + ".mot");
    std::filesystem::remove(output);
    ASSERT_TRUE(RunCommand({RXT9_FIRMWARE_GEN, GetParam().name, output}, output + ".log"));
    EXPECT_TRUE(ReadWholeFile(output) == ReadWholeFile(GetParam().path));
}

// The build relies on this to leave the embedded images alone when nothing in them changed.
TEST_P(GeneratorTest, AnUnchangedImageIsNotRewritten) {
    const std::string output = TemporaryPath(GetParam().name + ".mot");
    ASSERT_TRUE(RunCommand({RXT9_FIRMWARE_GEN, GetParam().name, output}, output + ".log"));
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(output, old);
    ASSERT_TRUE(RunCommand({RXT9_FIRMWARE_GEN, GetParam().name, output}, output + ".log"));
    EXPECT_EQ(std::filesystem::last_write_time(output), old);
}

INSTANTIATE_TEST_SUITE_P(PackageImages, GeneratorTest, testing::ValuesIn(PackageImages()),
                         [](const auto& info) { return info.param.name; });

TEST(GeneratorTest, UnknownImageNameFails) {
    const std::string output = TemporaryPath("unknown.mot");
    EXPECT_FALSE(RunCommand({RXT9_FIRMWARE_GEN, "DATA3F", output}, output + ".log"));
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
