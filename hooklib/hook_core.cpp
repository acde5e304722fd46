// The hook procedures and what they share, in every build of the hook library.
//
// Two hooks are set on the watched window's thread, so the library is loaded
// into that window's process: a call-window-procedure hook sees the messages
// sent to the watched window (from any thread or process), a get-message hook
// the posted ones as they are taken off the queue. A report is one write of
// the shared record (whole, as the details header tells) with the next report
// number, followed by one synchronous HookNotifyMessage to the notify window.
//
// The library runs inside other people's programs: it never blocks them for
// long and never fails them. When anything is missing (no shared record) the
// message is passed on untouched.

#include "hooklib/hook_core.h"

#include "base/scope_exit.h"
#include "hooklib/hook_rules.h"

#include <atomic>
#include <string>

namespace vantrel::hook {
namespace {

HINSTANCE g_module = nullptr;

// Per thread: a report is being handled (messages this thread receives
// meanwhile are not reported, so watching one of vantrel.exe's own windows
// never feeds on itself).
DWORD g_reportingSlot = TLS_OUT_OF_INDEXES;
// Per thread: the message a procedure of the library is passing along the
// hook chain. Hooks left behind by a Vantrel or a companion that was killed
// stay set and call the library again further down the chain; they see the
// mark and let the message pass unreported, so one message gives one report.
// Those hooks may be of another build of the library (VANTREL.DLL beside
// VANTREL32.DLL), so the slot is one per process, found through a small named
// object of the process, whichever build allocated it first.
std::atomic<DWORD> g_chainSlot{TLS_OUT_OF_INDEXES};

Channel g_channel;

// The hooks set by this process (vantrel.exe, or a companion).
HHOOK g_callWndHook = nullptr;
HHOOK g_getMessageHook = nullptr;

bool IsReporting() {
    return g_reportingSlot != TLS_OUT_OF_INDEXES && ::TlsGetValue(g_reportingSlot) != nullptr;
}

void SetReporting(bool on) {
    if (g_reportingSlot != TLS_OUT_OF_INDEXES)
        ::TlsSetValue(g_reportingSlot, on ? reinterpret_cast<void*>(1) : nullptr);
}

// The message in the chain, on the stack of the procedure that marked it.
struct ChainMark {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    ChainMark* outer;

