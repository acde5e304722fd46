// Location tools from outside: Find window and Find next, Window from point,
// and the position markers, against the window fixture.

#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace vantrel::e2e {
namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The nodes a search for text must stop at, in order, read from the tree as
// the user sees it.
std::vector<int> ExpectedHits(const std::vector<TreeNode>& nodes, const std::string& text) {
    std::vector<int> hits;
    const std::string wanted = Upper(text);
    for (size_t i = 0; i < nodes.size(); ++i)
        if (Upper(nodes[i].text).find(wanted) != std::string::npos) hits.push_back(static_cast<int>(i));
    return hits;
}

POINT CentreOf(HWND window) {
    const RECT r = WindowRect(window);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Brings a window to the front and puts the pointer on its middle.
POINT PointerOver(HWND window) {
    Activate(::GetAncestor(window, GA_ROOT));
    const POINT p = CentreOf(window);
    MoveMouse(p.x, p.y);
    return p;
}

class LocateTest : public ::testing::Test {
protected:
    // Only the main family: a small tree, and nothing covering its windows.
    static void SetUpTestSuite() { session_.Start("--only main"); }
    static void TearDownTestSuite() { session_.Stop(); }
    void SetUp() override {
        ASSERT_TRUE(session_.app && session_.app->Running());
        if (App().HexMode()) ASSERT_TRUE(App().SetHexMode(false));
        ASSERT_TRUE(App().Refresh());
    }
    void TearDown() override { session_.CloseStrays({"TForm4"}); }

    Vantrel& App() { return *session_.app; }
    Fixture& Fix() { return *session_.fixture; }


    // "Find window...": the dialog filled in and confirmed with OK.
    void Find(const std::string& text, bool fromBeginning) {
        ASSERT_TRUE(App().PostCommand(cmd::FindWindow1));
        HWND dialog = App().WaitForWindow("TForm4", "Vantrel - Find");
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit1), text));
        ASSERT_TRUE(Send(::GetDlgItem(dialog, ctl::CheckBox1), BM_SETCHECK,
                         fromBeginning ? BST_CHECKED : BST_UNCHECKED, 0));
        ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
        ASSERT_TRUE(App().WaitForWindowGone("TForm4"));
    }

    bool WaitSelected(int index, const std::string& what) {
        return WaitFor([&] { return App().SelectedNodeIndex() == index; }, kWaitTimeout, what);
    }

    // Waits for "Searching is finished" and closes it with OK.
    void ExpectSearchingFinished() {
        HWND box = App().WaitForWindow("#32770", "Vantrel - Find");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(StaticText(box), "Searching is finished");
        ASSERT_TRUE(ClickDialogButton(box, IDOK));
        ASSERT_TRUE(App().WaitForWindowGone("#32770"));
    }

    // Runs everything Vantrel has queued; a message box it opened stays open.
    void Settle() { ASSERT_TRUE(Send(App().MainWindow(), WM_NULL, 0, 0).has_value()); }

    static Session session_;
};

Session LocateTest::session_;

// ---- Find window and Find next ----------------------------------------------

// The window with the keyboard focus in the dialog's thread.
HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{sizeof info};
    return ::GetGUIThreadInfo(ThreadOf(dialog), &info) ? info.hwndFocus : nullptr;
}

// Edit1 has the focus and its whole text is selected.
void ExpectEditReady(HWND dialog) {
    HWND edit = ::GetDlgItem(dialog, ctl::Edit1);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(dialog) == edit; }, kWaitTimeout, "the focus in Edit1"));
    const auto selection = Send(edit, EM_GETSEL, 0, 0);
    ASSERT_TRUE(selection.has_value());
    EXPECT_EQ(LOWORD(*selection), 0);
    EXPECT_EQ(HIWORD(*selection), WindowText(edit).size());
}

