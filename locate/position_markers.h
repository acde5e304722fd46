#pragma once
// Position markers: four arrows drawn on the screen just off the corners of
// the selected window, each with its tip touching its corner.

#include "platform/desktop.h"

#include <array>
#include <optional>

namespace vantrel {

// The arrows' size at 96 pixels per inch; on a larger scale they are drawn
// from the larger images of the list, each at its own size.
inline constexpr int kMarkerSize = 16;
// The arrows are images 12 to 15 of the main window's tool image list.
inline constexpr int kFirstMarkerImage = 12;

struct Marker {
    int image = 0;
    Point topLeft;  // where the image's top-left pixel goes on the screen
    Point tip;      // the screen pixel the arrow's tip covers
    friend bool operator==(const Marker&, const Marker&) = default;
};

// The four markers of images size x size for a window rectangle (right and
// bottom one pixel beyond the window), in drawing order: 12 down-right at the
// top-left corner, 13 down-left at the top-right, 14 up-left at the
// bottom-right, 15 up-right at the bottom-left. Nothing is clipped to the
// screen.
std::array<Marker, 4> MarkerPositions(const Rect& window, int size = kMarkerSize);

// The markers for a window, or nothing when its rectangle cannot be read (no
// window selected yet, or the window has gone): then nothing is drawn.
std::optional<std::array<Marker, 4>> MarkersFor(Desktop& desktop, Handle window, int size = kMarkerSize);

}  // namespace vantrel
