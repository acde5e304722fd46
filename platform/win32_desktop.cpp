#include "platform/win32_desktop.h"

#include <iterator>
#include <unordered_map>

namespace vantrel::win32 {

namespace {

// A thread that let a WM_GETTEXT time out is not asked again for a while, so
// a desktop with many windows of one hung program is walked at full speed.
constexpr DWORD kHungThreadMemoryMs = 3000;

class Win32Desktop final : public Desktop {
public:
    Handle activeWindow() override { return ToHandle(::GetActiveWindow()); }

    Handle related(Handle window, Relation relation) override {
        return ToHandle(::GetWindow(ToHwnd(window), static_cast<UINT>(relation)));
    }

    std::string text(Handle window) override {
        HWND hwnd = ToHwnd(window);
        // Which thread a window belongs to costs a round trip of its own, so
        // it is asked only while some thread is remembered as hung.
        if (!hungThreads_.empty()) {
            const DWORD now = ::GetTickCount();
            for (auto it = hungThreads_.begin(); it != hungThreads_.end();)
                it = now - it->second >= kHungThreadMemoryMs ? hungThreads_.erase(it) : std::next(it);
            if (hungThreads_.count(::GetWindowThreadProcessId(hwnd, nullptr))) return {};
        }
        char buffer[260] = {};
        DWORD_PTR copied = 0;
        // A bounded send: a window whose thread does not answer must not
        // freeze Vantrel; its text reads as empty.
        if (!::SendMessageTimeoutA(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                                   kTextTimeoutMs, &copied)) {
            if (::IsWindow(hwnd)) {
                if (const DWORD thread = ::GetWindowThreadProcessId(hwnd, nullptr))
                    hungThreads_[thread] = ::GetTickCount();
            }
            return {};
        }
        buffer[255] = '\0';
        return buffer;
    }

    std::string className(Handle window) override {
        char buffer[260] = {};
        ::GetClassNameA(ToHwnd(window), buffer, 256);
        return buffer;
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

    std::optional<Point> cursorPos() override {
        POINT p;
        if (!::GetCursorPos(&p)) return std::nullopt;
        return Point{p.x, p.y};
    }

    Handle windowFromPoint(Point point) override {
        return ToHandle(::WindowFromPoint(POINT{point.x, point.y}));
    }

    void show(Handle window, ShowCommand command) override {
        ::ShowWindow(ToHwnd(window), static_cast<int>(command));
    }

    void enable(Handle window, bool enabled) override { ::EnableWindow(ToHwnd(window), enabled ? TRUE : FALSE); }

    void setTopmost(Handle window, bool topmost) override {
        ::SetWindowPos(ToHwnd(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }

    void requestClose(Handle window) override {
        ::SendMessageA(ToHwnd(window), WM_SYSCOMMAND, SC_CLOSE, 0);
    }

    void setText(Handle window, const std::string& text) override {
        ::SetWindowTextA(ToHwnd(window), text.c_str());
    }

    void setPlacement(Handle window, const Placement& p) override {
        WINDOWPLACEMENT wp{};
        wp.length = p.length;
        wp.flags = p.flags;
        wp.showCmd = p.showCmd;
        wp.ptMinPosition = {p.minPosition.x, p.minPosition.y};
        wp.ptMaxPosition = {p.maxPosition.x, p.maxPosition.y};
        wp.rcNormalPosition = {p.normalPosition.left, p.normalPosition.top, p.normalPosition.right,
                               p.normalPosition.bottom};
        const HWND hwnd = ToHwnd(window);
        if (!::SetWindowPlacement(hwnd, &wp) && ::IsWindow(hwnd) && !::IsIconic(hwnd) && !::IsZoomed(hwnd)) {
            // Wine refuses SetWindowPlacement for a window of another process
            // (FALSE, nothing changed) where Windows applies it. For a window
            // shown normally the normal rectangle is then applied as its
            // position and size, so the edit still takes effect there.
            const RECT& r = wp.rcNormalPosition;
            ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    void setWindowLong(Handle window, LongIndex index, std::uint32_t value) override {
        if (index == LongIndex::Style || index == LongIndex::ExStyle)
            ::SetWindowLongA(ToHwnd(window), static_cast<int>(index), static_cast<LONG>(value));
        else
            ::SetWindowLongPtrA(ToHwnd(window), static_cast<int>(index), static_cast<LONG_PTR>(value));
    }

private:
    std::unordered_map<DWORD, DWORD> hungThreads_;
};

}  // namespace

Desktop& TheDesktop() {
    static Win32Desktop desktop;
    return desktop;
}

}  // namespace vantrel::win32
