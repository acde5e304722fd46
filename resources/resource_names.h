#pragma once
// Names and shapes of the resources that resources/vantrel.rc embeds in
// vantrel.exe. Each strip is one bitmap of equally sized images side by side;
// magenta is the transparent colour (the mask colour for ImageList_AddMasked).
// Every strip is drawn for screens at 100, 150 and 200 % (the image scales of
// base/dpi.h): the same pictures at 1.5 and 2 times the size, each drawn for
// its size. Plain constants, no Windows header needed.

namespace vantrel::resources {

// The program icon, for window classes and the About dialog, in these sizes.
inline constexpr const char* kMainIcon = "MAINICON";
inline constexpr int kMainIconSizes[] = {16, 24, 32, 48, 64};

// ImageList1 of the main window: tool bar, menus and the corner arrows.
inline constexpr const char* kToolImages = "TOOLIMAGES";
inline constexpr int kToolImageSize = 16;
inline constexpr int kToolImageCount = 18;

// ImageList2: the pictures of the window tree's nodes.
inline constexpr const char* kTreeImages = "TREEIMAGES";
inline constexpr int kTreeImageSize = 22;
inline constexpr int kTreeImageCount = 37;

// ImageList1 of the Catch Messages window.
inline constexpr const char* kCatchImages = "CATCHIMAGES";
inline constexpr int kCatchImageSize = 16;
inline constexpr int kCatchImageCount = 10;

// One drawing of a strip: its resource, the file the generator writes (in
// resources/), the size of one image and the number of images.
struct ImageStrip {
    const char* resource;
    const char* file;
    int size;
    int count;
};

// Each strip at 100, 150 and 200 %, in that order.
inline constexpr ImageStrip kToolStrips[] = {
    {kToolImages, "tool_images.bmp", kToolImageSize, kToolImageCount},
    {"TOOLIMAGES150", "tool_images_150.bmp", kToolImageSize * 3 / 2, kToolImageCount},
    {"TOOLIMAGES200", "tool_images_200.bmp", kToolImageSize * 2, kToolImageCount},
};
inline constexpr ImageStrip kTreeStrips[] = {
    {kTreeImages, "tree_images.bmp", kTreeImageSize, kTreeImageCount},
    {"TREEIMAGES150", "tree_images_150.bmp", kTreeImageSize * 3 / 2, kTreeImageCount},
    {"TREEIMAGES200", "tree_images_200.bmp", kTreeImageSize * 2, kTreeImageCount},
};
inline constexpr ImageStrip kCatchStrips[] = {
    {kCatchImages, "catch_images.bmp", kCatchImageSize, kCatchImageCount},
    {"CATCHIMAGES150", "catch_images_150.bmp", kCatchImageSize * 3 / 2, kCatchImageCount},
    {"CATCHIMAGES200", "catch_images_200.bmp", kCatchImageSize * 2, kCatchImageCount},
};

// The drawing of a strip for an image scale (100, 150 or 200).
constexpr const ImageStrip& StripAt(const ImageStrip (&strips)[3], int scale) {
    return strips[scale >= 200 ? 2 : scale >= 150 ? 1 : 0];
}

// The transparent colour of the strips, as a COLORREF (0x00BBGGRR).
inline constexpr unsigned long kTransparentColour = 0x00FF00FFul;
inline constexpr unsigned char kTransparentRed = 255;
inline constexpr unsigned char kTransparentGreen = 0;
inline constexpr unsigned char kTransparentBlue = 255;

// Indexes into the tool images that the position markers draw: each arrow
// points into one corner of its image.
inline constexpr int kArrowDownRight = 12;
inline constexpr int kArrowDownLeft = 13;
inline constexpr int kArrowUpLeft = 14;
inline constexpr int kArrowUpRight = 15;

// Indexes into the Catch Messages images, in strip order.
enum CatchImage : int {
    kCatchStart = 0,
    kCatchStop = 1,
    kCatchTimer = 2,
    kCatchPaint = 3,
    kCatchMouse = 4,
    kCatchKeyboard = 5,
    kCatchCursor = 6,
    kCatchOther = 7,
    kCatchClear = 8,
    kCatchDetails = 9,
};

}  // namespace vantrel::resources
