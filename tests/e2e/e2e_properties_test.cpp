// The property list, worked from outside: the eighteen rows of a selected
// fixture window against what the system reports for it, the rows that depend
// on the window's state, the hexadecimal display and "Copy value"; the rows
// after them (style names, class, program, client area) of a button and a
// tree view; "Copy all".

#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vantrel::e2e;
namespace cmd = vantrel::cmd;

namespace {

// The eighteen rows and those after them.
constexpr size_t kRowCount = 40;

class PropertiesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { session_.Start("--only owner,main,hidden,maximized,minimized,topmost,popup,longtext,userdata"); }
    static void TearDownTestSuite() { session_.Stop(); }
    void SetUp() override {
        ASSERT_NE(session_.app, nullptr);
        ASSERT_TRUE(session_.app->Running()) << "vantrel.exe is no longer running";
        if (session_.app->HexMode()) {
            ASSERT_TRUE(session_.app->SetHexMode(false));
        }
    }

    static HWND W(const std::string& name) { return session_.fixture->Window(name); }

    static std::string Row(const std::string& name) {
        auto value = session_.app->Property(name);
        EXPECT_TRUE(value.has_value()) << "no row " << name;
        return value.value_or("<missing>");
    }

    static bool ButtonChecked(int command) {
        for (const ToolButton& button : session_.app->ToolButtons()) {
            if (button.command == command && !button.separator) {
                return button.checked;
            }
        }
        ADD_FAILURE() << "no tool button for command " << command;
        return false;
    }

    // Every row of a window as the system reports it now, in the list's order.
    static std::vector<PropertyRow> Expected(HWND window, bool hex) {
        RECT rect = WindowRect(window);
        DWORD process = 0;
        DWORD thread = ::GetWindowThreadProcessId(window, &process);
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        ::GetWindowPlacement(window, &placement);
        const uint32_t exStyle = static_cast<uint32_t>(::GetWindowLongA(window, GWL_EXSTYLE));
        const auto parentReal = static_cast<int32_t>(::GetWindowLongPtrA(window, GWLP_HWNDPARENT));
        std::string state = placement.showCmd == SW_SHOWMINIMIZED   ? "Minimized"
                            : placement.showCmd == SW_SHOWMAXIMIZED ? "Maximized"
                                                                    : "Normal";
        std::string text = WindowText(window);
        if (text.size() > 255) {
            text.resize(255);
        }
        return {
            {"Handle", ValueText(HandleValue(window), hex)},
            {"Text", text},
            {"Class", ClassNameOf(window)},
            {"Visible", ::IsWindowVisible(window) ? "Yes" : "No"},
            {"Enabled", ::IsWindowEnabled(window) ? "Yes" : "No"},
            {"Stay on top", (exStyle & WS_EX_TOPMOST) ? "On" : "Off"},
            {"State", state},
            {"Left", std::to_string(rect.left)},
            {"Top", std::to_string(rect.top)},
            {"Width", std::to_string(rect.right - rect.left)},
            {"Height", std::to_string(rect.bottom - rect.top)},
            {"Parent window", ValueText(HandleValue(::GetParent(window)), hex)},
            {"Parent real", hex ? ValueText(static_cast<uint32_t>(parentReal), true) : std::to_string(parentReal)},
            {"Thread ID", ValueText(thread, hex)},
            {"Process ID", ValueText(process, hex)},
            {"Style", ValueText(static_cast<uint32_t>(::GetWindowLongA(window, GWL_STYLE)), hex)},
            {"Extended Style", ValueText(exStyle, hex)},
            {"User Data", ValueText(static_cast<uint32_t>(::GetWindowLongPtrA(window, GWLP_USERDATA)), hex)},
        };
    }

