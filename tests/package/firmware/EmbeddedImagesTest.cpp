// The program's firmware resources hold exactly the bytes of the image files the build
// embedded, under the ids of their items.
#include <gtest/gtest.h>

#include <cstring>

#include "app/Resource.h"
#include "platform/Resources.h"
#include "tests/package/firmware/ImageFacts.h"

namespace {

struct EmbeddedImage {
    const char* name;
    WORD resourceId;
    const char* path;
};

void PrintTo(const EmbeddedImage& c, std::ostream* out) {
    *out << c.name;
}

class EmbeddedImagesTest : public testing::TestWithParam<EmbeddedImage> {};

TEST_P(EmbeddedImagesTest, ResourceIsTheEmbeddedFileByteForByte) {
    const std::string expected = ReadWholeFile(GetParam().path);
    ASSERT_FALSE(expected.empty()) << GetParam().path;
    win::HRSRC resource = win::FindResourceA(nullptr, GetParam().resourceId, "BINARY");
    ASSERT_NE(resource, nullptr);
    ASSERT_EQ(win::SizeofResource(nullptr, resource), expected.size());
    const void* bytes = win::LockResource(win::LoadResource(nullptr, resource));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::memcmp(bytes, expected.data(), expected.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(FirmwareItems, EmbeddedImagesTest,
                         testing::Values(EmbeddedImage{"DATA1M", IDR_DATA1M, RXT9_IMAGE_DATA1M},
                                         EmbeddedImage{"DATA2T", IDR_DATA2T, RXT9_IMAGE_DATA2T},
                                         EmbeddedImage{"DATA4M", IDR_DATA4M, RXT9_IMAGE_DATA4M}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EmbeddedImagesTest, Data3HasNoResource) {
    EXPECT_EQ(win::FindResourceA(nullptr, 65535, "BINARY"), nullptr);
}

// Without vendor images the program carries the generated ones.
TEST(EmbeddedImagesTest, GeneratedImagesAreEmbeddedUnlessVendorImagesAreGiven) {
    if (RXT9_USES_VENDOR_IMAGES) {
        GTEST_SKIP() << "the build embeds vendor images";
    }
    for (const auto& facts : PackageImages()) {
        win::HRSRC resource = win::FindResourceA(nullptr, facts.resourceId, "BINARY");
        ASSERT_NE(resource, nullptr) << facts.name;
        EXPECT_EQ(win::SizeofResource(nullptr, resource), facts.size) << facts.name;
    }
}

}  // namespace
