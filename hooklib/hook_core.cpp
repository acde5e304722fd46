// The hook procedures and what they share, in every build of the hook library.
//
// The hooks are set on the watched threads, so the library is loaded into the
// watched windows' processes: a call-window-procedure hook sees the messages
// sent to their windows (from any thread or process), a get-message hook the
// posted ones as they are taken off the queue, and while Details is on a
// call-window-procedure-return hook sees each send return. A report is one
// write of the shared record (with the details beside it), numbered, followed
// by one synchronous HookNotifyMessage to the notify window; a return is
// written into the ring of returns without a notification of its own.
//
// Which windows a catch watches (the selected one, it and its descendants,
// its thread, its process) is read from the details header with every
// message; a process watch also sets a scout, a hook on every thread that
// sees windows being made, so that a thread the watched process starts later
// asks for its hooks with its first window.
//
// The library runs inside other people's programs: it never fails them and
// never keeps them waiting long. Every word it reads from the shared objects
// may have been written by any program, so none is used before it is checked:
// the notify window must belong to a program started from the library's own
// folder (any other window, the watched program's own above all, is never sent
// a report); the writers' lock and the notification share one deadline per
// message, measured from the first try; and a thread that missed it reports
// nothing more until the notify window answers again. What a message's
// parameters point to is read through a reader that cannot fault the program
// (hook_memory.cpp). What the library keeps per thread lives in its own
// memory. When anything is missing the message is passed on untouched.

#define _CRT_RAND_S
#include "hooklib/hook_core.h"

#include <commctrl.h>

#include "base/path.h"
#include "base/scope_exit.h"
#include "hooklib/hook_capture.h"
#include "hooklib/hook_payload.h"
#include "hooklib/hook_rules.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <string>
#include <vector>

