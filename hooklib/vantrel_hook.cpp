// VANTREL.DLL: the operations vantrel.exe calls: SetMyHook, RemoveMyHook and
// SetMyHookOptions.
//
// SetMyHook sets the hooks on the watched threads: the selected window's
// (the selected window, or every window of its thread), the threads of its
// window tree (the window and its descendants), or every thread of its
// process (its process); for the last two also a scout, through which a
// thread the process starts later asks for its hooks when it makes its first
// window. A process of the other bitness cannot load this library, so there
// the companion of that bitness (vantrel64.exe with VANTREL64.DLL beside a
// 32-bit VANTREL.DLL, vantrel32.exe with VANTREL32.DLL beside a 64-bit one)
// sets them with its own build of the library; it is started by the first
// Start that needs it and kept until vantrel.exe ends. Either way Start then
// proves that the library runs in the watched thread: a handshake message
// sent to the selected window carries a number that nobody else knows, and
// the hook procedure there writes its answer into the details header. Only
// then is the notify window written, and reporting begins. When anything
// fails, SetMyHook removes what it set and returns zero, with the reason (a
// HookFailure) as the thread's last-error code.
//
// Start never leaves Vantrel's thread unanswering: while it waits for the
// companion to start, for its answers and for the handshake, the thread keeps
// answering the messages sent to its windows and painting them (input waits).
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
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vantrel::hook {
namespace {

// What this process's Start has set up.
std::uint32_t g_ownNotify = 0;   // the notify window this process wrote into the record
std::uint32_t g_ownWatched = 0;  // the window it watches
Route g_route = Route::Direct;
bool g_hooked = false;
// What the next Start watches and what reports carry (SetMyHookOptions), and
// what the running catch takes.
HookWatch g_watch = HookWatch::Window;
std::uint32_t g_options = 0;
std::uint32_t g_catchOptions = 0;
// A Start is under way (its waits answer sent messages, which may call in
// again), and it was asked to give up meanwhile.
bool g_starting = false;
bool g_startCancelled = false;

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

// ---- Waiting without leaving Vantrel unanswering ------------------------------------

// Runs what waits for Vantrel's thread meanwhile: the messages other threads
// and programs send to its windows, and the painting of its windows. Input
// and everything else posted waits for the thread's own loop.
void AnswerAndPaint() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    // A window that never validates its area is painted a few times only.
    for (int i = 0; i < 16 && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT); ++i)
        ::DispatchMessageW(&msg);
}

// Waits until done() or timeoutMs has passed, answering and painting; object
// (may be null) wakes the wait when signalled.
template <typename Done>
bool WaitAnswering(HANDLE object, DWORD timeoutMs, Done&& done) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        AnswerAndPaint();
        if (done()) return true;
        const DWORD spent = ::GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        ::MsgWaitForMultipleObjectsEx(object ? 1 : 0, object ? &object : nullptr, timeoutMs - spent,
                                      QS_SENDMESSAGE | QS_PAINT, MWMO_INPUTAVAILABLE);
    }
}

// A message sent to another thread's window and waited for as WaitAnswering
// waits. Only the latest send's answer is taken: one that comes after its
// sender gave up belongs to nobody.
struct PendingAnswer {
    ULONG_PTR id = 0;
    bool done = false;
    LRESULT result = 0;
};
PendingAnswer g_pending;
ULONG_PTR g_lastSend = 0;

void CALLBACK AnswerCame(HWND, UINT, ULONG_PTR id, LRESULT result) {
    if (id != g_pending.id) return;
    g_pending.done = true;
    g_pending.result = result;
}

bool SendAnswering(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs, LRESULT* result) {
    g_pending = PendingAnswer{++g_lastSend, false, 0};
    if (!::SendMessageCallbackW(window, message, wParam, lParam, AnswerCame, g_pending.id)) return false;
    const bool answered = WaitAnswering(nullptr, timeoutMs, [] { return g_pending.done; });
    g_pending.id = 0;
    if (answered && result) *result = g_pending.result;
    return answered;
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
    // The wait is on the companion itself: one that ends is given up at once.
    bool ended = false;
    const DWORD start = ::GetTickCount();
    while (!(companion.window = FindCompanionWindow(companion.processId))) {
        const DWORD spent = ::GetTickCount() - start;
        if (ended || spent > kCompanionStartMs || g_startCancelled) {
            ::TerminateProcess(companion.process, 1);
            companion.Forget();
            return false;
        }
        ended = WaitAnswering(companion.process, 20, [&] {
            return ::WaitForSingleObject(companion.process, 0) == WAIT_OBJECT_0;
        });
    }
    return true;
}

