// The operations of a companion's hook library (VANTREL32.DLL or
// VANTREL64.DLL), which only the companion program of the same bitness calls:
// it sets and removes the hooks that vantrel.exe asks for, and takes the
// requests of new threads of a scouted process.

#include "hooklib/hook_core.h"

extern "C" BOOL WINAPI CompanionSetHooks(DWORD thread) { return vantrel::hook::AddThreadHooks(thread); }

extern "C" BOOL WINAPI CompanionRemoveHooks() {
    vantrel::hook::RemoveThreadHooks();
    return TRUE;
}

extern "C" BOOL WINAPI CompanionSetReturns(BOOL on) { return vantrel::hook::SetReturnHooks(on != FALSE); }

extern "C" BOOL WINAPI CompanionSetScout(DWORD process) { return vantrel::hook::SetScout(process); }

extern "C" BOOL WINAPI CompanionThreadRequest(DWORD thread) { return vantrel::hook::TakeThreadRequest(thread); }