namespace vantrel::hook {

// Which hook sees a message: the same message may be both posted and sent,
// and a sent one returns.
enum class HookKind : std::uint32_t { Sent = 1, Posted = 2, Returned = 3 };

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

// The capture reads structures in the layouts of this build's own bitness:
// they must be the platform's.
using Native = NativeLayouts<UINT_PTR>;
static_assert(sizeof(Native::CreateStruct) == sizeof(CREATESTRUCTW) &&
              offsetof(Native::CreateStruct, name) == offsetof(CREATESTRUCTW, lpszName) &&
              offsetof(Native::CreateStruct, exStyle) == offsetof(CREATESTRUCTW, dwExStyle));
static_assert(sizeof(Native::WindowPos) == sizeof(WINDOWPOS) &&
              offsetof(Native::WindowPos, flags) == offsetof(WINDOWPOS, flags));
static_assert(sizeof(Native::NcCalcSize) == sizeof(NCCALCSIZE_PARAMS) &&
              sizeof(DetailMinMaxInfo) == sizeof(MINMAXINFO));
static_assert(sizeof(Native::DrawItem) == sizeof(DRAWITEMSTRUCT) &&
              offsetof(Native::DrawItem, itemData) == offsetof(DRAWITEMSTRUCT, itemData));
static_assert(sizeof(Native::MeasureItem) == sizeof(MEASUREITEMSTRUCT) &&
              sizeof(Native::CopyData) == sizeof(COPYDATASTRUCT));
static_assert(sizeof(Native::HelpInfo) == sizeof(HELPINFO) &&
              offsetof(Native::HelpInfo, mouse) == offsetof(HELPINFO, MousePos));
static_assert(sizeof(Native::Nmhdr) == sizeof(NMHDR) && offsetof(Native::Nmhdr, code) == offsetof(NMHDR, code));
static_assert(sizeof(Native::NotifyListView) == sizeof(NMITEMACTIVATE) &&
              offsetof(Native::NotifyListView, keyFlags) == offsetof(NMITEMACTIVATE, uKeyFlags) &&
              offsetof(Native::NotifyListView, lParam) == offsetof(NMLISTVIEW, lParam));
static_assert(sizeof(Native::TreeItem) == sizeof(TVITEMW) && sizeof(Native::NotifyTreeView) == sizeof(NMTREEVIEWW) &&
              offsetof(Native::NotifyTreeView, newItem) == offsetof(NMTREEVIEWW, itemNew));
static_assert(sizeof(Native::NotifyKey) == sizeof(NMKEY) && offsetof(NMLVKEYDOWN, wVKey) == Native::kPackedKeyOffset &&
              offsetof(NMTVKEYDOWN, flags) == Native::kPackedKeyOffset + 2);
static_assert(sizeof(Native::NotifyCustomDraw) == sizeof(NMCUSTOMDRAW) &&
              offsetof(Native::NotifyCustomDraw, itemlParam) == offsetof(NMCUSTOMDRAW, lItemlParam));
static_assert(sizeof(Native::NotifyMouse) == sizeof(NMMOUSE) &&
              offsetof(Native::NotifyMouse, hitInfo) == offsetof(NMMOUSE, dwHitInfo));
static_assert(sizeof(Native::NotifyPair) == sizeof(NMUPDOWN) &&
              offsetof(Native::NotifyPair, first) == offsetof(NMHEADERW, iItem) &&
              offsetof(Native::NotifyPair, first) == offsetof(NMTOOLBARW, iItem));
static_assert(sizeof(Native::NotifyChar) == sizeof(NMCHAR));
static_assert(offsetof(Native::NotifyListItem, item) == offsetof(NMLVDISPINFOW, item) &&
              offsetof(Native::ListItem, lParam) == offsetof(LVITEMW, lParam) &&
              offsetof(Native::NotifyTreeItem, item) == offsetof(NMTVDISPINFOW, item));

HINSTANCE g_module = nullptr;

// Thread slots of this library's own: a report is being handled (messages
// this thread receives meanwhile are not reported, so watching one of
// vantrel.exe's own windows never feeds on itself); the message this
// library's procedure passes along the chain; the thread's ReportGate; the
// thread's sends in progress (a ThreadSends, made when details are first
// taken); the catch for which the thread last asked for its hooks.
DWORD g_reportingSlot = TLS_OUT_OF_INDEXES;
DWORD g_chainSlot = TLS_OUT_OF_INDEXES;
DWORD g_gateSlot = TLS_OUT_OF_INDEXES;
DWORD g_sendsSlot = TLS_OUT_OF_INDEXES;
DWORD g_askedSlot = TLS_OUT_OF_INDEXES;

Channel g_channel;

// The hooks set by this process (vantrel.exe, or a companion): per thread,
// the returns' switch, and the scout with the process it scouts. The thread
// that starts a catch and the one that takes the scout's requests share
// them, under g_hooksLock.
struct ThreadHooks {
    DWORD thread = 0;
    HHOOK callWnd = nullptr, getMessage = nullptr, returned = nullptr;
};
std::vector<ThreadHooks> g_threadHooks;
bool g_returnHooks = false;
HHOOK g_scoutHook = nullptr;
DWORD g_scoutedProcess = 0;
CRITICAL_SECTION g_hooksLock;

class HooksLocked {
public:
    HooksLocked() { ::EnterCriticalSection(&g_hooksLock); }
    ~HooksLocked() { ::LeaveCriticalSection(&g_hooksLock); }
    HooksLocked(const HooksLocked&) = delete;
    HooksLocked& operator=(const HooksLocked&) = delete;
};

// Windows found to belong to a program of the library's folder (the notify
// window, the request window), with their process, and the last one found
// not to: each is looked into once.
struct TrustedWindow {
    std::atomic<std::uint32_t> window{0};
    std::atomic<std::uint32_t> process{0};
};
TrustedWindow g_trusted[2];
std::atomic<std::uint32_t> g_trustedNext{0};
std::atomic<std::uint32_t> g_refused{0};

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
    // Between tries the thread answers what other threads send it: the
    // holder may be waiting, inside its notification, for this very thread
    // (two watched threads of one program that send each other messages),
    // and would otherwise hold the lock until it went stale.
    static void Pause(unsigned tries) {
        if (tries < 64) {
            YieldProcessor();
            return;
        }
        ::MsgWaitForMultipleObjectsEx(0, nullptr, tries < 256 ? 0 : 1, QS_SENDMESSAGE, 0);
        MSG nothing;
        ::PeekMessageW(&nothing, nullptr, HandshakeMessage(), HandshakeMessage(), PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    // The time left until the deadline, for a send: at least 1 ms.
    UINT Left(std::uint64_t deadline) const {
        const std::uint64_t now = NowMs();
        return now + 1 >= deadline ? 1u : static_cast<UINT>(deadline - now);
    }
};

// True when the window belongs to a program started from this library's
// folder (vantrel.exe, which made the record, or its companion): the one kind
// of window a report or a request may go to, whatever the shared words name.
// processId: that program's process.
bool TrustedWindowOf(std::uint32_t window, DWORD* processId = nullptr) {
    for (const TrustedWindow& known : g_trusted) {
        if (window && window == known.window.load(std::memory_order_relaxed)) {
            if (processId) *processId = known.process.load(std::memory_order_relaxed);
            return true;
        }
    }
    if (window == g_refused.load(std::memory_order_relaxed)) return false;
    DWORD owner = 0;
    const std::string library = LibraryFolder();
    const bool trusted = window && ::GetWindowThreadProcessId(ValueWindow(window), &owner) && !library.empty() &&
                         SameFolder(ProgramFolder(owner), library);
    if (!trusted) {
        g_refused.store(window, std::memory_order_relaxed);
        return false;
    }
    TrustedWindow& slot = g_trusted[g_trustedNext.fetch_add(1) % std::size(g_trusted)];
    slot.window.store(0, std::memory_order_relaxed);
    slot.process.store(owner, std::memory_order_relaxed);
    slot.window.store(window, std::memory_order_relaxed);
    if (processId) *processId = owner;
    return true;
}

bool TrustedNotify(std::uint32_t notify) { return TrustedWindowOf(notify); }

// The thread takes no message sent to it meanwhile: a report holds the
// writers' lock until Vantrel has read the record, and a window procedure
// run inside the wait (another program's command, say) could keep it for as
// long as it likes, while the program's other watched threads wait for their
// turn. What is sent meanwhile is handled, and reported, right after.
bool SendWithin(HWND window, UINT message, UINT timeoutMs) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, message, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

// ---- What the catch watches ---------------------------------------------------

// The header's watch words, checked: a kind the library does not know
// watches nothing.
struct Watch {
    HookWatch kind = HookWatch::Window;
    bool known = false;
    std::uint32_t thread = 0, process = 0, capture = 0, epoch = 0;

    bool Details() const { return (capture & kCaptureDetails) != 0; }
    bool Wider() const { return kind != HookWatch::Window; }
};

Watch ReadWatch(const HookDetailsHeader& header) {
    Watch watch;
    const std::uint32_t kind = Load(header.watchKind);
    watch.known = kind < kHookWatchCount;
    watch.kind = watch.known ? static_cast<HookWatch>(kind) : HookWatch::Window;
    watch.thread = Load(header.watchThread);
    watch.process = Load(header.watchProcess);
    watch.capture = Load(header.capture) & (kCaptureDetails | kCaptureTarget);
    watch.epoch = Load(header.epoch);
    return watch;
}

// Whether window is root or lies below it: its parents, followed up to the
// desktop (the library's own process holds them; nothing is asked elsewhere).
bool Descends(HWND window, HWND root) {
    for (int level = 0; window && level < 256; ++level) {
        if (window == root) return true;
        window = ::GetAncestor(window, GA_PARENT);
    }
    return false;
}

// Whether a message to window (value hwnd) belongs to the catch whose
// selected window is watched. A wider watch leaves out the Catch Messages
// window itself, with its controls, when Vantrel watches its own thread or
// process: its lines would make more lines.
bool InWatch(const Watch& watch, std::uint32_t watched, HWND window, std::uint32_t hwnd, std::uint32_t notify) {
    if (!watch.known) return false;
    switch (watch.kind) {
        case HookWatch::Window:
            return hwnd == watched;
        case HookWatch::Descendants:
            if (!Descends(window, ValueWindow(watched))) return false;
            break;
        case HookWatch::Thread:
            if (::GetCurrentThreadId() != watch.thread) return false;
            break;
        case HookWatch::Process:
            if (::GetCurrentProcessId() != watch.process) return false;
            break;
    }
    DWORD notifyProcess = 0;
    if (!TrustedWindowOf(notify, &notifyProcess) || notifyProcess != ::GetCurrentProcessId()) return true;
    return ::GetAncestor(window, GA_ROOT) != ValueWindow(notify);
}

// ---- A thread's sends in progress ---------------------------------------------

// The sends a thread is handling, innermost last, while details are taken:
// they give a message its nesting depth, and a return its send.
struct SendFrame {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool reported;  // its send was reported: its return is too
};
constexpr unsigned kFramesKept = 64;

struct ThreadSends {
    std::uint32_t epoch = 0;
    unsigned depth = 0;  // sends in progress; those beyond kFramesKept are counted only
    SendFrame frames[kFramesKept];

    std::uint8_t Depth() const { return static_cast<std::uint8_t>(depth < 255 ? depth : 255); }
    // Catching began anew, or details were off meanwhile: nothing known.
    void Follow(std::uint32_t current) {
        if (epoch != current) depth = 0;
        epoch = current;
    }
};

// Made on first use and kept for the thread's life; DllMain lets it go.
ThreadSends* SendsOfThread(bool make) {
    auto* sends = static_cast<ThreadSends*>(SlotValue(g_sendsSlot));
    if (sends || !make || g_sendsSlot == TLS_OUT_OF_INDEXES) return sends;
    void* memory = ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ThreadSends));
    if (!memory) return nullptr;
    sends = new (memory) ThreadSends();
    SetSlotValue(g_sendsSlot, sends);
    return sends;
}

