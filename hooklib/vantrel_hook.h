#pragma once
// The two operations of the hook library VANTREL.DLL, bound by name when
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
