// vantrel32.exe / vantrel64.exe: the hook companion of one bitness.
//
//   vantrel64.exe <process id of vantrel.exe> <key>
//
// A program of the other bitness cannot load vantrel.exe's VANTREL.DLL, so
// vantrel.exe's library starts this companion, which sets the hooks with the
// library of its own bitness (VANTREL64.DLL or VANTREL32.DLL, beside it). It
// shows nothing: its one window is a message-only window (class
// VantrelHookCompanion), invisible to every walk of the desktop, which takes
// the requests the library sends with a time limit: set the hooks on one
// more thread, remove them all, switch the return hooks, scout a process.
// Only requests that are sent (not posted) and carry the key of its command
// line are taken: no other program can have it hook a thread or let one go.
// The one request without a key is a new thread's of the scouted process,
// asking for its own hooks, which its library takes only for a thread of
// that process. Everything else is the library's, which reports through the
// same shared record as VANTREL.DLL.
//
// Before anything else it restricts where libraries are looked for to the
// system folder, and loads its own library by its full path: no file of the
// current directory, or of any other folder, is ever loaded into it.
//
// It waits on the process that started it and, when that process ends (also
// when it crashes or is killed), removes its hooks and ends, so no hook of
// it outlives Vantrel. Nothing else ends it: a closing request or a quit
// message from another program is let by.

#include "base/path.h"
#include "hooklib/hook_rules.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using NumberFunction = BOOL(WINAPI*)(DWORD);
using RemoveHooksFunction = BOOL(WINAPI*)();

NumberFunction g_setHooks = nullptr;
RemoveHooksFunction g_removeHooks = nullptr;
NumberFunction g_setReturns = nullptr;
NumberFunction g_setScout = nullptr;
NumberFunction g_threadRequest = nullptr;
std::uint32_t g_key = 0;

// Sent (with SendMessage or SendMessageCallback), not posted.
bool Sent() { return (::InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_CALLBACK)) != 0; }

// A request from the Vantrel that started this companion: sent, with its key.
bool FromVantrel(LPARAM key) { return static_cast<std::uint32_t>(key) == g_key && Sent(); }

LRESULT CALLBACK CompanionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto number = static_cast<DWORD>(wParam);
    switch (message) {
        case vantrel::hook::kCompanionSetHooks:
            return FromVantrel(lParam) && g_setHooks(number) ? 1 : 0;
        case vantrel::hook::kCompanionRemoveHooks:
            return FromVantrel(lParam) && g_removeHooks() ? 1 : 0;
        case vantrel::hook::kCompanionSetReturns:
            return FromVantrel(lParam) && g_setReturns(number) ? 1 : 0;
        case vantrel::hook::kCompanionSetScout:
            return FromVantrel(lParam) && g_setScout(number) ? 1 : 0;
        case vantrel::hook::kHookThreadRequest:
            return Sent() && g_threadRequest(number) ? 1 : 0;
        case WM_CLOSE:
            return 0;
        default:
            return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

// Libraries come from the system folder only (the companion's own library
// is loaded by its full path). Systems without that switch at least leave
// the current directory out of the search.
void RestrictLibrarySearch() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDirectories = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (!setDirectories || !setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) ::SetDllDirectoryA("");
}

// The companion's own folder, "" when its path is not a full one.
std::string OwnFolder() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return length < sizeof path ? vantrel::FolderOfFullPath(std::string_view(path, length)) : std::string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    RestrictLibrarySearch();
    char* rest = nullptr;
    const auto parentId = static_cast<DWORD>(std::strtoul(commandLine, &rest, 10));
    g_key = static_cast<std::uint32_t>(std::strtoul(rest, nullptr, 10));
    HANDLE parent = parentId && g_key ? ::OpenProcess(SYNCHRONIZE, FALSE, parentId) : nullptr;
    if (!parent) return 1;

    const int bits = sizeof(void*) == 8 ? 64 : 32;
    const std::string folder = OwnFolder();
    HMODULE library =
        folder.empty() ? nullptr : ::LoadLibraryA((folder + vantrel::hook::CompanionLibrary(bits)).c_str());
    if (!library) return 2;
    auto function = [library](const char* name) {
        return reinterpret_cast<void*>(::GetProcAddress(library, name));
    };
    g_setHooks = reinterpret_cast<NumberFunction>(function("CompanionSetHooks"));
    g_removeHooks = reinterpret_cast<RemoveHooksFunction>(function("CompanionRemoveHooks"));
    g_setReturns = reinterpret_cast<NumberFunction>(function("CompanionSetReturns"));
    g_setScout = reinterpret_cast<NumberFunction>(function("CompanionSetScout"));
    g_threadRequest = reinterpret_cast<NumberFunction>(function("CompanionThreadRequest"));
    if (!g_setHooks || !g_removeHooks || !g_setReturns || !g_setScout || !g_threadRequest) return 2;

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
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    g_removeHooks();
    ::DestroyWindow(window);
    ::CloseHandle(parent);
    return 0;
}