void ForgetSendsOfThread() {
    if (void* sends = SlotValue(g_sendsSlot)) {
        SetSlotValue(g_sendsSlot, nullptr);
        ::HeapFree(::GetProcessHeap(), 0, sends);
    }
}

// ---- The details of a message ----------------------------------------------------

// The watched program's memory and windows, as the capture reads them.
struct LiveProgram {
    std::size_t Read(std::uint64_t address, void* to, std::size_t bytes) {
        return ReadLiveMemory(address, to, bytes);
    }
    static void ClassName(std::uint32_t window, char16_t (&to)[kDetailClassUnits]) {
        std::memset(to, 0, sizeof to);
        if (window) ::GetClassNameW(ValueWindow(window), reinterpret_cast<wchar_t*>(to), kDetailClassUnits);
    }
    static std::u16string FromAnsi(std::string_view bytes) {
        if (bytes.empty()) return {};
        const int length = static_cast<int>(bytes.size());
        std::u16string text(bytes.size(), u'\0');
        const int units =
            ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()), length);
        text.resize(units > 0 ? static_cast<std::size_t>(units) : 0);
        return text;
    }
};

// The values the record cannot hold whole, the window's class and the mark;
// with full details also the sending control's class and the payload.
void FillDetails(MessageDetails& d, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DetailMark mark,
                 std::uint8_t depth, bool full, LRESULT result = 0) {
    std::memset(&d, 0, sizeof d);
    d.window = WindowValue(hwnd);
    d.message = message;
    d.thread = ::GetCurrentThreadId();
    d.mark = static_cast<std::uint8_t>(mark);
    d.depth = depth;
    d.flags = sizeof(void*) == 8 ? kDetailsWriter64 : 0;
    d.wParam = static_cast<std::uint64_t>(wParam);
    d.lParam = static_cast<std::uint64_t>(static_cast<ULONG_PTR>(lParam));
    d.result = static_cast<std::uint64_t>(static_cast<ULONG_PTR>(result));
    LiveProgram program;
    program.ClassName(d.window, d.windowClass);
    if (!full) return;
    CaptureInput in;
    in.message = message;
    in.wParam = d.wParam;
    in.lParam = d.lParam;
    in.result = static_cast<std::uint64_t>(static_cast<std::int64_t>(result));
    in.returned = mark == DetailMark::Returned;
    in.family = FamilyOfClass(std::u16string_view(d.windowClass));
    if (in.family == ControlFamily::ListBox || in.family == ControlFamily::ComboBox)
        in.style = static_cast<std::uint32_t>(::GetWindowLongW(hwnd, GWL_STYLE));
    CapturePayload(program, in, sizeof(void*), d);
}

