// The window commands from outside: show / hide, enable / disable, stay on
// top, minimize / restore / maximize, close, the Edit / Move dialog and the
// Set Style dialog, on windows of the fixture, on a window whose thread hangs
// and on Vantrel's own windows; the focus when a window is activated again.

#include "tests/e2e/driver/driver.h"
#include "windowops/window_requests.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace vantrel::e2e {
namespace {

WINDOWPLACEMENT PlacementOf(HWND window) {
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    ::GetWindowPlacement(window, &p);
    return p;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

uint32_t StyleOf(HWND window, int index) { return static_cast<uint32_t>(::GetWindowLongA(window, index)); }

// The control of the dialog with the keyboard focus.
HWND FocusIn(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

HWND SpinEdit(HWND dialog, int number) { return ::GetDlgItem(dialog, ctl::SpinEdit1 + number - 1); }

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window) {
    RECT r = WindowRect(window);
    ::MapWindowPoints(HWND_DESKTOP, ::GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class WindowCommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { session_.Start("--only main,minimized,hung,asking"); }
    static void TearDownTestSuite() { session_.Stop(); }
    void SetUp() override {
        ASSERT_TRUE(session_.app && session_.app->Running());
        if (App().HexMode()) ASSERT_TRUE(App().SetHexMode(false));
    }
    void TearDown() override { session_.CloseStrays({"TForm2", "TForm6"}); }

    Vantrel& App() { return *session_.app; }
    Fixture& Fix() { return *session_.fixture; }


    // A fresh visible fixture window, selected in a rebuilt tree.
    HWND NewTarget(const std::string& name) {
        if (!Fix().Command("create " + name + " Fixture " + name)) return nullptr;
        HWND window = Fix().Window(name);
        if (!App().Refresh() || !App().SelectWindow(window)) return nullptr;
        return window;
    }

    // Runs everything Vantrel has queued; a modal window it opened stays open.
    void Settle() { ASSERT_TRUE(Send(App().MainWindow(), WM_NULL, 0, 0).has_value()); }

    std::optional<ToolButton> Button(int command) {
        for (const ToolButton& b : App().ToolButtons())
            if (b.command == command) return b;
        return std::nullopt;
    }
    bool Pressed(int command) { return Button(command).value_or(ToolButton{}).checked; }

    // Clicks a tool button with the mouse, as the user would: a check button
    // flips its own pressed state before the command runs.
    void ClickToolButton(int command) {
        HWND toolBar = App().ToolBar();
        auto index = Send(toolBar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0);
        ASSERT_TRUE(index.has_value());
        RemoteProcess process(App().ProcessId());
        RemoteBuffer buffer(process.handle(), sizeof(RECT));
        ASSERT_TRUE(Send(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(*index), buffer.param()).value_or(0));
        RECT r{};
        buffer.Read(&r, sizeof r);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ClientToScreen(toolBar, &p);
        ASSERT_TRUE(App().ActivateMain());
        MoveMouse(p.x, p.y);
        INPUT inputs[2]{};
        inputs[0].type = inputs[1].type = INPUT_MOUSE;
        inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(2, inputs, sizeof(INPUT));
    }

    HWND OpenEditMove() {
        if (!App().PostCommand(cmd::EditMove1)) return nullptr;
        return App().WaitForWindow("TForm2", "Edit / Move window");
    }
    HWND OpenSetStyle() {
        // The menu item is hidden: the command is reached by its identifier.
        if (!App().PostCommand(cmd::SetStyle1)) return nullptr;
        return App().WaitForWindow("TForm6", "Set Style");
    }
    void Confirm(HWND dialog, const char* form) {
        ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
        ASSERT_TRUE(App().WaitForWindowGone(form));
        Settle();
    }

    // The text of the box Vantrel shows for a window command, answered with
    // OK; "" (and a failure) when none comes.
    std::string TakeBox() {
        HWND box = App().WaitForWindow("#32770", "Vantrel");
        if (!box) return "";
        std::string text;
        WaitFor([&] { return !(text = StaticText(box)).empty(); }, kWaitTimeout, "the text of Vantrel's box");
        ClickDialogButton(box, IDOK);
        App().WaitForWindowGone("#32770");
        return text;
    }
    bool NoBox() { return App().FindWindowOfClass("#32770", "", true) == nullptr; }

    // Vantrel is back in its message loop: a posted command takes effect (a
    // thread waiting in a send still answers sent messages, so only a posted
    // one tells). The display mode goes to hexadecimal and back.
    bool AnswersAPostedCommand(HWND selected) {
        for (bool hex : {true, false}) {
            if (!App().PostCommand(hex ? cmd::Hexadecimal : cmd::Decimal)) return false;
            const std::string handle = ValueText(HandleValue(selected), hex);
            if (!WaitFor([&] { return App().Property("Handle") == handle; }, kWaitTimeout,
                         std::string("a posted ") + (hex ? "Hexadecimal" : "Decimal") + " to take effect"))
                return false;
        }
        return true;
    }

    static Session session_;
};

Session WindowCommandsTest::session_;

// ---- State commands -----------------------------------------------------------

TEST_F(WindowCommandsTest, ShowHidesAVisibleWindowAndShowsItAgain) {
    HWND target = NewTarget("showme");
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(App().Property("Visible"), "Yes");
    ASSERT_TRUE(Pressed(cmd::Show1));

    // The tool button: it flips itself up, and the refill keeps it up because
    // the window is hidden now.
    ClickToolButton(cmd::Show1);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(target); }, kWaitTimeout, "the window hidden"));
    ASSERT_TRUE(WaitFor([&] { return App().Property("Visible") == "No"; }, kWaitTimeout, "Visible No"));
    EXPECT_FALSE(Pressed(cmd::Show1));

