#include "catch/win32_log_view.h"

#include "platform/win32_handles.h"
#include "shell/win32_form.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace vantrel::win32 {

namespace {

// The view's own request to bring the screen up to date. A request posted
// to the queue does not gather lines: a program that reports message after
// message waits for each answer, so the queue falls idle between any two of
// them and every line would be painted on its own (under Wine a repaint of
// the pane costs some 10 ms, thirty times the report itself). A short timer
// gathers all the lines of its interval into one repaint instead.
constexpr UINT_PTR kUpdateTimer = 1;
constexpr UINT kUpdateDelayMs = 200;
// Pixels between the left edge and the first column, as a text control leaves.
constexpr int kMargin = 2;
constexpr int kWheelStep = 120;

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

}  // namespace

void LogView::Register() {
    WNDCLASSA wc{};
    if (::GetClassInfoA(Instance(), kClassName, &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &LogView::WindowProc;
    wc.cbWndExtra = sizeof(LogView*);
    wc.hInstance = Instance();
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM));
    wc.hbrBackground = nullptr;  // every row paints its own background
    wc.lpszClassName = kClassName;
    ::RegisterClassA(&wc);
}

LogView* LogView::Of(HWND window) {
    char name[16] = {};
    if (!window || !::GetClassNameA(window, name, sizeof name) || std::strcmp(name, kClassName) != 0) return nullptr;
    return reinterpret_cast<LogView*>(::GetWindowLongPtrA(window, 0));
}

LogView::LogView(HWND window) : window_(window), buffer_("") {}

LRESULT CALLBACK LogView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* view = new LogView(window);
        ::SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(view));
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create && create->lpszName) view->buffer_.Assign(create->lpszName);
        view->shownLines_ = view->buffer_.LineCount();
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    auto* view = reinterpret_cast<LogView*>(::GetWindowLongPtrA(window, 0));
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, 0, 0);
        delete view;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    if (!view) return ::DefWindowProcA(window, message, wParam, lParam);
    return view->Handle(message, wParam, lParam);
}

