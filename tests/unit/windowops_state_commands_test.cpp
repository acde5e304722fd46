#include "tests/support/memory_desktop.h"
#include "windowops/edit_move.h"
#include "windowops/set_style.h"
#include "windowops/state_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vantrel;
using vantrel::testing::MemoryDesktop;

namespace {

constexpr Handle kWindow = 77;
constexpr std::uint32_t kThread = 12;

struct StateCommandsTest : ::testing::Test {
    MemoryDesktop desktop;
    void SetUp() override { desktop.addTopLevel(kWindow, "Target", "TTarget").ids.thread = kThread; }
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
    EXPECT_FALSE(RunCloseCommand(desktop, kWindow, [] { return false; }).sent);
    EXPECT_TRUE(desktop.journal.empty());
    const CloseOutcome closed = RunCloseCommand(desktop, kWindow, [] { return true; });
    EXPECT_TRUE(closed.sent);
    EXPECT_EQ(closed.outcome.Report(), "");
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"close 77"}));
}

TEST_F(StateCommandsTest, AHungWindowIsReportedOnceAndLaterRequestsDoNotPileUp) {
    desktop.hang(kThread);
    const CommandOutcome first = RunStateCommand(desktop, kWindow, StateCommand::Show, true);
    EXPECT_EQ(first.reply, Reply::NotAnswered);
    EXPECT_EQ(first.Report(), "The window did not answer. The request may still take effect later.");
    EXPECT_TRUE(desktop.window(kWindow).visible);

    // Every later request to the same thread is refused at once, Close included.
    for (StateCommand command : {StateCommand::Enable, StateCommand::Minimize, StateCommand::Show}) {
        const CommandOutcome later = RunStateCommand(desktop, kWindow, command, true);
        EXPECT_EQ(later.reply, Reply::Busy);
        EXPECT_EQ(later.Report(), "The window has not answered an earlier request yet. This request was not made.");
    }
    const CloseOutcome closed = RunCloseCommand(desktop, kWindow, [] { return true; });
    EXPECT_TRUE(closed.sent);
    EXPECT_EQ(closed.outcome.reply, Reply::Busy);
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"show 77 0"}));

    // Once the thread answers, the waiting request takes effect and new ones go through.
    desktop.release(kThread);
    EXPECT_FALSE(desktop.window(kWindow).visible);
    EXPECT_FALSE(RunStateCommand(desktop, kWindow, StateCommand::Show, false).Stopped());
    EXPECT_TRUE(desktop.window(kWindow).visible);
}

// What may be done to Vantrel's own windows: everything that can be undone,
// nothing that strands the user.
TEST(OwnWindows, RefusedAreOnlyTheChangesWithoutAWayBack) {
    const std::vector<std::pair<OwnWindow, Change>> refused = {
        {OwnWindow::MainWindow, Change::Hide},           {OwnWindow::MainWindow, Change::Disable},
        {OwnWindow::MainWindowControl, Change::Hide},    {OwnWindow::MainWindowControl, Change::Close},
        {OwnWindow::FormControl, Change::Close},         {OwnWindow::Other, Change::Close},
    };
    for (OwnWindow own : {OwnWindow::None, OwnWindow::MainWindow, OwnWindow::MainWindowControl,
                          OwnWindow::ApplicationWindow, OwnWindow::Form, OwnWindow::FormControl, OwnWindow::Other}) {
        for (Change change : {Change::Show, Change::Hide, Change::Enable, Change::Disable, Change::Topmost,
                              Change::NotTopmost, Change::Minimize, Change::Restore, Change::Maximize, Change::Close,
                              Change::Text, Change::Placement, Change::Long}) {
            const bool expected = std::find(refused.begin(), refused.end(), std::pair{own, change}) != refused.end();
            EXPECT_EQ(!RefusalFor(own, change).empty(), expected)
                << "window kind " << static_cast<int>(own) << ", change " << static_cast<int>(change);
        }
    }
    EXPECT_EQ(RefusalFor(OwnWindow::MainWindow, Change::Disable),
              "Vantrel does not disable its main window: there would be no way to enable it again.");
}

TEST_F(StateCommandsTest, ARefusedCommandAsksNothingOfTheWindow) {
    // Hiding the main window: refused, and the window is left alone.
    const CommandOutcome hide = RunStateCommand(desktop, kWindow, StateCommand::Show, true, OwnWindow::MainWindow);
    EXPECT_EQ(hide.Report(), "Vantrel does not hide its main window: there would be no way to show it again.");
    // Closing a control: refused before the question is asked.
    bool asked = false;
    const CloseOutcome closed = RunCloseCommand(
        desktop, kWindow, [&] { return asked = true; }, OwnWindow::MainWindowControl);
    EXPECT_FALSE(closed.sent);
    EXPECT_FALSE(asked);
    EXPECT_FALSE(closed.outcome.refusal.empty());
    // Disabling a control and minimizing the main window can be undone: done.
    EXPECT_FALSE(RunStateCommand(desktop, kWindow, StateCommand::Enable, true, OwnWindow::MainWindowControl).Stopped());
    EXPECT_FALSE(RunStateCommand(desktop, kWindow, StateCommand::Minimize, false, OwnWindow::MainWindow).Stopped());
    EXPECT_EQ(desktop.journal, (std::vector<std::string>{"enable 77 0", "show 77 6"}));
}

TEST(OwnWindows, StyleChangesThatHideOrDisable) {
    constexpr std::uint32_t kVisible = 0x10000000, kDisabled = 0x08000000;
    EXPECT_EQ(StyleChange(kVisible, 0), Change::Hide);
    EXPECT_EQ(StyleChange(kVisible, kVisible | kDisabled), Change::Disable);
    EXPECT_EQ(StyleChange(kVisible | kDisabled, kVisible | kDisabled | 1), Change::Long);
    EXPECT_EQ(StyleChange(0, kVisible), Change::Long);
}

// Windows keeps Vantrel away from a program that runs with higher rights:
// every command on its windows says so in the one sentence, and nothing is
// written after the refusal.
TEST_F(StateCommandsTest, AProgramWithHigherRightsIsNamedAsTheReasonOfEveryRefusal) {
    desktop.window(kWindow).ids.process = 900;
    desktop.runWithHigherRights(900);
    const CommandOutcome shown = RunStateCommand(desktop, kWindow, StateCommand::Show, true);
    const CloseOutcome closed = RunCloseCommand(desktop, kWindow, [] { return true; });
    const CommandOutcome styled = ApplySetStyle(desktop, kWindow, {0, 0, 0}, {"1", "2", "3"}, false);
    EditMoveRead read;
    read.text = "Target";
    const EditMoveOutcome moved = ApplyEditMove(desktop, kWindow, read, "New", EditMoveValues{1, 2, 3, 4, 5, 6, 7, 8});
    for (const std::string& report : {shown.Report(), closed.outcome.Report(), styled.Report(),
                                      CommandOutcome{moved.reply, {}}.Report()})
        EXPECT_EQ(report, "Windows keeps Vantrel away from this window: its program runs with higher rights. Run "
                          "Vantrel as administrator to change it.");
    EXPECT_TRUE(desktop.journal.empty());
    EXPECT_TRUE(desktop.window(kWindow).visible);
}

}  // namespace
