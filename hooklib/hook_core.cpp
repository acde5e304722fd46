// The hook procedures and what they share, in every build of the hook library.
//
// Two hooks are set on the watched window's thread, so the library is loaded
// into that window's process: a call-window-procedure hook sees the messages
// sent to the watched window (from any thread or process), a get-message hook
// the posted ones as they are taken off the queue. A report is one write of
// the shared record, with the next report number, followed by one synchronous
// HookNotifyMessage to the notify window.
//
// The library runs inside other people's programs: it never fails them and
// never keeps them waiting long. Every word it reads from the shared objects
// may have been written by any program, so none is used before it is checked:
// the notify window must belong to a program started from the library's own
// folder (any other window, the watched program's own above all, is never sent
// a report); the writers' lock and the notification share one deadline per
// message, measured from the first try; and a thread that missed it reports
// nothing more until the notify window answers again. What the library keeps
// per thread lives in its own memory. When anything is missing the message is
// passed on untouched.

#define _CRT_RAND_S
#include "hooklib/hook_core.h"

#include "base/path.h"
#include "base/scope_exit.h"
#include "hooklib/hook_rules.h"

#include <atomic>
#include <cstdlib>
#include <iterator>
#include <string>

namespace vantrel::hook {

// Which hook sees a message: the same message may be both posted and sent.
enum class HookKind : std::uint32_t { Sent = 1, Posted = 2 };

// A message passed along the hook chain, as one build of the library asks
// another in the same process about it.
struct ChainQuery {
    std::uint32_t size;  // sizeof(ChainQuery): a build of another layout answers no
    HookKind kind;
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

}  // namespace vantrel::hook

namespace vantrel::hook {
namespace {

HINSTANCE g_module = nullptr;

// Thread slots of this library's own: a report is being handled (messages
// this thread receives meanwhile are not reported, so watching one of
// vantrel.exe's own windows never feeds on itself); the message this
// library's procedure passes along the chain; the thread's ReportGate.
DWORD g_reportingSlot = TLS_OUT_OF_INDEXES;
DWORD g_chainSlot = TLS_OUT_OF_INDEXES;
DWORD g_gateSlot = TLS_OUT_OF_INDEXES;

Channel g_channel;

// The hooks set by this process (vantrel.exe, or a companion).
HHOOK g_callWndHook = nullptr;
HHOOK g_getMessageHook = nullptr;

// The last notify window found to belong to a program of the library's
// folder, and the last one found not to: each is looked into once.
std::atomic<std::uint32_t> g_trustedNotify{0};
std::atomic<std::uint32_t> g_refusedNotify{0};

void* SlotValue(DWORD slot) { return slot == TLS_OUT_OF_INDEXES ? nullptr : ::TlsGetValue(slot); }
void SetSlotValue(DWORD slot, void* value) {
    if (slot != TLS_OUT_OF_INDEXES) ::TlsSetValue(slot, value);
}

bool IsReporting() { return SlotValue(g_reportingSlot) != nullptr; }

// The message in the chain, on the stack of the procedure that marked it.
// Hooks left behind by a Vantrel or a companion that was killed stay set and
// call a library again further down the chain; they see the mark and let the
// message pass unreported, so one message gives one report.
struct ChainMark {
    HookKind kind;
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    ChainMark* outer;

