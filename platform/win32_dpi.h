#pragma once
// The screen scale of Vantrel's own windows. Where the system tells it per
// window (Windows 10 1607 and later) that is asked; the functions are looked up
// when first used, so that the program still starts on older systems, which
// give the scale of the screen's device context instead.

#include <windows.h>

// Messages of the screen scale, where the system headers leave them out.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace vantrel::win32 {

// The pixels per inch of the monitor the window is on.
int WindowDpi(HWND window);

// The outer rectangle of a window with the given client rectangle, its frame
// measured for the pixels per inch given.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);

}  // namespace vantrel::win32