// ---- Reports -------------------------------------------------------------------

// Hands one message of a watched window to vantrel.exe and waits, until the
// message's deadline at most, until its handler has read the record. details:
// what goes beside the record, nullptr for nothing (the details' window is
// then cleared, so no earlier details pass for this report's). True when the
// report was written.
bool Report(const MSG& message, const ChainQuery& query, const MessageDetails* details) {
    Channel* channel = OpenChannel();
    if (!channel) return false;
    HookRecord& record = *channel->record;
    const std::uint32_t notify = Load(record.notifyWindow);
    if (!notify || !TrustedNotify(notify)) return false;
    if (MarkedByAnotherBuild(query)) return false;

    ReportGate gate(reinterpret_cast<std::uintptr_t>(SlotValue(g_gateSlot)));
    const ScopeExit keepGate([&gate] { SetSlotValue(g_gateSlot, reinterpret_cast<void*>(gate.Word())); });
    const ReportGate::Step step = gate.Next(::GetTickCount());
    // A message this thread lets by unreported still takes its number, so
    // that the program counts it among the reports it missed.
    auto skip = [&record] {
        std::atomic_ref<std::uint32_t>(record.sequence).fetch_add(1);
        return false;
    };
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
    const std::uint32_t watched = Load(record.watchedWindow);
    if (!TakeWriterLock(record.writerLock, self, env, deadline)) {
        gate.Missed(::GetTickCount());
        return skip();
    }
    const ScopeExit release([&record, self] { ReleaseWriterLock(record.writerLock, self); });
    SetSlotValue(g_reportingSlot, reinterpret_cast<void*>(1));
    const ScopeExit reported([] { SetSlotValue(g_reportingSlot, nullptr); });
    // Catching may have stopped while this thread waited for its turn.
    if (Load(record.notifyWindow) != notify || Load(record.watchedWindow) != watched) return false;
    HookDetailsHeader& header = *channel->details;
    MessageDetails& slot = channel->Details();
    const std::uint32_t whole = WholeWriteBegins(header.wholeCount);
    record.hwnd = WindowValue(message.hwnd);
    record.message = message.message;
    // 64-bit values keep their low 32 bits, as the record holds them.
    record.wParam = static_cast<std::uint32_t>(message.wParam);
    record.lParam = static_cast<std::uint32_t>(message.lParam);
    record.time = message.time;
    record.x = message.pt.x;
    record.y = message.pt.y;
    if (details) std::memcpy(&slot, details, sizeof slot);
    else slot.window = 0;
    const std::uint32_t number = std::atomic_ref<std::uint32_t>(record.sequence).fetch_add(1) + 1;
    Store(header.reportNumber, number);
    WholeWriteEnds(header.wholeCount, whole);
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
    return true;
}