TEST_F(LocateTest, TheFindDialogStartsEmptyWithFromTheBeginningChecked) {
    // The first test of the run: the dialog as the program made it.
    ASSERT_TRUE(App().PostCommand(cmd::FindWindow1));
    HWND dialog = App().WaitForWindow("TForm4", "Vantrel - Find");
    ASSERT_NE(dialog, nullptr);
    // Its measures are given at 120 pixels per inch: 378 x 105 there is
    // 302 x 84 at 96, and its controls shrink with it (Edit1 at 120, 4 with
    // 249 x 24, OK at 64, 64 with 118 x 28).
    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 302);
    EXPECT_EQ(client.bottom, 84);
    auto placeOf = [dialog](int id) {
        RECT r = WindowRect(::GetDlgItem(dialog, id));
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT edit = placeOf(ctl::Edit1);
    EXPECT_EQ(edit.left, 96);
    EXPECT_EQ(edit.top, 3);
    EXPECT_EQ(edit.right - edit.left, 199);
    EXPECT_EQ(edit.bottom - edit.top, 19);
    const RECT ok = placeOf(ctl::Button1);
    EXPECT_EQ(ok.left, 51);
    EXPECT_EQ(ok.top, 51);
    EXPECT_EQ(ok.right - ok.left, 94);
    EXPECT_EQ(ok.bottom - ok.top, 22);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, ctl::Edit1)), "");
    EXPECT_EQ(Send(::GetDlgItem(dialog, ctl::CheckBox1), BM_GETCHECK, 0, 0).value_or(-1), BST_CHECKED);
    EXPECT_NE(ChildButton(dialog, "From the beginning:"), nullptr);
    EXPECT_NE(ChildButton(dialog, "Find what:"), nullptr);
    ExpectEditReady(dialog);
    // Escape does not close it; Cancel does, and nothing is searched.
    ASSERT_TRUE(Activate(dialog));
    PressKey(VK_ESCAPE);
    Settle();
    EXPECT_TRUE(::IsWindowVisible(dialog));
    ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));
    ASSERT_TRUE(App().WaitForWindowGone("TForm4"));
}

TEST_F(LocateTest, FindsAFixtureWindowByItsTextInAnyLatinCase) {
    HWND target = Fix().Window("main");
    const std::string text = WindowText(target);
    ASSERT_FALSE(text.empty());
    const auto tree = App().Tree();
    const auto hits = ExpectedHits(tree, text);
    ASSERT_FALSE(hits.empty());

    Find(Lower(text), true);
    ASSERT_TRUE(WaitSelected(hits.front(), "the first node holding the fixture's text"));
    EXPECT_EQ(hits.front(), FindNodeOf(tree, target, false));
    EXPECT_EQ(App().Property("Handle").value_or(""), ValueText(HandleValue(target), false));
}

TEST_F(LocateTest, FindNextGoesThroughEveryClassHitThenSaysSearchingIsFinished) {
    // The braced class finds Button nodes only, not TRadioButton ones.
    const auto tree = App().Tree();
    const auto hits = ExpectedHits(tree, "{Button}");
    ASSERT_GE(hits.size(), 2u) << "the fixture shows several buttons";
    for (int hit : hits) EXPECT_EQ(Upper(tree[static_cast<size_t>(hit)].text).find("{TRADIOBUTTON}"), std::string::npos);

    Find("{bUtToN}", true);
    ASSERT_TRUE(WaitSelected(hits[0], "the first Button node"));
    ASSERT_TRUE(App().ActivateMain());
    for (size_t i = 1; i < hits.size(); ++i) {
        PressKey(VK_F3);
        ASSERT_TRUE(WaitSelected(hits[i], "Button node number " + std::to_string(i + 1) + " after F3"));
    }
    PressKey(VK_F3);
    ExpectSearchingFinished();
    // No wrap: the selection stays on the last hit.
    EXPECT_EQ(App().SelectedNodeIndex(), hits.back());

    // The last node of the tree selected: the end at once.
    const auto all = App().Tree();
    ASSERT_TRUE(App().SelectNode(all.back()));
    ASSERT_TRUE(WaitSelected(static_cast<int>(all.size()) - 1, "the last node"));
    ASSERT_TRUE(App().PostCommand(cmd::Findnext1));
    ExpectSearchingFinished();
}