    bool Same(const ChainQuery& q) const {
        return kind == q.kind && hwnd == q.hwnd && message == q.message && wParam == q.wParam && lParam == q.lParam;
    }
};

// Marks a message for as long as this procedure passes it along the chain.
class MarkInChain {
public:
    explicit MarkInChain(const ChainQuery& q)
        : mark_{q.kind, q.hwnd, q.message, q.wParam, q.lParam, static_cast<ChainMark*>(SlotValue(g_chainSlot))} {
        SetSlotValue(g_chainSlot, &mark_);
    }
    ~MarkInChain() { SetSlotValue(g_chainSlot, mark_.outer); }
    MarkInChain(const MarkInChain&) = delete;
    MarkInChain& operator=(const MarkInChain&) = delete;

private:
    ChainMark mark_;
};

bool MarkedHere(const ChainQuery& query) {
    const auto* mark = static_cast<const ChainMark*>(SlotValue(g_chainSlot));
    return mark && mark->Same(query);
}

// The other builds of the library (VANTREL.DLL beside VANTREL32.DLL in a
// 32-bit program, say) keep their marks in their own memory and are asked.
// They are asked from inside hook procedures, so each one found stays loaded
// for the life of the process: one that went away meanwhile would take the
// program down. Looking for them by name costs milliseconds under some
// systems, so it happens on the first report, and when Start's handshake
// comes by (the one moment another build's hooks join a thread's chain): the
// build that answers it looks, and has the builds it finds look again, since
// those further down the chain no longer see a handshake in progress. However
// often other programs send the handshake, a build looks once in a while only.
using ChainMarkedFunction = BOOL(WINAPI*)(const ChainQuery*);
using LookAgainFunction = void(WINAPI*)();
std::atomic<ChainMarkedFunction> g_otherBuilds[2] = {};
std::atomic<bool> g_otherBuildsKnown{false};
std::atomic<DWORD> g_otherBuildsSought{0};
constexpr DWORD kSeekOtherBuildsEveryMs = 100;

void FindOtherBuilds(bool tellThem) {
    std::size_t found = 0;
    for (const char* name : {"VANTREL.DLL", "VANTREL32.DLL", "VANTREL64.DLL"}) {
        HMODULE loaded = nullptr, kept = nullptr;
        if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, name, &loaded) ||
            loaded == g_module ||
            !::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                  reinterpret_cast<LPCSTR>(loaded), &kept))
            continue;
        const auto marked =
            reinterpret_cast<ChainMarkedFunction>(reinterpret_cast<void*>(::GetProcAddress(kept, "HookChainMarked")));
        if (marked && found < std::size(g_otherBuilds)) g_otherBuilds[found++].store(marked);
        const auto lookAgain =
            reinterpret_cast<LookAgainFunction>(reinterpret_cast<void*>(::GetProcAddress(kept, "HookLookAgain")));
        if (tellThem && lookAgain) lookAgain();
    }
    g_otherBuildsKnown.store(true);
}

bool MarkedByAnotherBuild(const ChainQuery& query) {
    if (!g_otherBuildsKnown.load()) FindOtherBuilds(false);
    for (const auto& other : g_otherBuilds) {
        const ChainMarkedFunction marked = other.load();
        if (marked && marked(&query)) return true;
    }
    return false;
}

// The writers' lock's view of the system.
struct LockEnv {
    LARGE_INTEGER frequency{};
    LockEnv() { ::QueryPerformanceFrequency(&frequency); }
    std::uint64_t NowMs() const {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return static_cast<std::uint64_t>(now.QuadPart) * 1000 / static_cast<std::uint64_t>(frequency.QuadPart);
    }
    static bool ThreadAlive(std::uint32_t id) {
        HANDLE thread = ::OpenThread(SYNCHRONIZE, FALSE, id);
        if (!thread) return ::GetLastError() == ERROR_ACCESS_DENIED;
        const bool alive = ::WaitForSingleObject(thread, 0) == WAIT_TIMEOUT;
        ::CloseHandle(thread);
        return alive;
    }
    static void Pause(unsigned tries) {
        if (tries < 64) YieldProcessor();
        else ::Sleep(tries < 256 ? 0 : 1);
    }
    // The time left until the deadline, for a send: at least 1 ms.
    UINT Left(std::uint64_t deadline) const {
        const std::uint64_t now = NowMs();
        return now + 1 >= deadline ? 1u : static_cast<UINT>(deadline - now);
    }
};

// True when the window belongs to a program started from this library's
// folder (vantrel.exe, which made the record): the one kind of window a
// report may go to, whatever the record names.
bool TrustedNotify(std::uint32_t notify) {
    if (notify == g_trustedNotify.load(std::memory_order_relaxed)) return true;
    if (notify == g_refusedNotify.load(std::memory_order_relaxed)) return false;
    DWORD processId = 0;
    const std::string library = LibraryFolder();
    const bool trusted = ::GetWindowThreadProcessId(ValueWindow(notify), &processId) && !library.empty() &&
                         SameFolder(ProgramFolder(processId), library);
    (trusted ? g_trustedNotify : g_refusedNotify).store(notify, std::memory_order_relaxed);
    return trusted;
}

