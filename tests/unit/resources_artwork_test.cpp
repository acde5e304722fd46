// The committed picture files, read as the image lists and the window classes
// will read them: strip sizes and image counts as resources/resource_names.h
// declares them for 100, 150 and 200 %, a transparent background, the larger
// sets showing the same pictures drawn anew rather than magnified, the exact
// shape rules of the four corner arrows that the position markers draw at
// every size, and an icon with all its sizes and a transparency mask.

#include "base/dpi.h"
#include "resources/resource_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace vantrel::resources;

fs::path ResourceDir() { return fs::path(__FILE__).parent_path().parent_path().parent_path() / "resources"; }

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U32(const std::vector<std::uint8_t>& b, size_t at) {
    return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) | (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
constexpr Rgb kMagenta{kTransparentRed, kTransparentGreen, kTransparentBlue};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// A 24-bit uncompressed bitmap file, as the resource compiler embeds it.
struct Bitmap {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;  // top row first
    Rgb At(int x, int y) const { return pixels.at(static_cast<size_t>(y * width + x)); }
};

Bitmap LoadBmp(const std::string& name) {
    const auto b = ReadFile(ResourceDir() / name);
    Bitmap bmp;
    EXPECT_GE(b.size(), 54u) << name;
    if (b.size() < 54) return bmp;
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32(b, 2), b.size()) << name << ": file size field";
    EXPECT_EQ(U32(b, 14), 40u) << name << ": plain info header";
    EXPECT_EQ(U16(b, 28), 24) << name << ": 24 bits a pixel";
    EXPECT_EQ(U32(b, 30), 0u) << name << ": uncompressed";
    bmp.width = static_cast<int>(U32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(U32(b, 22));
    EXPECT_GT(rawHeight, 0) << name << ": stored bottom-up";
    bmp.height = rawHeight;
    const size_t offset = U32(b, 10);
    const size_t row = (static_cast<size_t>(bmp.width) * 3 + 3) & ~size_t{3};
    EXPECT_EQ(b.size(), offset + row * static_cast<size_t>(bmp.height)) << name;
    if (b.size() < offset + row * static_cast<size_t>(bmp.height)) return {};
    for (int y = 0; y < bmp.height; ++y) {
        const size_t at = offset + row * static_cast<size_t>(bmp.height - 1 - y);
        for (int x = 0; x < bmp.width; ++x) {
            const size_t p = at + static_cast<size_t>(x) * 3;
            bmp.pixels.push_back({b[p + 2], b[p + 1], b[p]});
        }
    }
    return bmp;
}

using Strip = ImageStrip;

// Every drawing of every strip.
std::vector<Strip> AllStrips() {
    std::vector<Strip> all;
    for (const auto* strips : {&kToolStrips, &kTreeStrips, &kCatchStrips})
        for (const Strip& s : *strips) all.push_back(s);
    return all;
}

class ImageStrips : public testing::TestWithParam<Strip> {};

TEST_P(ImageStrips, HoldTheDeclaredImagesOnATransparentBackground) {
    const Strip s = GetParam();
    const Bitmap bmp = LoadBmp(s.file);
    ASSERT_EQ(bmp.width, s.size * s.count) << s.file;
    ASSERT_EQ(bmp.height, s.size) << s.file;
    int clearInStrip = 0;
    for (int i = 0; i < s.count; ++i) {
        int drawn = 0;
        for (int y = 0; y < s.size; ++y)
            for (int x = 0; x < s.size; ++x) {
                if (bmp.At(i * s.size + x, y) == kMagenta) ++clearInStrip;
                else ++drawn;
            }
        EXPECT_GE(drawn, s.size) << s.file << " image " << i << " is (nearly) empty";
    }
    // The background is the mask colour, not some other colour that would
    // show as a box behind every picture.
    EXPECT_GT(clearInStrip, s.size * s.size * s.count / 4) << s.file;
}

INSTANTIATE_TEST_SUITE_P(Resources, ImageStrips, testing::ValuesIn(AllStrips()),
                         [](const testing::TestParamInfo<Strip>& info) { return std::string(info.param.resource); });

TEST(ImageStrips, NoTwoPicturesOfAStripAreAlike) {
    for (const Strip& s : AllStrips()) {
        const Bitmap bmp = LoadBmp(s.file);
        ASSERT_EQ(bmp.width, s.size * s.count);
        for (int i = 0; i < s.count; ++i)
            for (int j = i + 1; j < s.count; ++j) {
                bool same = true;
                for (int y = 0; y < s.size && same; ++y)
                    for (int x = 0; x < s.size && same; ++x)
                        same = bmp.At(i * s.size + x, y) == bmp.At(j * s.size + x, y);
                EXPECT_FALSE(same) << s.file << ": images " << i << " and " << j << " are the same";
            }
    }
}

// Each image scale finds the strip drawn for it, of the size that scale gives
// the 100 % images, under its own name and file.
TEST(ImageStrips, EachScaleFindsTheDrawingMadeForIt) {
    for (const auto* strips : {&kToolStrips, &kTreeStrips, &kCatchStrips}) {
        const int base = (*strips)[0].size;
        std::vector<std::string> names;
        for (int scale : vantrel::kImageScales) {
            const Strip& s = StripAt(*strips, scale);
            EXPECT_EQ(s.size, vantrel::ImageSizeAt(base, scale)) << s.resource;
            EXPECT_EQ(s.count, (*strips)[0].count) << s.resource;
            names.push_back(s.resource);
            names.push_back(s.file);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end()) << "a name used twice";
    }
    EXPECT_EQ(StripAt(kToolStrips, vantrel::NearestImageScale(96)).size, 16);
    EXPECT_EQ(StripAt(kToolStrips, vantrel::NearestImageScale(144)).size, 24);
    EXPECT_EQ(StripAt(kTreeStrips, vantrel::NearestImageScale(192)).size, 44);
}

// The sets for 150 and 200 % show the pictures of the 100 % set, in the same
// order, drawn for their size: not one of them is the small picture
// magnified (pixel for pixel, each pixel repeated), and each covers, brought
// back to 100 %, nearly the same place as its small picture.
TEST(ImageStrips, TheLargerSetsShowTheSamePicturesDrawnForTheirSize) {
    for (const auto* strips : {&kToolStrips, &kTreeStrips, &kCatchStrips}) {
        const Strip& small = (*strips)[0];
        const Bitmap base = LoadBmp(small.file);
        ASSERT_EQ(base.width, small.size * small.count) << small.file;
        for (const Strip& large : {(*strips)[1], (*strips)[2]}) {
            const Bitmap bmp = LoadBmp(large.file);
            ASSERT_EQ(bmp.width, large.size * large.count) << large.file;
            ASSERT_EQ(large.count, small.count) << large.file;
            const int n = small.size, big = large.size;
            for (int i = 0; i < large.count; ++i) {
                int unlikeMagnified = 0;
                for (int y = 0; y < big; ++y)
                    for (int x = 0; x < big; ++x)
                        if (bmp.At(i * big + x, y) != base.At(i * n + x * n / big, y * n / big)) ++unlikeMagnified;
                EXPECT_GE(unlikeMagnified, big * big / 100)
                    << large.file << " image " << i << " is its 100 % picture magnified";
                int agree = 0;
                for (int y = 0; y < n; ++y)
                    for (int x = 0; x < n; ++x) {
                        int drawn = 0, all = 0;
                        for (int yy = y * big / n; yy < (y + 1) * big / n; ++yy)
                            for (int xx = x * big / n; xx < (x + 1) * big / n; ++xx, ++all)
                                if (bmp.At(i * big + xx, yy) != kMagenta) ++drawn;
                        if ((2 * drawn >= all) == (base.At(i * n + x, y) != kMagenta)) ++agree;
                    }
                EXPECT_GE(agree * 100, n * n * 80)
                    << large.file << " image " << i << " does not cover the place of its 100 % picture";
            }
        }
    }
}

// The position markers put each arrow's corner pixel on the window's corner;
// the rest of the square must stay see-through. At every size.
class CornerArrows : public testing::TestWithParam<Strip> {};

TEST_P(CornerArrows, PointIntoTheirCornersAndAreMirrorsOfOneAnother) {
    const Strip strip = GetParam();
    const Bitmap bmp = LoadBmp(strip.file);
    ASSERT_EQ(bmp.width, strip.size * strip.count);
    const int n = strip.size, e = n - 1;
    auto at = [&](int image, int x, int y) { return bmp.At(image * n + x, y); };

    // Image 12: black and white on magenta, tip in (15, 15), the other three
    // corners transparent, a broad white body with a black edge.
    int white = 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const Rgb c = at(kArrowDownRight, x, y);
            EXPECT_TRUE(c == kBlack || c == kWhite || c == kMagenta) << "pixel " << x << "," << y;
            if (c == kWhite) {
                ++white;
                // The body never touches the transparent area directly: a
                // one-pixel black outline lies between them.
                for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx > e || ny > e) continue;
                    EXPECT_NE(at(kArrowDownRight, nx, ny), kMagenta) << "white at " << x << "," << y << " unoutlined";
                }
            }
        }
    EXPECT_GE(white, 25 * n * n / 256);
    EXPECT_EQ(at(kArrowDownRight, e, e), kBlack);
    EXPECT_EQ(at(kArrowDownRight, 0, 0), kMagenta);
    EXPECT_EQ(at(kArrowDownRight, e, 0), kMagenta);
    EXPECT_EQ(at(kArrowDownRight, 0, e), kMagenta);
    // Its weight lies toward the tip: the head fills the lower right more
    // than the shaft fills the upper left.
    int lowerRight = 0, upperLeft = 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (at(kArrowDownRight, x, y) != kMagenta) (x + y > e ? lowerRight : upperLeft)++;
    EXPECT_GT(lowerRight, upperLeft);

    // 13 mirrored left to right, 14 turned half a turn, 15 mirrored top to bottom.
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const Rgb c = at(kArrowDownRight, x, y);
            EXPECT_EQ(at(kArrowDownLeft, e - x, y), c) << "13 at " << e - x << "," << y;
            EXPECT_EQ(at(kArrowUpLeft, e - x, e - y), c) << "14 at " << e - x << "," << e - y;
            EXPECT_EQ(at(kArrowUpRight, x, e - y), c) << "15 at " << x << "," << e - y;
        }
    // The outline is one pixel at every size: no black pixel lies between
    // two black ones along a line across the edge.
    for (int y = 1; y < e; ++y)
        for (int x = 1; x < e; ++x)
            if (at(kArrowDownRight, x, y) == kBlack) {
                const bool thickAcross = (at(kArrowDownRight, x - 1, y) == kBlack && at(kArrowDownRight, x + 1, y) == kBlack &&
                                          at(kArrowDownRight, x, y - 1) == kBlack && at(kArrowDownRight, x, y + 1) == kBlack);
                EXPECT_FALSE(thickAcross) << "black inside the outline at " << x << "," << y;
            }
}