// A send's return, written into the ring of returns under the writers' lock
// and numbered like the reports, without a notification: the program takes
// it with the next report, or a moment later.
void ReportReturn(const MessageDetails& details) {
    Channel* channel = OpenChannel();
    if (!channel) return;
    HookRecord& record = *channel->record;
    const std::uint32_t notify = Load(record.notifyWindow);
    if (!notify || !TrustedNotify(notify)) return;
    // A thread that reports nothing for now returns nothing either, and a
    // return never probes: its send does.
    if (ReportGate(reinterpret_cast<std::uintptr_t>(SlotValue(g_gateSlot))).Next(::GetTickCount()) !=
        ReportGate::Step::Report) {
        std::atomic_ref<std::uint32_t>(record.sequence).fetch_add(1);
        return;
    }
    LockEnv env;
    const std::uint64_t deadline = env.NowMs() + kReportDeadlineMs;
    const auto self = static_cast<std::uint32_t>(::GetCurrentThreadId());
    if (!TakeWriterLock(record.writerLock, self, env, deadline)) {
        std::atomic_ref<std::uint32_t>(record.sequence).fetch_add(1);
        return;
    }
    const ScopeExit release([&record, self] { ReleaseWriterLock(record.writerLock, self); });
    if (Load(record.notifyWindow) != notify) return;
    const std::uint32_t number = std::atomic_ref<std::uint32_t>(record.sequence).fetch_add(1) + 1;
    ReturnEntry& entry = channel->Returns()[number % kReturnRingEntries];
    const std::uint32_t whole = WholeWriteBegins(entry.wholeCount);
    entry.reportNumber = number;
    entry.time = ::GetTickCount();
    const DWORD position = ::GetMessagePos();
    entry.x = static_cast<short>(LOWORD(position));
    entry.y = static_cast<short>(HIWORD(position));
    std::memcpy(&entry.details, &details, sizeof details);
    WholeWriteEnds(entry.wholeCount, whole);
}