bool SendWithin(HWND window, UINT message, UINT timeoutMs) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

// Hands one message of the watched window to vantrel.exe and waits, until
// the message's deadline at most, until its handler has read the record.
void Report(const MSG& message, const ChainQuery& query) {
    Channel* channel = OpenChannel();
    if (!channel) return;
    HookRecord& record = *channel->record;
    const std::uint32_t hwnd = WindowValue(message.hwnd);
    const std::uint32_t notify = Load(record.notifyWindow);
    if (!notify || Load(record.watchedWindow) != hwnd || !TrustedNotify(notify)) return;
    if (MarkedByAnotherBuild(query)) return;

    ReportGate gate(reinterpret_cast<std::uintptr_t>(SlotValue(g_gateSlot)));
    const ScopeExit keepGate([&gate] { SetSlotValue(g_gateSlot, reinterpret_cast<void*>(gate.Word())); });
    const ReportGate::Step step = gate.Next(::GetTickCount());
    // A message this thread lets by unreported still takes its number, so
    // that the program counts it among the reports it missed.
    auto skip = [&record] { std::atomic_ref<std::uint32_t>(record.sequence).fetch_add(1); };
    if (step == ReportGate::Step::Skip) return skip();
    LockEnv env;
    const std::uint64_t start = env.NowMs();
    const std::uint64_t deadline = start + kReportDeadlineMs;
    const HWND notifyWindow = ValueWindow(notify);
    if (step == ReportGate::Step::Probe) {
        if (!SendWithin(notifyWindow, WM_NULL, env.Left(deadline))) {
            gate.Missed(::GetTickCount());
            return skip();
        }
        gate.Answered();
    }
    const auto self = static_cast<std::uint32_t>(::GetCurrentThreadId());
    if (!TakeWriterLock(record.writerLock, self, env, deadline)) {
        gate.Missed(::GetTickCount());
        return skip();
    }
    const ScopeExit release([&record, self] { ReleaseWriterLock(record.writerLock, self); });
    SetSlotValue(g_reportingSlot, reinterpret_cast<void*>(1));
    const ScopeExit reported([] { SetSlotValue(g_reportingSlot, nullptr); });
    // Catching may have stopped while this thread waited for its turn.
    if (Load(record.notifyWindow) != notify || Load(record.watchedWindow) != hwnd) return;
    HookDetailsHeader& details = *channel->details;
    const std::uint32_t whole = WholeWriteBegins(details.wholeCount);
    record.hwnd = hwnd;
    record.message = message.message;
    // 64-bit values keep their low 32 bits, as the record holds them.
    record.wParam = static_cast<std::uint32_t>(message.wParam);
    record.lParam = static_cast<std::uint32_t>(message.lParam);
    record.time = message.time;
    record.x = message.pt.x;
    record.y = message.pt.y;
    const std::uint32_t number = std::atomic_ref<std::uint32_t>(record.sequence).fetch_add(1) + 1;
    Store(details.reportNumber, number);
    WholeWriteEnds(details.wholeCount, whole);
    if (!SendWithin(notifyWindow, HookNotifyMessage, env.Left(deadline))) {
        // The Vantrel that caught has gone without stopping (it was
        // killed): nobody catches any more, so the hooks it left behind
        // cost the watched program nothing from here on.
        if (!::IsWindow(notifyWindow)) CompareExchange(record.notifyWindow, notify, 0);
        else gate.Missed(::GetTickCount());
    } else if (env.NowMs() - start >= kStaleLockMs) {
        // Answered, but the report took most of its time: the next ones
        // wait for a probe, so that a slow notify window costs this thread
        // one report's time now and then rather than with every message.
        gate.Missed(::GetTickCount());
    }
}

