// VANTREL.DLL: reports the messages of one watched window to the Catch
// Messages window of vantrel.exe.
//
// vantrel.exe sets two hooks through SetMyHook on the thread of the watched
// window, so this library is loaded into that window's process. A
// call-window-procedure hook sees the messages sent to the watched window
// (from any thread or process), a get-message hook the posted ones as they
// are removed from the queue; each message is reported once. A report is one write of the shared record followed by one
// synchronous HookNotifyMessage to the notify window.
//
// The library runs inside other people's programs: it never blocks them for
// long and never fails them. When anything is missing (no shared record, no
// writer lock) the message is passed on untouched.

#define VANTREL_HOOK_BUILDING
#include "hooklib/vantrel_hook.h"

#include <cstdint>

namespace {

// The shared record: the same name, size and layout as the program's.
constexpr const char* kMappingName = "Vantrel - Mapped File for Hook {3F6D2A17-9B4E-4C81-A5D0-7E29C4B81F63}";
constexpr DWORD kRecordSize = 44;
constexpr UINT kHookNotifyMessage = WM_USER + 133;
// How long a host thread waits for the writer lock and for vantrel.exe to
// handle a report before it gives the report up and goes on.
constexpr DWORD kWriterWaitMs = 3000;
constexpr UINT kNotifyTimeoutMs = 3000;
// How often a waiting writer looks whether the lock's owner still lives.
constexpr DWORD kOwnerCheckMs = 50;

// The record as both sides see it. The first 12 bytes are the library's own:
// they tell every instance of the library where to report and what to watch,
// and hold the writers' lock. The next 4 number the reports, so that
// vantrel.exe logs each once and counts those it missed.
// From offset 16 on it is the 32-bit MSG layout, every field 32 bits wide,
// whatever the width of the process's own handles (window handles and hook
// handles carry 32 significant bits).
struct Record {
    volatile LONG notifyWindow;   // handle of the Catch Messages window; 0 = not catching
    volatile LONG watchedWindow;  // handle of the watched window
    volatile LONG lockOwner;      // thread that writes the record now; 0 = free
    volatile LONG sequence;       // report number: one more for every record written
    DWORD hwnd;                   // offset 16
    DWORD message;
    DWORD wParam;
    DWORD lParam;
    DWORD time;
    LONG x;
    LONG y;
};
static_assert(sizeof(Record) == kRecordSize, "the shared record is 44 bytes");

HINSTANCE g_module = nullptr;
DWORD g_reportingSlot = TLS_OUT_OF_INDEXES;  // per thread: a report is being handled

// This process's view of the record and its writer lock, opened on first use.
HANDLE g_mapping = nullptr;
Record* g_record = nullptr;

// The hooks set by this process (only vantrel.exe sets them).
HHOOK g_ownCallWndHook = nullptr;
HHOOK g_ownGetMessageHook = nullptr;

HWND ToWindow(LONG value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(value)); }
LONG FromHandle(const void* handle) { return static_cast<LONG>(reinterpret_cast<INT_PTR>(handle)); }

Record* OpenRecord() {
    if (g_record) return g_record;
    HANDLE mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kMappingName);
    if (!mapping) return nullptr;
    void* view = ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kRecordSize);
    if (!view) {
        ::CloseHandle(mapping);
        return nullptr;
    }
    g_mapping = mapping;
    g_record = static_cast<Record*>(view);
    return g_record;
}

void CloseRecord() {
    if (g_record) ::UnmapViewOfFile(g_record);
    if (g_mapping) ::CloseHandle(g_mapping);
    g_record = nullptr;
    g_mapping = nullptr;
}

// True when the thread that holds the lock has ended: it died while
// reporting (its process killed, say) and left the lock set.
bool OwnerGone(LONG owner) {
    HANDLE thread = ::OpenThread(SYNCHRONIZE, FALSE, static_cast<DWORD>(owner));
    if (!thread) return ::GetLastError() == ERROR_INVALID_PARAMETER;  // no such thread any more
    const bool ended = ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    ::CloseHandle(thread);
    return ended;
}

// The writers' lock lives in the record itself: taking it and giving it back
// costs no round trip to the system while nobody else holds it, which is
// nearly always, so a report costs little more than its notification.
bool LockRecord(Record* record) {
    const LONG self = static_cast<LONG>(::GetCurrentThreadId());
    const DWORD start = ::GetTickCount();
    DWORD checked = start;
    for (unsigned spin = 0;; ++spin) {
        if (::InterlockedCompareExchange(&record->lockOwner, self, 0) == 0) return true;
        const DWORD now = ::GetTickCount();
        if (now - checked >= kOwnerCheckMs) {
            checked = now;
            const LONG owner = record->lockOwner;
            if (owner != 0 && OwnerGone(owner) &&
                ::InterlockedCompareExchange(&record->lockOwner, self, owner) == owner)
                return true;
        }
        if (now - start > kWriterWaitMs) return false;
        if (spin < 100) YieldProcessor();
        else ::Sleep(spin < 400 ? 0 : 1);
    }
}

void UnlockRecord(Record* record) { ::InterlockedExchange(&record->lockOwner, 0); }

bool IsReporting() {
    return g_reportingSlot != TLS_OUT_OF_INDEXES && ::TlsGetValue(g_reportingSlot) != nullptr;
}

void SetReporting(bool on) {
    if (g_reportingSlot != TLS_OUT_OF_INDEXES)
        ::TlsSetValue(g_reportingSlot, on ? reinterpret_cast<void*>(1) : nullptr);
}