// Asks the companion; true when it did it. A companion that does not answer
// is of no further use, nor one that refuses what it must do (mustDo): the
// next Start starts a new one.
bool AskCompanion(Companion& companion, UINT request, WPARAM argument, bool mustDo = true) {
    if (!companion.Alive()) return false;
    LRESULT answer = 0;
    const bool answered = SendAnswering(companion.window, request, argument, static_cast<LPARAM>(companion.key),
                                        kCompanionRequestMs, &answer);
    if (answered && answer == 1) return true;
    if (answered && !mustDo) return false;
    ::TerminateProcess(companion.process, 1);
    companion.Forget();
    return false;
}

LRESULT CALLBACK RequestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kHookThreadRequest)
        return (::InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_CALLBACK)) &&
                       TakeThreadRequest(static_cast<DWORD>(wParam))
                   ? 1
                   : 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// The scout's own thread, while this library sets the hooks itself: it sets
// the scout and keeps the window where new threads of the watched process
// ask for their hooks, and answers them at once, whatever Vantrel's thread is
// doing meanwhile (a long tree rebuild, a modal box). Systems that run a hook
// of another bitness in the thread that set it find this one always ready.
struct Scout {
    HANDLE thread = nullptr;
    DWORD id = 0;
    DWORD process = 0;
    HWND window = nullptr;
    HANDLE ready = nullptr;
    bool set = false;
};
Scout g_scout;

DWORD WINAPI RunScout(LPVOID) {
    constexpr wchar_t kClass[] = L"VantrelHookRequests";
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RequestWindowProc;
    windowClass.hInstance = LibraryModule();
    windowClass.lpszClassName = kClass;
    ::RegisterClassW(&windowClass);
    g_scout.window =
        ::CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, LibraryModule(), nullptr);
    g_scout.set = g_scout.window && SetScout(g_scout.process);
    ::SetEvent(g_scout.ready);
    MSG msg;
    while (g_scout.set && ::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    SetScout(0);
    if (g_scout.window) ::DestroyWindow(g_scout.window);
    return 0;
}

void StopScout() {
    if (!g_scout.thread) return;
    ::PostThreadMessageW(g_scout.id, WM_QUIT, 0, 0);
    WaitAnswering(g_scout.thread, 5000, [] { return ::WaitForSingleObject(g_scout.thread, 0) == WAIT_OBJECT_0; });
    ::CloseHandle(g_scout.thread);
    if (g_scout.ready) ::CloseHandle(g_scout.ready);
    g_scout = Scout{};
}

// Starts the scout's thread for process; the window where requests go.
HWND StartScout(DWORD process) {
    StopScout();
    g_scout.process = process;
    g_scout.ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!g_scout.ready) return nullptr;
    g_scout.thread = ::CreateThread(nullptr, 0, RunScout, nullptr, 0, &g_scout.id);
    if (!g_scout.thread) return nullptr;
    WaitAnswering(g_scout.ready, 5000, [] { return ::WaitForSingleObject(g_scout.ready, 0) == WAIT_OBJECT_0; });
    if (g_scout.set) return g_scout.window;
    StopScout();
    return nullptr;
}

void RemoveHooks() {
    if (!g_hooked) return;
    if (g_route == Route::Direct) RemoveThreadHooks();
    else AskCompanion(CompanionOf(g_route), kCompanionRemoveHooks, 0);
    g_hooked = false;
    StopScout();
}

// The threads of a window tree's windows in one process.
struct TreeThreads {
    DWORD process;
    std::vector<DWORD> threads;
};
BOOL CALLBACK AddTreeThread(HWND child, LPARAM data) {
    auto& walk = *reinterpret_cast<TreeThreads*>(data);
    DWORD owner = 0;
    const DWORD thread = ::GetWindowThreadProcessId(child, &owner);
    if (owner != walk.process || std::find(walk.threads.begin(), walk.threads.end(), thread) != walk.threads.end())
        return TRUE;
    try {
        walk.threads.push_back(thread);
    } catch (...) {
        return FALSE;  // out of memory: the threads found so far
    }
    return TRUE;
}

// The threads a watch hooks at Start, the selected window's first: its own,
// those of its window tree in its process, or every thread of its process.
std::vector<DWORD> ThreadsToHook(HookWatch watch, HWND watched, DWORD thread, DWORD process) {
    std::vector<DWORD> threads{thread};
    auto add = [&threads](DWORD other) {
        if (other && std::find(threads.begin(), threads.end(), other) == threads.end()) threads.push_back(other);
    };
    if (watch == HookWatch::Descendants) {
        TreeThreads walk{process, {}};
        ::EnumChildWindows(watched, AddTreeThread, reinterpret_cast<LPARAM>(&walk));
        for (DWORD other : walk.threads) add(other);
    } else if (watch == HookWatch::Process) {
        HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        if (snapshot != INVALID_HANDLE_VALUE) {
            THREADENTRY32 entry{};
            entry.dwSize = sizeof entry;
            for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
                if (entry.th32OwnerProcessID == process) add(entry.th32ThreadID);
            ::CloseHandle(snapshot);
        }
    }
    return threads;
}

