// VANTREL.DLL: the two operations vantrel.exe calls, SetMyHook and RemoveMyHook.
//
// SetMyHook sets the hooks on the watched window's thread. A process of the
// other bitness cannot load this library, so there the companion of that
// bitness (vantrel64.exe with VANTREL64.DLL beside a 32-bit VANTREL.DLL,
// vantrel32.exe with VANTREL32.DLL beside a 64-bit one) sets them with its own
// build of the library; it is started by the first Start that needs it and
// kept until vantrel.exe ends. Either way Start then proves that the library
// runs in the watched thread: a handshake message sent to the watched window
// is acknowledged by the hook procedure there through the shared record.
// Only then is the notify window written, and reporting begins. When
// anything fails, SetMyHook removes what it set and returns zero, with the
// reason (a HookFailure) as the thread's last-error code.
//
// The record is shared by every Vantrel that runs: one that catches owns it
// through its notify window, and another one is refused while that window
// lives. Stop clears only the owner's own words.

#define VANTREL_HOOK_BUILDING
#include "hooklib/vantrel_hook.h"

#include "hooklib/hook_core.h"
#include "hooklib/hook_rules.h"

#include <string>

namespace vantrel::hook {
namespace {

// What this process's Start has set up.
std::uint32_t g_ownNotify = 0;   // the notify window this process wrote into the record
std::uint32_t g_ownWatched = 0;  // the window it watches
Route g_route = Route::Direct;
bool g_hooked = false;

// A companion program this library has started, one per bitness.
struct Companion {
    HANDLE process = nullptr;
    DWORD processId = 0;
    HWND window = nullptr;

    bool Alive() const {
        return process && ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT && ::IsWindow(window);
    }
    void Forget() {
        if (process) ::CloseHandle(process);
        process = nullptr;
        processId = 0;
        window = nullptr;
    }
};
Companion g_companions[2];  // 32-bit, 64-bit

Companion& CompanionOf(Route route) { return g_companions[RouteBits(route) == 64 ? 1 : 0]; }

BOOL Fail(HookFailure failure) {
    ::SetLastError(static_cast<DWORD>(failure));
    return FALSE;
}

std::string LibraryFolder() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameA(LibraryModule(), path, sizeof path);
    std::string text(path, length);
    return text.substr(0, text.find_last_of("\\/") + 1);
}

bool Is64BitProcess() { return sizeof(void*) == 8; }

bool IsWow64(HANDLE process, bool& wow64) {
    using IsWow64Function = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 = reinterpret_cast<IsWow64Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL answer = FALSE;
    if (!isWow64 || !isWow64(process, &answer)) return false;
    wow64 = answer != FALSE;
    return true;
}

Route RouteFor(DWORD processId) {
    bool selfWow64 = false;
    const bool os64 = Is64BitProcess() || (IsWow64(::GetCurrentProcess(), selfWow64) && selfWow64);
    std::optional<bool> targetWow64;
    if (HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {
        bool wow64 = false;
        if (IsWow64(process, wow64)) targetWow64 = wow64;
        ::CloseHandle(process);
    }
    char value[8] = {};
    const DWORD length = ::GetEnvironmentVariableA(kCompanionSwitch, value, sizeof value);
    const bool throughCompanion = length == 1 && value[0] == '1';
    return ChooseRoute(Is64BitProcess(), os64, targetWow64, throughCompanion);
}

// The companion's message-only window, once the companion has made it.
HWND FindCompanionWindow(DWORD processId) {
    for (HWND window = ::FindWindowExA(HWND_MESSAGE, nullptr, kCompanionClass, nullptr); window;
         window = ::FindWindowExA(HWND_MESSAGE, window, kCompanionClass, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return nullptr;
}

// Starts the companion of the route's bitness unless it runs already.
bool StartCompanion(Companion& companion, Route route) {
    if (companion.Alive()) return true;
    if (companion.process) ::TerminateProcess(companion.process, 1);
    companion.Forget();
    const std::string program = LibraryFolder() + CompanionProgram(RouteBits(route));
    if (::GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    std::string commandLine = "\"" + program + "\" " + std::to_string(::GetCurrentProcessId());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          LibraryFolder().c_str(), &startup, &info))
        return false;
    ::CloseHandle(info.hThread);
    companion.process = info.hProcess;
    companion.processId = info.dwProcessId;
    const DWORD start = ::GetTickCount();
    while (!(companion.window = FindCompanionWindow(companion.processId))) {
        // The wait is on the companion itself: one that ends is given up at once.
        if (::WaitForSingleObject(companion.process, 20) == WAIT_OBJECT_0 ||
            ::GetTickCount() - start > kCompanionStartMs) {
            ::TerminateProcess(companion.process, 1);
            companion.Forget();
            return false;
        }
    }
    return true;
}

bool AskCompanion(Companion& companion, UINT request, WPARAM argument) {
    if (!companion.Alive()) return false;
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutA(companion.window, request, argument, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                              kCompanionRequestMs, &answer) && answer == 1)
        return true;
    // A companion that does not do what it is asked is of no further use:
    // the next Start starts a new one.
    ::TerminateProcess(companion.process, 1);
    companion.Forget();
    return false;
}

void RemoveHooks() {
    if (!g_hooked) return;
    if (g_route == Route::Direct) RemoveThreadHooks();
    else AskCompanion(CompanionOf(g_route), kCompanionRemoveHooks, 0);
    g_hooked = false;
}

// True when the window is the live notify window of another running Vantrel
// (a window of another process, of the same class as ours, whose process has
// not ended).
bool IsOtherLiveCatcher(std::uint32_t value, HWND ours) {
    const HWND window = ValueWindow(value);
    if (!::IsWindow(window)) return false;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (!processId || processId == ::GetCurrentProcessId()) return false;
    char theirs[128] = {}, mine[128] = {};
    ::GetClassNameA(window, theirs, sizeof theirs);
    ::GetClassNameA(ours, mine, sizeof mine);
    if (std::string(theirs) != mine) return false;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool alive = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    ::CloseHandle(process);
    return alive;
}

// Takes the record for this process while nobody else lives in it: the notify
// word goes to 0 (reporting of a Vantrel that has gone stops) and the watched
// word to the pending form of the watched window.
bool ClaimRecord(HookRecord& record, HWND notifyWindow, std::uint32_t watched) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::uint32_t current = Load(record.notifyWindow);
        if (current && IsOtherLiveCatcher(current, notifyWindow)) return false;
        if (CompareExchange(record.notifyWindow, current, 0)) {
            Store(record.watchedWindow, PendingWindow(watched));
            return true;
        }
    }
    return false;
}

