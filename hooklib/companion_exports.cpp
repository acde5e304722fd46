// The two operations of a companion's hook library (VANTREL32.DLL or
// VANTREL64.DLL), which only the companion program of the same bitness calls:
// it sets and removes the hooks on the thread that vantrel.exe names.

#include "hooklib/hook_core.h"

extern "C" BOOL WINAPI CompanionSetHooks(DWORD thread) { return vantrel::hook::SetThreadHooks(thread); }

extern "C" BOOL WINAPI CompanionRemoveHooks() {
    vantrel::hook::RemoveThreadHooks();
    return TRUE;
}
