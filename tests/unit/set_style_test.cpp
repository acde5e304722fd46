#include "base/error.h"
#include "tests/support/memory_desktop.h"
#include "windowops/set_style.h"

#include <gtest/gtest.h>

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
