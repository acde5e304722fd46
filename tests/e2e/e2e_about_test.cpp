// The About dialog from outside: opened with F1, its texts and colours, and
// closed with a key or with "< OK >".

#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>
#include <string>

namespace vantrel::e2e {
namespace {

class AboutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { app_ = Vantrel::Start(); }
    static void TearDownTestSuite() {
        if (app_) app_->Stop();
        app_.reset();
    }
    void SetUp() override { ASSERT_TRUE(app_ && app_->Running()); }

    Vantrel& App() { return *app_; }

    // F1 in the main window, as the user opens it.
    HWND OpenWithF1() {
        if (!App().ActivateMain()) return nullptr;
        PressKey(VK_F1);
        return App().WaitForWindow("TForm3", "Vantrel - About");
    }

    static std::unique_ptr<Vantrel> app_;
};

std::unique_ptr<Vantrel> AboutTest::app_;

void LeftClickAt(POINT p) {
    MoveMouse(p.x, p.y);
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// Moves the pointer with real input: the window below gets mouse moves and is
// asked for its cursor.
void MoveMouseByInput(POINT p) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (p.x * 65535) / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (p.y * 65535) / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(INPUT));
}

HCURSOR CurrentCursor() {
    CURSORINFO info{sizeof info};
    return ::GetCursorInfo(&info) ? info.hCursor : nullptr;
}

std::optional<std::pair<DWORD, DWORD>> HotSpot(HCURSOR cursor) {
    ICONINFO info{};
    if (!cursor || !::GetIconInfo(cursor, &info)) return std::nullopt;
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    return std::make_pair(info.xHotspot, info.yHotspot);
}

HWND LabelWithText(HWND dialog, const std::string& text) {
    for (HWND child : ChildrenOf(dialog, "Static"))
        if (WindowText(child) == text) return child;
    return nullptr;
}

POINT CentreOf(HWND window) {
    const RECT r = WindowRect(window);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(AboutTest, F1ShowsTheBlackPanelWithNameVersionAndLinks) {
    HWND about = OpenWithF1();
    ASSERT_NE(about, nullptr);
    RECT client{};
    ::GetClientRect(about, &client);
    EXPECT_EQ(client.right, 298);
    EXPECT_EQ(client.bottom, 204);
    // Centred on the screen.
    const RECT r = WindowRect(about);
    EXPECT_LE(std::abs((r.left + r.right) / 2 - ::GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) / 2 - ::GetSystemMetrics(SM_CYSCREEN) / 2), 1);

    EXPECT_NE(LabelWithText(about, "Vantrel"), nullptr);
    EXPECT_NE(LabelWithText(about, "Version 2.2"), nullptr);
    EXPECT_NE(LabelWithText(about, "E-Mail:"), nullptr);
    EXPECT_NE(LabelWithText(about, "WWW:"), nullptr);
    HWND ok = LabelWithText(about, "< OK >");
    ASSERT_NE(ok, nullptr);
    bool emailLink = false;
    for (HWND child : ChildrenOf(about, "Static")) {
        const std::string text = WindowText(child);
        if (text.find('@') != std::string::npos && text.find("example.org") != std::string::npos) emailLink = true;
    }
    EXPECT_TRUE(emailLink) << "an e-mail address link";

    // The panel is black: a point between the labels, inside its bevel.
    POINT inside{10 + 4, 8 + 150};
    ::ClientToScreen(about, &inside);
    MoveMouse(5, 1000);
    EXPECT_EQ(ScreenPixel(inside.x, inside.y), RGB(0, 0, 0));
    // "< OK >" is drawn in aqua on black: both colours show on its label.
    const RECT okRect = WindowRect(ok);
    bool aqua = false;
    for (int y = okRect.top; y < okRect.bottom && !aqua; ++y)
        for (int x = okRect.left; x < okRect.right && !aqua; ++x) aqua = ScreenPixel(x, y) == RGB(0, 255, 255);
    EXPECT_TRUE(aqua) << "aqua text on the OK panel";

    // Any key closes it.
    ASSERT_TRUE(Activate(about));
    PressKey('Q');
    EXPECT_TRUE(App().WaitForWindowGone("TForm3"));
    EXPECT_FALSE(::IsWindowVisible(about));
    // It is hidden, not destroyed: the same window comes back next time.
    EXPECT_TRUE(::IsWindow(about));
}

TEST_F(AboutTest, EscapeAndTheOkPanelCloseItAndItComesBackTheSame) {
    HWND first = OpenWithF1();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(Activate(first));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(App().WaitForWindowGone("TForm3"));

    HWND second = OpenWithF1();
    ASSERT_EQ(second, first);
    HWND ok = LabelWithText(second, "< OK >");
    ASSERT_NE(ok, nullptr);
    LeftClickAt(CentreOf(ok));
    EXPECT_TRUE(App().WaitForWindowGone("TForm3"));
}

TEST_F(AboutTest, ALinkThatCannotOpenLeavesTheDialogOpenAndSaysNothing) {
    HWND about = OpenWithF1();
    ASSERT_NE(about, nullptr);
    HWND link = nullptr;
    for (HWND child : ChildrenOf(about, "Static"))
        if (WindowText(child).find('@') != std::string::npos) link = child;
    ASSERT_NE(link, nullptr);
    // The hand cursor over a link: a real mouse move, so the dialog is asked
    // for its cursor. Cursor handles are the process's own, so the test tells
    // the hand by its shape: not the arrow shown over the plain panel, and the
    // hot spot of the system's hand.
    ASSERT_TRUE(Activate(about));
    POINT panel{20, 150};
    ::ClientToScreen(about, &panel);
    MoveMouseByInput(panel);
    HCURSOR overPanel = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (overPanel = CurrentCursor()) != nullptr; }, kWaitTimeout, "a cursor over the panel"));
    MoveMouseByInput(CentreOf(link));
    HCURSOR overLink = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (overLink = CurrentCursor()) != overPanel; }, kWaitTimeout,
                        "another cursor over the e-mail link"));
    const auto linkSpot = HotSpot(overLink);
    const auto handSpot = HotSpot(::LoadCursor(nullptr, IDC_HAND));
    if (linkSpot && handSpot) EXPECT_EQ(*linkSpot, *handSpot) << "the hand's hot spot";
    LeftClickAt(CentreOf(link));
    // Whatever the shell makes of it, Vantrel reports nothing and stays open.
    // The shell may take a while to give up on a link it cannot open.
    ASSERT_TRUE(WaitFor([this] { return Send(App().MainWindow(), WM_NULL, 0, 0, 2000).has_value(); }, 60000,
                        "Vantrel answering again after the link"));
    EXPECT_TRUE(::IsWindowVisible(about));
    EXPECT_EQ(App().FindWindowOfClass("#32770", "", true), nullptr);
    ASSERT_TRUE(Activate(about));
    PressKey(VK_SPACE);
    EXPECT_TRUE(App().WaitForWindowGone("TForm3"));
}

}  // namespace
}  // namespace vantrel::e2e