// Sends the handshake to the watched window and tells what came of it.
BOOL Handshake(HookRecord& record, HWND watched, std::uint32_t watchedValue) {
    if (::GetWindowThreadProcessId(watched, nullptr) == ::GetCurrentThreadId()) {
        // One of Vantrel's own windows, hooked by a companion: a thread learns
        // of hooks that another process set on it when it next looks at its
        // queue (so under Wine), and the handshake is a call within this thread.
        MSG nothing;
        ::PeekMessageA(&nothing, nullptr, HandshakeMessage(), HandshakeMessage(), PM_NOREMOVE);
    }
    DWORD_PTR answer = 0;
    const BOOL sent = ::SendMessageTimeoutA(watched, HandshakeMessage(), 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                            kHandshakeMs, &answer);
    const DWORD error = ::GetLastError();
    if (Load(record.watchedWindow) == watchedValue) return TRUE;
    if (sent) return Fail(HookFailure::NoEntry);
    if (!::IsWindow(watched) || error == ERROR_INVALID_WINDOW_HANDLE) return Fail(HookFailure::NoWindow);
    return Fail(HookFailure::NoAnswer);
}

// Undoes a Start that did not come through: the hooks, and the record's words
// as long as they are still this attempt's.
BOOL Abandon(HookRecord& record, std::uint32_t watchedValue, DWORD failure) {
    RemoveHooks();
    if (!CompareExchange(record.watchedWindow, PendingWindow(watchedValue), 0))
        CompareExchange(record.watchedWindow, watchedValue, 0);
    CloseChannel();
    ::SetLastError(failure);
    return FALSE;
}

}  // namespace
}  // namespace vantrel::hook

BOOL WINAPI SetMyHook(HWND notifyWindow, HWND watched) {
    using namespace vantrel::hook;
    using vantrel::HookFailure;
    using vantrel::HookRecord;
    if (g_ownNotify) RemoveMyHook();
    DWORD processId = 0;
    const DWORD thread = ::GetWindowThreadProcessId(watched, &processId);
    if (!thread || !::IsWindow(watched)) return Fail(HookFailure::NoWindow);
    Channel* channel = OpenChannel();
    if (!channel) return Fail(HookFailure::NoRecord);
    HookRecord* record = channel->record;
    const std::uint32_t watchedValue = WindowValue(watched);
    if (!ClaimRecord(*record, notifyWindow, watchedValue)) {
        CloseChannel();
        return Fail(HookFailure::OtherCatching);
    }

    g_route = RouteFor(processId);
    if (g_route == Route::Direct) {
        // Every message of a window is handled by the thread that made it, so
        // the hooks go into that thread alone: no other program on the
        // desktop, nor Vantrel itself while it handles the reports, runs them.
        g_hooked = SetThreadHooks(thread);
        if (!g_hooked) return Abandon(*record, watchedValue, static_cast<DWORD>(HookFailure::NoEntry));
    } else {
        Companion& companion = CompanionOf(g_route);
        if (!StartCompanion(companion, g_route))
            return Abandon(*record, watchedValue, static_cast<DWORD>(HookFailure::NoCompanion));
        g_hooked = AskCompanion(companion, kCompanionSetHooks, thread);
        if (!g_hooked) return Abandon(*record, watchedValue, static_cast<DWORD>(HookFailure::NoCompanion));
    }

    if (!Handshake(*record, watched, watchedValue)) {
        const DWORD failure = ::GetLastError();
        // A companion that died meanwhile is the reason, whatever the window did.
        const bool companionGone = g_route != Route::Direct && !CompanionOf(g_route).Alive();
        return Abandon(*record, watchedValue,
                       companionGone ? static_cast<DWORD>(HookFailure::NoCompanion) : failure);
    }
    // Reporting begins once the notify window is known, unless another
    // Vantrel took the record in the meantime.
    if (!CompareExchange(record->notifyWindow, 0, WindowValue(notifyWindow)))
        return Abandon(*record, watchedValue, static_cast<DWORD>(HookFailure::OtherCatching));
    g_ownNotify = WindowValue(notifyWindow);
    g_ownWatched = watchedValue;
    return TRUE;
}

BOOL WINAPI RemoveMyHook() {
    using namespace vantrel::hook;
    if (g_ownNotify) {
        // The record's words are cleared only while they are this process's:
        // Stop in one Vantrel never ends another's catching. Instances in
        // other processes stop reporting at once, even before the hooks go.
        if (Channel* channel = OpenChannel()) {
            if (CompareExchange(channel->record->notifyWindow, g_ownNotify, 0))
                CompareExchange(channel->record->watchedWindow, g_ownWatched, 0);
        }
    }
    g_ownNotify = 0;
    g_ownWatched = 0;
    RemoveHooks();
    // The program releases its shared objects after this call: let go of
    // ours too, so the next showing of its window starts from fresh ones.
    CloseChannel();
    return TRUE;
}
