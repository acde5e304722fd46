#include "platform/win32_desktop.h"

#include "base/scope_exit.h"
#include "base/unicode.h"
#include "platform/win32_dpi.h"
#include "platform/win32_handles.h"
#include "platform/win32_text.h"

#include <atomic>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

namespace vantrel::win32 {

namespace {

// A change asked of another thread's window, run on a short-lived thread of
// its own: cross-thread ShowWindow, EnableWindow, SetWindowPos, SetWindowText,
// SetWindowPlacement, SetWindowLong and the close request are sends that wait
// for the window's thread without limit, so Vantrel's thread only waits for
// the worker, with a bound.
struct Job {
    std::function<void()> action;
    // Set by the worker when Windows refused the change (the window's program
    // runs with higher rights): shared, as the worker may outlive the wait.
    std::shared_ptr<std::atomic<bool>> denied = std::make_shared<std::atomic<bool>>(false);
};

DWORD WINAPI RunJob(LPVOID parameter) {
    const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    ::SetLastError(ERROR_SUCCESS);
    job->action();
    if (::GetLastError() == ERROR_ACCESS_DENIED) job->denied->store(true);
    return 0;
}

void ReadRights(HANDLE process, ProcessInfo& info);

// Whether the user must be told that a request still waits for its answer.
std::function<void(bool)> g_waitNotice;

// Waits for a worker for at most ms. Meanwhile Vantrel answers the messages
// sent to its thread (other programs, and the system on the target's behalf,
// keep talking to Vantrel's windows while they wait for it), paints its
// windows and lets the user move and size them by their frames, so it is
// never taken for a hung program; the user's other input and posted messages
// wait for the message loop, so no command starts inside this one. True when
// the worker has ended. With notice set, after kWaitNoticeMs the user is
// told that the other program's answer is awaited.
bool WaitAnswering(HANDLE worker, DWORD ms, bool notice = false) {
    const DWORD start = ::GetTickCount();
    bool told = false;
    const ScopeExit untell([&told] {
        if (told && g_waitNotice) g_waitNotice(false);
    });
    for (;;) {
        const DWORD spent = ::GetTickCount() - start;
        if (notice && !told && spent >= kWaitNoticeMs && g_waitNotice) {
            told = true;
            g_waitNotice(true);
        }
        DWORD left = spent >= ms ? 0 : ms - spent;
        if (notice && !told && spent < kWaitNoticeMs) left = std::min<DWORD>(left, kWaitNoticeMs - spent);
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &worker, FALSE, left,
                                                        QS_SENDMESSAGE | QS_PAINT | QS_TIMER | QS_MOUSEBUTTON |
                                                            QS_MOUSEMOVE);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken == WAIT_TIMEOUT && ::GetTickCount() - start < ms) continue;
        if (woken != WAIT_OBJECT_0 + 1) return false;
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) ::DispatchMessageW(&msg);
        while (::PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) ::DispatchMessageW(&msg);
        // The frame's own mouse messages: the caption drags the window, the
        // border sizes it; the clicks inside wait.
        while (::PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
}

// Whether the program of a window runs at a higher integrity level than
// Vantrel: Windows then refuses Vantrel's changes to its windows.
bool RunsWithHigherRights(HWND hwnd) {
    DWORD processId = 0;
    if (!::GetWindowThreadProcessId(hwnd, &processId) || processId == ::GetCurrentProcessId()) return false;
    const KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return false;
    ProcessInfo program;
    ProcessInfo own;
    ReadRights(process.get(), program);
    ReadRights(::GetCurrentProcess(), own);
    return RunsWithHigherRights(program, own);
}

// A thread that answers a probe is alive, however long it takes over a
// request: it may be asking its own user. One that does not is hung; where
// the system already knows so, it is not even asked.
bool Answers(HWND hwnd) {
    if (::IsHungAppWindow(hwnd)) return false;
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kRequestTimeoutMs, &result) != 0;
}

void CALLBACK ProbeAnswered(HWND, UINT, ULONG_PTR thread, LRESULT);