    bool Same(HWND w, UINT m, WPARAM wp, LPARAM lp) const {
        return hwnd == w && message == m && wParam == wp && lParam == lp;
    }
};

// The process's chain slot, allocated by the first build of the library that
// asks and kept for the life of the process (the named object too).
DWORD ChainSlot() {
    DWORD slot = g_chainSlot.load();
    if (slot != TLS_OUT_OF_INDEXES) return slot;
    const std::string name = "Vantrel hook chain mark " + std::to_string(::GetCurrentProcessId());
    HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(std::uint32_t),
                                          name.c_str());
    if (!mapping) return TLS_OUT_OF_INDEXES;
    auto* shared = static_cast<std::uint32_t*>(::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!shared) {
        ::CloseHandle(mapping);
        return TLS_OUT_OF_INDEXES;
    }
    // The word holds the slot plus one, 0 until a build has allocated it.
    std::atomic_ref<std::uint32_t> word(*shared);
    std::uint32_t known = word.load();
    if (!known) {
        const DWORD allocated = ::TlsAlloc();
        if (allocated == TLS_OUT_OF_INDEXES) return TLS_OUT_OF_INDEXES;
        if (word.compare_exchange_strong(known, allocated + 1)) known = allocated + 1;
        else ::TlsFree(allocated);
    }
    g_chainSlot.store(known - 1);
    return known - 1;
}

ChainMark* CurrentMark(DWORD slot) {
    return slot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<ChainMark*>(::TlsGetValue(slot));
}

// Marks a message for as long as this procedure passes it along the chain.
class MarkInChain {
public:
    MarkInChain(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
        : slot_(ChainSlot()), mark_{hwnd, message, wParam, lParam, CurrentMark(slot_)} {
        if (slot_ != TLS_OUT_OF_INDEXES) ::TlsSetValue(slot_, &mark_);
    }
    ~MarkInChain() {
        if (slot_ != TLS_OUT_OF_INDEXES) ::TlsSetValue(slot_, mark_.outer);
    }
    MarkInChain(const MarkInChain&) = delete;
    MarkInChain& operator=(const MarkInChain&) = delete;

private:
    DWORD slot_;
    ChainMark mark_;
};

bool MarkedInChain(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const ChainMark* mark = CurrentMark(ChainSlot());
    return mark && mark->Same(hwnd, message, wParam, lParam);
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
};

// Hands one message of the watched window to vantrel.exe and waits until its
// handler has read the record.
void Report(const MSG& message) {
    Channel* channel = OpenChannel();
    if (!channel) return;
    HookRecord* record = channel->record;
    const std::uint32_t hwnd = WindowValue(message.hwnd);
    const std::uint32_t notify = Load(record->notifyWindow);
    if (!notify || Load(record->watchedWindow) != hwnd) return;
    const auto self = static_cast<std::uint32_t>(::GetCurrentThreadId());
    LockEnv env;
    TakeWriterLock(record->writerLock, self, env);
    const ScopeExit release([record, self] { ReleaseWriterLock(record->writerLock, self); });
    SetReporting(true);
    const ScopeExit reported([] { SetReporting(false); });
    // Catching may have stopped while this thread waited for its turn.
    if (Load(record->notifyWindow) == notify && Load(record->watchedWindow) == hwnd) {
        HookDetailsHeader& details = *channel->details;
        const std::uint32_t whole = WholeWriteBegins(details.wholeCount);
        record->hwnd = hwnd;
        record->message = message.message;
        // 64-bit values keep their low 32 bits, as the record holds them.
        record->wParam = static_cast<std::uint32_t>(message.wParam);
        record->lParam = static_cast<std::uint32_t>(message.lParam);
        record->time = message.time;
        record->x = message.pt.x;
        record->y = message.pt.y;
        // The report number, which only the library and the details header know.
        Store(details.reportNumber, std::atomic_ref<std::uint32_t>(record->sequence).fetch_add(1) + 1);
        WholeWriteEnds(details.wholeCount, whole);
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutA(ValueWindow(notify), HookNotifyMessage, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                   kNotifyTimeoutMs, &result) &&
            !::IsWindow(ValueWindow(notify))) {
            // The Vantrel that caught has gone without stopping (it was
            // killed): nobody catches any more, so the hooks it left behind
            // cost the watched program nothing from here on.
            CompareExchange(record->notifyWindow, notify, 0);
        }
    }
}

// A sent message, seen in the receiving thread before the window procedure:
// a report, or the acknowledgement of Start's handshake.
void OnSent(const CWPSTRUCT& sent) {
    if (!sent.hwnd) return;
    Channel* channel = OpenChannel();
    if (!channel) return;
    HookRecord* record = channel->record;
    const std::uint32_t hwnd = WindowValue(sent.hwnd);
    const std::uint32_t watched = Load(record->watchedWindow);
    if (watched == PendingWindow(hwnd)) {
        // The library runs in the watched thread: say so in the record, and
        // report nothing of the handshake itself.
        if (sent.message == HandshakeMessage()) CompareExchange(record->watchedWindow, watched, hwnd);
        return;
    }
    if (watched != hwnd || !Load(record->notifyWindow) || IsReporting()) return;
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
    Report(message);
}

void OnPosted(const MSG& posted) {
    if (!posted.hwnd) return;
    Channel* channel = OpenChannel();
    if (!channel) return;
    const HookRecord* record = channel->record;
    if (Load(record->watchedWindow) != WindowValue(posted.hwnd) || !Load(record->notifyWindow) || IsReporting())
        return;
    Report(posted);
}

// Handles a message once however many of the library's hooks are in the
// chain: the first procedure handles it, and passes it on marked so that the
// ones further down let it by. The system passes the message on to the next
// hook by itself; the hook handle argument is ignored.
template <typename Handle>
LRESULT HandleOnce(HWND hwnd, UINT message, WPARAM msgWParam, LPARAM msgLParam, Handle&& handle, int code,
                   WPARAM wParam, LPARAM lParam) {
    if (MarkedInChain(hwnd, message, msgWParam, msgLParam)) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    MarkInChain mark(hwnd, message, msgWParam, msgLParam);
    handle();
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION || !lParam) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    return HandleOnce(sent->hwnd, sent->message, sent->wParam, sent->lParam, [sent] { OnSent(*sent); }, code,
                      wParam, lParam);
}

// Posted messages, reported when they are taken off the queue (not when a
// queue is only looked at), so each is reported once.
LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION || wParam != PM_REMOVE || !lParam) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const auto* posted = reinterpret_cast<const MSG*>(lParam);
    return HandleOnce(posted->hwnd, posted->message, posted->wParam, posted->lParam, [posted] { OnPosted(*posted); },
                      code, wParam, lParam);
}

}  // namespace

Channel* OpenChannel() {
    if (g_channel.record) return &g_channel;
    // A view of the full size fails on a smaller object of the same name.
    Channel channel;
    channel.recordMapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kHookMappingName);
    channel.detailsMapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kHookDetailsMappingName);
    if (channel.recordMapping && channel.detailsMapping) {
        channel.record = static_cast<HookRecord*>(
            ::MapViewOfFile(channel.recordMapping, FILE_MAP_ALL_ACCESS, 0, 0, kHookRecordSize));
        channel.details = static_cast<HookDetailsHeader*>(
            ::MapViewOfFile(channel.detailsMapping, FILE_MAP_ALL_ACCESS, 0, 0, kHookDetailsSize));
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

}  // namespace vantrel::hook

// The loader looks the entry point up by its C name.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    using namespace vantrel::hook;
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            g_module = instance;
            g_reportingSlot = ::TlsAlloc();
            ::DisableThreadLibraryCalls(instance);
            break;
        case DLL_PROCESS_DETACH:
            // At process end the system releases everything itself.
            if (reserved) break;
            RemoveThreadHooks();
            CloseChannel();
            // The chain slot stays: other builds of the library may use it.
            if (g_reportingSlot != TLS_OUT_OF_INDEXES) ::TlsFree(g_reportingSlot);
            g_reportingSlot = TLS_OUT_OF_INDEXES;
            break;
        default:
            break;
    }
    return TRUE;
}
