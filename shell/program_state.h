#pragma once
// Program-wide state shared by the subsystems. It exists from start-up to the
// end and is touched only by the user-interface thread.

#include "platform/desktop.h"

#include <string>

namespace vantrel {

// The window every command acts on: written only by the tree's selection
// handler, never cleared, so it outlives the window it names.
extern Handle SelectedWindow;
// Numbers shown in hexadecimal (true) or decimal (false).
extern bool HexMode;
// Directory of the executable with its trailing backslash.
extern std::string ProgramDir;

}  // namespace vantrel
