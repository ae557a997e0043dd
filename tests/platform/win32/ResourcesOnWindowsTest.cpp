// The program's real resources as rxt9-update.rc builds them: the firmware images byte for
// byte, the string tables of both languages equal to the catalogue, and the icon group.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "app/MessageCatalogue.h"
#include "platform/Resources.h"

namespace {

struct Image {
    WORD id;
    const char* file;
};
void PrintTo(const Image& image, std::ostream* out) {
    *out << image.file;
}

class ImageResourceTest : public testing::TestWithParam<Image> {};

TEST_P(ImageResourceTest, HoldsTheImageFile) {
    std::ifstream in(std::string(RXT9_IMAGE_DIR) + "/" + GetParam().file, std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    ASSERT_FALSE(expected.empty());
    win::HRSRC resource = win::FindResourceA(nullptr, GetParam().id, "BINARY");
    ASSERT_NE(resource, nullptr);
    ASSERT_EQ(win::SizeofResource(nullptr, resource), expected.size());
    const void* bytes = win::LockResource(win::LoadResource(nullptr, resource));
    EXPECT_EQ(std::memcmp(bytes, expected.data(), expected.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(Images, ImageResourceTest,
                         testing::Values(Image{130, "DATA1M.mot"}, Image{137, "DATA2T.mot"},
                                         Image{131, "DATA4M.mot"}));

TEST(ResourcesOnWindowsTest, NoImageForDataThree) {
    EXPECT_EQ(win::FindResourceA(nullptr, 65535, "BINARY"), nullptr);
}

TEST(ResourcesOnWindowsTest, BothStringTablesHoldTheCatalogueTexts) {
    const unsigned ids[] = {101,  1000, 1001, 1003, 2000, 2001, 2002, 2003, 2004,
                            2005, 2006, 2007, 2008, 2009, 2010, 2011, 2020, 2021,
                            2022, 2023, 2024, 2025, 2026, 2027, 2028, 2029, 2030};
    for (const unsigned id : ids) {
        const std::string english = CMessageCatalogue::LoadForLanguage(LANG_ENGLISH_US, id);
        EXPECT_FALSE(english.empty()) << id;
        EXPECT_EQ(CMessageCatalogue::LoadForLanguage(LANG_JAPANESE, id), english) << id;
    }
    EXPECT_EQ(CMessageCatalogue::LoadForLanguage(LANG_ENGLISH_US, 2010),
              "Failed to read the F/W file. \nFiles in the package might be missing.");
    EXPECT_EQ(CMessageCatalogue::LoadForLanguage(LANG_JAPANESE, 2030),
              "Failed!\nPlease turn the printer OFF and then ON,");
    EXPECT_TRUE(CMessageCatalogue::LoadForLanguage(LANG_ENGLISH_US, 2012).empty());
}

TEST(ResourcesOnWindowsTest, TheIconGroupIsAResource) {
    win::HRSRC icon = win::FindResourceA(nullptr, 128, "ICON");
    ASSERT_NE(icon, nullptr);
    // An icon directory of one 32 x 32 image: reserved 0, type 1, count 1.
    ASSERT_GE(win::SizeofResource(nullptr, icon), 6u);
    const auto* header =
        static_cast<const uint8_t*>(win::LockResource(win::LoadResource(nullptr, icon)));
    EXPECT_EQ(header[2], 1);
    EXPECT_EQ(header[4], 1);
}

}  // namespace
