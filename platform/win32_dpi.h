#pragma once
// The screen scale of Vantrel's own windows. Where the system tells it per
// window (Windows 10 1607 and later) that is asked; the functions are looked up
// when first used, so that the program still starts on older systems, which
// give the scale of the screen's device context instead.

#include "platform/desktop.h"

#include <windows.h>

#include <optional>

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

// Any window's pixels per inch and awareness of the screen's scale, and a
// process's awareness (a handle with the right to query limited
// information), as the system tells them: nullopt on a system that does not.
WindowScale ScaleOfWindow(HWND window);
std::optional<DpiAwareness> ProcessDpiAwareness(HANDLE process);

// A function of a system library, looked up once, from the system folder
// only: nullptr where the library or the function is missing.
FARPROC SystemFunction(const wchar_t* library, const char* name);

}  // namespace vantrel::win32