    // The menu command shows it again.
    ASSERT_TRUE(App().SendCommand(cmd::Show1));
    EXPECT_TRUE(::IsWindowVisible(target));
    EXPECT_EQ(App().Property("Visible"), "Yes");
    EXPECT_TRUE(Pressed(cmd::Show1));
}

TEST_F(WindowCommandsTest, ToggleFollowsTheLastShownStateNotTheWindow) {
    HWND target = NewTarget("stale");
    ASSERT_NE(target, nullptr);
    // Hidden behind the list's back: the list still says "Yes", so the first
    // click hides again and the refill shows the truth.
    ::ShowWindow(target, SW_HIDE);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(target); }, kWaitTimeout, "the window hidden by the test"));
    EXPECT_EQ(App().Property("Visible"), "Yes");
    ASSERT_TRUE(App().SendCommand(cmd::Show1));
    EXPECT_FALSE(::IsWindowVisible(target));
    EXPECT_EQ(App().Property("Visible"), "No");
    ASSERT_TRUE(App().SendCommand(cmd::Show1));
    EXPECT_TRUE(::IsWindowVisible(target));
}

TEST_F(WindowCommandsTest, EnableDisablesAndEnablesAgain) {
    HWND target = NewTarget("enableme");
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(App().SendCommand(cmd::Enable1));
    EXPECT_FALSE(::IsWindowEnabled(target));
    EXPECT_EQ(App().Property("Enabled"), "No");
    EXPECT_FALSE(Pressed(cmd::Enable1));
    ASSERT_TRUE(App().SendCommand(cmd::Enable1));
    EXPECT_TRUE(::IsWindowEnabled(target));
    EXPECT_EQ(App().Property("Enabled"), "Yes");
    EXPECT_TRUE(Pressed(cmd::Enable1));
}

TEST_F(WindowCommandsTest, StayOnTopNeitherMovesNorSizes) {
    HWND target = NewTarget("topme");
    ASSERT_NE(target, nullptr);
    const RECT before = WindowRect(target);
    ASSERT_EQ(StyleOf(target, GWL_EXSTYLE) & WS_EX_TOPMOST, 0u);

    ASSERT_TRUE(App().SendCommand(cmd::Stayontop1));
    EXPECT_NE(StyleOf(target, GWL_EXSTYLE) & WS_EX_TOPMOST, 0u);
    EXPECT_TRUE(SameRect(WindowRect(target), before));
    EXPECT_EQ(App().Property("Stay on top"), "On");
    EXPECT_TRUE(Pressed(cmd::Stayontop1));

    ASSERT_TRUE(App().SendCommand(cmd::Stayontop1));
    EXPECT_EQ(StyleOf(target, GWL_EXSTYLE) & WS_EX_TOPMOST, 0u);
    EXPECT_TRUE(SameRect(WindowRect(target), before));
    EXPECT_EQ(App().Property("Stay on top"), "Off");
    EXPECT_FALSE(Pressed(cmd::Stayontop1));
}

TEST_F(WindowCommandsTest, MaximizeAMinimizedWindowAndClickTheDownButtonAgain) {
    HWND target = Fix().Window("minimized");
    ASSERT_TRUE(App().Refresh());
    ASSERT_TRUE(App().SelectWindow(target));
    ASSERT_EQ(App().Property("State"), "Minimized");
    ASSERT_TRUE(Pressed(cmd::Minimize1));

    ASSERT_TRUE(App().SendCommand(cmd::Maximize1));
    EXPECT_TRUE(::IsZoomed(target));
    EXPECT_EQ(App().Property("State"), "Maximized");
    EXPECT_TRUE(Pressed(cmd::Maximize1));
    EXPECT_FALSE(Pressed(cmd::Minimize1));
    EXPECT_FALSE(Pressed(cmd::Restore1));

    // A click on the down button raises it for a moment; the refill puts it
    // down again.
    ClickToolButton(cmd::Maximize1);
    Settle();
    ASSERT_TRUE(WaitFor([&] { return Pressed(cmd::Maximize1); }, kWaitTimeout, "Maximize down again"));
    EXPECT_TRUE(::IsZoomed(target));
    EXPECT_EQ(App().Property("State"), "Maximized");

    // Back to where it was, for the other tests.
    ASSERT_TRUE(App().SendCommand(cmd::Minimize1));
    EXPECT_TRUE(::IsIconic(target));
    EXPECT_EQ(App().Property("State"), "Minimized");
}