// A value of a window's class. A value of 0 is one only where the system
// reported no error: for another program's window some systems answer only
// the numbers, not the handles.
std::optional<ULONG_PTR> ClassValue(HWND hwnd, int index) {
    ::SetLastError(ERROR_SUCCESS);
    const ULONG_PTR value = ::GetClassLongPtrW(hwnd, index);
    if (value == 0 && ::GetLastError() != ERROR_SUCCESS) return std::nullopt;
    return value;
}

std::optional<bool> ClassHas(HWND hwnd, int index) {
    const std::optional<ULONG_PTR> value = ClassValue(hwnd, index);
    if (!value) return std::nullopt;
    return *value != 0;
}

// Whether this Windows runs 64-bit programs.
bool SystemIs64Bit() {
    if constexpr (sizeof(void*) == 8) {
        return true;
    } else {
        BOOL wow64 = FALSE;
        return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
    }
}

// The elevation and integrity level of a process's token, where it may be read.
void ReadRights(HANDLE process, ProcessInfo& info) {
    HANDLE taken = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &taken)) return;
    const KernelHandle token(taken);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size))
        info.elevated = elevation.TokenIsElevated != 0;
    // The label holds a SID whose last part is the level.
    alignas(TOKEN_MANDATORY_LABEL) unsigned char label[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
    if (::GetTokenInformation(token.get(), TokenIntegrityLevel, label, sizeof(label), &size)) {
        const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(label)->Label.Sid;
        if (::IsValidSid(sid) && *::GetSidSubAuthorityCount(sid) > 0)
            info.integrityLevel = *::GetSidSubAuthority(sid, *::GetSidSubAuthorityCount(sid) - 1u);
    }
}

class Win32Desktop final : public Desktop {
public:
    Handle activeWindow() override { return ToHandle(::GetActiveWindow()); }

    Handle related(Handle window, Relation relation) override {
        return ToHandle(::GetWindow(ToHwnd(window), static_cast<UINT>(relation)));
    }