    static void ExpectRows(HWND window, bool hex) {
        auto expected = Expected(window, hex);
        auto actual = session_.app->Properties();
        ASSERT_EQ(actual.size(), kRowCount);
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(actual[i].name, expected[i].name) << "row " << i + 1;
            EXPECT_EQ(actual[i].value, expected[i].value) << "row " << expected[i].name;
        }
    }

    // A class value as this process reads it: "(not available)" where the
    // system does not tell it for another program's window.
    static std::string ClassHas(HWND window, int index) {
        ::SetLastError(ERROR_SUCCESS);
        const ULONG_PTR value = ::GetClassLongPtrA(window, index);
        if (value == 0 && ::GetLastError() != ERROR_SUCCESS) return "(not available)";
        return value ? "Yes" : "No";
    }

    // The rows after the eighteen that every control of the fixture shares
    // with the facts the fixture and the system tell of it.
    static void ExpectClassProgramAndClient(const std::string& name) {
        HWND window = W(name);
        EXPECT_EQ(Row("Class style"), std::to_string(::GetClassLongA(window, GCL_STYLE)));
        EXPECT_EQ(Row("Class atom"), std::to_string(::GetClassWord(window, GCW_ATOM)));
        EXPECT_EQ(Row("Class extra bytes"), std::to_string(::GetClassLongA(window, GCL_CBCLSEXTRA)));
        EXPECT_EQ(Row("Window extra bytes"), std::to_string(::GetClassLongA(window, GCL_CBWNDEXTRA)));
        EXPECT_EQ(Row("Class icon"), ClassHas(window, GCLP_HICON));
        EXPECT_EQ(Row("Class cursor"), ClassHas(window, GCLP_HCURSOR));
        EXPECT_EQ(Row("Program"), "vantrel_fixture.exe");
        EXPECT_EQ(Row("Program path"), FixtureExePath());
        EXPECT_EQ(Row("Program bitness"), sizeof(void*) == 8 ? "64-bit" : "32-bit");
        EXPECT_EQ(Row("Higher rights"), "No");
        std::istringstream client(session_.fixture->Command("client " + name).value_or(""));
        std::string left, top, width, height;
        client >> left >> top >> width >> height;
        EXPECT_EQ(Row("Client left"), left);
        EXPECT_EQ(Row("Client top"), top);
        EXPECT_EQ(Row("Client width"), width);
        EXPECT_EQ(Row("Client height"), height);
        EXPECT_EQ(Row("DPI"), "96");
    }

    static Session session_;
};

Session PropertiesTest::session_;

}  // namespace

TEST_F(PropertiesTest, ButtonShowsItsEighteenRows) {
    ASSERT_TRUE(session_.app->SelectWindow(W("ok")));
    ExpectRows(W("ok"), false);
    // The plain facts, not only the system's view of them.
    EXPECT_EQ(Row("Text"), "OK");
    EXPECT_EQ(Row("Class"), "Button");
    EXPECT_EQ(Row("Visible"), "Yes");
    EXPECT_EQ(Row("Enabled"), "Yes");
    EXPECT_EQ(Row("Stay on top"), "Off");
    EXPECT_EQ(Row("State"), "Normal");
    EXPECT_EQ(Row("Width"), "80");
    EXPECT_EQ(Row("Height"), "25");
    EXPECT_EQ(Row("Parent window"), std::to_string(HandleValue(W("main"))));
    EXPECT_EQ(Row("Parent real"), std::to_string(HandleValue(W("main"))));
    EXPECT_EQ(Row("Process ID"), std::to_string(session_.fixture->ProcessId()));
    EXPECT_EQ(Row("User Data"), "0");
    EXPECT_TRUE(ButtonChecked(cmd::Show1));
    EXPECT_TRUE(ButtonChecked(cmd::Enable1));
    EXPECT_FALSE(ButtonChecked(cmd::Stayontop1));
    EXPECT_TRUE(ButtonChecked(cmd::Restore1));
}