TEST_F(WindowCommandsTest, CloseAsksAndClosesOnlyOnYes) {
    HWND target = NewTarget("closeme");
    ASSERT_NE(target, nullptr);

    ASSERT_TRUE(App().PostCommand(cmd::Close1));
    HWND box = App().WaitForWindow("#32770", "Closing window");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(StaticText(box), "Are you sure?");
    EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
    // Yes is the default button.
    EXPECT_EQ(::GetWindowLongA(::GetDlgItem(box, IDYES), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    ASSERT_TRUE(ClickDialogButton(box, IDNO));
    ASSERT_TRUE(App().WaitForWindowGone("#32770"));
    Settle();
    EXPECT_TRUE(::IsWindow(target));
    EXPECT_TRUE(::IsWindowVisible(target));
    EXPECT_GE(FindNodeOf(App().Tree(), target, false), 0);

    ASSERT_TRUE(App().PostCommand(cmd::Close1));
    box = App().WaitForWindow("#32770", "Closing window");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(ClickDialogButton(box, IDYES));
    ASSERT_TRUE(App().WaitForWindowGone("#32770"));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(target) || !::IsWindowVisible(target); }, kWaitTimeout,
                        "the fixture window closed"));
    ASSERT_TRUE(WaitFor([&] { return App().TreeComplete() && FindNodeOf(App().Tree(), target, false) < 0; },
                        kWaitTimeout, "the rebuilt tree without the closed window"));
}

// ---- Edit / Move ----------------------------------------------------------------

TEST_F(WindowCommandsTest, EditMoveFillsTheFieldsAndFocusesTheText) {
    HWND target = NewTarget("editfill");
    ASSERT_NE(target, nullptr);
    const WINDOWPLACEMENT p = PlacementOf(target);
    HWND dialog = OpenEditMove();
    ASSERT_NE(dialog, nullptr);
    HWND edit1 = ::GetDlgItem(dialog, ctl::Edit1);
    EXPECT_EQ(WindowText(edit1), "Fixture editfill");
    EXPECT_EQ(WindowText(SpinEdit(dialog, 1)), std::to_string(p.rcNormalPosition.left));
    EXPECT_EQ(WindowText(SpinEdit(dialog, 2)), std::to_string(p.rcNormalPosition.top));
    EXPECT_EQ(WindowText(SpinEdit(dialog, 7)), std::to_string(p.rcNormalPosition.right - p.rcNormalPosition.left));
    EXPECT_EQ(WindowText(SpinEdit(dialog, 8)), std::to_string(p.rcNormalPosition.bottom - p.rcNormalPosition.top));
    // The whole text selected, and the focus in it.
    const auto selection = Send(edit1, EM_GETSEL, 0, 0).value_or(0);
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), std::string("Fixture editfill").size());
    EXPECT_EQ(FocusIn(dialog), edit1);
    // The client area.
    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 306);
    EXPECT_EQ(client.bottom, 258);
}

TEST_F(WindowCommandsTest, EditMoveKeysTabOrderAndRangesAsTheUserTypes) {
    HWND target = NewTarget("editkeys");
    ASSERT_NE(target, nullptr);
    const WINDOWPLACEMENT before = PlacementOf(target);
    HWND dialog = OpenEditMove();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Activate(dialog));
    HWND edit1 = ::GetDlgItem(dialog, ctl::Edit1);
    ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == edit1; }, kWaitTimeout, "the focus in Edit1"));

    // Tab goes Edit1, the eight spin fields in order, OK, Cancel, Edit1.
    for (int n = 1; n <= 8; ++n) {
        PressKey(VK_TAB);
        ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == SpinEdit(dialog, n); }, kWaitTimeout,
                            "the focus in SpinEdit" + std::to_string(n)));
    }
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == ::GetDlgItem(dialog, IDOK); }, kWaitTimeout, "OK"));
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == ::GetDlgItem(dialog, IDCANCEL); }, kWaitTimeout, "Cancel"));
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == edit1; }, kWaitTimeout, "Edit1 again"));

    // In Width: a letter is refused, a value too large is brought into range
    // when the focus leaves, and Up stays within the range.
    for (int n = 0; n < 7; ++n) PressKey(VK_TAB);
    HWND width = SpinEdit(dialog, 7);
    ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == width; }, kWaitTimeout, "the focus in Width"));
    TypeText("9x9");
    ASSERT_TRUE(WaitFor([&] { return WindowText(width) == "99"; }, kWaitTimeout, "Width 99, the letter refused"));
    PressKey(VK_UP);
    ASSERT_TRUE(WaitFor([&] { return WindowText(width) == "100"; }, kWaitTimeout, "Width 100 after Up"));
    Send(width, EM_SETSEL, 0, -1);
    TypeText("5000");
    ASSERT_TRUE(WaitFor([&] { return WindowText(width) == "5000"; }, kWaitTimeout, "Width 5000 typed"));
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return WindowText(width) == "4000"; }, kWaitTimeout, "Width clamped to 4000"));
    PressKey(VK_TAB, false, true);  // Shift+Tab: back into Width
    ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == width; }, kWaitTimeout, "the focus back in Width"));
    PressKey(VK_UP);
    Settle();
    EXPECT_EQ(WindowText(width), "4000");

    // Escape does not close the dialog; Cancel writes nothing.
    PressKey(VK_ESCAPE);
    Settle();
    EXPECT_TRUE(::IsWindowVisible(dialog));
    ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));
    ASSERT_TRUE(App().WaitForWindowGone("TForm2"));
    Settle();
    EXPECT_TRUE(SameRect(PlacementOf(target).rcNormalPosition, before.rcNormalPosition));
}

