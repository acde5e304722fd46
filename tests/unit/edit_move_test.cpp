#include "tests/support/memory_desktop.h"
#include "windowops/edit_move.h"

#include <gtest/gtest.h>

using namespace vantrel;
using vantrel::testing::MemoryDesktop;

namespace {

constexpr Handle kWindow = 0x1F2;

Placement NormalPlacement() {
    Placement p;
    p.flags = 0;
    p.showCmd = 1;
    p.minPosition = {-1, -1};
    p.maxPosition = {-1, -1};
    p.normalPosition = {100, 50, 740, 530};
    return p;
}

struct EditMoveTest : ::testing::Test {
    MemoryDesktop desktop;
    void SetUp() override {
        auto& w = desktop.addTopLevel(kWindow, "Notes", "TNotes");
        w.placement = NormalPlacement();
    }
};

TEST_F(EditMoveTest, FillingShowsTheRecordFieldByField) {
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    EXPECT_EQ(read.text, "Notes");
    EXPECT_EQ(read.placement.length, 44u);
    EXPECT_EQ(ShownValues(read.placement), (EditMoveValues{100, 50, -1, -1, -1, -1, 640, 480}));
}

TEST_F(EditMoveTest, OkWithoutChangeWritesNothingAndRefillsTheList) {
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    EXPECT_EQ(ApplyEditMove(desktop, kWindow, read, read.text, ShownValues(read.placement)).refresh,
              EditMoveRefresh::PropertyList);
    EXPECT_TRUE(desktop.journal.empty());
}

TEST_F(EditMoveTest, OnlyTheWidthChangedMovesTheRightEdgeOnly) {
    desktop.window(kWindow).placement.flags = 0x1;  // WPF_SETMINPOSITION as read: kept, never added
    desktop.window(kWindow).placement.showCmd = 3;
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    EditMoveValues entered = ShownValues(read.placement);
    entered[6] = 800;
    EXPECT_EQ(ApplyEditMove(desktop, kWindow, read, read.text, entered).refresh, EditMoveRefresh::PropertyList);
    ASSERT_EQ(desktop.journal, (std::vector<std::string>{"setPlacement 498"}));
    const Placement& written = desktop.window(kWindow).placement;
    EXPECT_EQ(written.normalPosition, (Rect{100, 50, 900, 530}));
    EXPECT_EQ(written.minPosition, (Point{-1, -1}));
    EXPECT_EQ(written.maxPosition, (Point{-1, -1}));
    EXPECT_EQ(written.length, 44u);
    EXPECT_EQ(written.flags, 0x1u);
    EXPECT_EQ(written.showCmd, 3u);
}

TEST_F(EditMoveTest, OnlyTheTextChangedSetsTheTextAndRebuildsTheTree) {
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    EXPECT_EQ(ApplyEditMove(desktop, kWindow, read, "notes", ShownValues(read.placement)).refresh, EditMoveRefresh::Tree);
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"setText 498 notes"}));
}

TEST_F(EditMoveTest, AnEmptiedTextIsWritten) {
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    EXPECT_EQ(ApplyEditMove(desktop, kWindow, read, "", ShownValues(read.placement)).refresh, EditMoveRefresh::Tree);
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"setText 498 "}));
}

TEST_F(EditMoveTest, ALongTextLeftAloneIsNotWritten) {
    desktop.window(kWindow).text = std::string(300, 'a');
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    EXPECT_EQ(read.text.size(), 255u);
    EXPECT_EQ(ApplyEditMove(desktop, kWindow, read, read.text, ShownValues(read.placement)).refresh,
              EditMoveRefresh::PropertyList);
    EXPECT_TRUE(desktop.journal.empty());
}

TEST_F(EditMoveTest, AParkedMinimizedPositionIsShownClampedAndWrittenBack) {
    desktop.window(kWindow).placement.minPosition = {-32000, -32000};
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    const EditMoveValues shown = ShownValues(read.placement);
    EXPECT_EQ(shown[2], -4000);
    EXPECT_EQ(shown[3], -4000);
    EXPECT_TRUE(PlacementChanged(read.placement, shown));
    ApplyEditMove(desktop, kWindow, read, read.text, shown);
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"setPlacement 498"}));
    EXPECT_EQ(desktop.window(kWindow).placement.minPosition, (Point{-4000, -4000}));
    EXPECT_EQ(desktop.window(kWindow).placement.normalPosition, (Rect{100, 50, 740, 530}));
}