LRESULT LogView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        // The text, for this program and for others, is the whole log.
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(buffer_.Text().size());
        case WM_GETTEXT:
            return static_cast<LRESULT>(buffer_.CopyText(reinterpret_cast<char*>(lParam), wParam));
        case WM_SETTEXT: {
            const char* text = reinterpret_cast<const char*>(lParam);
            SetText(text ? std::string_view(text) : std::string_view());
            return TRUE;
        }
        case EM_GETLINECOUNT:
            return static_cast<LRESULT>(buffer_.LineCount());
        case WM_SETFONT:
            SetFont(reinterpret_cast<HFONT>(wParam));
            if (LOWORD(lParam)) ::InvalidateRect(window_, nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_TIMER:
            if (wParam != kUpdateTimer) break;
            ::KillTimer(window_, kUpdateTimer);
            updatePending_ = false;
            Follow();
            return 0;
        case WM_SIZE:
            top_ = Clamp(top_, 0, MaxTop());
            left_ = Clamp(left_, 0, MaxLeft());
            UpdateScrollBars();
            ::InvalidateRect(window_, nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the rows paint their own background
        case WM_PAINT:
            Paint();
            return 0;
        case WM_VSCROLL:
            OnScroll(SB_VERT, wParam);
            return 0;
        case WM_HSCROLL:
            OnScroll(SB_HORZ, wParam);
            return 0;
        case WM_MOUSEWHEEL: {
            UINT perNotch = 3;
            ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
            wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
            const int notches = wheelRest_ / kWheelStep;
            wheelRest_ -= notches * kWheelStep;
            const int lines = perNotch == WHEEL_PAGESCROLL ? VisibleLines() : static_cast<int>(perNotch);
            ScrollTo(top_ - notches * lines, left_);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            ::SetFocus(window_);
            if (allSelected_) {
                allSelected_ = false;
                ::InvalidateRect(window_, nullptr, FALSE);
            }
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
            OnKey(wParam);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcA(window_, message, wParam, lParam);
}

void LogView::Append(std::string_view line) { buffer_.Append(line); }

void LogView::SetText(std::string_view text) {
    buffer_.Assign(text);
    shownLines_ = buffer_.LineCount();
    top_ = 0;
    left_ = 0;
    allSelected_ = false;
    UpdateScrollBars();
    ::InvalidateRect(window_, nullptr, FALSE);
}

void LogView::RequestUpdate() {
    if (updatePending_) return;
    updatePending_ = ::SetTimer(window_, kUpdateTimer, kUpdateDelayMs, nullptr) != 0;
    // Without a timer the screen follows at once rather than not at all.
    if (!updatePending_) Follow();
}

void LogView::UpdateNow() {
    if (updatePending_) ::KillTimer(window_, kUpdateTimer);
    updatePending_ = false;
    Follow();
    ::UpdateWindow(window_);
}

void LogView::SetFont(HFONT font) {
    font_ = font;
    WindowDC dc(window_);
    if (!dc) return;
    HGDIOBJ old = ::SelectObject(dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICA metrics{};
    if (::GetTextMetricsA(dc.get(), &metrics)) {
        lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight));
        charWidth_ = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
    }
    ::SelectObject(dc.get(), old);
    top_ = Clamp(top_, 0, MaxTop());
    left_ = Clamp(left_, 0, MaxLeft());
    UpdateScrollBars();
}

// After lines were appended: the new last line comes into view, like the
// caret moving to the end of the log, and only what changed is repainted.
void LogView::Follow() {
    const std::size_t count = buffer_.LineCount();
    if (count == shownLines_) return;
    const int oldTop = top_;
    const std::size_t oldCount = shownLines_;
    shownLines_ = count;
    top_ = std::max(top_, MaxTop());
    UpdateScrollBars();
    if (top_ != oldTop) {
        ::InvalidateRect(window_, nullptr, FALSE);
        return;
    }
    // The screen did not move: only the rows of the new lines change.
    RECT client;
    ::GetClientRect(window_, &client);
    const int firstRow = static_cast<int>(oldCount) - top_;
    client.top = std::max(0, firstRow * lineHeight_);
    if (client.top < client.bottom) ::InvalidateRect(window_, &client, FALSE);
}

int LogView::VisibleLines() const {
    RECT client;
    ::GetClientRect(window_, &client);
    return std::max(1, static_cast<int>(client.bottom / lineHeight_));
}

int LogView::VisibleColumns() const {
    RECT client;
    ::GetClientRect(window_, &client);
    return std::max(1, static_cast<int>((client.right - kMargin) / charWidth_));
}

int LogView::MaxTop() const {
    const long long count = static_cast<long long>(buffer_.LineCount());
    return static_cast<int>(std::clamp<long long>(count - VisibleLines(), 0, INT_MAX / 2));
}

int LogView::MaxLeft() const {
    // One column more than the longest line, where a caret would stand.
    const long long columns = static_cast<long long>(buffer_.LongestLine()) + 1;
    return static_cast<int>(std::clamp<long long>(columns - VisibleColumns(), 0, INT_MAX / 2));
}

void LogView::UpdateScrollBars() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    // The bars stay in place when not needed, so the pane's client area
    // never changes while a line is added.
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = static_cast<int>(std::min<std::size_t>(buffer_.LineCount(), INT_MAX / 2)) - 1;
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = top_;
    ::SetScrollInfo(window_, SB_VERT, &info, TRUE);
    info.nMax = static_cast<int>(std::min<std::size_t>(buffer_.LongestLine(), INT_MAX / 2));
    info.nPage = static_cast<UINT>(VisibleColumns());
    info.nPos = left_;
    ::SetScrollInfo(window_, SB_HORZ, &info, TRUE);
}

void LogView::ScrollTo(int top, int left) {
    top = Clamp(top, 0, MaxTop());
    left = Clamp(left, 0, MaxLeft());
    if (top == top_ && left == left_) return;
    top_ = top;
    left_ = left;
    UpdateScrollBars();
    ::InvalidateRect(window_, nullptr, FALSE);
}

void LogView::OnScroll(int bar, WPARAM wParam) {
    const bool vertical = bar == SB_VERT;
    const int page = vertical ? VisibleLines() : VisibleColumns();
    int pos = vertical ? top_ : left_;
    switch (LOWORD(wParam)) {
        case SB_LINEUP: pos -= 1; break;
        case SB_LINEDOWN: pos += 1; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = INT_MAX / 2; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The 32-bit position: the message carries only 16 bits of it.
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            if (::GetScrollInfo(window_, bar, &info)) pos = info.nTrackPos;
            break;
        }
        default: return;
    }
    if (vertical) ScrollTo(pos, left_);
    else ScrollTo(top_, pos);
}