// A message's details as the catch asks for them: all of them, the window it
// went to alone (a wider watch), or none.
const MessageDetails* DetailsFor(const Watch& watch, MessageDetails& d, HWND hwnd, UINT message, WPARAM wParam,
                                 LPARAM lParam, DetailMark mark, std::uint8_t depth) {
    if (watch.Details()) {
        FillDetails(d, hwnd, message, wParam, lParam, mark, depth, true);
        return &d;
    }
    if (watch.Wider() || (watch.capture & kCaptureTarget)) {
        FillDetails(d, hwnd, message, wParam, lParam, mark, 0, false);
        return &d;
    }
    return nullptr;
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
    const std::uint32_t notify = Load(record.notifyWindow);
    if (!notify || IsReporting()) return;
    const Watch watch = ReadWatch(*channel->details);
    if (!InWatch(watch, watched, sent.hwnd, hwnd, notify)) return;
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
    if (!watch.Details()) {
        MessageDetails d;
        Report(message, query, DetailsFor(watch, d, sent.hwnd, sent.message, sent.wParam, sent.lParam,
                                          DetailMark::Sent, 0));
        return;
    }
    // With details, the send is kept until it returns, so that its return
    // is reported with its depth and nested messages get theirs.
    ThreadSends* sends = SendsOfThread(true);
    std::uint8_t depth = 0;
    if (sends) {
        sends->Follow(watch.epoch);
        depth = sends->Depth();
    }
    MessageDetails d;
    FillDetails(d, sent.hwnd, sent.message, sent.wParam, sent.lParam, DetailMark::Sent, depth, true);
    const bool reported = Report(message, query, &d);
    if (!sends) return;
    if (sends->depth < kFramesKept)
        sends->frames[sends->depth] = {sent.hwnd, sent.message, sent.wParam, sent.lParam, reported};
    ++sends->depth;
}

// A sent message's window procedure returned: the send it returns from is
// the innermost one kept that matches (those above it returned unseen).
void OnReturned(const CWPRETSTRUCT& returned) {
    ThreadSends* sends = SendsOfThread(false);
    if (!sends || !sends->depth) return;
    unsigned level = sends->depth;
    if (level > kFramesKept) {
        // Deeper than kept: the innermost one returns, unknown.
        --sends->depth;
        return;
    }
    while (level > 0) {
        const SendFrame& frame = sends->frames[level - 1];
        if (frame.hwnd == returned.hwnd && frame.message == returned.message && frame.wParam == returned.wParam &&
            frame.lParam == returned.lParam)
            break;
        --level;
    }
    if (level == 0) return;  // a send that began before returns were watched
    const SendFrame frame = sends->frames[level - 1];
    sends->depth = level - 1;
    if (!frame.reported) return;
    Channel* channel = OpenChannel();
    if (!channel || IsReporting()) return;
    const Watch watch = ReadWatch(*channel->details);
    if (!watch.Details() || watch.epoch != sends->epoch) return;
    MessageDetails d;
    FillDetails(d, returned.hwnd, returned.message, returned.wParam, returned.lParam, DetailMark::Returned,
                static_cast<std::uint8_t>(level - 1 < 255 ? level - 1 : 255), true, returned.lResult);
    ReportReturn(d);
}

