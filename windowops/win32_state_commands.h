#pragma once
// The window state commands and Close, run for a host.

#include "windowops/command_host.h"

namespace vantrel::win32 {

// Show, Enable, Stay on top, Minimize, Restore, Maximize.
void RunStateCommand(CommandHost& host, StateCommand command);
// Close, after the user's confirmation.
void RunCloseCommand(CommandHost& host);

}  // namespace vantrel::win32
