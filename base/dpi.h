#pragma once
// Screen scale. Every measure of Vantrel's windows is given for a screen of
// 96 pixels per inch (the Find dialog's for 120) and is scaled to the pixels
// per inch of the window it is used in, rounding as the platform's MulDiv
// does; fonts given in points are sized for that window's pixels per inch.
// At 96 every measure is exactly the one given.

namespace vantrel {

// The pixels per inch of a screen at 100 % scale, the measures' own.
inline constexpr int kDefaultDpi = 96;

// value * numerator / denominator rounded to the nearest integer, halves away
// from zero (MulDiv's rounding), with no overflow in between. The denominator
// must not be 0.
int MulDivRounded(int value, int numerator, int denominator);

// Measures given at designDpi, for a window at dpi.
struct DpiScale {
    int dpi = kDefaultDpi;
    int designDpi = kDefaultDpi;

    int operator()(int measure) const { return MulDivRounded(measure, dpi, designDpi); }
};

// A measure that fitted a window at fromDpi, for the same window at toDpi
// (a width the user chose, when the window moves to a screen of another
// scale). Scaling up and back down gives the measure back.
inline int Rescale(int value, int fromDpi, int toDpi) { return MulDivRounded(value, toDpi, fromDpi); }

// The character height of a font of the given points for a window at dpi,
// negative as a font request takes it (8 points are 11 pixels at 96).
int FontHeightForPoints(int points, int dpi);

// Every image list is drawn at 100, 150 and 200 % of its size.
inline constexpr int kImageScales[] = {100, 150, 200};

// The image scale nearest to a window's scale (dpi / 96); halfway between two,
// the smaller, so that images never outgrow the room their window gives them.
int NearestImageScale(int dpi);

// The size of an image drawn for a scale: 16 at 100 % is 24 at 150 % and 32
// at 200 %, 22 is 33 and 44.
constexpr int ImageSizeAt(int size, int scale) { return size * scale / 100; }

}  // namespace vantrel
