// The window fixture itself: the end-to-end tests of the tree and the message
// catching rely on its z-order and its recorder, so these hold first.

#include "base/unicode.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/fixture/script_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace vantrel::e2e;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

int Position(const std::vector<std::string>& order, const std::string& name) {
    auto found = std::find(order.begin(), order.end(), name);
    return found == order.end() ? -1 : static_cast<int>(found - order.begin());
}

}  // namespace

TEST(Fixture, OwnedWindowsLieOnBothSidesOfTheirOwnerInZOrder) {
    auto fixture = Fixture::Start("--only owner");
    auto reply = fixture->Command("zorder");
    ASSERT_TRUE(reply.has_value());
    auto order = Lines(*reply);
    int early = Position(order, "owned_early");
    int owner = Position(order, "owner");
    int late = Position(order, "owned_late");
    ASSERT_GE(early, 0);
    ASSERT_GE(owner, 0);
    ASSERT_GE(late, 0);
    EXPECT_LT(early, owner);
    EXPECT_GT(late, owner);
    HWND ownerWindow = fixture->Window("owner");
    EXPECT_EQ(::GetWindow(fixture->Window("owned_early"), GW_OWNER), ownerWindow);
    EXPECT_EQ(::GetWindow(fixture->Window("owned_late"), GW_OWNER), ownerWindow);
}

TEST(Fixture, WindowsHaveTheirDocumentedTraits) {
    auto fixture = Fixture::Start();
    EXPECT_EQ(WindowText(fixture->Window("ok")), "OK");
    EXPECT_EQ(ClassNameOf(fixture->Window("ok")), "Button");
    EXPECT_EQ(WindowText(fixture->Window("longtext")).size(), 300u);
    EXPECT_EQ(static_cast<uint32_t>(::GetWindowLongPtrA(fixture->Window("userdata"), GWLP_USERDATA)),
              0x5A17C0DEu);
    EXPECT_EQ(static_cast<uint32_t>(::GetWindowLongA(fixture->Window("popup"), GWL_STYLE)) &
                  ~static_cast<uint32_t>(WS_CLIPSIBLINGS),
              0x80000000u);
    EXPECT_FALSE(::IsWindowVisible(fixture->Window("hidden")));
    EXPECT_TRUE(::IsZoomed(fixture->Window("maximized")));
    EXPECT_TRUE(::IsIconic(fixture->Window("minimized")));
    EXPECT_TRUE(::GetWindowLongA(fixture->Window("topmost"), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(::GetParent(fixture->Window("radio")), fixture->Window("host"));
    EXPECT_EQ(::GetParent(fixture->Window("host")), fixture->Window("main"));
}

TEST(Fixture, ScriptWindowsAreUnicodeWindowsWithTheirTexts) {
    using vantrel::Utf16ToUtf8;
    auto fixture = Fixture::Start("--only scripts");
    for (const ScriptWindow& script : kScriptWindows) {
        HWND window = fixture->Window(script.name);
        EXPECT_TRUE(::IsWindowUnicode(window)) << script.name;
        EXPECT_EQ(WindowText(window), Utf16ToUtf8(script.caption)) << script.name;
        EXPECT_EQ(ClassNameOf(window), Utf16ToUtf8(script.className)) << script.name;
    }
    const std::u16string title = LongScriptTitle();
    ASSERT_EQ(title.size(), kLongScriptUnits);
    for (std::size_t pair : kLongScriptPairs) EXPECT_EQ(title.substr(pair, 2), u"\U0001F600");
    EXPECT_EQ(FullWindowText(fixture->Window("longscript")), Utf16ToUtf8(title));
    // A window made on command keeps a Greek text ("alpha beta") both ways.
    const std::string greek = Utf16ToUtf8(u"\u03B1\u03B2");
    ASSERT_TRUE(fixture->Command("create-wide wide " + greek));
    EXPECT_EQ(fixture->Command("text wide"), greek);
    EXPECT_EQ(WindowText(fixture->Window("wide")), greek);
}

TEST(Fixture, CreatesAndDestroysWindowsOnCommand) {
    auto fixture = Fixture::Start("--only main");
    auto reply = fixture->Command("create extra Fixture extra window");
    ASSERT_TRUE(reply.has_value());
    ASSERT_TRUE(fixture->Has("extra"));
    HWND extra = fixture->Window("extra");
    EXPECT_EQ(std::to_string(HandleValue(extra)), *reply);
    EXPECT_EQ(WindowText(extra), "Fixture extra window");
    ASSERT_TRUE(fixture->Command("destroy extra").has_value());
    EXPECT_FALSE(fixture->Has("extra"));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(extra); }, kWaitTimeout, "the extra window to go"));
    EXPECT_FALSE(fixture->Command("no-such-command").has_value());
}

TEST(Fixture, HungWindowStopsAnsweringUntilReleased) {
    auto fixture = Fixture::Start("--only hung");
    HWND hung = fixture->Window("hung");
    EXPECT_EQ(WindowText(hung), "Fixture hung");
    ASSERT_TRUE(fixture->Command("hang").has_value());
    EXPECT_TRUE(WaitFor([&] { return !Send(hung, WM_NULL, 0, 0, 1000).has_value(); }, kWaitTimeout,
                        "the hung window to stop answering"));
    ASSERT_TRUE(fixture->Command("unhang").has_value());
    EXPECT_TRUE(WaitFor([&] { return Send(hung, WM_NULL, 0, 0, 1000).has_value(); }, kWaitTimeout,
                        "the hung window to answer again"));
}

TEST(Fixture, RecorderReceivesTheKnownSequence) {
    auto fixture = Fixture::Start("--only recorder");
    ASSERT_TRUE(fixture->Command("clear-log").has_value());
    ASSERT_TRUE(fixture->Command("send-sequence").has_value());
    std::vector<std::string> names;
    WaitFor(
        [&] {
            names.clear();
            for (const std::string& line : fixture->RecorderLog()) {
                std::string name = line.substr(0, line.find(' '));
                if (name != "-") {
                    names.push_back(name);
                }
            }
            return std::find(names.begin(), names.end(), "WM_TIMER") != names.end();
        },
        kWaitTimeout, "the recorder's WM_TIMER");
    const std::vector<std::string> expected = {"WM_USER+1",      "registered",   "WM_MOUSEMOVE",
                                               "WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_PAINT",
                                               "WM_TIMER"};
    // Other messages (a WM_MOUSEMOVE from the pointer, say) may come between.
    size_t next = 0;
    for (const std::string& name : names) {
        if (next < expected.size() && name == expected[next]) {
            ++next;
        }
    }
    EXPECT_EQ(next, expected.size()) << "recorded: " << ::testing::PrintToString(names);
}
