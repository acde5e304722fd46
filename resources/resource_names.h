#pragma once
// Names and shapes of the resources that resources/vantrel.rc embeds in
// vantrel.exe. Each strip is one bitmap of equally sized images side by side;
// magenta is the transparent colour (the mask colour for ImageList_AddMasked).
// Plain constants, no Windows header needed.

namespace vantrel::resources {

// The program icon (32 x 32 and 16 x 16), for window classes and the About dialog.
inline constexpr const char* kMainIcon = "MAINICON";

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
inline constexpr int kCatchImageCount = 9;

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
};

}  // namespace vantrel::resources
