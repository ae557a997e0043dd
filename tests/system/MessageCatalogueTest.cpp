#include <gtest/gtest.h>

#include "app/MessageCatalogue.h"
#include "platform/model/ModelBackend.h"
#include "platform/testing/ScopedEnvironment.h"

namespace {

const std::pair<unsigned, const char*> kExpectedTexts[] = {
    {101, "&About..."},
    {1000, "Upgrade"},
    {1001, "Initializing..."},
    {1003, "Version Check..."},
    {2000,
     "Printer is not connected.\nPlease check a cable connection, and turn the printer OFF "
     "and then ON."},
    {2001, "Two or more printers are connected.\nPlease connect only one printer."},
    {2002, "It is under printing.\nPlease end printing."},
    {2003, "Printer Error.\nPlease remove an error."},
    {2004, "Failed Version Information!\nPlease turn the printer OFF and then ON."},
    {2005, "DATA in the printer is the newest version."},
    {2006,
     "This program is not applicable on this printer.\nDATA1(M) : %s / %04X\nDATA2(T) : "
     "%s / %04X"},
    {2007, "Failed! Time out Error!\nPlease turn the printer OFF and then ON, and download again."},
    {2008, "Failed!\nPlease turn the printer OFF and then ON, and download again."},
    {2009, "Failed!\nThere is some error in the setting file."},
    {2010, "Failed to read the F/W file. \nFiles in the package might be missing."},
    {2011, "Menu is displayed.\nPlease release the menu mode, and download again."},
    {2020, "Please wait."},
    {2021, "Loading DATA1(M)...\nDo not power off the printer."},
    {2022, "Loading DATA2(T)...\nDo not power off the printer."},
    {2023, "Loading DATA3(F)...\nDo not power off the printer."},
    {2024, "Loading DATA4(M)...\nDo not power off the printer."},
    {2025, "Success!\nThis DATA was downloaded properly on printer."},
    {2026, "\nAnd please restart this application."},
    {2027, "\nAnd please download again."},
    {2028, "\nAnd please download again."},
    {2029,
     "Download F/W version is changed. Please confirm.\nDownload is started after press the "
     "Download button."},
    {2030, "Failed!\nPlease turn the printer OFF and then ON,"},
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
    EXPECT_EQ(CMessageCatalogue::LoadForLanguage(1031, 2005), kExpectedTexts[9].second)
        << "a language without a table reads US English";
}

TEST(MessageCatalogueTest, UserLocaleSelectsATable) {
    testing_support::ScopedEnvironment environment;
    environment.Unset("LC_ALL");
    environment.Unset("LC_MESSAGES");
    environment.Set("LANG", "ja_JP.UTF-8");
    EXPECT_EQ(CMessageCatalogue::Load(2002), "It is under printing.\nPlease end printing.");
}

TEST(MessageCatalogueTest, ErrorTextAppendsItsSuffixDirectly) {
    EXPECT_EQ(CMessageCatalogue::ComposeError(2030, 2026),
              "Failed!\nPlease turn the printer OFF and then ON,\nAnd please restart this "
              "application.");
    EXPECT_EQ(CMessageCatalogue::ComposeError(2001, 2027),
              "Two or more printers are connected.\nPlease connect only one printer.\nAnd please "
              "download again.");
}

TEST(MessageCatalogueTest, NotApplicableFormatKeepsLeadingZeros) {
    const std::string format = CMessageCatalogue::Load(2006);
    char text[256];
    ASSERT_GT(
        std::snprintf(text, sizeof(text), format.c_str(), "450A41", 0x3AC3u, "452C11", 0x0A7Fu), 0);
    EXPECT_STREQ(text,
                 "This program is not applicable on this printer.\nDATA1(M) : 450A41 / "
                 "3AC3\nDATA2(T) : 452C11 / 0A7F");
}

TEST(MessageCatalogueTest, BoxIconFollowsTheCaption) {
    win::ModelBackend model;
    win::SetUiBackend(&model);
    CMessageCatalogue::ShowBox(nullptr, "a", kCaptionVersionCheck);
    CMessageCatalogue::ShowBox(nullptr, "b", kCaptionError);
    CMessageCatalogue::ShowBox(nullptr, "c", kCaptionSuccess);
    win::SetUiBackend(nullptr);
    ASSERT_EQ(model.MessageBoxes().size(), 3u);
    EXPECT_EQ(model.MessageBoxes()[0].type, win::MB_OK | win::MB_ICONINFORMATION);
    EXPECT_EQ(model.MessageBoxes()[1].type, win::MB_OK | win::MB_ICONWARNING);
    EXPECT_EQ(model.MessageBoxes()[2].type, win::MB_OK | win::MB_ICONWARNING);
}

}  // namespace
