#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MessageCatalogue.h"
#include "app/Resource.h"
#include "platform/Resources.h"
#include "platform/model/ModelBackend.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

const std::pair<unsigned, const char*> kExpectedTexts[] = {
    {IDS_ABOUTBOX, "&About..."},
    {IDS_UPGRADE, "Upgrade"},
    {IDS_INITIALIZING, "Initializing..."},
    {IDS_VERSION_CHECK, "Version Check..."},
    {IDS_NOT_CONNECTED,
     "Printer is not connected.\nPlease check a cable connection, and turn the printer OFF "
     "and then ON."},
    {IDS_TWO_OR_MORE, "Two or more printers are connected.\nPlease connect only one printer."},
    {IDS_PRINTING, "It is under printing.\nPlease end printing."},
    {IDS_PRINTER_ERROR, "Printer Error.\nPlease remove an error."},
    {IDS_VERSION_FAILED, "Failed Version Information!\nPlease turn the printer OFF and then ON."},
    {IDS_NEWEST, "DATA in the printer is the newest version."},
    {IDS_NOT_APPLICABLE,
     "This program is not applicable on this printer.\nDATA1(M) : %s / %04X\nDATA2(T) : "
     "%s / %04X"},
    {IDS_TIME_OUT,
     "Failed! Time out Error!\nPlease turn the printer OFF and then ON, and download again."},
    {IDS_FAILED, "Failed!\nPlease turn the printer OFF and then ON, and download again."},
    {IDS_SETTING_ERROR, "Failed!\nThere is some error in the setting file."},
    {IDS_FILE_MISSING, "Failed to read the F/W file. \nFiles in the package might be missing."},
    {IDS_MENU_DISPLAYED, "Menu is displayed.\nPlease release the menu mode, and download again."},
    {IDS_PLEASE_WAIT, "Please wait."},
    {IDS_LOADING_DATA1, "Loading DATA1(M)...\nDo not power off the printer."},
    {IDS_LOADING_DATA2, "Loading DATA2(T)...\nDo not power off the printer."},
    {IDS_LOADING_DATA3, "Loading DATA3(F)...\nDo not power off the printer."},
    {IDS_LOADING_DATA4, "Loading DATA4(M)...\nDo not power off the printer."},
    {IDS_SUCCESS, "Success!\nThis DATA was downloaded properly on printer."},
    {IDS_SUFFIX_RESTART, "\nAnd please restart this application."},
    {IDS_SUFFIX_DOWNLOAD, "\nAnd please download again."},
    {IDS_SUFFIX_DOWNLOAD_SPARE, "\nAnd please download again."},
    {IDS_VERSION_CHANGED,
     "Download F/W version is changed. Please confirm.\nDownload is started after press the "
     "Download button."},
    {IDS_STATE_FAILED, "Failed!\nPlease turn the printer OFF and then ON,"},
};

TEST(MessageCatalogueTest, EveryTextInBothLanguageTables) {
    for (const WORD language : {LANG_ENGLISH_US, LANG_JAPANESE}) {
        for (const auto& [id, text] : kExpectedTexts) {
            EXPECT_EQ(CMessageCatalogue::LoadForLanguage(language, id), text)
                << "id " << id << " language " << language;
        }
    }
}

TEST(MessageCatalogueTest, UnknownIdsAreEmpty) {
    for (const unsigned id : {0u, 100u, 1002u, 2012u, 2031u, 65535u}) {
        EXPECT_EQ(CMessageCatalogue::LoadForLanguage(LANG_ENGLISH_US, id), "") << id;
    }
    EXPECT_EQ(CMessageCatalogue::LoadForLanguage(1031, IDS_NEWEST), kExpectedTexts[9].second)
        << "a language without a table reads US English";
}

TEST(MessageCatalogueTest, UserLocaleSelectsATable) {
    testing_support::ScopedEnvironment environment;
    environment.Unset("LC_ALL");
    environment.Unset("LC_MESSAGES");
    environment.Set("LANG", "ja_JP.UTF-8");
    EXPECT_EQ(CMessageCatalogue::Load(IDS_PRINTING), "It is under printing.\nPlease end printing.");
}

