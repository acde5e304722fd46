#pragma once
// The operations of the hook library VANTREL.DLL, bound by name when
// vantrel.exe is loaded.

#include <windows.h>

#ifdef VANTREL_HOOK_BUILDING
// The exports and their plain names are listed in vantrel.def.
#define VANTREL_HOOK_API extern "C"
#else
#define VANTREL_HOOK_API extern "C" __declspec(dllimport)
#endif

// Starts reporting the messages of watched to notifyWindow. Non-zero: the
// hook is set and reporting has begun.
VANTREL_HOOK_API BOOL WINAPI SetMyHook(HWND notifyWindow, HWND watched);
// Stops reporting; harmless when no hook is set.
VANTREL_HOOK_API BOOL WINAPI RemoveMyHook();
// What the next Start watches (a HookWatch of hooklib/hook_channel.h) and
// what reports carry (kHookOption* bits), kept until changed; the start
// values are HookWatch::Window and 0. While catching, the details option
// takes effect at once and the watch at the next Start. Zero, with
// ERROR_INVALID_PARAMETER as the last error, for a watch or an option bit it
// does not know (nothing then changes), or when the details could not be
// switched in the watched programs (the option is then as before).
VANTREL_HOOK_API BOOL WINAPI SetMyHookOptions(DWORD watch, DWORD options);