TEST_F(LocateTest, FindsAWindowByItsHexadecimalHandleDigitsInAnyCase) {
    ASSERT_TRUE(App().SetHexMode(true));
    HWND target = Fix().Window("ok");
    const auto tree = App().Tree();
    const int node = FindNodeOf(tree, target, true);
    ASSERT_GE(node, 0);
    const std::string digits = HandleField(target, true);
    const auto hits = ExpectedHits(tree, digits);
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(hits.front(), node);

    Find(Lower(digits), true);
    ASSERT_TRUE(WaitSelected(node, "the node of the fixture's button by its hex digits"));
    ASSERT_TRUE(App().SetHexMode(false));
}

TEST_F(LocateTest, FromTheSelectionSearchesOnAfterItAndCancelKeepsTheSearch) {
    const auto tree = App().Tree();
    const auto hits = ExpectedHits(tree, "{Button}");
    ASSERT_GE(hits.size(), 3u);
    // With the check box cleared the search goes on after the selected node;
    // an earlier match, even in the first node's place, is not picked.
    ASSERT_TRUE(App().SelectNode(tree[static_cast<size_t>(hits[1])]));
    ASSERT_TRUE(WaitSelected(hits[1], "the second Button node"));
    Find("{button}", false);
    ASSERT_TRUE(WaitSelected(hits[2], "the third Button node, after the selection"));

    // Cancel keeps the text searched for; the field keeps what was typed.
    ASSERT_TRUE(App().PostCommand(cmd::FindWindow1));
    HWND dialog = App().WaitForWindow("TForm4", "Vantrel - Find");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, ctl::Edit1)), "{button}");
    ExpectEditReady(dialog);
    EXPECT_EQ(Send(::GetDlgItem(dialog, ctl::CheckBox1), BM_GETCHECK, 0, 0).value_or(-1), BST_UNCHECKED);
    ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit1), "no such window anywhere"));
    ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));
    ASSERT_TRUE(App().WaitForWindowGone("TForm4"));
    Settle();
    EXPECT_EQ(App().SelectedNodeIndex(), hits[2]);
    ASSERT_TRUE(App().PostCommand(cmd::Findnext1));
    if (hits.size() > 3) {
        ASSERT_TRUE(WaitSelected(hits[3], "the next Button node after Cancel"));
    } else {
        ExpectSearchingFinished();
    }
}

TEST_F(LocateTest, AnEmptySearchTextDoesNothing) {
    const auto tree = App().Tree();
    ASSERT_TRUE(App().SelectNode(tree[1]));
    ASSERT_TRUE(WaitSelected(1, "the second node"));
    Find("", true);
    Settle();
    EXPECT_EQ(App().FindWindowOfClass("#32770", "", true), nullptr);
    EXPECT_EQ(App().SelectedNodeIndex(), 1);
    ASSERT_TRUE(App().SendCommand(cmd::Findnext1));
    EXPECT_EQ(App().FindWindowOfClass("#32770", "", true), nullptr);
    EXPECT_EQ(App().SelectedNodeIndex(), 1);
}

// ---- Window from point -------------------------------------------------------

TEST_F(LocateTest, WindowFromPointSelectsTheButtonUnderThePointer) {
    HWND button = Fix().Window("ok");
    const POINT p = PointerOver(button);
    ASSERT_EQ(::WindowFromPoint(p), button) << "the fixture's button lies under the pointer";
    // Sent, not keyed: activating Vantrel could cover the button.
    ASSERT_TRUE(App().SendCommand(cmd::Windowfrompoint1));
    const int node = FindNodeOf(App().Tree(), button, false);
    ASSERT_GE(node, 0);
    ASSERT_TRUE(WaitSelected(node, "the node of the button itself"));
    EXPECT_EQ(App().Property("Handle").value_or(""), ValueText(HandleValue(button), false));
}

