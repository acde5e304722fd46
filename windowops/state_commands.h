#pragma once
// The window state commands without their window: what each one asks of the
// desktop. The toggles take their direction from the check mark that the
// property list last set, never from the window itself.

#include "platform/desktop.h"
#include "windowops/window_requests.h"

#include <functional>

namespace vantrel {

enum class StateCommand { Show, Enable, Stayontop, Minimize, Restore, Maximize };

// The change a state command asks for. menuChecked is the check mark of the
// command's menu item; only the three toggles read it.
Change StateChange(StateCommand command, bool menuChecked);

// Runs one state command on window, unless the change is refused on one of
// Vantrel's own windows.
CommandOutcome RunStateCommand(Desktop& desktop, Handle window, StateCommand command, bool menuChecked,
                               OwnWindow own = OwnWindow::None);

struct CloseOutcome {
    bool sent = false;  // the close request was sent (the tree is rebuilt then)
    CommandOutcome outcome;
};

// Refuses what may not be closed of Vantrel's own; otherwise asks, and on Yes
// sends the close request. Nothing is sent when the user says No.
CloseOutcome RunCloseCommand(Desktop& desktop, Handle window, const std::function<bool()>& confirm,
                             OwnWindow own = OwnWindow::None);

}  // namespace vantrel