TEST_F(WindowCommandsTest, EditMoveChangingOnlyTheWidthMovesTheRightEdge) {
    HWND target = NewTarget("editwidth");
    ASSERT_NE(target, nullptr);
    const WINDOWPLACEMENT before = PlacementOf(target);
    const int newWidth = before.rcNormalPosition.right - before.rcNormalPosition.left + 37;
    HWND dialog = OpenEditMove();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SetWindowTextRemote(SpinEdit(dialog, 7), std::to_string(newWidth)));
    Confirm(dialog, "TForm2");

    const LONG right = before.rcNormalPosition.left + newWidth;
    WaitFor([&] { return PlacementOf(target).rcNormalPosition.right == right; }, kWaitTimeout,
            "the fixture's placement to show the new right edge");
    const WINDOWPLACEMENT after = PlacementOf(target);
    EXPECT_EQ(after.rcNormalPosition.left, before.rcNormalPosition.left);
    EXPECT_EQ(after.rcNormalPosition.top, before.rcNormalPosition.top);
    EXPECT_EQ(after.rcNormalPosition.right, right);
    EXPECT_EQ(after.rcNormalPosition.bottom, before.rcNormalPosition.bottom);
    EXPECT_EQ(after.showCmd, before.showCmd);
    EXPECT_EQ(WindowText(target), "Fixture editwidth");
    // The list is refilled with the new width.
    EXPECT_EQ(App().Property("Width"), std::to_string(newWidth));
}

TEST_F(WindowCommandsTest, EditMoveChangingOnlyTheWidthOfAChildControlKeepsItsPlace) {
    const auto created = Fix().Command("create-child panelchild main ZzPanel Panel");
    ASSERT_TRUE(created.has_value());
    HWND child = HandleFromValue(static_cast<uint32_t>(std::stoul(*created)));
    ASSERT_TRUE(App().Refresh());
    ASSERT_TRUE(App().SelectWindow(child));
    const RECT before = RectInParent(child);
    const int newWidth = before.right - before.left + 37;
    HWND dialog = OpenEditMove();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SetWindowTextRemote(SpinEdit(dialog, 7), std::to_string(newWidth)));
    Confirm(dialog, "TForm2");

    WaitFor([&] { return RectInParent(child).right - RectInParent(child).left == newWidth; }, kWaitTimeout,
            "the control to take its new width");
    const RECT after = RectInParent(child);
    EXPECT_EQ(after.left, before.left) << "the control moved";
    EXPECT_EQ(after.top, before.top) << "the control moved";
    EXPECT_EQ(after.right - after.left, newWidth);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(App().Property("Width"), std::to_string(newWidth));
    Fix().Command("destroy panelchild");
}

TEST_F(WindowCommandsTest, EditMoveChangingOnlyTheTextRebuildsTheTree) {
    HWND target = NewTarget("edittext");
    ASSERT_NE(target, nullptr);
    const WINDOWPLACEMENT before = PlacementOf(target);
    HWND dialog = OpenEditMove();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit1), "Renamed by Edit Move"));
    Confirm(dialog, "TForm2");

    // Vantrel answers the settling message while it waits for the write, so
    // the test waits for the effect itself.
    EXPECT_TRUE(WaitFor([&] { return WindowText(target) == "Renamed by Edit Move"; }, kWaitTimeout, "the new text"));
    EXPECT_TRUE(SameRect(PlacementOf(target).rcNormalPosition, before.rcNormalPosition));
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto tree = App().Tree();
            const int node = FindNodeOf(tree, target, false);
            return node >= 0 && tree[static_cast<size_t>(node)].text.find("Renamed by Edit Move") != std::string::npos;
        },
        kWaitTimeout, "the tree to show the new text"));
    EXPECT_EQ(App().Property("Text"), "Renamed by Edit Move");
}

TEST_F(WindowCommandsTest, EditMoveCancelAndCloseBoxWriteNothing) {
    HWND target = NewTarget("editcancel");
    ASSERT_NE(target, nullptr);
    const WINDOWPLACEMENT before = PlacementOf(target);
    for (bool closeBox : {false, true}) {
        HWND dialog = OpenEditMove();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit1), "Should not be written"));
        ASSERT_TRUE(SetWindowTextRemote(SpinEdit(dialog, 1), "3"));
        ASSERT_TRUE(SetWindowTextRemote(SpinEdit(dialog, 8), "77"));
        if (closeBox)
            ASSERT_TRUE(Post(dialog, WM_SYSCOMMAND, SC_CLOSE, 0));
        else
            ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));
        ASSERT_TRUE(App().WaitForWindowGone("TForm2"));
        Settle();
        EXPECT_EQ(WindowText(target), "Fixture editcancel");
        EXPECT_TRUE(SameRect(PlacementOf(target).rcNormalPosition, before.rcNormalPosition));
    }
}