// What the procedures in the watched programs take, from the options.
std::uint32_t CaptureFor(HookWatch watch, std::uint32_t options) {
    return ((options & kHookOptionDetails) ? kCaptureDetails : 0) | (watch != HookWatch::Window ? kCaptureTarget : 0);
}

// The return hooks on or off wherever this catch's hooks are.
bool SwitchReturns(bool on) {
    if (g_route == Route::Direct) return SetReturnHooks(on);
    return AskCompanion(CompanionOf(g_route), kCompanionSetReturns, on ? 1 : 0);
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
    auto answered = [&] {
        return Load(channel.record->watchedWindow) == watchedValue &&
               Load(channel.details->handshakeAnswer) == HandshakeAnswer(number);
    };
    // Answered once the window's procedure returned; a window of a hung
    // thread is given its second.
    g_pending = PendingAnswer{++g_lastSend, false, 0};
    const bool sent = ::SendMessageCallbackW(watched, HandshakeMessage(), 0, static_cast<LPARAM>(number),
                                             AnswerCame, g_pending.id) != 0;
    const DWORD error = ::GetLastError();
    if (sent) WaitAnswering(nullptr, kHandshakeMs, [&] { return g_pending.done || answered() || g_startCancelled; });
    const bool returned = g_pending.done;
    g_pending.id = 0;
    if (answered()) return TRUE;
    if (!::IsWindow(watched) || (!sent && error == ERROR_INVALID_WINDOW_HANDLE)) return Fail(HookFailure::NoWindow);
    if (returned) return Fail(HookFailure::NoEntry);
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

// The watch words of a new catch, and a ring of returns with nothing of an
// earlier one; the report number before the catch's first report is left
// where the program looks for it.
void BeginCatch(Channel& channel, HookWatch watch, DWORD thread, DWORD process, std::uint32_t requestWindow) {
    HookDetailsHeader& header = *channel.details;
    Store(header.watchKind, static_cast<std::uint32_t>(watch));
    Store(header.watchThread, thread);
    Store(header.watchProcess, process);
    Store(header.capture, CaptureFor(watch, g_options));
    Store(header.requestWindow, requestWindow);
    Store(header.epoch, Load(header.epoch) + 1);
    ReturnEntry* ring = channel.Returns();
    for (std::uint32_t i = 0; i < kReturnRingEntries; ++i) {
        const std::uint32_t whole = WholeWriteBegins(ring[i].wholeCount);
        ring[i].details.mark = static_cast<std::uint8_t>(DetailMark::None);
        ring[i].reportNumber = 0;
        WholeWriteEnds(ring[i].wholeCount, whole);
    }
    Store(header.reportNumber, std::atomic_ref<std::uint32_t>(channel.record->sequence).load());
    g_catchOptions = g_options;
}

// Sets the hooks of the watch: on its threads, the selected window's first
// (which must take them), with the return hooks while details are taken, and
// the scout where threads started later are watched too.
bool SetWatchHooks(HookWatch watch, HWND watched, DWORD thread, DWORD process, std::uint32_t& requestWindow) {
    const bool details = (g_options & kHookOptionDetails) != 0;
    const bool scout = watch == HookWatch::Descendants || watch == HookWatch::Process;
    const std::vector<DWORD> threads = ThreadsToHook(watch, watched, thread, process);
    if (g_route == Route::Direct) {
        SetReturnHooks(details);
        g_hooked = AddThreadHooks(threads.front());
        if (!g_hooked) return false;
        for (std::size_t i = 1; i < threads.size(); ++i) AddThreadHooks(threads[i]);
        if (scout) {
            const HWND window = StartScout(process);
            if (!window) return false;
            requestWindow = WindowValue(window);
        }
        return true;
    }
    Companion& companion = CompanionOf(g_route);
    if (!AskCompanion(companion, kCompanionSetReturns, details ? 1 : 0)) return false;
    g_hooked = AskCompanion(companion, kCompanionSetHooks, threads.front());
    if (!g_hooked) return false;
    for (std::size_t i = 1; i < threads.size() && !g_startCancelled; ++i)
        AskCompanion(companion, kCompanionSetHooks, threads[i], false);
    if (scout) {
        if (!AskCompanion(companion, kCompanionSetScout, process)) return false;
        requestWindow = WindowValue(companion.window);
    }
    return true;
}

void StopCatching() {
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
}

BOOL Start(HWND notifyWindow, HWND watched) {
    StopCatching();
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

    const HookWatch watch = g_watch;
    g_route = RouteFor(processId);
    std::uint32_t requestWindow = 0;
    if (g_route != Route::Direct && !StartCompanion(CompanionOf(g_route), g_route))
        return Abandon(record, watchedValue, static_cast<DWORD>(HookFailure::NoCompanion));
    // Every message of a window is handled by the thread that made it, so
    // the hooks go into the watched threads alone: no other program on the
    // desktop, nor Vantrel itself while it handles the reports, runs them
    // (the scout of a wider watch runs everywhere, but only when a window is made).
    if (!SetWatchHooks(watch, watched, thread, processId, requestWindow)) {
        const bool companionGone = g_route != Route::Direct && !CompanionOf(g_route).Alive();
        return Abandon(record, watchedValue,
                       static_cast<DWORD>(companionGone || g_route != Route::Direct ? HookFailure::NoCompanion
                                                                                    : HookFailure::NoEntry));
    }
    BeginCatch(*channel, watch, thread, processId, requestWindow);
    if (g_startCancelled) return Abandon(record, watchedValue, ERROR_CANCELLED);

    if (!Handshake(*channel, watched, watchedValue)) {
        const DWORD failure = ::GetLastError();
        // A companion that died meanwhile is the reason, whatever the window did.
        const bool companionGone = g_route != Route::Direct && !CompanionOf(g_route).Alive();
        return Abandon(record, watchedValue, companionGone ? static_cast<DWORD>(HookFailure::NoCompanion) : failure);
    }
    if (g_startCancelled) return Abandon(record, watchedValue, ERROR_CANCELLED);
    // Options changed while Start waited take effect now.
    if ((g_options ^ g_catchOptions) & kHookOptionDetails) {
        SwitchReturns((g_options & kHookOptionDetails) != 0);
        Store(channel->details->capture, CaptureFor(watch, g_options));
        g_catchOptions = g_options;
    }
    // Reporting begins once the notify window is known, unless another
    // Vantrel took the record in the meantime.
    if (!CompareExchange(record.notifyWindow, 0, WindowValue(notifyWindow)))
        return Abandon(record, watchedValue, static_cast<DWORD>(HookFailure::OtherCatching));
    g_ownNotify = WindowValue(notifyWindow);
    g_ownWatched = watchedValue;
    return TRUE;
}

}  // namespace
}  // namespace vantrel::hook