TEST_F(PropertiesTest, ButtonAndTreeViewShowTheirStyleNamesClassProgramAndClientArea) {
    // As the fixture made them, with the bits the system keeps.
    ASSERT_EQ(::GetWindowLongA(W("ok"), GWL_STYLE), 0x50000000);
    ASSERT_EQ(::GetWindowLongA(W("tree"), GWL_STYLE), 0x50800007);
    ASSERT_TRUE(session_.app->SelectWindow(W("ok")));
    EXPECT_EQ(Row("Style flags"), "WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON");
    EXPECT_EQ(Row("Extended style flags"), "0");
    EXPECT_EQ(Row("Class style flags"), "CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_PARENTDC");
    ExpectClassProgramAndClient("ok");
    // An added row is copied as any other.
    ASSERT_TRUE(EmptyClipboardText());
    ASSERT_TRUE(session_.app->SelectPropertyRow("Program path"));
    ASSERT_TRUE(session_.app->SendCommand(cmd::Copy1));
    EXPECT_EQ(ClipboardText(), std::optional<std::string>(FixtureExePath() + "\r\n"));

    ASSERT_TRUE(session_.app->SelectWindow(W("tree")));
    EXPECT_EQ(Row("Style flags"), "WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | "
                                  "TVS_LINESATROOT");
    ExpectClassProgramAndClient("tree");
    // The border takes a pixel off each side of the client area.
    EXPECT_EQ(Row("Client width"), "148");

    // The class's numbers follow the notation, sizes stay decimal.
    ASSERT_TRUE(session_.app->SetHexMode(true));
    ASSERT_TRUE(WaitFor([] { return session_.app->Property("Handle") == HandleField(W("tree"), true); },
                        kWaitTimeout, "the tree view reselected in hexadecimal"));
    EXPECT_EQ(Row("Class atom"), ValueText(::GetClassWord(W("tree"), GCW_ATOM), true));
    EXPECT_EQ(Row("Class style"), ValueText(::GetClassLongA(W("tree"), GCL_STYLE), true));
    EXPECT_EQ(Row("Client width"), "148");
}

TEST_F(PropertiesTest, HiddenWindow) {
    ASSERT_TRUE(session_.app->SelectWindow(W("hidden")));
    ExpectRows(W("hidden"), false);
    EXPECT_EQ(Row("Visible"), "No");
    EXPECT_FALSE(ButtonChecked(cmd::Show1));
}

TEST_F(PropertiesTest, MaximizedAndMinimizedWindows) {
    ASSERT_TRUE(session_.app->SelectWindow(W("maximized")));
    ExpectRows(W("maximized"), false);
    EXPECT_EQ(Row("State"), "Maximized");
    EXPECT_TRUE(ButtonChecked(cmd::Maximize1));
    EXPECT_FALSE(ButtonChecked(cmd::Minimize1));
    EXPECT_FALSE(ButtonChecked(cmd::Restore1));

    ASSERT_TRUE(session_.app->SelectWindow(W("minimized")));
    ExpectRows(W("minimized"), false);
    EXPECT_EQ(Row("State"), "Minimized");
    EXPECT_TRUE(ButtonChecked(cmd::Minimize1));
    EXPECT_FALSE(ButtonChecked(cmd::Maximize1));
}

TEST_F(PropertiesTest, TopmostWindow) {
    ASSERT_TRUE(session_.app->SelectWindow(W("topmost")));
    ExpectRows(W("topmost"), false);
    EXPECT_EQ(Row("Stay on top"), "On");
    EXPECT_TRUE(ButtonChecked(cmd::Stayontop1));
}

TEST_F(PropertiesTest, PopupStyleWithTheTopBitReadsUnsigned) {
    // WS_POPUP, plus the WS_CLIPSIBLINGS that the system gives every top-level window.
    const uint32_t style = static_cast<uint32_t>(::GetWindowLongA(W("popup"), GWL_STYLE));
    ASSERT_EQ(style & ~static_cast<uint32_t>(WS_CLIPSIBLINGS), 0x80000000u);
    ASSERT_TRUE(session_.app->SelectWindow(W("popup")));
    ExpectRows(W("popup"), false);
    EXPECT_EQ(Row("Style"), style == 0x80000000u ? "2147483648" : "2214592512");
    ASSERT_TRUE(session_.app->SetHexMode(true));
    const std::string hex = style == 0x80000000u ? "80000000" : "84000000";
    EXPECT_TRUE(WaitFor([&] { return session_.app->Property("Style") == hex; }, kWaitTimeout,
                        "Style " + hex + " in hexadecimal"));
}

