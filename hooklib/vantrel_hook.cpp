// VANTREL.DLL: the operations vantrel.exe calls: SetMyHook, RemoveMyHook and
// SetMyHookOptions.
//
// SetMyHook sets the hooks on the watched window's thread. A process of the
// other bitness cannot load this library, so there the companion of that
// bitness (vantrel64.exe with VANTREL64.DLL beside a 32-bit VANTREL.DLL,
// vantrel32.exe with VANTREL32.DLL beside a 64-bit one) sets them with its own
// build of the library; it is started by the first Start that needs it and
// kept until vantrel.exe ends. Either way Start then proves that the library
// runs in the watched thread: a handshake message sent to the watched window
// carries a number that nobody else knows, and the hook procedure there writes
// its answer into the details header. Only then is the notify window written,
// and reporting begins. When anything fails, SetMyHook removes what it set and
// returns zero, with the reason (a HookFailure) as the thread's last-error code.
//
// The record is shared by every Vantrel that runs: one that catches owns it
// through its notify window, and another one is refused while that window
// lives. Stop clears only the owner's own words.

#define VANTREL_HOOK_BUILDING
#include "hooklib/vantrel_hook.h"

#include "base/scope_exit.h"
#include "hooklib/hook_core.h"
#include "hooklib/hook_rules.h"

#include <aclapi.h>

#include <string>

namespace vantrel::hook {
namespace {

// What this process's Start has set up.
std::uint32_t g_ownNotify = 0;   // the notify window this process wrote into the record
std::uint32_t g_ownWatched = 0;  // the window it watches
Route g_route = Route::Direct;
bool g_hooked = false;
// What the next Start watches and what reports carry (SetMyHookOptions).
HookWatch g_watch = HookWatch::Window;
std::uint32_t g_options = 0;

// A companion program this library has started, one per bitness.
struct Companion {
    HANDLE process = nullptr;
    DWORD processId = 0;
    HWND window = nullptr;
    std::uint32_t key = 0;  // given on its command line; every request carries it

    bool Alive() const {
        return process && ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT && ::IsWindow(window);
    }
    void Forget() {
        if (process) ::CloseHandle(process);
        process = nullptr;
        processId = 0;
        window = nullptr;
        key = 0;
    }
};
Companion g_companions[2];  // 32-bit, 64-bit

Companion& CompanionOf(Route route) { return g_companions[RouteBits(route) == 64 ? 1 : 0]; }

BOOL Fail(HookFailure failure) {
    ::SetLastError(static_cast<DWORD>(failure));
    return FALSE;
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
    // Only from this library's own folder, by its full path: never a program
    // of the current directory.
    const std::string folder = LibraryFolder();
    if (folder.empty()) return false;
    const std::string program = folder + CompanionProgram(RouteBits(route));
    if (::GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    const std::uint32_t key = UnforeseeableNumber();
    std::string commandLine = "\"" + program + "\" " + std::to_string(::GetCurrentProcessId()) + " " +
                              std::to_string(key);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &info))
        return false;
    ::CloseHandle(info.hThread);
    companion.process = info.hProcess;
    companion.processId = info.dwProcessId;
    companion.key = key;
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
    if (::SendMessageTimeoutA(companion.window, request, argument, static_cast<LPARAM>(companion.key),
                              SMTO_NORMAL | SMTO_ABORTIFHUNG, kCompanionRequestMs, &answer) &&
        answer == 1)
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

// True when the window is the live notify window of another running Vantrel:
// a window of another process, of the same class as ours, whose process has
// not ended and was started from a folder that holds this library (the one a
// Vantrel cannot start without). A window of any other program that only
// borrowed the class name is no catcher, and the record is taken from it.
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
    const std::string folder = ProgramFolder(processId);
    return alive && !folder.empty() &&
           ::GetFileAttributesA((folder + "VANTREL.DLL").c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Who made a shared object, as its security tells: the record and the
// details object must come from this user (or from the administrators or
// the system, who have more rights), and not from a program that runs with
// fewer rights than a plain program of the user (a sandbox), unless Vantrel
// itself runs with as few.
// That is the one maker a catch can trust: a program that made the objects
// first could otherwise still write into them while Vantrel reads them, and
// through them send the watched programs' reports where it likes. Objects
// that already exist are no sign of that by themselves: the library stays
// loaded in every program that an earlier (or killed) Vantrel watched, and
// keeps the objects open there, and another Vantrel may have its Catch
// Messages window open; their maker was a Vantrel of this user all the same.
bool MadeByTrustedMaker(HANDLE object) {
    PSID owner = nullptr;
    PACL labels = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION | LABEL_SECURITY_INFORMATION,
                          &owner, nullptr, nullptr, &labels, &descriptor) != ERROR_SUCCESS)
        return false;
    const ScopeExit freeDescriptor([descriptor] { ::LocalFree(descriptor); });
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const ScopeExit closeToken([token] { ::CloseHandle(token); });
    // Without a label the system counts a program as a plain one of the user.
    DWORD ownLevel = SECURITY_MANDATORY_MEDIUM_RID;
    union {
        TOKEN_USER user;
        TOKEN_MANDATORY_LABEL label;
        BYTE room[SECURITY_MAX_SID_SIZE + 64];
    } info{};
    DWORD size = 0;
    if (::GetTokenInformation(token, TokenIntegrityLevel, &info, sizeof info, &size) && info.label.Label.Sid)
        ownLevel = *::GetSidSubAuthority(info.label.Label.Sid, *::GetSidSubAuthorityCount(info.label.Label.Sid) - 1);
    const DWORD lowest = ownLevel < SECURITY_MANDATORY_MEDIUM_RID ? ownLevel : SECURITY_MANDATORY_MEDIUM_RID;
    for (DWORD i = 0; labels && i < labels->AceCount; ++i) {
        ACE_HEADER* ace = nullptr;
        if (!::GetAce(labels, i, reinterpret_cast<void**>(&ace)) || ace->AceType != SYSTEM_MANDATORY_LABEL_ACE_TYPE)
            continue;
        const PSID level = &reinterpret_cast<SYSTEM_MANDATORY_LABEL_ACE*>(ace)->SidStart;
        if (*::GetSidSubAuthority(level, *::GetSidSubAuthorityCount(level) - 1) < lowest) return false;
    }
    // An object without an owner (one some systems make without security) has no other maker to fear.
    if (!owner) return true;
    if (!::GetTokenInformation(token, TokenUser, &info, sizeof info, &size)) return false;
    if (::EqualSid(owner, info.user.User.Sid)) return true;
    for (WELL_KNOWN_SID_TYPE trusted : {WinBuiltinAdministratorsSid, WinLocalSystemSid}) {
        BYTE sid[SECURITY_MAX_SID_SIZE];
        DWORD sidSize = sizeof sid;
        if (::CreateWellKnownSid(trusted, nullptr, sid, &sidSize) && ::EqualSid(owner, sid)) return true;
    }
    return false;
}

// Takes the record for this process while nobody else lives in it: the notify
// word goes to 0 (reporting of a Vantrel that has gone stops), the watched
// word to the pending form of the watched window, and the writers' lock is
// free (whatever held it belonged to a catch that is over, or was planted).
bool ClaimRecord(HookRecord& record, HWND notifyWindow, std::uint32_t watched) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::uint32_t current = Load(record.notifyWindow);
        if (current && IsOtherLiveCatcher(current, notifyWindow)) return false;
        if (CompareExchange(record.notifyWindow, current, 0)) {
            Store(record.watchedWindow, PendingWindow(watched));
            Store(record.writerLock, 0);
            return true;
        }
    }
    return false;
}

