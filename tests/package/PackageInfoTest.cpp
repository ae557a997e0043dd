#include <gtest/gtest.h>

#include <functional>

#include "package/PackageInfo.h"

namespace {

using Strings = std::vector<std::string>;

TEST(PackageInfoTest, BuiltInPackage) {
    CPackageInfo package;
    ASSERT_TRUE(package.Load());
    EXPECT_EQ(package.GetVendorId(), "2E91");
    EXPECT_EQ(package.GetProductId(), "5D36");
    EXPECT_EQ(package.GetModelCode(), "5F");
    EXPECT_EQ(package.GetApplicableList(1), (Strings{"450A41", "452B11", "450B42", "452C11",
                                                     "450C41", "452C11", "450D42", "452C11"}));
    EXPECT_TRUE(package.GetApplicableList(2).empty());
    EXPECT_FALSE(package.m_bSecondSetBlank);
    const Strings versions = {"450D42", "452C11", "", "454F11"};
    const Strings checksums = {"3AC3", "BEB3", "", "A789"};
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(package.GetVersion(1, slot), versions[static_cast<size_t>(slot)]);
        EXPECT_EQ(package.GetChecksum(1, slot), checksums[static_cast<size_t>(slot)]);
        EXPECT_EQ(package.GetVersion(2, slot), "");
    }
    EXPECT_EQ(package.GetVersion(1, 4), "") << "a slot past the table reads empty";
    EXPECT_EQ(package.m_nInitWait, 15);
    EXPECT_EQ(package.m_nRestartWait, 18);
    EXPECT_EQ(package.m_nPrepareWait, (std::array<LONG, 4>{8, 10, 10, 3}));
    EXPECT_EQ(package.m_nWriteEstimate, (std::array<LONG, 4>{7, 44, 45, 3}));
    EXPECT_EQ(package.m_nWriteTimeout, (std::array<LONG, 4>{120, 180, 180, 120}));
}

