#include "cli/ConsoleOptions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using cli::ConsoleOptions;
using ::testing::ElementsAre;

ConsoleOptions Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "/opt/rxt9/rxt9-update-cli");
    return ConsoleOptions::Parse(static_cast<int>(arguments.size()), arguments.data());
}

TEST(ConsoleOptionsTest, OnlyTheForceOptionReachesTheSystemAndAlwaysFirst) {
    const ConsoleOptions forced = Parse({"--download", "--json", "-y", "-frcdlm"});
    EXPECT_EQ(forced.error, "");
    EXPECT_TRUE(forced.download && forced.json && forced.assumeYes);
    EXPECT_THAT(forced.systemArguments, ElementsAre("/opt/rxt9/rxt9-update-cli", "-frcdlm"));
    const ConsoleOptions plain = Parse({"--assume-yes"});
    EXPECT_TRUE(plain.assumeYes && !plain.download && !plain.json);
    EXPECT_THAT(plain.systemArguments, ElementsAre("/opt/rxt9/rxt9-update-cli"));
}

TEST(ConsoleOptionsTest, RefusesWhatItDoesNotKnowNamingIt) {
    for (const char* argument : {"-FRCDLM", "--frcdlm", "-frcdl", "--Download", "-", "extra"}) {
        const ConsoleOptions options = Parse({"--download", argument});
        EXPECT_THAT(options.error, ::testing::HasSubstr(std::string("'") + argument + "'"))
            << argument;
    }
    EXPECT_EQ(Parse({"--check", "--download"}).error, "--check and --download exclude each other");
    for (const char* wait : {"--wait=", "--wait=0", "--wait=86401", "--wait=5s", "--wait=-1"}) {
        EXPECT_THAT(Parse({wait}).error, ::testing::HasSubstr("number of seconds")) << wait;
    }
    EXPECT_EQ(Parse({"--wait=90"}).waitSeconds, 90u);
}

}  // namespace