INSTANTIATE_TEST_SUITE_P(Resources, CornerArrows, testing::ValuesIn(kToolStrips),
                         [](const testing::TestParamInfo<Strip>& info) { return std::string(info.param.resource); });

TEST(ProgramIcon, HoldsEverySizeWithColourAndMask) {
    const auto b = ReadFile(ResourceDir() / "vantrel.ico");
    ASSERT_GE(b.size(), 6u);
    EXPECT_EQ(U16(b, 0), 0);
    EXPECT_EQ(U16(b, 2), 1) << "an icon, not a cursor";
    const int count = U16(b, 4);
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * static_cast<size_t>(i);
        const int w = b.at(entry) ? b.at(entry) : 256, h = b.at(entry + 1) ? b.at(entry + 1) : 256;
        const std::uint32_t bytes = U32(b, entry + 8), offset = U32(b, entry + 12);
        ASSERT_LE(static_cast<size_t>(offset) + bytes, b.size());
        // The image: a bitmap header of double height (colour, then mask).
        EXPECT_EQ(U32(b, offset), 40u);
        EXPECT_EQ(static_cast<int>(U32(b, offset + 4)), w);
        EXPECT_EQ(static_cast<int>(U32(b, offset + 8)), 2 * h);
        const int bits = U16(b, offset + 14);
        const size_t colourRow = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
        const size_t maskRow = ((static_cast<size_t>(w) + 31) / 32) * 4;
        EXPECT_EQ(bytes, 40 + colourRow * h + maskRow * h) << "size " << w;
        // The mask leaves some pixels transparent and some opaque.
        const size_t mask = offset + 40 + colourRow * h;
        int transparent = 0, opaque = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ((b.at(mask + maskRow * y + x / 8) >> (7 - x % 8)) & 1 ? transparent : opaque)++;
        EXPECT_GT(transparent, 0) << "size " << w;
        EXPECT_GT(opaque, w * h / 3) << "size " << w;
        sizes.push_back(w * 1000 + h);
    }
    for (int size : kMainIconSizes)
        EXPECT_NE(std::find(sizes.begin(), sizes.end(), size * 1000 + size), sizes.end()) << size << " x " << size;
}

}  // namespace