    std::string text(Handle window) override {
        HWND hwnd = ToHwnd(window);
        // Which thread a window belongs to costs a round trip of its own, so
        // it is asked only while some thread is remembered as not answering.
        DWORD thread = 0;
        if (!notAnswering_.empty()) {
            thread = ::GetWindowThreadProcessId(hwnd, nullptr);
            if (const auto it = notAnswering_.find(thread); it != notAnswering_.end()) {
                // The probe went to a window that has gone since: it may never
                // be answered, so this window carries the next one.
                if (!::IsWindow(it->second)) Probe(thread, hwnd);
                return {};
            }
        }
        // The wide form: every character of every script arrives as it is,
        // 256 UTF-16 units at most (255 and the terminating zero).
        wchar_t buffer[260] = {};
        DWORD_PTR copied = 0;
        // A bounded send: a window whose thread does not answer must not
        // freeze Vantrel; its text reads as empty. SMTO_ABORTIFHUNG lets the
        // system answer at once for a thread it already knows to be hung.
        if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                                   kTextTimeoutMs, &copied)) {
            if (::IsWindow(hwnd)) {
                if (!thread) thread = ::GetWindowThreadProcessId(hwnd, nullptr);
                if (thread) RememberNotAnswering(thread, hwnd);
            }
            return {};
        }
        buffer[255] = L'\0';
        // A text cut by the 255 units may end on the first half of a
        // surrogate pair: the whole characters before it are kept.
        std::size_t length = std::wcslen(buffer);
        if (length > 0 && buffer[length - 1] >= 0xD800 && buffer[length - 1] <= 0xDBFF) --length;
        return Narrow(std::wstring_view(buffer, length));
    }

    std::string className(Handle window) override {
        wchar_t buffer[260] = {};
        ::GetClassNameW(ToHwnd(window), buffer, 256);
        return Narrow(buffer);
    }

    std::uint32_t windowLong(Handle window, LongIndex index) override {
        // The owner and the user data are pointer-sized on 64-bit Windows;
        // Vantrel shows their 32-bit value as on the 32-bit platform.
        return static_cast<std::uint32_t>(::GetWindowLongPtrA(ToHwnd(window), static_cast<int>(index)));
    }

    bool isVisible(Handle window) override { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }
    bool isEnabled(Handle window) override { return ::IsWindowEnabled(ToHwnd(window)) != FALSE; }

    std::optional<Placement> placement(Handle window) override {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        if (!::GetWindowPlacement(ToHwnd(window), &wp)) return std::nullopt;
        Placement p;
        p.length = wp.length;
        p.flags = wp.flags;
        p.showCmd = wp.showCmd;
        p.minPosition = {wp.ptMinPosition.x, wp.ptMinPosition.y};
        p.maxPosition = {wp.ptMaxPosition.x, wp.ptMaxPosition.y};
        p.normalPosition = {wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                            wp.rcNormalPosition.bottom};
        return p;
    }

    std::optional<Rect> windowRect(Handle window) override {
        RECT r;
        if (!::GetWindowRect(ToHwnd(window), &r)) return std::nullopt;
        return Rect{r.left, r.top, r.right, r.bottom};
    }

    Handle parent(Handle window) override { return ToHandle(::GetParent(ToHwnd(window))); }

    ThreadProcess threadProcess(Handle window) override {
        DWORD process = 0;
        const DWORD thread = ::GetWindowThreadProcessId(ToHwnd(window), &process);
        return {thread, process};
    }

    std::optional<ClassInfo> classInfo(Handle window) override {
        const HWND hwnd = ToHwnd(window);
        // Every class has an atom: none means the window has gone.
        const std::optional<ULONG_PTR> atom = ClassValue(hwnd, GCW_ATOM);
        const std::optional<ULONG_PTR> style = ClassValue(hwnd, GCL_STYLE);
        const std::optional<ULONG_PTR> classExtra = ClassValue(hwnd, GCL_CBCLSEXTRA);
        const std::optional<ULONG_PTR> windowExtra = ClassValue(hwnd, GCL_CBWNDEXTRA);
        if (!atom || *atom == 0 || !style || !classExtra || !windowExtra) return std::nullopt;
        ClassInfo info;
        info.atom = static_cast<std::uint32_t>(*atom);
        info.style = static_cast<std::uint32_t>(*style);
        info.classExtraBytes = static_cast<std::int32_t>(*classExtra);
        info.windowExtraBytes = static_cast<std::int32_t>(*windowExtra);
        info.icon = ClassHas(hwnd, GCLP_HICON);
        info.smallIcon = ClassHas(hwnd, GCLP_HICONSM);
        info.cursor = ClassHas(hwnd, GCLP_HCURSOR);
        info.background = ClassHas(hwnd, GCLP_HBRBACKGROUND);
        // Gone in between: what was read may be zeros.
        if (!::IsWindow(hwnd)) return std::nullopt;
        return info;
    }

    std::optional<Rect> clientRect(Handle window) override {
        const HWND hwnd = ToHwnd(window);
        RECT r;
        POINT origin{0, 0};
        if (!::GetClientRect(hwnd, &r) || !::ClientToScreen(hwnd, &origin)) return std::nullopt;
        return Rect{origin.x, origin.y, origin.x + (r.right - r.left), origin.y + (r.bottom - r.top)};
    }

    WindowScale windowScale(Handle window) override {
        const HWND hwnd = ToHwnd(window);
        if (!::IsWindow(hwnd)) return {};
        return ScaleOfWindow(hwnd);
    }

    ProcessInfo processInfo(std::uint32_t processId) override {
        ProcessInfo info;
        // The least right that tells all of it: it is given for most programs
        // of the same user, elevated ones included.
        const KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
        if (!process) {
            info.access = ::GetLastError() == ERROR_ACCESS_DENIED ? ProcessAccess::Denied : ProcessAccess::Gone;
            return info;
        }
        info.access = ProcessAccess::Opened;
        std::wstring path(32768, L'\0');
        DWORD length = static_cast<DWORD>(path.size());
        if (::QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) info.path = Narrow(std::wstring_view(path.data(), length));
        BOOL wow64 = FALSE;
        if (::IsWow64Process(process.get(), &wow64)) info.bits = SystemIs64Bit() && !wow64 ? 64 : 32;
        ReadRights(process.get(), info);
        info.dpiAwareness = ProcessDpiAwareness(process.get());
        return info;
    }

    std::uint32_t ownProcessId() override { return ::GetCurrentProcessId(); }

    std::optional<Point> cursorPos() override {
        POINT p;
        if (!::GetCursorPos(&p)) return std::nullopt;
        return Point{p.x, p.y};
    }

    Handle windowFromPoint(Point point) override {
        return ToHandle(::WindowFromPoint(POINT{point.x, point.y}));
    }

    Reply show(Handle window, ShowCommand command) override {
        const HWND hwnd = ToHwnd(window);
        return Ask(hwnd, [hwnd, command] { ::ShowWindow(hwnd, static_cast<int>(command)); });
    }

    Reply enable(Handle window, bool enabled) override {
        const HWND hwnd = ToHwnd(window);
        return Ask(hwnd, [hwnd, enabled] { ::EnableWindow(hwnd, enabled ? TRUE : FALSE); });
    }

    Reply setTopmost(Handle window, bool topmost) override {
        const HWND hwnd = ToHwnd(window);
        return Ask(hwnd, [hwnd, topmost] {
            ::SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        });
    }

    Reply frameChanged(Handle window) override {
        const HWND hwnd = ToHwnd(window);
        return Ask(hwnd, [hwnd] {
            ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                           SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        });
    }

    Reply requestClose(Handle window) override {
        const HWND hwnd = ToHwnd(window);
        return Ask(hwnd, [hwnd] { ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); }, true);
    }

    Reply setText(Handle window, const std::string& text) override {
        const HWND hwnd = ToHwnd(window);
        return Ask(hwnd, [hwnd, wide = Wide(text)] { ::SetWindowTextW(hwnd, wide.c_str()); });
    }

    Reply setPlacement(Handle window, const Placement& p) override {
        WINDOWPLACEMENT wp{};
        wp.length = p.length;
        wp.flags = p.flags;
        wp.showCmd = p.showCmd;
        wp.ptMinPosition = {p.minPosition.x, p.minPosition.y};
        wp.ptMaxPosition = {p.maxPosition.x, p.maxPosition.y};
        wp.rcNormalPosition = {p.normalPosition.left, p.normalPosition.top, p.normalPosition.right,
                               p.normalPosition.bottom};
        const HWND hwnd = ToHwnd(window);
        return Ask(hwnd, [hwnd, wp] { ApplyPlacement(hwnd, wp); });
    }

    Reply setWindowLong(Handle window, LongIndex index, std::uint32_t value) override {
        const HWND hwnd = ToHwnd(window);
        return Ask(hwnd, [hwnd, index, value] {
            if (index == LongIndex::Style || index == LongIndex::ExStyle)
                ::SetWindowLongA(hwnd, static_cast<int>(index), static_cast<LONG>(value));
            else
                ::SetWindowLongPtrA(hwnd, static_cast<int>(index), static_cast<LONG_PTR>(value));
        });
    }

    // The probe of a thread remembered as not answering came back.
    void ProbeCameBack(DWORD thread) { notAnswering_.erase(thread); }