// A sent message, seen in the receiving thread before the window procedure:
// a report, or the answer to Start's handshake.
void OnSent(const CWPSTRUCT& sent, const ChainQuery& query) {
    if (!sent.hwnd) return;
    Channel* channel = OpenChannel();
    if (!channel) return;
    HookRecord& record = *channel->record;
    const std::uint32_t hwnd = WindowValue(sent.hwnd);
    const std::uint32_t watched = Load(record.watchedWindow);
    if (watched == PendingWindow(hwnd)) {
        // The library runs in the watched thread: answer the number that
        // came with the handshake, and report nothing of the handshake itself.
        // A new catch begins here, so this thread reports again.
        if (sent.message == HandshakeMessage()) {
            Store(channel->details->handshakeAnswer, HandshakeAnswer(static_cast<std::uint32_t>(sent.lParam)));
            CompareExchange(record.watchedWindow, watched, hwnd);
            SetSlotValue(g_gateSlot, nullptr);
            const DWORD now = ::GetTickCount();
            if (now - g_otherBuildsSought.exchange(now) >= kSeekOtherBuildsEveryMs) FindOtherBuilds(true);
        }
        return;
    }
    if (watched != hwnd || !Load(record.notifyWindow) || IsReporting()) return;
    MSG message{};
    message.hwnd = sent.hwnd;
    message.message = sent.message;
    message.wParam = sent.wParam;
    message.lParam = sent.lParam;
    // A sent message carries no time or position of its own: take the moment
    // it is received and the pointer position the thread last saw (asking the
    // pointer itself would cost a round trip to the display for every message).
    message.time = ::GetTickCount();
    const DWORD position = ::GetMessagePos();
    message.pt.x = static_cast<short>(LOWORD(position));
    message.pt.y = static_cast<short>(HIWORD(position));
    Report(message, query);
}

void OnPosted(const MSG& posted, const ChainQuery& query) {
    if (!posted.hwnd) return;
    Channel* channel = OpenChannel();
    if (!channel) return;
    const HookRecord& record = *channel->record;
    if (Load(record.watchedWindow) != WindowValue(posted.hwnd) || !Load(record.notifyWindow) || IsReporting())
        return;
    Report(posted, query);
}

// Handles a message once however many of the library's hooks are in the
// chain: the first procedure handles it, and passes it on marked so that the
// ones further down let it by. The system passes the message on to the next
// hook by itself; the hook handle argument is ignored.
template <typename Handle>
LRESULT HandleOnce(const ChainQuery& query, Handle&& handle, int code, WPARAM wParam, LPARAM lParam) {
    if (MarkedHere(query)) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    MarkInChain mark(query);
    handle();
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION || !lParam) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const ChainQuery query{sizeof(ChainQuery), HookKind::Sent, sent->hwnd, sent->message, sent->wParam, sent->lParam};
    return HandleOnce(query, [&] { OnSent(*sent, query); }, code, wParam, lParam);
}

// Posted messages, reported when they are taken off the queue (not when a
// queue is only looked at), so each is reported once.
LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION || wParam != PM_REMOVE || !lParam) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const auto* posted = reinterpret_cast<const MSG*>(lParam);
    const ChainQuery query{sizeof(ChainQuery), HookKind::Posted, posted->hwnd, posted->message, posted->wParam,
                           posted->lParam};
    return HandleOnce(query, [&] { OnPosted(*posted, query); }, code, wParam, lParam);
}

template <typename T>
T* MapWhole(HANDLE mapping, std::uint32_t size) {
    return static_cast<T*>(::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, size));
}

}  // namespace

Channel* OpenChannel() {
    if (g_channel.record) return &g_channel;
    // A view of the full size fails on a smaller object of the same name.
    Channel channel;
    channel.recordMapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kHookMappingName);
    channel.detailsMapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kDetailsMappingName);
    if (channel.recordMapping && channel.detailsMapping) {
        channel.record = MapWhole<HookRecord>(channel.recordMapping, kHookRecordSize);
        channel.details = MapWhole<HookDetailsHeader>(channel.detailsMapping, kDetailsObjectSize);
    }
    g_channel = channel;
    if (channel.record && channel.details) return &g_channel;
    CloseChannel();
    return nullptr;
}

void CloseChannel() {
    if (g_channel.record) ::UnmapViewOfFile(g_channel.record);
    if (g_channel.details) ::UnmapViewOfFile(g_channel.details);
    if (g_channel.recordMapping) ::CloseHandle(g_channel.recordMapping);
    if (g_channel.detailsMapping) ::CloseHandle(g_channel.detailsMapping);
    g_channel = Channel{};
}

std::uint32_t Load(const std::uint32_t& word) {
    return std::atomic_ref<std::uint32_t>(const_cast<std::uint32_t&>(word)).load();
}