// ---- Set Style ------------------------------------------------------------------

TEST_F(WindowCommandsTest, SetStyleChangingOnlyTheStyleWritesOnlyTheStyle) {
    HWND target = NewTarget("styleme");
    ASSERT_NE(target, nullptr);
    const uint32_t style = StyleOf(target, GWL_STYLE);
    const uint32_t exStyle = StyleOf(target, GWL_EXSTYLE);
    const uint32_t newStyle = style ^ WS_MAXIMIZEBOX;

    HWND dialog = OpenSetStyle();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, ctl::Edit1)), std::to_string(style));
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, ctl::Edit2)), std::to_string(exStyle));
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, ctl::Edit3)), "0");
    EXPECT_EQ(FocusIn(dialog), ::GetDlgItem(dialog, ctl::Edit1));
    ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit1), std::to_string(newStyle)));
    Confirm(dialog, "TForm6");

    // Writing a style sends the window its style-change messages, and while
    // Vantrel waits for their answers it may answer the settling message
    // first: wait for the effect itself.
    EXPECT_TRUE(WaitFor([&] { return App().Property("Style") == std::to_string(newStyle); }, kWaitTimeout,
                        "the list shows the new style"));
    EXPECT_EQ(StyleOf(target, GWL_STYLE), newStyle);
    EXPECT_EQ(StyleOf(target, GWL_EXSTYLE), exStyle);
    EXPECT_EQ(static_cast<uint32_t>(::GetWindowLongPtrA(target, GWLP_USERDATA)), 0u);
}

TEST_F(WindowCommandsTest, SetStyleConversionErrorIsReportedAndKeepsEarlierWrites) {
    HWND target = NewTarget("stylebad");
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(App().SetHexMode(true));
    ASSERT_TRUE(App().SelectWindow(target));
    const uint32_t style = StyleOf(target, GWL_STYLE);
    const uint32_t newStyle = style ^ WS_MAXIMIZEBOX;
    const std::string shownStyle = App().Property("Style").value_or("");
    ASSERT_EQ(shownStyle, ValueText(style, true));

    HWND dialog = OpenSetStyle();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, ctl::Edit1)), ValueText(style, true));
    ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit1), ValueText(newStyle, true)));
    ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit2), "$1F"));
    ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit3), "0000ABCD"));
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));

    HWND box = App().WaitForWindow("#32770", "Vantrel");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(StaticText(box), "'$$1F' is not a valid integer value.");
    ASSERT_TRUE(ClickDialogButton(box, IDOK));
    ASSERT_TRUE(App().WaitForWindowGone("#32770"));
    Settle();

    // The style before the failing field is written, the user data after it
    // is not, and the list still shows what it showed before.
    EXPECT_EQ(StyleOf(target, GWL_STYLE), newStyle);
    EXPECT_EQ(static_cast<uint32_t>(::GetWindowLongPtrA(target, GWLP_USERDATA)), 0u);
    EXPECT_EQ(App().Property("Style"), shownStyle);
    ASSERT_TRUE(App().SetHexMode(false));
}

TEST_F(WindowCommandsTest, SetStyleCancelWritesNothing) {
    HWND target = NewTarget("stylecancel");
    ASSERT_NE(target, nullptr);
    const uint32_t style = StyleOf(target, GWL_STYLE);
    HWND dialog = OpenSetStyle();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit1), "0"));
    ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));
    ASSERT_TRUE(App().WaitForWindowGone("TForm6"));
    Settle();
    EXPECT_EQ(StyleOf(target, GWL_STYLE), style);
}

