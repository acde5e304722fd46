// Node labels, pictures by class name and the window walk.

#include "tests/support/memory_desktop.h"
#include "tree/class_picture.h"
#include "tree/node_label.h"
#include "tree/rebuild_gate.h"
#include "tree/window_walk.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace vantrel {
namespace {

using testing::MemoryDesktop;

TEST(NodeLabel, DecimalAndHexadecimalForms) {
    EXPECT_EQ(NodeLabel(131634, "OK", "Button", false), "0000131634  OK  {Button}");
    EXPECT_EQ(NodeLabel(131634, "OK", "Button", true), "00020232  OK  {Button}");
    EXPECT_EQ(NodeLabel(131634, "", "Button", false), "0000131634  {Button}");
    EXPECT_EQ(NodeLabel(0, "", "", true), "00000000  {}");
}

TEST(NodeLabel, LongTextIsCutTo255AndLosesTheClass) {
    const std::string text(300, 'x');
    const std::string dec = NodeLabel(7, text, "Edit", false);
    ASSERT_EQ(dec.size(), 255u);
    EXPECT_EQ(dec, "0000000007  " + std::string(243, 'x'));
    const std::string hex = NodeLabel(7, text, "Edit", true);
    ASSERT_EQ(hex.size(), 255u);
    EXPECT_EQ(hex, "00000007  " + std::string(245, 'x'));
    // A text that leaves room for part of the class keeps that part.
    const std::string partial = NodeLabel(7, std::string(240, 'y'), "Button", false);
    EXPECT_EQ(partial.substr(250), "yy  {");
}

// The limit counts UTF-16 units: Cyrillic letters take one each (two bytes),
// a face outside the basic plane two, and a cut never splits the pair.
TEST(NodeLabel, TheCutCountsUtf16UnitsAndKeepsCharactersWhole) {
    const std::string cyrillic = "\xD0\x96";  // one unit
    const std::string face = "\xF0\x9F\x98\x80";  // two units
    const std::string fits = NodeLabel(7, std::string(241, 'x') + cyrillic + cyrillic + face + "tail", "C", false);
    EXPECT_EQ(fits, "0000000007  " + std::string(241, 'x') + cyrillic + cyrillic);  // 255 units: no room for the face
    const std::string whole = NodeLabel(7, std::string(239, 'x') + cyrillic + cyrillic + face, "C", false);
    EXPECT_EQ(whole, "0000000007  " + std::string(239, 'x') + cyrillic + cyrillic + face);  // exactly 255 units
}

TEST(NodeLabel, HandlesReadBackInBothModes) {
    for (Handle h : {0u, 1u, 498u, 2147483647u, 2147483648u, 3000000000u, 4294967295u}) {
        EXPECT_EQ(HandleFromLabel(NodeLabel(h, "t", "c", false), false), h) << h;
        EXPECT_EQ(HandleFromLabel(NodeLabel(h, "", "c", true), true), h) << h;
    }
    EXPECT_EQ(HandleField(4294967295u, false), "4294967295");
    EXPECT_EQ(HandleField(4294967295u, true), "FFFFFFFF");
    EXPECT_FALSE(HandleFromLabel("12345", false));
    EXPECT_FALSE(HandleFromLabel("9999999999  {x}", false));  // beyond 32 bits
    EXPECT_FALSE(HandleFromLabel("0000G000  {x}", true));
}

TEST(ClassPicture, KeywordTestsInOrderLastHitWins) {
    struct Case { const char* cls; bool root; int image; };
    const Case cases[] = {
        {"#32770", true, 32},        {"#32770", false, 0},
        {"Button", false, 3},        {"TRadioButton", false, 19},
        {"TCheckListBox", false, 12}, {"RichEdit20A", false, 21},
        {"ToolbarWindow32", false, 29}, {"ReBarWindow32", false, 7},
        {"Shell_TrayWnd", true, 30}, {"MSTaskSwWClass", false, 30},
        {"tooltips_class32", true, 36}, {"THintWindow", true, 36},
        {"SysTreeView32", false, 31}, {"TApplication", true, 1},
        {"TForm1", true, 32},        {"msctls_progress32", false, 0},
        {"Edit", false, 8},          {"ComboBox", false, 6},
        {"SysHeader32", false, 34},  {"Static", false, 25},
        {"msctls_statusbar32", false, 26}, {"TScroller", false, 35},
        {"TBitBtn", false, 2},       {"TBitButton", false, 3},  // BUTTON (test 9) comes after BITBTN (test 8)
        {"TSpeedButton", false, 24}, {"SysListView32", false, 13},
        {"TTabControl", false, 27},  {"TMemo", false, 15},
    };
    for (const Case& c : cases) EXPECT_EQ(PictureForClass(c.cls, c.root), c.image) << c.cls;
}

TEST(ClassPicture, OnlyLatinLettersAreUpperCased) {
    EXPECT_EQ(PictureForClass("button", false), 3);
    EXPECT_EQ(PictureForClass("\xe4" "button", false), 3);
}

// A small desktop: two unowned windows with children, owned windows met
// before and after their owner.
class WalkTest : public ::testing::Test {
protected:
    void SetUp() override {
        d.addTopLevel(10, "Early owned", "TDialog", /*owner*/ 20);
        d.addTopLevel(20, "Owner", "TMainForm");
        d.addChild(20, 21, "OK", "Button");
        d.addChild(21, 22, "", "Static");
        d.addChild(20, 23, "", "Edit");
        d.addTopLevel(30, "Late owned", "TDialog", /*owner*/ 20);
        d.addTopLevel(40, "", "tooltips_class32");
        d.active = 20;
    }
    MemoryDesktop d;
};

TEST_F(WalkTest, OwnedBeforeOwnerGoesUnderItAndAfterBecomesRoot) {
    const WalkResult r = WalkDesktop(d, d.active, 0, false);
    std::vector<std::pair<int, Handle>> shape;
    for (const WalkNode& n : r.nodes) shape.push_back({n.parent, n.window});
    const std::vector<std::pair<int, Handle>> expected = {
        {-1, 20}, {0, 10}, {0, 21}, {2, 22}, {0, 23}, {-1, 40}, {-1, 30}};
    EXPECT_EQ(shape, expected);
    EXPECT_EQ(r.windowsCount, 3);
    EXPECT_EQ(r.nodes[0].label, "0000000020  Owner  {TMainForm}");
    EXPECT_EQ(r.nodes[0].image, 32);
    EXPECT_EQ(r.nodes[1].image, 0);   // TDialog as a child: no keyword
    EXPECT_EQ(r.nodes[2].image, 3);
    EXPECT_EQ(r.nodes[3].image, 25);
    EXPECT_EQ(r.nodes[6].image, 32);  // the late owned window is a root
    EXPECT_EQ(WindowsCountText(r.windowsCount), " Windows: 3");
    EXPECT_EQ(TotalCountText(static_cast<int>(r.nodes.size())), " Total: 7");
}

TEST_F(WalkTest, CurrentNodeIsTheSelectedWindowsNode) {
    EXPECT_EQ(WalkDesktop(d, d.active, 22, false).currentNode, 3);
    EXPECT_EQ(WalkDesktop(d, d.active, 999, false).currentNode, -1);
    EXPECT_EQ(WalkDesktop(d, d.active, 30, true).nodes[6].label, "0000001E  Late owned  {TDialog}");
}

TEST_F(WalkTest, OwnedWindowWhoseOwnerIsPlacedLateIsListedOnce) {
    // 50 is owned by 60, which is itself owned by a window that is never
    // walked: both wait until the end. 50 comes first in the pending list.
    d.addTopLevel(50, "Grandchild dialog", "TDialog", 60);
    d.addTopLevel(60, "Middle", "TDialog", 999);
    const WalkResult r = WalkDesktop(d, d.active, 0, false);
    int count50 = 0;
    for (const WalkNode& n : r.nodes) count50 += n.window == 50;
    EXPECT_EQ(count50, 1);
    EXPECT_EQ(r.nodes.back().window, 60);
    EXPECT_EQ(r.windowsCount, 5);
}

TEST_F(WalkTest, OwnerCycleEnds) {
    d.addTopLevel(70, "A", "X", 71);
    d.addTopLevel(71, "B", "X", 70);
    const WalkResult r = WalkDesktop(d, d.active, 0, false);
    EXPECT_EQ(r.nodes.size(), 9u);
}

TEST_F(WalkTest, WindowVanishingMidWalkGivesEmptyLabelAndEndsTheChain) {
    d.beforeQuery = [this](Handle h) {
        if (h == 21 && d.exists(21)) {
            d.beforeQuery = nullptr;
            d.destroy(21);
        }
    };
    const WalkResult r = WalkDesktop(d, d.active, 0, false);
    // The vanished button keeps a node with an empty text and class; the walk
    // from it to its sibling ends, the rest of the desktop is still listed.
    bool sawEmpty = false;
    for (const WalkNode& n : r.nodes) sawEmpty |= n.label == "0000000021  {}";
    EXPECT_TRUE(sawEmpty);
    EXPECT_EQ(r.nodes.back().window, 30);
}

TEST(Walk, NoReferenceWindowListsHandleZero) {
    MemoryDesktop d;
    d.addTopLevel(5, "x", "y");
    const WalkResult r = WalkDesktop(d, 0, 0, false);
    ASSERT_EQ(r.nodes.size(), 1u);
    EXPECT_EQ(r.nodes[0].label, "0000000000  {}");
}

TEST(Walk, DeepChildChainAndManyWindows) {
    MemoryDesktop d;
    d.addTopLevel(1, "root", "TForm");
    Handle parent = 1;
    for (Handle h = 2; h < 42; ++h) {
        d.addChild(parent, h, "", "TPanel");
        parent = h;
    }
    for (Handle h = 100; h < 1100; ++h) d.addTopLevel(h, "w", "Owned", h % 3 ? 1 : 0);
    d.active = 1;
    const WalkResult r = WalkDesktop(d, 1, 41, false);
    EXPECT_EQ(r.nodes.size(), 41u + 1000u);
    EXPECT_EQ(r.currentNode, 40);
    EXPECT_EQ(r.nodes[40].parent, 39);
}

TEST(RebuildGate, ARebuildAskedForWhileOneRunsIsDoneOnceAfterIt) {
    RebuildGate gate;
    std::vector<std::string> events;
    int depth = 0;
    int asked = 0;
    std::function<void()> rebuild = [&] {
        events.push_back("start " + std::to_string(++depth));
        // Two requests arrive while the first rebuild waits: one more, after it.
        if (asked < 2) {
            ++asked;
            gate.Run(rebuild);
            gate.Run(rebuild);
        }
        events.push_back("end " + std::to_string(depth--));
    };
    gate.Run(rebuild);
    EXPECT_EQ(events, (std::vector<std::string>{"start 1", "end 1", "start 1", "end 1", "start 1", "end 1"}));
    EXPECT_FALSE(gate.Running());
}

TEST(RebuildGate, ARebuildThatThrowsLeavesTheGateOpen) {
    RebuildGate gate;
    EXPECT_THROW(gate.Run([] { throw std::runtime_error("walk failed"); }), std::runtime_error);
    int runs = 0;
    gate.Run([&] { ++runs; });
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace vantrel
