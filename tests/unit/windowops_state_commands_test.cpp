#include "tests/support/memory_desktop.h"
#include "windowops/state_commands.h"

#include <gtest/gtest.h>

using namespace vantrel;
using vantrel::testing::MemoryDesktop;

namespace {

constexpr Handle kWindow = 77;

struct StateCommandsTest : ::testing::Test {
    MemoryDesktop desktop;
    void SetUp() override { desktop.addTopLevel(kWindow, "Target", "TTarget"); }
};

TEST_F(StateCommandsTest, TogglesFollowTheCheckMarkNotTheWindow) {
    // The window is visible, enabled and not topmost, but the check marks
    // (last shown state) say otherwise: the commands act on the check marks.
    RunStateCommand(desktop, kWindow, StateCommand::Show, false);
    RunStateCommand(desktop, kWindow, StateCommand::Enable, false);
    RunStateCommand(desktop, kWindow, StateCommand::Stayontop, true);
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"show 77 5", "enable 77 1", "topmost 77 0"}));

    desktop.journal.clear();
    RunStateCommand(desktop, kWindow, StateCommand::Show, true);
    RunStateCommand(desktop, kWindow, StateCommand::Enable, true);
    RunStateCommand(desktop, kWindow, StateCommand::Stayontop, false);
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"show 77 0", "enable 77 0", "topmost 77 1"}));
    EXPECT_FALSE(desktop.window(kWindow).visible);
    EXPECT_FALSE(desktop.window(kWindow).enabled);
    EXPECT_EQ(desktop.window(kWindow).exStyle & kExTopmost, kExTopmost);
}

TEST_F(StateCommandsTest, MinimizeRestoreMaximizeIgnoreTheCheckMark) {
    for (bool checked : {false, true}) {
        RunStateCommand(desktop, kWindow, StateCommand::Minimize, checked);
        RunStateCommand(desktop, kWindow, StateCommand::Restore, checked);
        RunStateCommand(desktop, kWindow, StateCommand::Maximize, checked);
    }
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"show 77 6", "show 77 9", "show 77 3", "show 77 6",
                                                         "show 77 9", "show 77 3"}));
}

TEST_F(StateCommandsTest, CloseSendsTheRequestOnlyWhenConfirmed) {
    EXPECT_FALSE(RunCloseCommand(desktop, kWindow, [] { return false; }));
    EXPECT_TRUE(desktop.journal.empty());
    EXPECT_TRUE(RunCloseCommand(desktop, kWindow, [] { return true; }));
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"close 77"}));
}

}  // namespace
