// The helpers every subsystem shares.

#include "base/dpi.h"
#include "base/path.h"
#include "base/scope_exit.h"
#include "base/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

namespace vantrel {
namespace {

TEST(BaseText, Hex8WritesEightUpperCaseDigits) {
    EXPECT_EQ(Hex8(0), "00000000");
    EXPECT_EQ(Hex8(498), "000001F2");
    EXPECT_EQ(Hex8(0xABCDEF01u), "ABCDEF01");
    EXPECT_EQ(Hex8(0xFFFFFFFFu), "FFFFFFFF");
}

TEST(BaseText, LatinUpperChangesTheLettersAToZOnly) {
    EXPECT_EQ(LatinUpper("abcxyz ABC 09 {}[]`@"), "ABCXYZ ABC 09 {}[]`@");
    // Accented and other 8-bit letters stay as they are (Latin-1 bytes).
    EXPECT_EQ(LatinUpper("\xE9t\xE9 \xFC\xDF\xE0"), "\xE9T\xE9 \xFC\xDF\xE0");
    // Bytes above 127 are negative chars on most compilers: none may change.
    std::string all;
    for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
    const std::string upper = LatinUpper(all);
    for (int c = 1; c < 256; ++c) {
        const char expected = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : static_cast<char>(c);
        EXPECT_EQ(upper[static_cast<size_t>(c - 1)], expected) << "character " << c;
    }
}

TEST(BasePath, DirectoryOfKeepsTheTrailingSeparatorOrGivesNothing) {
    EXPECT_EQ(DirectoryOf("C:\\Tools\\Vantrel\\vantrel.exe"), "C:\\Tools\\Vantrel\\");
    EXPECT_EQ(DirectoryOf("/opt/vantrel/VANTREL.DLL"), "/opt/vantrel/");
    EXPECT_EQ(DirectoryOf("vantrel.exe"), "");
    EXPECT_EQ(DirectoryOf(""), "");
    EXPECT_EQ(FileNameOf("C:\\Tools\\vantrel.exe"), "vantrel.exe");
    EXPECT_EQ(FileNameOf("vantrel.exe"), "vantrel.exe");
    // Only a full path has a folder to start a program or load a library from.
    const std::pair<const char*, const char*> full[] = {
        {"Z:\\work\\build\\VANTREL.DLL", "Z:\\work\\build\\"}, {"C:/Vantrel/vantrel64.exe", "C:/Vantrel/"},
        {"\\\\server\\share\\vantrel.exe", "\\\\server\\share\\"}, {"VANTREL.DLL", ""},
        {"build\\VANTREL.DLL", ""}, {"C:VANTREL.DLL", ""}, {"/opt/vantrel/VANTREL.DLL", ""}, {"", ""},
    };
    for (const auto& [path, folder] : full) EXPECT_EQ(vantrel::FolderOfFullPath(path), folder) << path;
}

TEST(BaseDpi, MulDivRoundedRoundsHalvesAwayFromZeroWithoutOverflow) {
    EXPECT_EQ(MulDivRounded(11, 144, 96), 17);    // 16.5
    EXPECT_EQ(MulDivRounded(-11, 144, 96), -17);
    EXPECT_EQ(MulDivRounded(11, -144, 96), -17);
    EXPECT_EQ(MulDivRounded(11, 144, -96), -17);
    EXPECT_EQ(MulDivRounded(-11, -144, 96), 17);
    EXPECT_EQ(MulDivRounded(1, 1, 3), 0);         // 0.33
    EXPECT_EQ(MulDivRounded(2, 1, 3), 1);         // 0.67
    EXPECT_EQ(MulDivRounded(-2, 1, 3), -1);
    EXPECT_EQ(MulDivRounded(0, 192, 96), 0);
    // The product does not fit in 32 bits; the result does.
    EXPECT_EQ(MulDivRounded(INT_MAX, 192, 192), INT_MAX);
    EXPECT_EQ(MulDivRounded(INT_MIN, 120, 120), INT_MIN);
    EXPECT_EQ(MulDivRounded(1 << 30, 96, 192), 1 << 29);
}

TEST(BaseDpi, MeasuresStayExactAt96AndScaleWithTheWindow) {
    // At 96 pixels per inch nothing changes, negative offsets included.
    const DpiScale at96{96};
    for (int v = -4000; v <= 4000; ++v) ASSERT_EQ(at96(v), v);
    // 150 %: halves round up (away from zero below 0).
    const DpiScale at144{144};
    EXPECT_EQ(at144(592), 888);
    EXPECT_EQ(at144(23), 35);   // 34.5
    EXPECT_EQ(at144(29), 44);   // 43.5
    EXPECT_EQ(at144(-25), -38);
    EXPECT_EQ(at144(1), 2);     // a one-pixel line stays visible
    // 125 % and 200 %.
    EXPECT_EQ((DpiScale{120})(85), 106);  // 106.25
    EXPECT_EQ((DpiScale{192})(703), 1406);
}

TEST(BaseDpi, TheFindDialogsMeasuresAreGivenAt120PixelsPerInch) {
    // Its client area, 378 x 105 at 120, is 302 x 84 at 96.
    const auto find = [](int dpi) { return DpiScale{dpi, 120}; };
    EXPECT_EQ(find(96)(378), 302);   // 302.4
    EXPECT_EQ(find(96)(105), 84);
    EXPECT_EQ(find(120)(378), 378);
    EXPECT_EQ(find(144)(378), 454);  // 453.6
    EXPECT_EQ(find(144)(105), 126);
    EXPECT_EQ(find(192)(378), 605);  // 604.8
    EXPECT_EQ(find(192)(105), 168);
    // Its controls scale with it: Edit1 at 120, 4 with 249 x 24.
    EXPECT_EQ(find(96)(120), 96);
    EXPECT_EQ(find(96)(4), 3);       // 3.2
    EXPECT_EQ(find(96)(249), 199);
    EXPECT_EQ(find(96)(24), 19);
}

TEST(BaseDpi, AMeasureMovedToAnotherScaleAndBackIsKept) {
    // A width the user chose survives a trip to a larger scale and back.
    for (int dpi : {120, 144, 168, 192, 240, 288})
        for (int v = 0; v <= 2000; ++v) ASSERT_EQ(Rescale(Rescale(v, 96, dpi), dpi, 96), v) << v << " via " << dpi;
    EXPECT_EQ(Rescale(188, 96, 144), 282);
    EXPECT_EQ(Rescale(282, 144, 192), 376);
}

TEST(BaseDpi, FontsInPointsAreSizedForTheWindow) {
    EXPECT_EQ(FontHeightForPoints(8, 96), -11);   // 10.67
    EXPECT_EQ(FontHeightForPoints(9, 96), -12);
    EXPECT_EQ(FontHeightForPoints(8, 120), -13);  // 13.33
    EXPECT_EQ(FontHeightForPoints(8, 144), -16);
    EXPECT_EQ(FontHeightForPoints(9, 144), -18);
    EXPECT_EQ(FontHeightForPoints(8, 192), -21);  // 21.33
    EXPECT_EQ(FontHeightForPoints(9, 192), -24);
}

TEST(BaseDpi, TheNearestImageSetIsChosenAndTiesTakeTheSmallerOne) {
    EXPECT_EQ(NearestImageScale(72), 100);
    EXPECT_EQ(NearestImageScale(96), 100);
    EXPECT_EQ(NearestImageScale(120), 100);  // 125 %: halfway
    EXPECT_EQ(NearestImageScale(121), 150);
    EXPECT_EQ(NearestImageScale(144), 150);
    EXPECT_EQ(NearestImageScale(168), 150);  // 175 %: halfway
    EXPECT_EQ(NearestImageScale(169), 200);
    EXPECT_EQ(NearestImageScale(192), 200);
    EXPECT_EQ(NearestImageScale(288), 200);  // nothing larger is drawn
    EXPECT_EQ(ImageSizeAt(16, 150), 24);
    EXPECT_EQ(ImageSizeAt(16, 200), 32);
    EXPECT_EQ(ImageSizeAt(22, 150), 33);
    EXPECT_EQ(ImageSizeAt(22, 200), 44);
}

TEST(BaseScopeExit, PutsTheOldValueBackOnEveryWayOut) {
    bool flag = false;
    int runs = 0;
    {
        const auto set = TemporarilySet(flag, true);
        const ScopeExit counted([&runs] { ++runs; });
        EXPECT_TRUE(flag);
    }
    EXPECT_FALSE(flag);
    EXPECT_EQ(runs, 1);
    try {
        const auto set = TemporarilySet(flag, true);
        throw 1;
    } catch (int) {
    }
    EXPECT_FALSE(flag);
    // Nested: each level gives back what it found.
    {
        const auto outer = TemporarilySet(flag, true);
        {
            const auto inner = TemporarilySet(flag, false);
            EXPECT_FALSE(flag);
        }
        EXPECT_TRUE(flag);
    }
    EXPECT_FALSE(flag);
}

}  // namespace
}  // namespace vantrel