void OnPosted(const MSG& posted, const ChainQuery& query) {
    if (!posted.hwnd) return;
    Channel* channel = OpenChannel();
    if (!channel) return;
    const HookRecord& record = *channel->record;
    const std::uint32_t notify = Load(record.notifyWindow);
    if (!notify || IsReporting()) return;
    const Watch watch = ReadWatch(*channel->details);
    if (!InWatch(watch, Load(record.watchedWindow), posted.hwnd, WindowValue(posted.hwnd), notify)) return;
    std::uint8_t depth = 0;
    if (watch.Details()) {
        if (ThreadSends* sends = SendsOfThread(false)) {
            sends->Follow(watch.epoch);
            depth = sends->Depth();
        }
    }
    MessageDetails d;
    Report(posted, query,
           DetailsFor(watch, d, posted.hwnd, posted.message, posted.wParam, posted.lParam, DetailMark::Posted, depth));
}

// A thread of a scouted process makes a window: once per catch it asks the
// program that sets the hooks for its own, and looks at its queue once, so
// that it learns of them before the window's first message.
void OnWindowMade() {
    Channel* channel = OpenChannel();
    if (!channel) return;
    const HookDetailsHeader& header = *channel->details;
    const Watch watch = ReadWatch(header);
    if (!watch.known || (watch.kind != HookWatch::Process && watch.kind != HookWatch::Descendants) ||
        watch.process != ::GetCurrentProcessId() || !Load(channel->record->notifyWindow))
        return;
    const std::uint32_t asked = watch.epoch | 1u;  // never 0, the slot's empty value
    if (reinterpret_cast<std::uintptr_t>(SlotValue(g_askedSlot)) == asked) return;
    SetSlotValue(g_askedSlot, reinterpret_cast<void*>(static_cast<std::uintptr_t>(asked)));
    const std::uint32_t request = Load(header.requestWindow);
    if (!TrustedWindowOf(request)) return;
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(ValueWindow(request), kHookThreadRequest, ::GetCurrentThreadId(), 0,
                              SMTO_NORMAL | SMTO_ABORTIFHUNG, kReportDeadlineMs, &answer) &&
        answer == 1) {
        MSG nothing;
        ::PeekMessageW(&nothing, nullptr, HandshakeMessage(), HandshakeMessage(), PM_NOREMOVE | PM_NOYIELD);
    }
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

LRESULT CALLBACK CallWndRetProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION || !lParam) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const auto* returned = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    const ChainQuery query{sizeof(ChainQuery), HookKind::Returned, returned->hwnd, returned->message,
                           returned->wParam, returned->lParam};
    return HandleOnce(query, [&] { OnReturned(*returned); }, code, wParam, lParam);
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

LRESULT CALLBACK ScoutProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) OnWindowMade();
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
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

namespace {

void Unhook(HHOOK& hook) {
    if (hook) ::UnhookWindowsHookEx(hook);
    hook = nullptr;
}

HHOOK ReturnHook(DWORD thread) { return ::SetWindowsHookExW(WH_CALLWNDPROCRET, CallWndRetProc, g_module, thread); }

// The thread's hooks, when this process set them.
ThreadHooks* HooksOf(DWORD thread) {
    for (ThreadHooks& hooks : g_threadHooks)
        if (hooks.thread == thread) return &hooks;
    return nullptr;
}

}  // namespace

