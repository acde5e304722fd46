// Position markers: where the four arrows go around a window.

#include "locate/position_markers.h"

#include "tests/support/memory_desktop.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(LocateMarkerPositions, EachArrowLiesOffItsCornerWithItsTipTouchingIt) {
    const Rect r{100, 200, 300, 250};  // right and bottom one pixel beyond the window
    const auto markers = MarkerPositions(r);
    EXPECT_EQ(markers[0], (Marker{12, {84, 184}, {99, 199}}));
    EXPECT_EQ(markers[1], (Marker{13, {300, 184}, {300, 199}}));
    EXPECT_EQ(markers[2], (Marker{14, {300, 250}, {300, 250}}));
    EXPECT_EQ(markers[3], (Marker{15, {84, 250}, {99, 250}}));
    for (const Marker& m : markers) {
        // The tip is a pixel of the drawn 16 x 16 square, and it is one of its corners.
        const int dx = m.tip.x - m.topLeft.x;
        const int dy = m.tip.y - m.topLeft.y;
        EXPECT_TRUE(dx == 0 || dx == 15) << m.image;
        EXPECT_TRUE(dy == 0 || dy == 15) << m.image;
        // And it lies outside the window, diagonally off a corner.
        EXPECT_TRUE(m.tip.x < r.left || m.tip.x >= r.right) << m.image;
        EXPECT_TRUE(m.tip.y < r.top || m.tip.y >= r.bottom) << m.image;
    }
}

TEST(LocateMarkerPositions, LargerArrowsLieAsFarOffAsTheyAreLarge) {
    // On a screen at 150 or 200 % the arrows are 24 or 32 pixels: their tips
    // still touch the corners, in the screen's own pixels.
    const Rect r{-8, 40, 1300, 900};
    for (int size : {24, 32}) {
        const auto markers = MarkerPositions(r, size);
        EXPECT_EQ(markers[0], (Marker{12, {-8 - size, 40 - size}, {-9, 39}})) << size;
        EXPECT_EQ(markers[1], (Marker{13, {1300, 40 - size}, {1300, 39}})) << size;
        EXPECT_EQ(markers[2], (Marker{14, {1300, 900}, {1300, 900}})) << size;
        EXPECT_EQ(markers[3], (Marker{15, {-8 - size, 900}, {-9, 900}})) << size;
    }
    testing::MemoryDesktop desktop;
    desktop.addTopLevel(100, "Dialog", "#32770").rect = Rect{10, 20, 30, 40};
    EXPECT_EQ((*MarkersFor(desktop, 100, 32))[0].topLeft, (Point{-22, -12}));
}

TEST(LocateMarkerPositions, NothingIsMovedInAtTheScreenEdge) {
    const auto markers = MarkerPositions(Rect{0, 0, 1280, 1024});
    EXPECT_EQ(markers[0].topLeft, (Point{-16, -16}));
    EXPECT_EQ(markers[1].topLeft, (Point{1280, -16}));
    EXPECT_EQ(markers[2].topLeft, (Point{1280, 1024}));
    EXPECT_EQ(markers[3].topLeft, (Point{-16, 1024}));
}

TEST(LocateMarkerWindow, DrawsNothingWithoutAReadableRectangle) {
    testing::MemoryDesktop desktop;
    desktop.addTopLevel(100, "Dialog", "#32770").rect = Rect{10, 20, 30, 40};
    const auto markers = MarkersFor(desktop, 100);
    ASSERT_TRUE(markers.has_value());
    EXPECT_EQ((*markers)[2].topLeft, (Point{30, 40}));
    EXPECT_FALSE(MarkersFor(desktop, 0).has_value());    // nothing selected yet
    EXPECT_FALSE(MarkersFor(desktop, 555).has_value());  // the window has gone
    desktop.destroy(100);
    EXPECT_FALSE(MarkersFor(desktop, 100).has_value());
}

}  // namespace
}  // namespace vantrel