BOOL WINAPI SetMyHook(HWND notifyWindow, HWND watched) {
    using namespace vantrel::hook;
    // Start's waits answer what is sent to Vantrel's windows, a command to
    // start again among it: one Start at a time.
    if (g_starting) {
        ::SetLastError(ERROR_BUSY);
        return FALSE;
    }
    g_starting = true;
    g_startCancelled = false;
    const BOOL started = Start(notifyWindow, watched);
    const DWORD error = ::GetLastError();
    g_starting = false;
    ::SetLastError(error);
    return started;
}

BOOL WINAPI RemoveMyHook() {
    using namespace vantrel::hook;
    if (g_starting) {
        // Stop while Start waits: Start gives up when its wait ends.
        g_startCancelled = true;
        return TRUE;
    }
    StopCatching();
    return TRUE;
}

BOOL WINAPI SetMyHookOptions(DWORD watch, DWORD options) {
    using namespace vantrel::hook;
    if (watch >= vantrel::kHookWatchCount || (options & ~vantrel::kHookOptionsKnown)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    g_watch = static_cast<vantrel::HookWatch>(watch);
    const std::uint32_t before = g_options;
    g_options = options;
    // A Start under way applies them when its waits are over; a catch that
    // runs takes the details at once.
    if (g_starting || !g_ownNotify || !((before ^ options) & vantrel::kHookOptionDetails)) return TRUE;
    Channel* channel = OpenChannel();
    const bool on = (options & vantrel::kHookOptionDetails) != 0;
    // Off: the procedures stop taking details before their return hooks go;
    // on: the return hooks are there before the first details are taken.
    if (channel && !on) Store(channel->details->capture, CaptureFor(static_cast<vantrel::HookWatch>(
                                                                        Load(channel->details->watchKind)), options));
    if (!SwitchReturns(on) && on) {
        SwitchReturns(false);
        g_options = before;
        ::SetLastError(static_cast<DWORD>(g_route == Route::Direct ? vantrel::HookFailure::NoEntry
                                                                   : vantrel::HookFailure::NoCompanion));
        return FALSE;
    }
    if (channel) {
        const auto current = static_cast<vantrel::HookWatch>(Load(channel->details->watchKind));
        Store(channel->details->capture, CaptureFor(current, options));
        Store(channel->details->epoch, Load(channel->details->epoch) + 1);
    }
    g_catchOptions = options;
    return TRUE;
}
