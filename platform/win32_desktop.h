#pragma once
// The desktop as the running system shows it: the Win32 implementation of
// Desktop, the only place that walks, queries and changes examined windows.

#include "platform/desktop.h"

#include <windows.h>

#include <functional>

namespace vantrel::win32 {

inline HWND ToHwnd(Handle h) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(h)); }
inline Handle ToHandle(HWND h) { return static_cast<Handle>(reinterpret_cast<UINT_PTR>(h)); }

// The one desktop of the running program.
Desktop& TheDesktop();

// True while a change asked of another program's window waits for its
// answer. Vantrel keeps painting and can be moved meanwhile; a command that
// would ask another change waits until the answer has come.
bool RequestPending();

// Called with true when a close request has waited kWaitNoticeMs for the
// other program's answer, and with false once the wait is over.
void SetWaitNotice(std::function<void(bool waiting)> notice);
inline constexpr DWORD kWaitNoticeMs = 3000;

// How long a window's thread may take to answer WM_GETTEXT before its text
// reads as empty, in milliseconds.
inline constexpr UINT kTextTimeoutMs = 1000;

// How long a change asked of another thread's window may take before Vantrel
// reports that the window did not answer, in milliseconds: the time the
// system gives a thread before it counts it as hung. A living window may well
// be busy for a while over a change (under Wine hiding a window of another
// program waits up to two seconds for the display). A close request waits on
// as long as the thread answers a probe of the same bound after each while:
// the window may be asking its own user.
inline constexpr DWORD kRequestTimeoutMs = 5000;

}  // namespace vantrel::win32
