#include "base/error.h"
#include "tests/support/memory_desktop.h"
#include "windowops/set_style.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace vantrel;
using vantrel::testing::MemoryDesktop;

namespace {

constexpr Handle kWindow = 0x1F2;

struct SetStyleTest : ::testing::Test {
    MemoryDesktop desktop;
    void SetUp() override {
        auto& w = desktop.addTopLevel(kWindow, "Notes", "TNotes");
        w.style = 0x16CF0000;
        w.exStyle = 0x100;
        w.userData = 7;
    }
    // Fills as the dialog does, lets edit change the fields, applies them.
    // Returns the error message, or "" when none was raised.
    template <typename Edit>
    std::string Run(bool hexMode, Edit edit) {
        const StyleValues read = ReadStyleValues(desktop, kWindow);
        StyleTexts fields = StyleFieldTexts(read, hexMode);
        edit(fields);
        try {
            ApplySetStyle(desktop, kWindow, read, fields, hexMode);
        } catch (const VantrelError& error) {
            return error.what();
        }
        return "";
    }
};

TEST_F(SetStyleTest, FieldsShowTheValuesInTheDisplayMode) {
    const StyleValues read = ReadStyleValues(desktop, kWindow);
    EXPECT_EQ(StyleFieldTexts(read, true), (StyleTexts{"16CF0000", "00000100", "00000007"}));
    EXPECT_EQ(StyleFieldTexts(read, false), (StyleTexts{"382664704", "256", "7"}));
}

TEST_F(SetStyleTest, OkWithoutChangeWritesNothingInEitherMode) {
    desktop.window(kWindow).style = 0x80000000u | 0x16CF0000u;  // WS_POPUP: above the signed range
    desktop.window(kWindow).userData = 0xFFFFFFFFu;
    EXPECT_EQ(Run(false, [](StyleTexts&) {}), "");
    EXPECT_EQ(Run(true, [](StyleTexts&) {}), "");
    EXPECT_TRUE(desktop.journal.empty());
}

TEST_F(SetStyleTest, HexadecimalStyleChangeWritesOnlyTheStyle) {
    EXPECT_EQ(Run(true, [](StyleTexts& f) { f[0] = "06CF0000"; }), "");
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"setWindowLong 498 -16 114229248"}));
    EXPECT_EQ(desktop.window(kWindow).style, 0x06CF0000u);
}

TEST_F(SetStyleTest, TypedDollarInHexadecimalModeIsQuotedDoubledAndStopsThere) {
    const std::string error = Run(true, [](StyleTexts& f) {
        f[0] = "06CF0000";
        f[1] = "$1F";
        f[2] = "00000009";
    });
    EXPECT_EQ(error, "'$$1F' is not a valid integer value");
    // The style before the failing field stays written; user data is untouched.
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"setWindowLong 498 -16 114229248"}));
    EXPECT_EQ(desktop.window(kWindow).userData, 7u);
}

TEST_F(SetStyleTest, HexadecimalLeadingSpaceStandsAfterTheDollarAndIsRefused) {
    EXPECT_EQ(Run(true, [](StyleTexts& f) { f[0] = " 1F"; }), "'$ 1F' is not a valid integer value");
    EXPECT_TRUE(desktop.journal.empty());
}

TEST_F(SetStyleTest, DecimalModeTakesHexadecimalPrefixes) {
    EXPECT_EQ(Run(false, [](StyleTexts& f) {
                  f[1] = "$1F";
                  f[2] = "0x1F";
              }),
              "");
    EXPECT_EQ(desktop.journal,
              (std::vector<std::string>{"setWindowLong 498 -20 31", "setWindowLong 498 -21 31"}));
}

TEST_F(SetStyleTest, DecimalMinusOneStoresAllBitsUnlessAlreadySo) {
    EXPECT_EQ(Run(false, [](StyleTexts& f) { f[2] = "-1"; }), "");
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"setWindowLong 498 -21 4294967295"}));
    desktop.journal.clear();
    EXPECT_EQ(Run(false, [](StyleTexts& f) { f[2] = "-1"; }), "");
    EXPECT_TRUE(desktop.journal.empty());
}

TEST_F(SetStyleTest, DecimalValueBeyond32BitsIsAnError) {
    EXPECT_EQ(Run(false, [](StyleTexts& f) { f[0] = "4294967296"; }), "'4294967296' is not a valid integer value");
    EXPECT_TRUE(desktop.journal.empty());
}

TEST_F(SetStyleTest, EmptyUserDataAfterValidStylesWritesTheStylesThenFails) {
    const std::string error = Run(false, [](StyleTexts& f) {
        f[0] = "114229248";
        f[1] = "264";
        f[2] = "";
    });
    EXPECT_EQ(error, "'' is not a valid integer value");
    EXPECT_EQ(desktop.journal,
              (std::vector<std::string>{"setWindowLong 498 -16 114229248", "setWindowLong 498 -20 264"}));
}