bool AddThreadHooks(DWORD thread) {
    if (!thread) return false;  // thread 0 would mean every thread of the desktop
    const HooksLocked locked;
    if (HooksOf(thread)) return true;
    if (g_threadHooks.size() >= kMostHookedThreads) return false;
    ThreadHooks hooks;
    hooks.thread = thread;
    // Wide procedures: texts come as UTF-16 where the system converts
    // messages for their hooks.
    hooks.callWnd = ::SetWindowsHookExW(WH_CALLWNDPROC, CallWndProc, g_module, thread);
    hooks.getMessage = ::SetWindowsHookExW(WH_GETMESSAGE, GetMsgProc, g_module, thread);
    if (g_returnHooks) hooks.returned = ReturnHook(thread);
    if (!hooks.callWnd || !hooks.getMessage || (g_returnHooks && !hooks.returned)) {
        Unhook(hooks.callWnd);
        Unhook(hooks.getMessage);
        Unhook(hooks.returned);
        return false;
    }
    try {
        g_threadHooks.push_back(hooks);
    } catch (...) {
        Unhook(hooks.callWnd);
        Unhook(hooks.getMessage);
        Unhook(hooks.returned);
        return false;
    }
    return true;
}

void RemoveThreadHooks() {
    const HooksLocked locked;
    Unhook(g_scoutHook);
    g_scoutedProcess = 0;
    for (ThreadHooks& hooks : g_threadHooks) {
        Unhook(hooks.callWnd);
        Unhook(hooks.getMessage);
        Unhook(hooks.returned);
    }
    g_threadHooks.clear();
    g_returnHooks = false;
}

bool HasThreadHooks() {
    const HooksLocked locked;
    return !g_threadHooks.empty() || g_scoutHook;
}

bool SetReturnHooks(bool on) {
    const HooksLocked locked;
    g_returnHooks = on;
    bool all = true;
    for (ThreadHooks& hooks : g_threadHooks) {
        if (!on) Unhook(hooks.returned);
        else if (!hooks.returned && !(hooks.returned = ReturnHook(hooks.thread))) all = false;
    }
    return all;
}

bool SetScout(DWORD process) {
    const HooksLocked locked;
    Unhook(g_scoutHook);
    g_scoutedProcess = process;
    if (!process) return true;
    // Every thread of the desktop: only window making calls it.
    g_scoutHook = ::SetWindowsHookExW(WH_CBT, ScoutProc, g_module, 0);
    if (!g_scoutHook) g_scoutedProcess = 0;
    return g_scoutHook != nullptr;
}

bool TakeThreadRequest(DWORD thread) {
    DWORD scouted = 0;
    {
        const HooksLocked locked;
        if (g_scoutHook) scouted = g_scoutedProcess;
    }
    if (!scouted || !thread) return false;
    HANDLE handle = ::OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, thread);
    if (!handle) return false;
    const DWORD process = ::GetProcessIdOfThread(handle);
    ::CloseHandle(handle);
    return process == scouted && AddThreadHooks(thread);
}

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
    DWORD* const slots[] = {&g_reportingSlot, &g_chainSlot, &g_gateSlot, &g_sendsSlot, &g_askedSlot};
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            g_module = instance;
            ::InitializeCriticalSection(&g_hooksLock);
            for (DWORD* slot : slots) *slot = ::TlsAlloc();
            break;
        case DLL_THREAD_DETACH:
            // A thread's sends in progress go with it.
            ForgetSendsOfThread();
            break;
        case DLL_PROCESS_DETACH:
            // At process end the system releases everything itself.
            if (reserved) break;
            RemoveThreadHooks();
            CloseChannel();
            ForgetLiveMemory();
            ForgetSendsOfThread();
            for (DWORD* slot : slots) {
                if (*slot != TLS_OUT_OF_INDEXES) ::TlsFree(*slot);
                *slot = TLS_OUT_OF_INDEXES;
            }
            ::DeleteCriticalSection(&g_hooksLock);
            break;
        default:
            break;
    }
    return TRUE;
}
