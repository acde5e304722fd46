#define VANTREL_HOOK_BUILDING
#include "hooklib/vantrel_hook.h"
BOOL WINAPI SetMyHook(HWND, HWND) { return FALSE; }
BOOL WINAPI RemoveMyHook() { return TRUE; }