TEST_F(SetStyleTest, AnUnansweredWriteEndsTheCommandThere) {
    desktop.window(kWindow).ids.thread = 9;
    desktop.hang(9);
    const StyleValues read = ReadStyleValues(desktop, kWindow);
    const StyleTexts fields{"1", "2", "3"};
    EXPECT_EQ(ApplySetStyle(desktop, kWindow, read, fields, false).reply, Reply::NotAnswered);
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"setWindowLong 498 -16 1"}));
    // A bad field after the unanswered one is not even converted.
    EXPECT_EQ(ApplySetStyle(desktop, kWindow, read, {"1", "x", "3"}, false).reply, Reply::Busy);
    EXPECT_EQ(desktop.journal.size(), 1u);
}

TEST_F(SetStyleTest, AStyleThatWouldStrandTheUserIsRefusedOnVantrelsOwnWindows) {
    constexpr std::uint32_t kVisible = 0x10000000, kDisabled = 0x08000000;
    desktop.window(kWindow).style = kVisible;
    const StyleValues read = ReadStyleValues(desktop, kWindow);
    const auto style = [&](std::uint32_t value) {
        return StyleTexts{std::to_string(value), std::to_string(read[1]), "99"};
    };
    // Hidden or disabled main window, hidden control of it: refused, nothing written.
    for (auto [own, value] : {std::pair{OwnWindow::MainWindow, 0u}, std::pair{OwnWindow::MainWindow, kVisible | kDisabled},
                              std::pair{OwnWindow::MainWindowControl, 0u}}) {
        const CommandOutcome outcome = ApplySetStyle(desktop, kWindow, read, style(value), false, own);
        EXPECT_FALSE(outcome.refusal.empty()) << static_cast<int>(own) << " " << value;
        EXPECT_TRUE(desktop.journal.empty());
    }
    // What can be undone goes ahead: a disabled control, a hidden dialog, any other program's window.
    for (auto [own, value] : {std::pair{OwnWindow::MainWindowControl, kVisible | kDisabled},
                              std::pair{OwnWindow::Form, 0u}, std::pair{OwnWindow::None, 0u}}) {
        desktop.journal.clear();
        const CommandOutcome outcome = ApplySetStyle(desktop, kWindow, read, style(value), false, own);
        EXPECT_FALSE(outcome.Stopped()) << outcome.Report();
        EXPECT_EQ(desktop.journal.size(), 2u);
    }
}

}  // namespace

// ---- The tick lists ----------------------------------------------------------------

namespace {

// Values written independently from the SDK's definitions.
constexpr std::uint32_t kChild = 0x40000000, kVisible = 0x10000000, kSysMenu = 0x00080000, kTabStop = 0x00010000;
constexpr std::uint32_t kExTopmostBit = 0x8, kExClientEdge = 0x200;

StyleFlag Named(const StyleTicks& ticks, TickList list, std::string_view name) {
    for (const StyleFlag& flag : ticks.Flags(list))
        if (flag.name == name) return flag;
    ADD_FAILURE() << "no flag " << name;
    return {};
}

// Whether the list ticks the flag; nullopt when it does not offer it.
std::optional<bool> TickOf(const StyleTicks& ticks, TickList list, std::string_view name) {
    const auto flags = ticks.Flags(list);
    for (size_t i = 0; i < flags.size(); ++i)
        if (flags[i].name == name) return ticks.Ticks(list).at(i);
    return std::nullopt;
}

}  // namespace

TEST(StyleTicks, TickingWritesTheFieldAndTypingTicksTheFlags) {
    // A push button with a tab stop, in hexadecimal.
    StyleTicks ticks("button", {kChild | kVisible | kTabStop, 0, 0}, true);
    EXPECT_EQ(TickOf(ticks, TickList::Style, "BS_PUSHBUTTON"), true);
    EXPECT_EQ(TickOf(ticks, TickList::Style, "WS_TABSTOP"), true);
    EXPECT_EQ(TickOf(ticks, TickList::Style, "WS_MAXIMIZEBOX"), std::nullopt);
    // A type ticks like a radio button: the push button's choice goes.
    EXPECT_EQ(ticks.Tick(TickList::Style, Named(ticks, TickList::Style, "BS_AUTOCHECKBOX"), true), "50010003");
    EXPECT_EQ(TickOf(ticks, TickList::Style, "BS_PUSHBUTTON"), false);
    // A text that is no number leaves the ticks; a number moves them.
    EXPECT_FALSE(ticks.Typed(TickList::Style, "5001000G"));
    EXPECT_EQ(TickOf(ticks, TickList::Style, "WS_TABSTOP"), true);
    EXPECT_TRUE(ticks.Typed(TickList::Style, "50000003"));
    EXPECT_EQ(TickOf(ticks, TickList::Style, "WS_TABSTOP"), false);
    // A system menu makes the shared bits the caption's boxes.
    EXPECT_EQ(ticks.Tick(TickList::Style, Named(ticks, TickList::Style, "WS_SYSMENU"), true), "50080003");
    EXPECT_EQ(TickOf(ticks, TickList::Style, "WS_MAXIMIZEBOX"), false);
    EXPECT_EQ(TickOf(ticks, TickList::Style, "WS_TABSTOP"), std::nullopt);

    // Decimal fields take and give decimal numbers.
    StyleTicks decimal("Edit", {kChild, 0, 0}, false);
    EXPECT_EQ(decimal.Tick(TickList::ExStyle, Named(decimal, TickList::ExStyle, "WS_EX_TOPMOST"), true), "8");
    EXPECT_TRUE(decimal.Typed(TickList::ExStyle, "0x208"));
    EXPECT_EQ(TickOf(decimal, TickList::ExStyle, "WS_EX_CLIENTEDGE"), true);
}