// The program's two tables hold the same texts, so a catalogue that read one table for every
// language would pass the tests above. Here a Japanese table of other texts stands in front of
// the program's, as a resource module loaded over it would.
TEST(MessageCatalogueTest, EachLanguageReadsItsOwnTable) {
    std::vector<std::string> japaneseTexts;
    for (const auto& entry : kExpectedTexts) {
        japaneseTexts.push_back("JA " + std::to_string(entry.first));
    }
    std::vector<win::ResourceEntry> entries;
    for (size_t i = 0; i < std::size(kExpectedTexts); ++i) {
        entries.push_back({"STRING1041", static_cast<WORD>(kExpectedTexts[i].first),
                           japaneseTexts[i].data(), static_cast<DWORD>(japaneseTexts[i].size())});
    }
    testing_support::ScopedEnvironment environment;
    environment.Unset("LC_ALL");
    environment.Unset("LC_MESSAGES");
    {
        const win::ResourceTable japanese(entries.data(), entries.size());
        for (size_t i = 0; i < std::size(kExpectedTexts); ++i) {
            const auto& [id, text] = kExpectedTexts[i];
            EXPECT_EQ(CMessageCatalogue::LoadForLanguage(LANG_JAPANESE, id), japaneseTexts[i]);
            EXPECT_EQ(CMessageCatalogue::LoadForLanguage(LANG_ENGLISH_US, id), text);
        }
        environment.Set("LANG", "ja_JP.UTF-8");
        EXPECT_EQ(CMessageCatalogue::Load(IDS_PRINTING), "JA 2002");
        EXPECT_EQ(CMessageCatalogue::ComposeError(IDS_PRINTING, IDS_SUFFIX_RESTART),
                  "JA 2002JA 2026");
        environment.Set("LANG", "en_US.UTF-8");
        EXPECT_EQ(CMessageCatalogue::Load(IDS_PRINTING),
                  "It is under printing.\nPlease end printing.");
    }
    EXPECT_EQ(CMessageCatalogue::LoadForLanguage(LANG_JAPANESE, IDS_PRINTING),
              "It is under printing.\nPlease end printing.")
        << "the program's own Japanese table again";
}

TEST(MessageCatalogueTest, ErrorTextAppendsItsSuffixDirectly) {
    EXPECT_EQ(CMessageCatalogue::ComposeError(IDS_STATE_FAILED, IDS_SUFFIX_RESTART),
              "Failed!\nPlease turn the printer OFF and then ON,\nAnd please restart this "
              "application.");
    EXPECT_EQ(CMessageCatalogue::ComposeError(IDS_TWO_OR_MORE, IDS_SUFFIX_DOWNLOAD),
              "Two or more printers are connected.\nPlease connect only one printer.\nAnd please "
              "download again.");
}

TEST(MessageCatalogueTest, NotApplicableFormatKeepsLeadingZeros) {
    const std::string format = CMessageCatalogue::Load(IDS_NOT_APPLICABLE);
    char text[256];
    ASSERT_GT(
        std::snprintf(text, sizeof(text), format.c_str(), "450A41", 0x3AC3u, "452C11", 0x0A7Fu), 0);
    EXPECT_STREQ(text,
                 "This program is not applicable on this printer.\nDATA1(M) : 450A41 / "
                 "3AC3\nDATA2(T) : 452C11 / 0A7F");
}

TEST(MessageCatalogueTest, EachKindOfBoxHasItsCaptionAndIcon) {
    using Suffix = CMessageCatalogue::Suffix;
    struct Case {
        std::function<int()> show;
        std::string text;
        std::string caption;
        UINT icon;
    };
    const std::string failed = "Failed!\nPlease turn the printer OFF and then ON,";
    const Case cases[] = {
        {[] { return CMessageCatalogue::ShowError(nullptr, IDS_STATE_FAILED); }, failed, "Error",
         win::MB_ICONWARNING},
        {[] { return CMessageCatalogue::ShowError(nullptr, IDS_STATE_FAILED, Suffix::Restart); },
         failed + "\nAnd please restart this application.", "Error", win::MB_ICONWARNING},
        {[] {
             return CMessageCatalogue::ShowError(nullptr, IDS_STATE_FAILED, Suffix::DownloadAgain);
         },
         failed + "\nAnd please download again.", "Error", win::MB_ICONWARNING},
        {[] { return CMessageCatalogue::ShowVersionCheck(nullptr, "found"); }, "found",
         "Version Check", win::MB_ICONINFORMATION},
        {[] { return CMessageCatalogue::ShowSuccess(nullptr); },
         "Success!\nThis DATA was downloaded properly on printer.", "Success!",
         win::MB_ICONWARNING},
        {[] { return CMessageCatalogue::ShowVersionChanged(nullptr); },
         "Download F/W version is changed. Please confirm.\nDownload is started after press the "
         "Download button.",
         "FW Version Changed.", win::MB_ICONWARNING},
        {[] { return CMessageCatalogue::ShowLibraryNotFound(); }, "ZELPORT.dll Not Found", "Error",
         win::MB_ICONWARNING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        win::ModelBackend model;
        win::SetUiBackend(&model);
        EXPECT_EQ(c.show(), win::IDOK);
        win::SetUiBackend(nullptr);
        ASSERT_EQ(model.MessageBoxes().size(), 1u);
        const win::MessageBoxRecord& box = model.MessageBoxes()[0];
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.type, win::MB_OK | c.icon);
        EXPECT_EQ(box.owner, nullptr);
    }
}

}  // namespace