private:
    static void ApplyPlacement(HWND hwnd, const WINDOWPLACEMENT& wp) {
        if (::SetWindowPlacement(hwnd, &wp) || !::IsWindow(hwnd) || ::IsIconic(hwnd) || ::IsZoomed(hwnd)) return;
        // Wine refuses SetWindowPlacement for a window of another process
        // (FALSE, nothing changed) where Windows applies it. For a window
        // shown normally the normal rectangle is then applied as its position
        // and size, so the edit still takes effect there.
        RECT r = wp.rcNormalPosition;
        if (::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) {
            // SetWindowPos places a child in its parent's client coordinates,
            // while Wine's placement of another process's window holds the
            // window rectangle on the screen. Where the placement reads as the
            // screen rectangle, the edited one is turned into the parent's
            // coordinates, so a width-only edit keeps the control's place.
            WINDOWPLACEMENT now{};
            now.length = sizeof(now);
            RECT screen;
            if (::GetWindowPlacement(hwnd, &now) && ::GetWindowRect(hwnd, &screen) &&
                ::EqualRect(&now.rcNormalPosition, &screen))
                ::MapWindowPoints(HWND_DESKTOP, ::GetAncestor(hwnd, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
        }
        ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // Makes one change: directly on a window of Vantrel's own thread, else on
    // a worker waited for with a bound. A thread whose change is still under
    // way gets no second one: a hung thread would only pile them up. With
    // whileAlive the wait goes on for as long as the thread answers a probe.
    Reply Ask(HWND hwnd, std::function<void()> action, bool whileAlive = false) {
        const DWORD thread = ::GetWindowThreadProcessId(hwnd, nullptr);
        if (thread == 0 || thread == ::GetCurrentThreadId()) {
            action();
            return Reply::Answered;
        }
        if (const auto it = pending_.find(thread); it != pending_.end()) {
            if (::WaitForSingleObject(it->second.get(), 0) == WAIT_TIMEOUT) return Reply::Busy;
            pending_.erase(it);
        }
        // Windows refuses every change of a program at a higher integrity
        // level, mostly without a word: it is not even asked.
        if (RunsWithHigherRights(hwnd)) return Reply::Denied;
        auto job = std::make_unique<Job>(Job{std::move(action)});
        const auto denied = job->denied;
        const HANDLE created = ::CreateThread(nullptr, 0, RunJob, job.get(), 0, nullptr);
        if (!created) {
            // No thread to spare: the change is made here, as a send would.
            job->action();
            return Reply::Answered;
        }
        job.release();
        // Tracked from the start: a request sent to Vantrel while this one
        // waits is refused rather than queued behind it.
        const std::shared_ptr<void> worker(created, ::CloseHandle);
        pending_[thread] = worker;
        ++waiting_;
        const ScopeExit waited([this] { --waiting_; });
        bool done = WaitAnswering(worker.get(), ::IsHungAppWindow(hwnd) ? 0 : kRequestTimeoutMs, whileAlive);
        for (int goneRounds = 0; !done && whileAlive;) {
            // The close itself may destroy the window while it is probed: a
            // window that has gone answers no probe, and its thread, which
            // ends the request soon after, is given one more while to do so.
            if (!Answers(hwnd) && (::IsWindow(hwnd) || goneRounds++ > 0)) break;
            done = WaitAnswering(worker.get(), kRequestTimeoutMs, whileAlive);
        }
        if (!done) done = ::WaitForSingleObject(worker.get(), 0) == WAIT_OBJECT_0;
        if (!done) {
            RememberNotAnswering(thread, hwnd);
            return Reply::NotAnswered;
        }
        if (const auto it = pending_.find(thread); it != pending_.end() && it->second == worker) pending_.erase(it);
        return denied->load() ? Reply::Denied : Reply::Answered;
    }

public:
    // A change is under way and Vantrel waits for the window's answer.
    bool Waiting() const { return waiting_ > 0; }

private:

    // A thread that let a request time out is not asked again (its windows
    // read as empty texts at no cost) until it has answered a probe that
    // costs the rebuild nothing: a WM_NULL whose answer comes back later
    // through the message loop.
    void RememberNotAnswering(DWORD thread, HWND hwnd) {
        if (notAnswering_.count(thread)) return;
        Probe(thread, hwnd);
    }

    void Probe(DWORD thread, HWND hwnd) {
        notAnswering_[thread] = hwnd;
        ::SendMessageCallbackA(hwnd, WM_NULL, 0, 0, ProbeAnswered, thread);
    }

    // By thread: the window the last probe went to.
    std::unordered_map<DWORD, HWND> notAnswering_;
    int waiting_ = 0;
    // By thread: the worker of the change still under way.
    std::unordered_map<DWORD, std::shared_ptr<void>> pending_;
};

Win32Desktop& TheWin32Desktop() {
    static Win32Desktop desktop;
    return desktop;
}

void CALLBACK ProbeAnswered(HWND, UINT, ULONG_PTR thread, LRESULT) {
    TheWin32Desktop().ProbeCameBack(static_cast<DWORD>(thread));
}

}  // namespace

Desktop& TheDesktop() { return TheWin32Desktop(); }

bool RequestPending() { return TheWin32Desktop().Waiting(); }

void SetWaitNotice(std::function<void(bool)> notice) { g_waitNotice = std::move(notice); }

}  // namespace vantrel::win32