TEST_F(WindowCommandsTest, SetStyleTickingTopmostMakesTheWindowTopmostWhereATypedNumberOnlyWritesIt) {
    const auto topmostRow = [](HWND list) {
        const auto rows = ReadListView(list);
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].caption == "WS_EX_TOPMOST") return static_cast<int>(i);
        return -1;
    };
    // Typed: the flag ticks with the number, and OK only writes the number,
    // which does not make a window topmost.
    HWND typed = NewTarget("styletyped");
    ASSERT_NE(typed, nullptr);
    const uint32_t exStyle = StyleOf(typed, GWL_EXSTYLE);
    ASSERT_EQ(exStyle & WS_EX_TOPMOST, 0u);
    HWND dialog = OpenSetStyle();
    ASSERT_NE(dialog, nullptr);
    HWND list = ::GetDlgItem(dialog, ctl::ExStyleFlagList);
    const int topmost = topmostRow(list);
    ASSERT_GE(topmost, 0);
    EXPECT_FALSE(ListRowChecked(list, topmost));
    ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit2), std::to_string(exStyle | WS_EX_TOPMOST)));
    EXPECT_TRUE(ListRowChecked(list, topmost));
    Confirm(dialog, "TForm6");
    EXPECT_EQ(StyleOf(typed, GWL_EXSTYLE) & WS_EX_TOPMOST, 0u);
    EXPECT_EQ(App().Property("Stay on top"), "Off");

    // Ticked: the field follows the tick, and OK makes the window topmost.
    HWND ticked = NewTarget("styleticked");
    ASSERT_NE(ticked, nullptr);
    dialog = OpenSetStyle();
    ASSERT_NE(dialog, nullptr);
    list = ::GetDlgItem(dialog, ctl::ExStyleFlagList);
    ASSERT_TRUE(CheckListRow(list, topmost, true));
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, ctl::Edit2)), std::to_string(exStyle | WS_EX_TOPMOST));
    Confirm(dialog, "TForm6");
    EXPECT_TRUE(WaitFor([&] { return (StyleOf(ticked, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, kWaitTimeout,
                        "the ticked window to be topmost"));
    EXPECT_TRUE(WaitFor([&] { return App().Property("Stay on top") == "On"; }, kWaitTimeout,
                        "the list to show it on top"));
    for (const char* name : {"styletyped", "styleticked"}) Fix().Command(std::string("destroy ") + name);
}

// ---- A window that does not answer ----------------------------------------------

TEST_F(WindowCommandsTest, AHungWindowLeavesEveryCommandAnsweringAndRequestsDoNotPileUp) {
    HWND hung = Fix().Window("hung");
    ASSERT_TRUE(App().Refresh());
    ASSERT_TRUE(App().SelectWindow(hung));
    const RECT rect = WindowRect(hung);
    const uint32_t style = StyleOf(hung, GWL_STYLE);
    struct Unhang {
        Fixture& fixture;
        ~Unhang() { fixture.Command("unhang"); }
    } unhang{Fix()};
    ASSERT_TRUE(Fix().Command("hang"));
    ASSERT_TRUE(WaitFor([&] { return !Send(hung, WM_NULL, 0, 0, 300).has_value(); }, kWaitTimeout,
                        "the fixture window to hang"));

    // The first request waits a while, then says so once, and Vantrel goes on.
    ASSERT_TRUE(App().PostCommand(cmd::Show1));
    EXPECT_EQ(TakeBox(), kNotAnsweredText);
    EXPECT_TRUE(AnswersAPostedCommand(hung));

    // Every later request to the same thread is refused at once rather than
    // queued behind it: the state commands, Close, the Edit / Move write and
    // the Set Style write.
    for (int command : {cmd::Enable1, cmd::Stayontop1, cmd::Minimize1, cmd::Restore1, cmd::Maximize1}) {
        ASSERT_TRUE(App().PostCommand(command));
        EXPECT_EQ(TakeBox(), kBusyText) << "command " << command;
    }
    ASSERT_TRUE(App().PostCommand(cmd::Close1));
    HWND question = App().WaitForWindow("#32770", "Closing window");
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(ClickDialogButton(question, IDYES));
    EXPECT_EQ(TakeBox(), kBusyText) << "Close";
    HWND dialog = OpenEditMove();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SetWindowTextRemote(SpinEdit(dialog, 7), std::to_string(rect.right - rect.left + 20)));
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    EXPECT_EQ(TakeBox(), kBusyText) << "Edit / Move";
    dialog = OpenSetStyle();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit1), std::to_string(style ^ WS_MAXIMIZEBOX)));
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    EXPECT_EQ(TakeBox(), kBusyText) << "Set Style";
    EXPECT_TRUE(AnswersAPostedCommand(hung));

    // Released, the request that waited takes effect and none of the refused
    // ones does; the window's text reads again, and the next request goes
    // through without a box.
    ASSERT_TRUE(Fix().Command("unhang"));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(hung); }, kWaitTimeout, "the waiting Hide to take effect"));
    EXPECT_TRUE(::IsWindowEnabled(hung));
    EXPECT_EQ(StyleOf(hung, GWL_EXSTYLE) & WS_EX_TOPMOST, 0u);
    EXPECT_FALSE(::IsIconic(hung) || ::IsZoomed(hung));
    EXPECT_EQ(StyleOf(hung, GWL_STYLE) & WS_MAXIMIZEBOX, style & WS_MAXIMIZEBOX);
    EXPECT_EQ(WindowRect(hung).right - WindowRect(hung).left, rect.right - rect.left);
    ASSERT_TRUE(WaitFor([&] { return App().Refresh() && App().Property("Text") == "Fixture hung"; }, kWaitTimeout,
                        "the text of the window that answers again"));
    EXPECT_EQ(App().Property("Visible"), "No");
    ASSERT_TRUE(App().PostCommand(cmd::Show1));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(hung); }, kWaitTimeout, "Show to take effect"));
    Settle();
    EXPECT_TRUE(NoBox());

    // Close on a hung window gives up once the window answers no probe; the
    // close still comes when the window answers again.
    ASSERT_TRUE(Fix().Command("hang"));
    ASSERT_TRUE(WaitFor([&] { return !Send(hung, WM_NULL, 0, 0, 300).has_value(); }, kWaitTimeout,
                        "the fixture window to hang again"));
    ASSERT_TRUE(App().PostCommand(cmd::Close1));
    question = App().WaitForWindow("#32770", "Closing window");
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(ClickDialogButton(question, IDYES));
    EXPECT_EQ(TakeBox(), kNotAnsweredText) << "Close";
    EXPECT_TRUE(AnswersAPostedCommand(hung));
    EXPECT_TRUE(::IsWindow(hung));
    ASSERT_TRUE(Fix().Command("unhang"));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(hung) || !::IsWindowVisible(hung); }, kWaitTimeout,
                        "the waiting close to take effect"));
}

