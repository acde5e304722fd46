#pragma once
// Window from point and the position markers.

#include "locate/label_search.h"
#include "platform/desktop.h"

#include <windows.h>
#include <commctrl.h>

namespace vantrel::win32 {

// "Window from point": selects the node of the window under the mouse
// pointer, or says that the tree has none.
void WindowFromPointCommand(TreeCursor& tree, bool hexMode);

// "Show position": draws the arrows of the image list (indexes 12 to 15) on
// the screen at the window's corners.
void ShowPosition(HIMAGELIST images, Handle window);

// "Clear pointers": every window of the desktop repaints.
void ClearPointers();

}  // namespace vantrel::win32
