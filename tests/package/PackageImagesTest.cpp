#include <gtest/gtest.h>

#include <cstring>

#include "app/UpdateDlg.h"
#include "platform/Resources.h"

namespace {

struct Resource {
    const BYTE* bytes;
    DWORD size;
};

Resource BinaryResource(WORD id) {
    win::HRSRC resource = win::FindResourceA(nullptr, id, "BINARY");
    return {static_cast<const BYTE*>(win::LockResource(win::LoadResource(nullptr, resource))),
            win::SizeofResource(nullptr, resource)};
}

class PackageImagesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window.m_package.Load()); }
    void Flags() {
        for (int slot = 0; slot < 4; ++slot) {
            window.m_bSet1Item[static_cast<size_t>(slot)] =
                !window.m_package.GetVersion(1, slot).empty();
        }
    }
    CUpdateDlg window;
};

TEST_F(PackageImagesTest, LoadImageCopiesTheResourceOfTheSlot) {
    struct Case {
        int slot;
        WORD resource;
        DWORD size;
    };
    const Case cases[] = {{DATA1_M, IDR_DATA1M, 2974598},
                          {DATA2_T, IDR_DATA2T, 6291482},
                          {DATA4_M, IDR_DATA4M, 370828}};
    for (const Case& c : cases) {
        std::unique_ptr<BYTE[]> buffer;
        DWORD size = 0;
        ASSERT_TRUE(window.LoadImage(c.slot, buffer, size)) << c.slot;
        EXPECT_EQ(size, c.size);
        const Resource resource = BinaryResource(c.resource);
        ASSERT_EQ(resource.size, size);
        EXPECT_EQ(std::memcmp(buffer.get(), resource.bytes, size), 0);
        EXPECT_NE(buffer.get(), resource.bytes) << "a buffer of its own";
    }
    for (const int slot : {2, 4, 17, -1}) {
        std::unique_ptr<BYTE[]> buffer;
        DWORD size = 99;
        EXPECT_FALSE(window.LoadImage(slot, buffer, size)) << slot;
        EXPECT_EQ(size, 0u);
        EXPECT_EQ(buffer, nullptr);
    }
}

TEST_F(PackageImagesTest, LoadSelectAndFreeTheSets) {
    EXPECT_EQ(window.m_dwSet1Total, 0u);
    ASSERT_TRUE(window.LoadPackageImages());
    EXPECT_EQ(window.m_dwSet1Total, 78000u);
    EXPECT_EQ(window.m_dwSet2Total, 3000u);
    EXPECT_EQ(window.m_set1Images[0].size, 2974598u);
    EXPECT_EQ(window.m_set1Images[2].size, 0u);
    EXPECT_EQ(window.m_set2Images[0].size, 0u);

    window.PackageSet = 1;
    ASSERT_TRUE(window.SelectPackageImages());
    EXPECT_EQ(window.m_dwSelectedTotal, 78000u);
    EXPECT_EQ(window.m_transferImages[1].size, 6291482u);
    EXPECT_NE(window.m_transferImages[1].data.get(), window.m_set1Images[1].data.get());
    EXPECT_EQ(std::memcmp(window.m_transferImages[1].data.get(), window.m_set1Images[1].data.get(),
                          6291482),
              0);

    window.PackageSet = 2;
    ASSERT_TRUE(window.SelectPackageImages());
    for (const ImageBuffer& image : window.m_transferImages) {
        EXPECT_EQ(image.size, 0u) << "set 2 holds no image";
        EXPECT_EQ(image.data, nullptr);
    }
    EXPECT_EQ(window.m_dwSelectedTotal, 3000u);

    window.FreePackageImages();
    window.FreePackageImages();
    for (const auto* images :
         {&window.m_set1Images, &window.m_set2Images, &window.m_transferImages}) {
        for (const ImageBuffer& image : *images) {
            EXPECT_EQ(image.size, 0u);
            EXPECT_EQ(image.data, nullptr);
        }
    }
    EXPECT_EQ(window.m_dwSet1Total, 78000u) << "the totals are left as they are";
}

TEST_F(PackageImagesTest, AMissingImageFreesWhatWasLoaded) {
    PackageValues values = PackageValues::BuiltIn();
    values.set1Version[2] = "453A10";  // DATA3(F) has no resource
    values.set1Checksum[2] = "0000";
    ASSERT_TRUE(window.m_package.LoadFrom(values));
    EXPECT_FALSE(window.LoadPackageImages());
    EXPECT_EQ(window.m_set1Images[0].size, 0u);
    EXPECT_EQ(window.m_set1Images[0].data, nullptr);
}

TEST_F(PackageImagesTest, AReplacementImageLoadsUnchanged) {
    static const char kOther[] = "S0030000FC\r\nS70500000000FA\r\n";
    const win::ResourceEntry replacement[] = {{"BINARY", IDR_DATA4M, kOther, sizeof(kOther) - 1}};
    const win::ResourceTable shadow(replacement, 1);
    std::unique_ptr<BYTE[]> buffer;
    DWORD size = 0;
    ASSERT_TRUE(window.LoadImage(DATA4_M, buffer, size));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.get()), size), kOther);
}

TEST_F(PackageImagesTest, AnEmptyResourceFailsToLoad) {
    const win::ResourceEntry empty[] = {{"BINARY", IDR_DATA2T, "", 0}};
    const win::ResourceTable shadow(empty, 1);
    EXPECT_FALSE(window.LoadPackageImages());
}

}  // namespace
