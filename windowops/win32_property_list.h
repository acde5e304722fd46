#pragma once
// The property list control: filled with the rows of one window, "Copy
// value" of its selected row and "Copy all" of its rows. The toggle states the rows give go back to the
// caller, which sets its own commands from them.

#include "platform/desktop.h"
#include "windowops/property_rows.h"

#include <windows.h>

#include <optional>

namespace vantrel::win32 {

// Refills the list with the rows of the window in the given notation and
// returns what the toggle commands are to show. Reading the rows asks other
// programs for texts, and Vantrel answers what they send it meanwhile: when
// a newer fill ran among those answers (another program selected a node),
// its rows stay and this fill returns nothing.
std::optional<ToggleStates> FillPropertyList(HWND list, Desktop& desktop, Handle window, bool hexMode);

// Puts the selected row's value and CR LF on the clipboard, owned by owner;
// nothing when no row is selected.
void CopySelectedValue(HWND list, HWND owner);

// Puts every row the list shows on the clipboard as "Name: value" lines,
// owned by owner; nothing when the list is empty.
void CopyAllRows(HWND list, HWND owner);

}  // namespace vantrel::win32