TEST_F(WindowCommandsTest, CloseWaitsWhileTheWindowAsksItsOwnUser) {
    HWND asking = Fix().Window("asking");
    ASSERT_TRUE(App().Refresh());
    ASSERT_TRUE(App().SelectWindow(asking));
    ASSERT_TRUE(App().PostCommand(cmd::Close1));
    HWND question = App().WaitForWindow("#32770", "Closing window");
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(ClickDialogButton(question, IDYES));

    // The window asks its user; Vantrel waits well past its while, finding
    // the window alive each time it probes, and reports nothing.
    HWND own = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (own = FindTopLevel(Fix().ProcessId(), "#32770", "Fixture asking", true)); },
                        kWaitTimeout, "the window's own question"));
    ASSERT_TRUE(WaitFor([&] { return std::stoi(Fix().Command("asking-probes").value_or("0")) >= 2; }, 60000,
                        "Vantrel to probe the asking window twice"));
    EXPECT_TRUE(NoBox()) << StaticText(App().FindWindowOfClass("#32770", "", true));
    // Meanwhile Vantrel is no hung program: it tells what it waits for.
    auto waitingShown = [&] {
        const auto texts = App().StatusTexts();
        return texts.size() > 2 && texts[2].find("Waiting") != std::string::npos;
    };
    EXPECT_TRUE(WaitFor(waitingShown, kWaitTimeout, "the status bar saying what Vantrel waits for"));
    EXPECT_FALSE(::IsHungAppWindow(App().MainWindow()));
    ASSERT_TRUE(ClickDialogButton(own, IDYES));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(asking); }, kWaitTimeout, "the asking window closed"));
    ASSERT_TRUE(WaitFor([&] { return App().TreeComplete() && FindNodeOf(App().Tree(), asking, false) < 0; },
                        kWaitTimeout, "the rebuilt tree without the closed window"));
    EXPECT_TRUE(NoBox());
    EXPECT_EQ(App().StatusTexts().at(2), "");
}

// ---- Vantrel's own windows ------------------------------------------------------

TEST_F(WindowCommandsTest, OwnWindowsRefuseWhatWouldStrandTheUserAndKeepWhatCanBeUndone) {
    ASSERT_TRUE(App().Refresh());
    HWND main = App().MainWindow();
    HWND tree = App().TreeView();
    HWND list = App().ListView();
    HWND statusBar = App().StatusBar();
    HWND editMoveText = ::GetDlgItem(App().FindWindowOfClass("TForm2"), ctl::Edit1);
    ASSERT_NE(editMoveText, nullptr);

    ASSERT_TRUE(App().SelectWindow(main));
    ASSERT_TRUE(App().PostCommand(cmd::Show1));
    EXPECT_EQ(TakeBox(), "Vantrel does not hide its main window: there would be no way to show it again.");
    ASSERT_TRUE(App().PostCommand(cmd::Enable1));
    EXPECT_EQ(TakeBox(), "Vantrel does not disable its main window: there would be no way to enable it again.");
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_TRUE(::IsWindowEnabled(main));

    for (HWND control : {list, tree}) {
        ASSERT_TRUE(App().SelectWindow(control));
        ASSERT_TRUE(App().PostCommand(cmd::Show1));
        EXPECT_EQ(TakeBox(), "Vantrel does not hide a control of its main window: there would be no way to show it "
                             "again.");
        // Refused before the question is asked.
        ASSERT_TRUE(App().PostCommand(cmd::Close1));
        EXPECT_EQ(TakeBox(), "Vantrel does not close this window of its own: it could not be brought back.");
        EXPECT_TRUE(::IsWindow(control) && ::IsWindowVisible(control));
    }
    ASSERT_TRUE(App().SelectWindow(editMoveText));
    ASSERT_TRUE(App().PostCommand(cmd::Close1));
    EXPECT_EQ(TakeBox(), "Vantrel does not close this window of its own: it could not be brought back.");
    EXPECT_TRUE(::IsWindow(editMoveText));

    // Disabling a control can be undone: done, and undone.
    ASSERT_TRUE(App().SelectWindow(statusBar));
    ASSERT_TRUE(App().SendCommand(cmd::Enable1));
    EXPECT_FALSE(::IsWindowEnabled(statusBar));
    ASSERT_TRUE(App().SendCommand(cmd::Enable1));
    EXPECT_TRUE(::IsWindowEnabled(statusBar));
    EXPECT_TRUE(NoBox());
}