TEST_F(SetStyleTest, OkMakesWhatTheUserTickedTakeEffectAndNothingMoreForTypedNumbers) {
    const std::string write = "setWindowLong 498 ", frame = "frameChanged 498", topmost = "topmost 498 1";
    using Edit = std::function<void(StyleTicks&, StyleTexts&)>;
    const auto tick = [](TickList list, std::string_view name, bool on) -> Edit {
        return [=](StyleTicks& t, StyleTexts& f) {
            f[static_cast<size_t>(list)] = t.Tick(list, Named(t, list, name), on);
        };
    };
    const auto type = [](TickList list, std::string text) -> Edit {
        return [=](StyleTicks& t, StyleTexts& f) { t.Typed(list, f[static_cast<size_t>(list)] = text); };
    };
    const auto ex = TickList::ExStyle, style = TickList::Style;
    const struct {
        std::vector<Edit> edits;
        std::vector<std::string> journal;
    } cases[] = {
        {{tick(ex, "WS_EX_TOPMOST", true)}, {write + "-20 264", topmost}},
        {{type(ex, "264")}, {write + "-20 264"}},
        {{tick(style, "WS_THICKFRAME", false)}, {write + "-16 382402560", frame}},
        {{type(style, "382402560")}, {write + "-16 382402560"}},
        // One frame request for all the frame bits, before the topmost one.
        {{tick(ex, "WS_EX_CLIENTEDGE", true), tick(ex, "WS_EX_TOPMOST", true)}, {write + "-20 776", frame, topmost}},
        // Typing decides the bits it changes, and only those.
        {{tick(style, "WS_THICKFRAME", false), type(style, "382664704")}, {}},
        {{tick(ex, "WS_EX_TOPMOST", true), type(ex, "265")}, {write + "-20 265", topmost}},
        // Visibility is no frame bit.
        {{tick(style, "WS_VISIBLE", false)}, {write + "-16 114229248"}},
    };
    for (const auto& c : cases) {
        desktop.journal.clear();
        desktop.window(kWindow).style = 0x16CF0000;
        desktop.window(kWindow).exStyle = 0x100;
        const StyleValues read = ReadStyleValues(desktop, kWindow);
        StyleTicks ticks("TNotes", read, false);
        StyleTexts fields = StyleFieldTexts(read, false);
        for (const Edit& edit : c.edits) edit(ticks, fields);
        EXPECT_FALSE(ApplySetStyle(desktop, kWindow, read, fields, false, OwnWindow::None, ticks.Ticked()).Stopped());
        EXPECT_EQ(desktop.journal, c.journal) << fields[0] << " " << fields[1];
    }
    // Unticking topmost takes the window out of the topmost ones.
    desktop.journal.clear();
    ApplySetStyle(desktop, kWindow, {0x16CF0000, 0x108, 7}, {"382664704", "256", "7"}, false, OwnWindow::None,
                  {0, kExTopmostBit});
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{write + "-20 256", "topmost 498 0"}));
}

TEST_F(SetStyleTest, TickedFollowUpsWaitForTheirWritesAndSkipWhatAControlDoesNotDraw) {
    // A control's group and tab stop are no frame bits; its system menu is.
    auto& control = desktop.addChild(kWindow, 0x300, "", "Button");
    control.style = kChild | kVisible;
    const StyleValues read = ReadStyleValues(desktop, 0x300);
    ApplySetStyle(desktop, 0x300, read, {std::to_string(kChild | kVisible | kTabStop), "0", "0"}, false,
                  OwnWindow::None, {kTabStop, 0});
    EXPECT_EQ(desktop.journal.size(), 1u);
    ApplySetStyle(desktop, 0x300, read, {std::to_string(kChild | kVisible | kSysMenu | kTabStop), "0", "0"}, false,
                  OwnWindow::None, {kSysMenu | kTabStop, 0});
    EXPECT_EQ(desktop.journal.back(), "frameChanged 768");

    // A write that is not answered asks for nothing after it.
    desktop.journal.clear();
    desktop.window(kWindow).ids.thread = 9;
    desktop.hang(9);
    const CommandOutcome outcome =
        ApplySetStyle(desktop, kWindow, ReadStyleValues(desktop, kWindow), {"382664704", "776", "7"}, false,
                      OwnWindow::None, {0, kExTopmostBit | kExClientEdge});
    EXPECT_EQ(outcome.reply, Reply::NotAnswered);
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"setWindowLong 498 -20 776"}));
}