void LogView::OnKey(WPARAM key) {
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    switch (key) {
        case VK_UP: ScrollTo(top_ - 1, left_); break;
        case VK_DOWN: ScrollTo(top_ + 1, left_); break;
        case VK_PRIOR: ScrollTo(top_ - VisibleLines(), left_); break;
        case VK_NEXT: ScrollTo(top_ + VisibleLines(), left_); break;
        case VK_LEFT: ScrollTo(top_, left_ - 1); break;
        case VK_RIGHT: ScrollTo(top_, left_ + 1); break;
        case VK_HOME: control ? ScrollTo(0, 0) : ScrollTo(top_, 0); break;
        case VK_END: control ? ScrollTo(INT_MAX / 2, 0) : ScrollTo(top_, INT_MAX / 2); break;
        case 'A':
            if (control) {
                allSelected_ = true;
                ::InvalidateRect(window_, nullptr, FALSE);
            }
            break;
        case 'C':
            if (control) CopyAll();
            break;
        default: break;
    }
}

void LogView::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window_, &ps);
    if (!dc) return;
    HGDIOBJ oldFont = font_ ? ::SelectObject(dc, font_) : nullptr;
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF back = ::GetSysColor(COLOR_WINDOW);
    const COLORREF selectedText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF selectedBack = ::GetSysColor(COLOR_HIGHLIGHT);
    ::SetBkMode(dc, OPAQUE);
    const int columns = VisibleColumns() + 1;
    const int firstRow = std::max(0, static_cast<int>(ps.rcPaint.top) / lineHeight_);
    const int lastRow = std::max(firstRow, static_cast<int>(ps.rcPaint.bottom - 1) / lineHeight_);
    for (int row = firstRow; row <= lastRow; ++row) {
        const std::size_t index = static_cast<std::size_t>(top_) + static_cast<std::size_t>(row);
        const std::string_view line = buffer_.Line(index);
        const std::string_view shown =
            static_cast<std::size_t>(left_) < line.size()
                ? line.substr(static_cast<std::size_t>(left_), static_cast<std::size_t>(columns))
                : std::string_view();
        RECT rowRect = {ps.rcPaint.left, row * lineHeight_, ps.rcPaint.right, (row + 1) * lineHeight_};
        const int x = kMargin;
        if (allSelected_ && index < buffer_.LineCount()) {
            ::SetBkColor(dc, back);
            ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rowRect, nullptr, 0, nullptr);
            ::SetTextColor(dc, selectedText);
            ::SetBkColor(dc, selectedBack);
            ::ExtTextOutA(dc, x, rowRect.top, ETO_CLIPPED, &rowRect, shown.data(), static_cast<UINT>(shown.size()),
                          nullptr);
        } else {
            ::SetTextColor(dc, text);
            ::SetBkColor(dc, back);
            ::ExtTextOutA(dc, x, rowRect.top, ETO_OPAQUE | ETO_CLIPPED, &rowRect, shown.data(),
                          static_cast<UINT>(shown.size()), nullptr);
        }
    }
    if (oldFont) ::SelectObject(dc, oldFont);
    ::EndPaint(window_, &ps);
}

namespace {
struct GlobalMemory {
    HGLOBAL handle;
    ~GlobalMemory() { if (handle) ::GlobalFree(handle); }
};
struct OpenedClipboard {
    bool open;
    ~OpenedClipboard() { if (open) ::CloseClipboard(); }
};
}  // namespace

// Ctrl+C: the whole log on the clipboard, as Save as would write it less the
// last line break.
void LogView::CopyAll() {
    const std::string& text = buffer_.Text();
    GlobalMemory memory{::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)};
    if (!memory.handle) return;
    void* bytes = ::GlobalLock(memory.handle);
    if (!bytes) return;
    buffer_.CopyText(static_cast<char*>(bytes), text.size() + 1);
    ::GlobalUnlock(memory.handle);
    OpenedClipboard clipboard{::OpenClipboard(window_) != FALSE};
    if (!clipboard.open) return;
    ::EmptyClipboard();
    // The clipboard owns the memory once it has taken it.
    if (::SetClipboardData(CF_TEXT, memory.handle)) memory.handle = nullptr;
}

}  // namespace vantrel::win32