// Sends the handshake to the watched window and tells what came of it: it
// came through only when the hook procedure there answered its number.
BOOL Handshake(Channel& channel, HWND watched, std::uint32_t watchedValue) {
    if (::GetWindowThreadProcessId(watched, nullptr) == ::GetCurrentThreadId()) {
        // One of Vantrel's own windows, hooked by a companion: a thread learns
        // of hooks that another process set on it when it next looks at its
        // queue (so under Wine), and the handshake is a call within this thread.
        MSG nothing;
        ::PeekMessageA(&nothing, nullptr, HandshakeMessage(), HandshakeMessage(), PM_NOREMOVE);
    }
    const std::uint32_t number = UnforeseeableNumber();
    Store(channel.details->handshakeAnswer, 0);
    DWORD_PTR answer = 0;
    const BOOL sent = ::SendMessageTimeoutA(watched, HandshakeMessage(), 0, static_cast<LPARAM>(number),
                                            SMTO_NORMAL | SMTO_ABORTIFHUNG, kHandshakeMs, &answer);
    const DWORD error = ::GetLastError();
    if (Load(channel.record->watchedWindow) == watchedValue &&
        Load(channel.details->handshakeAnswer) == HandshakeAnswer(number))
        return TRUE;
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
    if (!MadeByTrustedMaker(channel->recordMapping) || !MadeByTrustedMaker(channel->detailsMapping)) {
        CloseChannel();
        return Fail(HookFailure::ForeignRecord);
    }
    HookRecord& record = *channel->record;
    const std::uint32_t watchedValue = WindowValue(watched);
    if (!ClaimRecord(record, notifyWindow, watchedValue)) {
        CloseChannel();
        return Fail(HookFailure::OtherCatching);
    }

    g_route = RouteFor(processId);
    if (g_route == Route::Direct) {
        // Every message of a window is handled by the thread that made it, so
        // the hooks go into that thread alone: no other program on the
        // desktop, nor Vantrel itself while it handles the reports, runs them.
        g_hooked = SetThreadHooks(thread);
        if (!g_hooked) return Abandon(record, watchedValue, static_cast<DWORD>(HookFailure::NoEntry));
    } else {
        Companion& companion = CompanionOf(g_route);
        if (!StartCompanion(companion, g_route))
            return Abandon(record, watchedValue, static_cast<DWORD>(HookFailure::NoCompanion));
        g_hooked = AskCompanion(companion, kCompanionSetHooks, thread);
        if (!g_hooked) return Abandon(record, watchedValue, static_cast<DWORD>(HookFailure::NoCompanion));
    }

    if (!Handshake(*channel, watched, watchedValue)) {
        const DWORD failure = ::GetLastError();
        // A companion that died meanwhile is the reason, whatever the window did.
        const bool companionGone = g_route != Route::Direct && !CompanionOf(g_route).Alive();
        return Abandon(record, watchedValue, companionGone ? static_cast<DWORD>(HookFailure::NoCompanion) : failure);
    }
    // Reporting begins once the notify window is known, unless another
    // Vantrel took the record in the meantime.
    if (!CompareExchange(record.notifyWindow, 0, WindowValue(notifyWindow)))
        return Abandon(record, watchedValue, static_cast<DWORD>(HookFailure::OtherCatching));
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

BOOL WINAPI SetMyHookOptions(DWORD watch, DWORD options) {
    using namespace vantrel::hook;
    if (watch >= vantrel::kHookWatchCount || (options & ~vantrel::kHookOptionsKnown)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    g_watch = static_cast<vantrel::HookWatch>(watch);
    g_options = options;
    return TRUE;
}
