#include "cli/JsonPresenter.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/RecordingOutput.h"

namespace {

using cli::JsonPresenter;
using clitest::RecordingOutput;
using nlohmann::json;

json OnlyLine(const std::string& written) {
    EXPECT_EQ(written.find('\n'), written.size() - 1) << written;
    return json::parse(written);
}

TEST(JsonPresenterTest, MessageTextsSurviveTheirEscaping) {
    RecordingOutput output;
    JsonPresenter presenter(output);
    const std::string text = "Failed!\n\"quoted\" \\ back\ttab \x01 control";
    presenter.MessageBox({"Error", text, cli::BoxIcon::Warning});
    const json event = OnlyLine(output.written);
    EXPECT_EQ(event, json::parse(R"({"event":"message","caption":"Error","icon":"warning",
                                     "text":"Failed!\n\"quoted\" \\ back\ttab \u0001 control"})"));
    EXPECT_EQ(event["text"], text);
    EXPECT_EQ(output.written.rfind("{\"event\":\"message\",", 0), 0u);
}

TEST(JsonPresenterTest, BytesThatAreNotUtf8BecomeReplacementCharacters) {
    RecordingOutput output;
    JsonPresenter presenter(output);
    cli::MainWindowRows rows;
    rows.before[0] = {
        "45\xFF\xFE"
        "42",
        "FFFF"};
    rows.after[3] = {"454F11", "A789"};
    presenter.Rows(rows);
    const json event = OnlyLine(output.written);
    EXPECT_EQ(event["before"][0]["version"],
              "45\xEF\xBF\xBD\xEF\xBF\xBD"
              "42");
    EXPECT_EQ(event["before"][0]["item"], "DATA1(M)");
    EXPECT_EQ(event["after"][3], json::parse(R"json({"item":"DATA4(M)","version":"454F11",
                                                     "checksum":"A789"})json"));
    EXPECT_EQ(event["package"].size(), 4u);
}

}  // namespace