TEST_F(PropertiesTest, LongTextUserDataAndOwner) {
    ASSERT_TRUE(session_.app->SelectWindow(W("longtext")));
    ExpectRows(W("longtext"), false);
    EXPECT_EQ(Row("Text").size(), 255u);

    ASSERT_TRUE(session_.app->SelectWindow(W("userdata")));
    EXPECT_EQ(Row("User Data"), "1511506142");

    ASSERT_TRUE(session_.app->SelectWindow(W("owned_early")));
    ExpectRows(W("owned_early"), false);
    EXPECT_EQ(Row("Parent real"), std::to_string(HandleValue(W("owner"))));
}

TEST_F(PropertiesTest, HexadecimalRowsForTheSameWindow) {
    ASSERT_TRUE(session_.app->SelectWindow(W("userdata")));
    ASSERT_TRUE(session_.app->SetHexMode(true));
    ASSERT_TRUE(WaitFor([] { return session_.app->Property("Handle") == HandleField(W("userdata"), true); },
                        kWaitTimeout, "the same window reselected in hexadecimal"));
    ExpectRows(W("userdata"), true);
    EXPECT_EQ(Row("User Data"), "5A17C0DE");
    // Geometry stays decimal.
    EXPECT_EQ(Row("Left"), std::to_string(WindowRect(W("userdata")).left));
}

TEST_F(PropertiesTest, CopyValueOfTheClassRow) {
    ASSERT_TRUE(session_.app->SelectWindow(W("ok")));
    ASSERT_TRUE(EmptyClipboardText());

    // With no row selected (each filling loses the selection) nothing is copied.
    ASSERT_TRUE(session_.app->SendCommand(cmd::Copy1));
    EXPECT_EQ(ClipboardText(), std::nullopt);

    ASSERT_TRUE(session_.app->SelectPropertyRow("Class"));
    ASSERT_TRUE(session_.app->SendCommand(cmd::Copy1));
    EXPECT_EQ(ClipboardText(), std::optional<std::string>("Button\r\n"));
}

TEST_F(PropertiesTest, CopyAllPutsEveryRowOnTheClipboardByItsShortcut) {
    ASSERT_TRUE(session_.app->SelectWindow(W("ok")));
    std::string expected;
    for (const PropertyRow& row : session_.app->Properties()) expected += row.name + ": " + row.value + "\r\n";
    ASSERT_TRUE(EmptyClipboardText());
    ASSERT_TRUE(session_.app->ActivateMain());
    PressKey('C', true, true);
    ASSERT_TRUE(WaitFor([] { return ClipboardText().has_value(); }, kWaitTimeout, "Copy all's text"));
    EXPECT_EQ(ClipboardText(), expected);
    EXPECT_EQ(ClipboardUnicodeText(), expected);
}

TEST_F(PropertiesTest, WindowThatIsGoneShowsEmptyRows) {
    ASSERT_TRUE(session_.fixture->Command("create doomed Fixture doomed").has_value());
    HWND doomed = W("doomed");
    ASSERT_TRUE(session_.app->Refresh());
    ASSERT_TRUE(session_.fixture->Command("destroy doomed").has_value());
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(doomed); }, kWaitTimeout, "the window to be destroyed"));
    // Its node stays until the next rebuild and still selects the old handle.
    ASSERT_TRUE(session_.app->SelectWindow(doomed));
    auto rows = session_.app->Properties();
    ASSERT_EQ(rows.size(), kRowCount);
    EXPECT_EQ(Row("Text"), "");
    EXPECT_EQ(Row("Class"), "");
    EXPECT_EQ(Row("Visible"), "No");
    EXPECT_EQ(Row("Enabled"), "No");
    EXPECT_EQ(Row("Stay on top"), "Off");
    EXPECT_EQ(Row("Process ID"), "0");
    EXPECT_EQ(Row("Thread ID"), "0");
}