// ---- Focus ---------------------------------------------------------------------

TEST_F(WindowCommandsTest, FocusComesBackAfterSwitchingToAnotherProgramAndBack) {
    HWND elsewhere = Fix().Window("main");
    auto awayAndBack = [&](HWND window) {
        return Activate(elsewhere) && Activate(window);
    };

    // Edit / Move: the caret in Normal Top stays there, and typing goes there.
    ASSERT_NE(NewTarget("focusme"), nullptr);
    HWND dialog = OpenEditMove();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Activate(dialog));
    ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == ::GetDlgItem(dialog, ctl::Edit1); }, kWaitTimeout, "Edit1"));
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == SpinEdit(dialog, 2); }, kWaitTimeout, "Normal Top"));
    ASSERT_TRUE(awayAndBack(dialog));
    EXPECT_TRUE(WaitFor([&] { return FocusIn(dialog) == SpinEdit(dialog, 2); }, kWaitTimeout,
                        "the focus back in Normal Top"));
    Send(SpinEdit(dialog, 2), EM_SETSEL, 0, -1);
    TypeText("123");
    EXPECT_TRUE(WaitFor([&] { return WindowText(SpinEdit(dialog, 2)) == "123"; }, kWaitTimeout, "typed text"));
    ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));
    ASSERT_TRUE(App().WaitForWindowGone("TForm2"));

    // Set Style: the caret in User Data (tab order Edit1, OK, Cancel, Edit2, Edit3).
    dialog = OpenSetStyle();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Activate(dialog));
    ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == ::GetDlgItem(dialog, ctl::Edit1); }, kWaitTimeout, "Edit1"));
    for (int i = 0; i < 4; ++i) PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusIn(dialog) == ::GetDlgItem(dialog, ctl::Edit3); }, kWaitTimeout, "Edit3"));
    ASSERT_TRUE(awayAndBack(dialog));
    EXPECT_TRUE(WaitFor([&] { return FocusIn(dialog) == ::GetDlgItem(dialog, ctl::Edit3); }, kWaitTimeout,
                        "the focus back in User Data"));
    ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));
    ASSERT_TRUE(App().WaitForWindowGone("TForm6"));

    // The main window, with a tree that has no selection (the selected
    // window closed elsewhere): coming back selects nothing and changes no
    // row; the list, when it had the focus, gets it back.
    HWND gone = NewTarget("focusgone");
    ASSERT_NE(gone, nullptr);
    ASSERT_TRUE(Fix().Command("destroy focusgone"));
    ASSERT_TRUE(App().Refresh());
    ASSERT_EQ(App().SelectedNodeIndex(), -1);
    const std::string handle = ValueText(HandleValue(gone), false);
    HWND main = App().MainWindow();
    for (HWND control : {App().TreeView(), App().ListView()}) {
        ASSERT_TRUE(App().ActivateMain());
        if (FocusIn(main) != control) PressKey(VK_TAB);
        ASSERT_TRUE(WaitFor([&] { return FocusIn(main) == control; }, kWaitTimeout, "the focus in " + ClassNameOf(control)));
        ASSERT_TRUE(awayAndBack(main));
        EXPECT_TRUE(WaitFor([&] { return FocusIn(main) == control; }, kWaitTimeout,
                            "the focus back in " + ClassNameOf(control)));
        Settle();
        EXPECT_EQ(App().SelectedNodeIndex(), -1) << "coming back selected a node";
        EXPECT_EQ(App().Property("Handle"), handle);
    }
}

// Closing the application window ends the program, as closing the main window
// does: by Close on its node, and by its own close command once it is shown.
TEST(ApplicationWindow, ClosingItEndsTheProgram) {
    for (bool shownFirst : {false, true}) {
        auto app = Vantrel::Start();
        HWND application = app->FindWindowOfClass("TApplication");
        ASSERT_NE(application, nullptr);
        ASSERT_TRUE(app->SelectWindow(application));
        if (shownFirst) {
            ASSERT_TRUE(app->SendCommand(cmd::Show1));
            ASSERT_TRUE(::IsWindowVisible(application));
            ASSERT_TRUE(Post(application, WM_SYSCOMMAND, SC_CLOSE, 0));
        } else {
            ASSERT_TRUE(app->PostCommand(cmd::Close1));
            HWND question = app->WaitForWindow("#32770", "Closing window");
            ASSERT_NE(question, nullptr);
            ASSERT_TRUE(ClickDialogButton(question, IDYES));
        }
        EXPECT_EQ(::WaitForSingleObject(app->Process(), 30000), static_cast<DWORD>(WAIT_OBJECT_0))
            << "vantrel.exe lives on after its application window was closed"
            << (shownFirst ? " by its own close command" : " by Close");
    }
}

}  // namespace
}  // namespace vantrel::e2e