TEST(PackageInfoTest, SplittingOfApplicableTexts) {
    struct Case {
        std::string text;
        Strings entries;
        bool valid;
    };
    const Case cases[] = {
        {"450D42,452C11", {"450D42", "452C11"}, true},
        {"450D42", {"450D42", " "}, true},
        {"450D42,", {"450D42", " "}, true},
        {"", {" ", " "}, false},             // a blank DATA1(M) entry in set 1
        {",452C11", {"", "452C11"}, false},  // an empty DATA1(M) entry
        {"450D42,45", {"450D42", "45"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        PackageValues values = PackageValues::BuiltIn();
        values.set1PairCount = 1;
        values.set1ApplicableTexts = {c.text};
        CPackageInfo package;
        EXPECT_EQ(package.LoadFrom(values) != FALSE, c.valid);
        EXPECT_EQ(package.GetApplicableList(1), c.entries);
    }
}

TEST(PackageInfoTest, TwoCommasEndTheLoadAtOnce) {
    PackageValues values = PackageValues::BuiltIn();
    values.set1ApplicableTexts[1] = "450B42,452C11,452C12";
    CPackageInfo package;
    EXPECT_FALSE(package.LoadFrom(values));
    EXPECT_EQ(package.m_nInitWait, 0) << "the fields of later steps keep their values";
    EXPECT_EQ(package.GetVersion(2, 0), "");

    CPackageInfo loaded;
    ASSERT_TRUE(loaded.Load());
    values.set2PairCount = 1;
    values.set1ApplicableTexts[1] = "450B42,452C11";
    values.set2ApplicableTexts = {"1,2,3"};
    values.initWait = 99;
    EXPECT_FALSE(loaded.LoadFrom(values));
    EXPECT_EQ(loaded.m_nInitWait, 15);
}

TEST(PackageInfoTest, PairCountBeyondTheTextsGivesBlankPairs) {
    PackageValues values = PackageValues::BuiltIn();
    values.set2PairCount = 2;  // no texts at all: two pairs of two blanks
    CPackageInfo package;
    EXPECT_TRUE(package.LoadFrom(values));
    EXPECT_EQ(package.GetApplicableList(2), (Strings{" ", " ", " ", " "}));
    EXPECT_TRUE(package.m_bSecondSetBlank);

    values.set1PairCount = 5;  // index 4 of set 1 is the empty text: a blank DATA1(M) entry
    EXPECT_FALSE(package.LoadFrom(values));
}

TEST(PackageInfoTest, ValidationRules) {
    struct Case {
        const char* name;
        std::function<void(PackageValues&)> change;
        bool valid;
    };
    const Case cases[] = {
        {"vendor id of 3", [](PackageValues& v) { v.vendorId = "E91"; }, false},
        {"vendor id of 5", [](PackageValues& v) { v.vendorId = "2E910"; }, false},
        {"product id of 3", [](PackageValues& v) { v.productId = "D36"; }, false},
        {"model code of 1", [](PackageValues& v) { v.modelCode = "F"; }, false},
        {"model code of 3", [](PackageValues& v) { v.modelCode = "5FF"; }, false},
        {"set-1 version of 5", [](PackageValues& v) { v.set1Version[1] = "452C1"; }, false},
        {"set-1 version of 7", [](PackageValues& v) { v.set1Version[3] = "454F111"; }, false},
        {"set-1 checksum of 3", [](PackageValues& v) { v.set1Checksum[0] = "AC3"; }, false},
        {"set-1 checksum of 5", [](PackageValues& v) { v.set1Checksum[3] = "A7890"; }, false},
        {"empty set-1 DATA1(M)",
         [](PackageValues& v) {
             v.set1Version = {"", "", "", ""};
             v.set1Checksum = {"", "", "", ""};
         },
         false},
        {"set-1 DATA2(T) without DATA1(M)", [](PackageValues& v) { v.set1Version[0] = ""; }, false},
        {"empty version with a checksum is absent",
         [](PackageValues& v) { v.set1Checksum[2] = "BAD"; }, true},
        {"lower-case checksum passes: only lengths are checked",
         [](PackageValues& v) { v.set1Checksum[0] = "3ac3"; }, true},
        {"set-2 DATA4(M) without set-2 DATA1(M)",
         [](PackageValues& v) {
             v.set2Version[3] = "454F11";
             v.set2Checksum[3] = "A789";
         },
         false},
        {"a complete set 2",
         [](PackageValues& v) {
             v.set2Version = {"450E42", "", "", ""};
             v.set2Checksum = {"1234", "", "", ""};
             v.set2PairCount = 1;
             v.set2ApplicableTexts = {"450D42,452C11"};
         },
         true},
        {"set 2 with a list but no DATA1(M) version",
         [](PackageValues& v) {
             v.set2PairCount = 1;
             v.set2ApplicableTexts = {"450D42,452C11"};
         },
         false},
        {"set-2 DATA1(M) checksum of 3",
         [](PackageValues& v) {
             v.set2Version = {"450E42", "", "", ""};
             v.set2Checksum = {"123", "", "", ""};
             v.set2PairCount = 1;
             v.set2ApplicableTexts = {"450D42"};
         },
         false},
        {"set-2 DATA2(T) entry of 5",
         [](PackageValues& v) {
             v.set2Version = {"450E42", "", "", ""};
             v.set2Checksum = {"1234", "", "", ""};
             v.set2PairCount = 1;
             v.set2ApplicableTexts = {"450D42,45"};
         },
         false},
        {"blank set-2 pair with a set-2 DATA1(M) version",
         [](PackageValues& v) {
             v.set2Version = {"450E42", "", "", ""};
             v.set2Checksum = {"1234", "", "", ""};
             v.set2PairCount = 1;
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PackageValues values = PackageValues::BuiltIn();
        c.change(values);
        CPackageInfo package;
        EXPECT_EQ(package.LoadFrom(values) != FALSE, c.valid);
    }
}

TEST(PackageInfoTest, BlankSetTwoPairMarksTheSecondSetBlank) {
    PackageValues values = PackageValues::BuiltIn();
    values.set2PairCount = 1;
    values.set2ApplicableTexts = {",452C11"};
    CPackageInfo package;
    // The entry before the comma is empty, not blank: it is neither blank nor six long.
    EXPECT_FALSE(package.LoadFrom(values));
    EXPECT_FALSE(package.m_bSecondSetBlank);

    values.set2ApplicableTexts = {""};
    CPackageInfo blank;
    EXPECT_TRUE(blank.LoadFrom(values));
    EXPECT_TRUE(blank.m_bSecondSetBlank);
}

TEST(PackageInfoTest, HasLengthCountsCharacters) {
    EXPECT_TRUE(CPackageInfo::HasLength("", 0));
    EXPECT_TRUE(CPackageInfo::HasLength(" ", 1));
    EXPECT_FALSE(CPackageInfo::HasLength("450D42", 5));
    EXPECT_FALSE(CPackageInfo::HasLength("450D42", -6));
}

}  // namespace