// Hands one message of the watched window to vantrel.exe and waits until its
// handler has read the record. Messages raised on this thread while a report
// is handled (the watched window is one of vantrel.exe's own, its log pane
// included) are not reported again, so watching never feeds on itself.
void Report(HWND hwnd, const MSG& message) {
    if (IsReporting()) return;
    Record* record = OpenRecord();
    if (!record) return;
    const HWND notify = ToWindow(record->notifyWindow);
    if (!notify || ToWindow(record->watchedWindow) != hwnd) return;
    if (!LockRecord(record)) return;
    SetReporting(true);
    // Catching may have stopped while this thread waited for its turn.
    if (ToWindow(record->notifyWindow) == notify && ToWindow(record->watchedWindow) == hwnd) {
        record->hwnd = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(message.hwnd));
        record->message = message.message;
        record->wParam = static_cast<DWORD>(message.wParam);
        record->lParam = static_cast<DWORD>(message.lParam);
        record->time = message.time;
        record->x = message.pt.x;
        record->y = message.pt.y;
        record->sequence = record->sequence + 1;
        ::MemoryBarrier();
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(notify, kHookNotifyMessage, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kNotifyTimeoutMs,
                              &result);
    }
    SetReporting(false);
    UnlockRecord(record);
}

// True when hwnd is the watched window and a report is wanted: the cheap test
// every hooked message of every process goes through.
bool IsWatched(HWND hwnd) {
    if (!hwnd || IsReporting()) return false;
    Record* record = OpenRecord();
    return record && record->notifyWindow != 0 && ToWindow(record->watchedWindow) == hwnd;
}


// Sent messages, seen in the receiving thread before the window procedure.
LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && lParam) {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (IsWatched(sent->hwnd)) {
            MSG message{};
            message.hwnd = sent->hwnd;
            message.message = sent->message;
            message.wParam = sent->wParam;
            message.lParam = sent->lParam;
            // A sent message carries no time or position of its own: take
            // the moment it is received and the pointer position the thread
            // last saw (asking the pointer itself would cost a round trip to
            // the display for every message).
            message.time = ::GetTickCount();
            const DWORD position = ::GetMessagePos();
            message.pt.x = static_cast<short>(LOWORD(position));
            message.pt.y = static_cast<short>(HIWORD(position));
            Report(sent->hwnd, message);
        }
    }
    // The system passes the message on to the next hook by itself; the
    // hook handle argument is ignored.
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Posted messages, reported when they are taken off the queue (not when a
// queue is only looked at), so each is reported once.
LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && lParam) {
        const MSG* posted = reinterpret_cast<const MSG*>(lParam);
        if (IsWatched(posted->hwnd)) Report(posted->hwnd, *posted);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

BOOL WINAPI SetMyHook(HWND notifyWindow, HWND watched) {
    if (g_ownCallWndHook || g_ownGetMessageHook) return FALSE;
    Record* record = OpenRecord();
    if (!record) return FALSE;
    ::InterlockedExchange(&record->notifyWindow, 0);
    ::InterlockedExchange(&record->watchedWindow, FromHandle(watched));
    // Every message of a window is handled by the thread that made it, so
    // the hooks go into that thread alone: no other program on the desktop,
    // nor Vantrel itself while it handles the reports, runs them.
    const DWORD thread = ::GetWindowThreadProcessId(watched, nullptr);
    if (thread == 0) {
        RemoveMyHook();
        return FALSE;
    }
    g_ownCallWndHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, g_module, thread);
    g_ownGetMessageHook = ::SetWindowsHookExA(WH_GETMESSAGE, GetMsgProc, g_module, thread);
    if (!g_ownCallWndHook || !g_ownGetMessageHook) {
        RemoveMyHook();
        return FALSE;
    }
    // Reporting begins once the notify window is known.
    ::InterlockedExchange(&record->notifyWindow, FromHandle(notifyWindow));
    return TRUE;
}

BOOL WINAPI RemoveMyHook() {
    if (g_record) {
        // Instances in other processes stop reporting at once, even before
        // the system has unloaded the library from them.
        ::InterlockedExchange(&g_record->notifyWindow, 0);
        ::InterlockedExchange(&g_record->watchedWindow, 0);
    }
    if (g_ownCallWndHook) ::UnhookWindowsHookEx(g_ownCallWndHook);
    if (g_ownGetMessageHook) ::UnhookWindowsHookEx(g_ownGetMessageHook);
    g_ownCallWndHook = nullptr;
    g_ownGetMessageHook = nullptr;
    // The program releases its shared record after this call: let go of ours
    // too, so the next showing of its window starts from a fresh record.
    CloseRecord();
    return TRUE;
}

// The loader looks the entry point up by its C name.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            g_module = instance;
            g_reportingSlot = ::TlsAlloc();
            ::DisableThreadLibraryCalls(instance);
            break;
        case DLL_PROCESS_DETACH:
            // At process end the system releases everything itself.
            if (reserved) break;
            if (g_ownCallWndHook || g_ownGetMessageHook) RemoveMyHook();
            CloseRecord();
            if (g_reportingSlot != TLS_OUT_OF_INDEXES) ::TlsFree(g_reportingSlot);
            g_reportingSlot = TLS_OUT_OF_INDEXES;
            break;
        default:
            break;
    }
    return TRUE;
}