TEST_F(EditMoveTest, AWidthOf5000IsShownAs4000AndWrittenSo) {
    desktop.window(kWindow).placement.normalPosition = {0, 0, 5000, 300};
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    const EditMoveValues shown = ShownValues(read.placement);
    EXPECT_EQ(shown[6], 4000);
    ApplyEditMove(desktop, kWindow, read, read.text, shown);
    EXPECT_EQ(desktop.window(kWindow).placement.normalPosition, (Rect{0, 0, 4000, 300}));
}

TEST_F(EditMoveTest, AnExtremeRectangleDoesNotWrapIntoAnUnchangedWidth) {
    // right - left does not fit in 32 bits; in 32 bits it would wrap to 0.
    desktop.window(kWindow).placement.normalPosition = {-2147483647 - 1, 0, 2147483647, 10};
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    EXPECT_EQ(ShownValues(read.placement)[6], 4000);
    EXPECT_TRUE(PlacementChanged(read.placement, ShownValues(read.placement)));
}

TEST_F(EditMoveTest, AnEmptiedFieldReadsAsItsMinimumAndCountsAsAChangeUnlessStoredSo) {
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    EditMoveValues entered = ShownValues(read.placement);
    entered[7] = SpinValue("", kSizeRange);
    EXPECT_TRUE(PlacementChanged(read.placement, entered));
    ApplyEditMove(desktop, kWindow, read, read.text, entered);
    EXPECT_EQ(desktop.window(kWindow).placement.normalPosition, (Rect{100, 50, 740, 50}));

    desktop.journal.clear();
    desktop.window(kWindow).placement.normalPosition = {-4000, 50, -3000, 50};
    const EditMoveRead atMinimum = ReadForEditMove(desktop, kWindow);
    EditMoveValues same = ShownValues(atMinimum.placement);
    same[0] = SpinValue("", kPositionRange);
    same[7] = SpinValue("", kSizeRange);
    EXPECT_FALSE(PlacementChanged(atMinimum.placement, same));
}

TEST_F(EditMoveTest, AVanishedWindowShowsZerosAndWritesNothingUnlessEdited) {
    desktop.destroy(kWindow);
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    EXPECT_EQ(read.text, "");
    EXPECT_EQ(read.placement, Placement{});
    EXPECT_EQ(ShownValues(read.placement), EditMoveValues{});
    EXPECT_EQ(ApplyEditMove(desktop, kWindow, read, "", ShownValues(read.placement)).refresh, EditMoveRefresh::PropertyList);
    EXPECT_TRUE(desktop.journal.empty());
}

TEST_F(EditMoveTest, TextAndPlacementChangedTogetherAreBothWrittenTextFirst) {
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    EditMoveValues entered = ShownValues(read.placement);
    entered[0] = 0;
    EXPECT_EQ(ApplyEditMove(desktop, kWindow, read, "Other", entered).refresh, EditMoveRefresh::Tree);
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"setText 498 Other", "setPlacement 498"}));
    // Moving the left edge keeps the width: right follows left.
    EXPECT_EQ(desktop.window(kWindow).placement.normalPosition, (Rect{0, 50, 640, 530}));
}

TEST_F(EditMoveTest, AnUnansweredTextEndsTheCommandBeforeThePlacement) {
    desktop.window(kWindow).ids.thread = 9;
    const EditMoveRead read = ReadForEditMove(desktop, kWindow);
    desktop.hang(9);
    EditMoveValues entered = ShownValues(read.placement);
    entered[6] = 800;
    const EditMoveOutcome outcome = ApplyEditMove(desktop, kWindow, read, "Other", entered);
    EXPECT_EQ(outcome.reply, Reply::NotAnswered);
    EXPECT_EQ(outcome.refresh, EditMoveRefresh::Tree);
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"setText 498 Other"}));

    // Only the placement changed, while the text still waits: refused at once.
    EXPECT_EQ(ApplyEditMove(desktop, kWindow, read, read.text, entered).reply, Reply::Busy);
    EXPECT_EQ(desktop.journal.size(), 1u);
    desktop.release(9);
    EXPECT_EQ(desktop.window(kWindow).text, "Other");
    EXPECT_EQ(desktop.window(kWindow).placement.normalPosition, (Rect{100, 50, 740, 530}));
}

}  // namespace
