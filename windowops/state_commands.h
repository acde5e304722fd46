#pragma once
// The window state commands without their window: what each one asks of the
// desktop. The toggles take their direction from the check mark that the
// property list last set, never from the window itself.

#include "platform/desktop.h"

#include <functional>

namespace vantrel {

enum class StateCommand { Show, Enable, Stayontop, Minimize, Restore, Maximize };

// Runs one state command on window. menuChecked is the check mark of the
// command's menu item; only the three toggles read it.
void RunStateCommand(Desktop& desktop, Handle window, StateCommand command, bool menuChecked);

// Asks, and on Yes sends the close request. True when the request was sent
// (the tree is rebuilt then), false when the user said No.
bool RunCloseCommand(Desktop& desktop, Handle window, const std::function<bool()>& confirm);

}  // namespace vantrel