void Store(std::uint32_t& word, std::uint32_t value) { std::atomic_ref<std::uint32_t>(word).store(value); }

bool CompareExchange(std::uint32_t& word, std::uint32_t expected, std::uint32_t desired) {
    return std::atomic_ref<std::uint32_t>(word).compare_exchange_strong(expected, desired);
}

std::uint32_t WindowValue(HWND window) { return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window)); }

HWND ValueWindow(std::uint32_t value) {
    // Window handles are 32-bit values, sign-extended in 64-bit programs.
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(value)));
}

UINT HandshakeMessage() {
    static std::atomic<UINT> message{0};
    UINT known = message.load();
    if (!known) {
        known = ::RegisterWindowMessageA(kHandshakeMessageName);
        message.store(known);
    }
    return known;
}

bool SetThreadHooks(DWORD thread) {
    RemoveThreadHooks();
    g_callWndHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, g_module, thread);
    g_getMessageHook = ::SetWindowsHookExA(WH_GETMESSAGE, GetMsgProc, g_module, thread);
    if (g_callWndHook && g_getMessageHook) return true;
    RemoveThreadHooks();
    return false;
}

void RemoveThreadHooks() {
    if (g_callWndHook) ::UnhookWindowsHookEx(g_callWndHook);
    if (g_getMessageHook) ::UnhookWindowsHookEx(g_getMessageHook);
    g_callWndHook = nullptr;
    g_getMessageHook = nullptr;
}

bool HasThreadHooks() { return g_callWndHook || g_getMessageHook; }

HINSTANCE LibraryModule() { return g_module; }

std::string LibraryFolder() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameA(g_module, path, sizeof path);
    return length < sizeof path ? FolderOfFullPath(std::string_view(path, length)) : std::string();
}

std::string ProgramFolder(DWORD processId) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return {};
    const ScopeExit close([process] { ::CloseHandle(process); });
    char path[MAX_PATH * 2] = {};
    DWORD length = sizeof path;
    return ::QueryFullProcessImageNameA(process, 0, path, &length) ? FolderOfFullPath(std::string_view(path, length))
                                                                    : std::string();
}

bool SameFolder(const std::string& a, const std::string& b) {
    return !a.empty() && a.size() == b.size() && ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::uint32_t UnforeseeableNumber() {
    unsigned int number = 0;
    if (rand_s(&number) == 0 && number) return number;
    // Without the system's random numbers: the moment, the process and the thread, mixed.
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    std::uint64_t mixed = static_cast<std::uint64_t>(now.QuadPart) ^ (std::uint64_t{::GetCurrentProcessId()} << 32) ^
                          ::GetCurrentThreadId() ^ ::GetTickCount();
    mixed *= 0x9E3779B97F4A7C15ull;
    return static_cast<std::uint32_t>(mixed >> 32) | 1u;
}

}  // namespace vantrel::hook

// The two operations a build of the library offers the others in the same
// process (listed by name in the library's .def file). The first: whether it
// passes that message along the hook chain in the calling thread right now.
extern "C" BOOL WINAPI HookChainMarked(const vantrel::hook::ChainQuery* query) {
    return query && query->size == sizeof(vantrel::hook::ChainQuery) && vantrel::hook::MarkedHere(*query);
}

// The other: look again for the builds loaded beside this one.
extern "C" void WINAPI HookLookAgain() { vantrel::hook::FindOtherBuilds(false); }

// The loader looks the entry point up by its C name.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    using namespace vantrel::hook;
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            g_module = instance;
            g_reportingSlot = ::TlsAlloc();
            g_chainSlot = ::TlsAlloc();
            g_gateSlot = ::TlsAlloc();
            ::DisableThreadLibraryCalls(instance);
            break;
        case DLL_PROCESS_DETACH:
            // At process end the system releases everything itself.
            if (reserved) break;
            RemoveThreadHooks();
            CloseChannel();
            for (DWORD* slot : {&g_reportingSlot, &g_chainSlot, &g_gateSlot}) {
                if (*slot != TLS_OUT_OF_INDEXES) ::TlsFree(*slot);
                *slot = TLS_OUT_OF_INDEXES;
            }
            break;
        default:
            break;
    }
    return TRUE;
}