TEST_F(LocateTest, F4OverTheTreeSelectsTheTreeItself) {
    ASSERT_TRUE(App().ActivateMain());
    HWND tree = App().TreeView();
    const POINT p = CentreOf(tree);
    MoveMouse(p.x, p.y);
    ASSERT_EQ(::WindowFromPoint(p), tree);
    PressKey(VK_F4);
    const int node = FindNodeOf(App().Tree(), tree, false);
    ASSERT_GE(node, 0);
    ASSERT_TRUE(WaitSelected(node, "the node of TreeView1 after F4"));
}

TEST_F(LocateTest, AWindowMadeAfterTheLastRebuildIsNotFoundUntilRefresh) {
    ASSERT_TRUE(Fix().Command("create late_decimal Made after the tree").has_value());
    HWND fresh = Fix().Window("late_decimal");
    ASSERT_EQ(FindNodeOf(App().Tree(), fresh, false), -1);
    const int selectedBefore = App().SelectedNodeIndex();

    const POINT p = PointerOver(fresh);
    // Posted: the handler stays in its message box until OK.
    ASSERT_TRUE(App().PostCommand(cmd::Windowfrompoint1));
    HWND box = App().WaitForWindow("#32770", "Window From Point");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(StaticText(box), "Window [" + std::to_string(HandleValue(fresh)) + "] not found.\rClick \"Refresh\".");
    ASSERT_TRUE(ClickDialogButton(box, IDOK));
    ASSERT_TRUE(App().WaitForWindowGone("#32770"));
    Settle();
    EXPECT_EQ(App().SelectedNodeIndex(), selectedBefore);

    // After Refresh the same place finds the window.
    ASSERT_TRUE(App().Refresh());
    PointerOver(fresh);
    ASSERT_EQ(::WindowFromPoint(p), fresh);
    ASSERT_TRUE(App().SendCommand(cmd::Windowfrompoint1));
    const int node = FindNodeOf(App().Tree(), fresh, false);
    ASSERT_GE(node, 0);
    ASSERT_TRUE(WaitSelected(node, "the node of the window after Refresh"));
}

TEST_F(LocateTest, TheNotFoundMessageWritesTheHandleInHexadecimalMode) {
    ASSERT_TRUE(App().SetHexMode(true));
    ASSERT_TRUE(Fix().Command("create late_hex Made after the hexadecimal tree").has_value());
    HWND fresh = Fix().Window("late_hex");
    PointerOver(fresh);
    ASSERT_TRUE(App().PostCommand(cmd::Windowfrompoint1));
    HWND box = App().WaitForWindow("#32770", "Window From Point");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(StaticText(box), "Window [" + HandleField(fresh, true) + "] not found.\rClick \"Refresh\".");
    ASSERT_TRUE(ClickDialogButton(box, IDOK));
    ASSERT_TRUE(App().WaitForWindowGone("#32770"));
    ASSERT_TRUE(App().SetHexMode(false));
}

// ---- Position markers --------------------------------------------------------

constexpr COLORREF kMagenta = ProgramImages::kTransparent;

struct Square {
    int image;
    POINT topLeft;
    POINT tip;
};

// Where the arrows of a window rectangle go, each lying off its corner.
std::array<Square, 4> SquaresOf(const RECT& r) {
    return {{
        {12, {r.left - 16, r.top - 16}, {r.left - 1, r.top - 1}},
        {13, {r.right, r.top - 16}, {r.right, r.top - 1}},
        {14, {r.right, r.bottom}, {r.right, r.bottom}},
        {15, {r.left - 16, r.bottom}, {r.left - 1, r.bottom}},
    }};
}

using Pixels = std::vector<COLORREF>;

Pixels ReadSquares(const std::array<Square, 4>& squares) {
    Pixels pixels;
    for (const Square& s : squares)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) pixels.push_back(ScreenPixel(s.topLeft.x + x, s.topLeft.y + y));
    return pixels;
}

