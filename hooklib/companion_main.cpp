// vantrel32.exe / vantrel64.exe: the hook companion of one bitness.
//
//   vantrel64.exe <process id of vantrel.exe>
//
// A program of the other bitness cannot load vantrel.exe's VANTREL.DLL, so
// vantrel.exe's library starts this companion, which sets the hooks with the
// library of its own bitness (VANTREL64.DLL or VANTREL32.DLL, beside it). It
// shows nothing: its one window is a message-only window (class
// VantrelHookCompanion), invisible to every walk of the desktop, which takes
// two requests, sent with a time limit by the library: set the hooks on a
// thread, and remove them. Everything else is the library's, which reports
// through the same shared record as VANTREL.DLL.
//
// It waits on the process that started it and, when that process ends (also
// when it crashes or is killed), removes its hooks and ends, so no hook of
// it outlives Vantrel.

#include "hooklib/hook_rules.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

using SetHooksFunction = BOOL(WINAPI*)(DWORD);
using RemoveHooksFunction = BOOL(WINAPI*)();

SetHooksFunction g_setHooks = nullptr;
RemoveHooksFunction g_removeHooks = nullptr;

LRESULT CALLBACK CompanionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == vantrel::hook::kCompanionSetHooks) return g_setHooks(static_cast<DWORD>(wParam)) ? 1 : 0;
    if (message == vantrel::hook::kCompanionRemoveHooks) return g_removeHooks() ? 1 : 0;
    return ::DefWindowProcA(window, message, wParam, lParam);
}

std::string OwnFolder() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length);
    return text.substr(0, text.find_last_of("\\/") + 1);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const auto parentId = static_cast<DWORD>(std::strtoul(commandLine, nullptr, 10));
    HANDLE parent = parentId ? ::OpenProcess(SYNCHRONIZE, FALSE, parentId) : nullptr;
    if (!parent) return 1;

    const int bits = sizeof(void*) == 8 ? 64 : 32;
    HMODULE library = ::LoadLibraryA((OwnFolder() + vantrel::hook::CompanionLibrary(bits)).c_str());
    if (!library) return 2;
    g_setHooks = reinterpret_cast<SetHooksFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, "CompanionSetHooks")));
    g_removeHooks = reinterpret_cast<RemoveHooksFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, "CompanionRemoveHooks")));
    if (!g_setHooks || !g_removeHooks) return 2;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CompanionProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = vantrel::hook::kCompanionClass;
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowExA(0, vantrel::hook::kCompanionClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    instance, nullptr);
    if (!window) return 3;

    // Requests are handled as they come; every second the wait ends once to
    // look again, though the process's end wakes it at once.
    for (;;) {
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &parent, FALSE, 1000, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0 || ::WaitForSingleObject(parent, 0) == WAIT_OBJECT_0) break;
        MSG msg;
        bool quit = false;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) quit = true;
            ::DispatchMessageA(&msg);
        }
        if (quit) break;
    }
    g_removeHooks();
    ::DestroyWindow(window);
    ::CloseHandle(parent);
    return 0;
}