TEST_F(LocateTest, ShowPositionDrawsTheFourArrowsAndClearPointersWipesThem) {
    const ProgramImages strip("TOOLIMAGES", 16);  // the 16 x 16 tool images
    ASSERT_TRUE(strip.ok()) << "the tool images of vantrel.exe";
    // The list box sits inside the fixture's main window with room around it,
    // so every arrow lands on a window that repaints itself.
    HWND target = Fix().Window("listbox");
    ASSERT_TRUE(App().SelectWindow(target));
    ASSERT_TRUE(Activate(Fix().Window("main")));
    MoveMouse(5, 1000);
    const auto squares = SquaresOf(WindowRect(target));
    for (const Square& s : squares) {
        const POINT corners[] = {s.topLeft, {s.topLeft.x + 15, s.topLeft.y + 15}};
        for (POINT c : corners) ASSERT_EQ(::GetAncestor(::WindowFromPoint(c), GA_ROOT), Fix().Window("main"));
    }
    const Pixels before = ReadSquares(squares);

    ASSERT_TRUE(App().SendCommand(cmd::Showposition1));
    const Pixels shown = ReadSquares(squares);
    size_t i = 0;
    for (const Square& s : squares) {
        // The tip covers the screen pixel just off the window's corner.
        const COLORREF tip = strip.Pixel(s.image, s.tip.x - s.topLeft.x, s.tip.y - s.topLeft.y);
        EXPECT_NE(tip, kMagenta) << "image " << s.image << " fills its corner pixel";
        EXPECT_EQ(ScreenPixel(s.tip.x, s.tip.y), tip) << "tip of image " << s.image;
        int drawn = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x, ++i) {
                const COLORREF image = strip.Pixel(s.image, x, y);
                if (image == kMagenta) {
                    EXPECT_EQ(shown[i], before[i]) << "transparent pixel " << x << "," << y << " of image " << s.image;
                } else {
                    EXPECT_EQ(shown[i], image) << "pixel " << x << "," << y << " of image " << s.image;
                    ++drawn;
                }
            }
        }
        EXPECT_GT(drawn, 20) << "image " << s.image << " is an arrow, not an empty square";
    }

    // Twice: the same pixels again, nothing erased.
    ASSERT_TRUE(App().SendCommand(cmd::Showposition1));
    EXPECT_EQ(ReadSquares(squares), shown);

    ASSERT_TRUE(App().SendCommand(cmd::Clearpointers1));
    EXPECT_TRUE(WaitFor([&] { return ReadSquares(squares) == before; }, kWaitTimeout,
                        "the screen around the list box repainted without arrows"));
}

TEST_F(LocateTest, ShowPositionDrawsNothingForAWindowThatHasGone) {
    ASSERT_TRUE(Fix().Command("create doomed Gone before Show position").has_value());
    HWND doomed = Fix().Window("doomed");
    ASSERT_TRUE(App().Refresh());
    ASSERT_TRUE(App().SelectWindow(doomed));
    const auto squares = SquaresOf(WindowRect(doomed));
    ASSERT_TRUE(Fix().Command("destroy doomed").has_value());
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(doomed); }, kWaitTimeout, "the window destroyed"));
    MoveMouse(5, 1000);
    // The picture is taken once the screen there holds still: the same after
    // a round trip through Vantrel's and the fixture's threads.
    Pixels before = ReadSquares(squares);
    ASSERT_TRUE(WaitFor([&] {
        Settle();
        Fix().Command("ping");
        const Pixels now = ReadSquares(squares);
        const bool still = now == before;
        before = now;
        return still;
    }, kWaitTimeout, "the screen around the gone window to hold still"));
    ASSERT_TRUE(App().SendCommand(cmd::Showposition1));
    EXPECT_EQ(ReadSquares(squares), before);
    EXPECT_EQ(App().FindWindowOfClass("#32770", "", true), nullptr);
}

}  // namespace
}  // namespace vantrel::e2e
