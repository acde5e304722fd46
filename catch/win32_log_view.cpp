#include "catch/win32_log_view.h"

#include "base/dpi.h"
#include "platform/win32_clipboard.h"
#include "platform/win32_dpi.h"
#include "platform/win32_handles.h"
#include "platform/win32_text.h"
#include "shell/win32_form.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <optional>

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
// While the mouse drags a selection beyond the pane, the pane scrolls toward
// the pointer at this pace.
constexpr UINT_PTR kDragTimer = 2;
constexpr UINT kDragDelayMs = 50;
// Pixels between the left edge and the first column at 96 pixels per inch,
// as a text control leaves.
constexpr int kMargin = 2;
constexpr int kWheelStep = 120;

// The right-click menu, as the platform's text control offers it to a
// read-only text: only Copy (with a selection) and Select All can be chosen.
// The owner's item comes after them.
enum MenuCommand : UINT { kMenuUndo = 1, kMenuCut, kMenuCopy, kMenuPaste, kMenuDelete, kMenuSelectAll, kMenuLineItem };

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

int FloorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

int ClampToInt(std::size_t value) { return static_cast<int>(std::min<std::size_t>(value, INT_MAX / 2)); }

// True when size bytes at address may be written: another program's pointer
// in a message the system did not translate would be any number at all.
bool Writable(const void* address, std::size_t size) {
    const char* at = static_cast<const char*>(address);
    const char* end = at + size;
    if (!at || end < at) return false;
    while (at < end) {
        MEMORY_BASIC_INFORMATION info{};
        if (!::VirtualQuery(at, &info, sizeof info) || info.State != MEM_COMMIT) return false;
        const DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
        if (!(info.Protect & writable) || (info.Protect & PAGE_GUARD)) return false;
        at = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}


}  // namespace

void LogView::Register() {
    const std::wstring name = Wide(kClassName);
    WNDCLASSW wc{};
    if (::GetClassInfoW(Instance(), name.c_str(), &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &LogView::WindowProc;
    wc.cbWndExtra = sizeof(LogView*);
    wc.hInstance = Instance();
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM));
    wc.hbrBackground = nullptr;  // every row paints its own background
    wc.lpszClassName = name.c_str();
    ::RegisterClassW(&wc);
}

LogView* LogView::Of(HWND window) {
    wchar_t name[16] = {};
    if (!window || !::GetClassNameW(window, name, 16) || Narrow(name) != kClassName) return nullptr;
    return reinterpret_cast<LogView*>(::GetWindowLongPtrW(window, 0));
}

LogView::LogView(HWND window) : window_(window), buffer_("") {}

LRESULT CALLBACK LogView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* view = new LogView(window);
        ::SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(view));
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create && create->lpszName) view->buffer_.Assign(Narrow(create->lpszName));
        view->shownLines_ = view->buffer_.LineCount();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    auto* view = reinterpret_cast<LogView*>(::GetWindowLongPtrW(window, 0));
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, 0, 0);
        delete view;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (!view) return ::DefWindowProcW(window, message, wParam, lParam);
    return view->Handle(message, wParam, lParam);
}

LRESULT LogView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        // The text, for this program and for others, is the whole log, in
        // UTF-16 units as the pane is a Unicode window (the system converts
        // for those who ask in 8 bits).
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(buffer_.Utf16Size());
        case WM_GETTEXT:
            return static_cast<LRESULT>(buffer_.CopyText(reinterpret_cast<char16_t*>(lParam), wParam));
        case WM_SETTEXT: {
            const auto* text = reinterpret_cast<const wchar_t*>(lParam);
            SetText(text ? Narrow(text) : std::string());
            return TRUE;
        }

        // Lines, caret and selection as the text control gives them.
        case EM_GETLINECOUNT:
            return static_cast<LRESULT>(buffer_.LineCount());
        case EM_GETSEL: {
            const auto [start, end] = edit::GetSel(buffer_, selection_);
            auto* startOut = reinterpret_cast<DWORD*>(wParam);
            auto* endOut = reinterpret_cast<DWORD*>(lParam);
            if (startOut && Writable(startOut, sizeof(DWORD))) *startOut = static_cast<DWORD>(start);
            if (endOut && Writable(endOut, sizeof(DWORD))) *endOut = static_cast<DWORD>(end);
            return start > 0xFFFF || end > 0xFFFF ? -1 : static_cast<LRESULT>(MAKELONG(start, end));
        }
        case EM_SETSEL:
            edit::SetSel(buffer_, selection_, static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam));
            SelectionChanged();
            return 1;
        case EM_LINEINDEX:
            return static_cast<LRESULT>(edit::LineIndex(buffer_, selection_, static_cast<std::int32_t>(wParam)));
        case EM_LINELENGTH:
            return static_cast<LRESULT>(edit::LineLength(buffer_, selection_, static_cast<std::int32_t>(wParam)));
        case EM_LINEFROMCHAR:
            return static_cast<LRESULT>(edit::LineFromChar(buffer_, selection_, static_cast<std::int32_t>(wParam)));
        case EM_GETLINE: {
            // The buffer's first word holds its size in characters.
            auto* out = reinterpret_cast<char16_t*>(lParam);
            if (!out || !Writable(out, sizeof(WORD))) return 0;
            WORD capacity = 0;
            std::memcpy(&capacity, out, sizeof capacity);
            if (capacity == 0 || !Writable(out, capacity * sizeof(char16_t))) return 0;
            return static_cast<LRESULT>(edit::GetLine(buffer_, static_cast<std::int32_t>(wParam), out, capacity));
        }
        case EM_GETFIRSTVISIBLELINE:
            return top_;
        case EM_POSFROMCHAR: {
            if (wParam >= buffer_.Utf16Size()) return -1;
            const POINT point = PointOf(buffer_.ByteOffset(static_cast<std::size_t>(wParam)));
            return static_cast<LRESULT>(MAKELONG(static_cast<short>(point.x), static_cast<short>(point.y)));
        }
        case EM_CHARFROMPOS: {
            const std::size_t position = PositionAtPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            const std::size_t line = buffer_.LineOf(position);
            const std::size_t units = buffer_.Utf16Offset(position);
            return static_cast<LRESULT>(MAKELONG(units & 0xFFFF, line & 0xFFFF));
        }
        case EM_SCROLLCARET:
            RevealCaret();
            UpdateScrollBars();
            PlaceCaret();
            ::InvalidateRect(window_, nullptr, FALSE);
            return TRUE;
        case EM_LINESCROLL:
            ScrollTo(top_ + static_cast<int>(lParam), left_ + static_cast<int>(wParam));
            return TRUE;
        case WM_COPY:
            Copy();
            return 0;
        // Read-only: nothing changes the log but the program itself.
        case WM_CUT:
        case WM_PASTE:
        case WM_CLEAR:
        case WM_UNDO:
        case EM_UNDO:
        case EM_REPLACESEL:
        case EM_CANUNDO:
        case EM_GETMODIFY:
        case WM_CHAR:
            return 0;
        case EM_SETREADONLY:
            return TRUE;

        case WM_SETFONT:
            SetFont(reinterpret_cast<HFONT>(wParam));
            if (LOWORD(lParam)) ::InvalidateRect(window_, nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_TIMER:
            if (wParam == kUpdateTimer) {
                ::KillTimer(window_, kUpdateTimer);
                updatePending_ = false;
                Follow();
                return 0;
            }
            if (wParam == kDragTimer) {
                OnDrag(dragPoint_.x, dragPoint_.y);
                return 0;
            }
            break;
        case WM_SIZE:
            top_ = Clamp(top_, 0, MaxTop());
            left_ = Clamp(left_, 0, MaxLeft());
            UpdateScrollBars();
            PlaceCaret();
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
            ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
            wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
            const int notches = wheelRest_ / kWheelStep;
            wheelRest_ -= notches * kWheelStep;
            const int lines = perNotch == WHEEL_PAGESCROLL ? VisibleLines() : static_cast<int>(perNotch);
            ScrollTo(top_ - notches * lines, left_);
            return 0;
        }

        case WM_SETFOCUS:
            focused_ = true;
            ::CreateCaret(window_, nullptr, 1, lineHeight_);
            PlaceCaret();
            ::ShowCaret(window_);
            return 0;
        case WM_KILLFOCUS:
            focused_ = false;
            ::DestroyCaret();
            return 0;
        case WM_LBUTTONDOWN:
            OnMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_LBUTTONDBLCLK:
            ::SetFocus(window_);
            selection_.SelectWord(buffer_, PositionAtPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
            SelectionChanged();
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) OnDrag(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            if (dragging_) ::ReleaseCapture();
            return 0;
        case WM_CAPTURECHANGED:
            dragging_ = false;
            ::KillTimer(window_, kDragTimer);
            return 0;
        case WM_RBUTTONDOWN:
            // The selection stays for the menu that follows.
            ::SetFocus(window_);
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
            if (OnKey(wParam)) return 0;
            break;
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void LogView::SetLineLimit(std::size_t limit) {
    buffer_.SetLineLimit(limit);
    selection_.Select(buffer_, selection_.Anchor(), selection_.Caret());
    shownLines_ = std::min(shownLines_, buffer_.LineCount());
    grown_ = repaintAll_ = true;
    Follow();
}

void LogView::SetLineMenuItem(std::string caption, std::function<void(std::uint32_t)> chosen) {
    lineMenuCaption_ = std::move(caption);
    lineMenuChosen_ = std::move(chosen);
}

void LogView::SelectLine(std::size_t line) {
    const std::size_t start = buffer_.LineStart(line);
    // The anchor at the line's end and the caret at its start: the view
    // shows the line from its first column.
    selection_.Select(buffer_, start + buffer_.LineLength(line), start);
    SelectionChanged();
}

void LogView::Append(std::string_view line, std::uint32_t tag) {
    const LogBuffer::Trim trim = buffer_.Append(line, tag);
    if (trim.lines) {
        // Every row on screen now holds another line.
        selection_.Shift(trim);
        top_ = top_ > static_cast<int>(trim.lines) ? top_ - static_cast<int>(trim.lines) : std::min(top_, 1);
        shownLines_ = shownLines_ > trim.lines ? shownLines_ - trim.lines : 1;
        repaintAll_ = true;
    }
    // As in the text control, the caret goes to the end of the new line and
    // a selection gives way to it.
    if (!selection_.Empty()) repaintAll_ = true;
    selection_.Place(buffer_, buffer_.Size(), false);
    grown_ = true;
}

void LogView::SetText(std::string_view text) {
    buffer_.Assign(text);
    selection_.Place(buffer_, 0, false);
    shownLines_ = buffer_.LineCount();
    grown_ = repaintAll_ = false;
    top_ = 0;
    left_ = 0;
    UpdateScrollBars();
    PlaceCaret();
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
    {
        SelectObjectScope selected(dc.get(),
                                   font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FIXED_FONT));
        TEXTMETRICW metrics{};
        if (::GetTextMetricsW(dc.get(), &metrics)) {
            lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight));
            charWidth_ = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
        }
    }
    // The gap before the first column, as a text control leaves it, at the
    // pane's screen scale (a new font comes with every new scale).
    margin_ = DpiScale{WindowDpi(window_)}(kMargin);
    // Every character is drawn in one column width, whatever the font, so
    // that columns, the caret and the mouse agree.
    std::fill(advances_.begin(), advances_.end(), charWidth_);
    // Fonts for characters this one lacks are made anew at its size.
    fallbackChoice_.clear();
    fallback_.clear();
    if (focused_) {
        ::DestroyCaret();
        ::CreateCaret(window_, nullptr, 1, lineHeight_);
        ::ShowCaret(window_);
    }
    top_ = Clamp(top_, 0, MaxTop());
    left_ = Clamp(left_, 0, MaxLeft());
    UpdateScrollBars();
    PlaceCaret();
}

// After lines were appended: the caret stands at the end of the last one,
// which comes into view, sideways too, and only what changed is repainted.
void LogView::Follow() {
    if (!grown_) return;
    grown_ = false;
    const int oldTop = top_;
    const int oldLeft = left_;
    const std::size_t oldCount = shownLines_;
    shownLines_ = buffer_.LineCount();
    RevealCaret();
    UpdateScrollBars();
    PlaceCaret();
    if (repaintAll_ || top_ != oldTop || left_ != oldLeft) {
        repaintAll_ = false;
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
    return std::max(1, static_cast<int>((client.right - margin_) / charWidth_));
}

int LogView::MaxTop() const { return std::max(0, ClampToInt(buffer_.LineCount()) - VisibleLines()); }

int LogView::MaxLeft() const {
    // One column more than the longest line, where the caret stands at its end.
    return std::max(0, ClampToInt(buffer_.LongestLine()) + 1 - VisibleColumns());
}

void LogView::UpdateScrollBars() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    // The bars stay in place when not needed, so the pane's client area
    // never changes while a line is added.
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = ClampToInt(buffer_.LineCount()) - 1;
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = top_;
    ::SetScrollInfo(window_, SB_VERT, &info, TRUE);
    info.nMax = ClampToInt(buffer_.LongestLine());
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
    PlaceCaret();
    ::InvalidateRect(window_, nullptr, FALSE);
}

void LogView::RevealCaret() {
    const int line = ClampToInt(buffer_.LineOf(selection_.Caret()));
    const int column = ClampToInt(ColumnOf(buffer_, selection_.Caret()));
    const int lines = VisibleLines();
    const int columns = VisibleColumns();
    if (line < top_) top_ = line;
    else if (line >= top_ + lines) top_ = line - lines + 1;
    // Sideways the view shows as much of the line before the caret as fits.
    if (column < left_ || column >= left_ + columns) left_ = std::max(0, column - columns + 1);
    top_ = Clamp(top_, 0, MaxTop());
    left_ = Clamp(left_, 0, MaxLeft());
}

void LogView::PlaceCaret() {
    if (!focused_) return;
    const POINT point = PointOf(selection_.Caret());
    ::SetCaretPos(point.x, point.y);
}

void LogView::SelectionChanged() {
    RevealCaret();
    UpdateScrollBars();
    PlaceCaret();
    ::InvalidateRect(window_, nullptr, FALSE);
}

std::size_t LogView::PositionAtPoint(int x, int y) const {
    const int row = FloorDiv(y, lineHeight_);
    const long long line = std::max<long long>(0, static_cast<long long>(top_) + row);
    // The nearer edge of the character under the pointer.
    const int column = std::max(0, left_ + FloorDiv(x - margin_ + charWidth_ / 2, charWidth_));
    return PositionAt(buffer_, static_cast<std::size_t>(line), static_cast<std::size_t>(column));
}

POINT LogView::PointOf(std::size_t position) const {
    const long long line = static_cast<long long>(buffer_.LineOf(position));
    const long long column = static_cast<long long>(ColumnOf(buffer_, position));
    const long long x = margin_ + (column - left_) * charWidth_;
    const long long y = (line - top_) * lineHeight_;
    return {static_cast<LONG>(std::clamp<long long>(x, SHRT_MIN, SHRT_MAX)),
            static_cast<LONG>(std::clamp<long long>(y, SHRT_MIN, SHRT_MAX))};
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

bool LogView::OnKey(WPARAM key) {
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    const std::size_t page = static_cast<std::size_t>(VisibleLines());
    auto move = [&](CaretMove how) {
        selection_.Move(buffer_, how, shift, page);
        SelectionChanged();
    };
    switch (key) {
        case VK_LEFT: move(control ? CaretMove::WordLeft : CaretMove::CharLeft); break;
        case VK_RIGHT: move(control ? CaretMove::WordRight : CaretMove::CharRight); break;
        case VK_UP: move(CaretMove::LineUp); break;
        case VK_DOWN: move(CaretMove::LineDown); break;
        case VK_PRIOR:
            // A page turns the view and moves the caret by as many lines.
            top_ = Clamp(top_ - static_cast<int>(page), 0, MaxTop());
            move(CaretMove::PageUp);
            break;
        case VK_NEXT:
            top_ = Clamp(top_ + static_cast<int>(page), 0, MaxTop());
            move(CaretMove::PageDown);
            break;
        case VK_HOME: move(control ? CaretMove::TextStart : CaretMove::LineStart); break;
        case VK_END: move(control ? CaretMove::TextEnd : CaretMove::LineEnd); break;
        case 'A':
            if (!control) return false;
            selection_.SelectAll(buffer_);
            SelectionChanged();
            break;
        case 'C':
        case VK_INSERT:
            if (!control) return false;
            Copy();
            break;
        case VK_DELETE:
        case VK_BACK:
            break;  // read-only: nothing to delete
        default:
            // Ctrl+X, Ctrl+V and Shift+Insert come to nothing either; other
            // keys go on to the system (the menu key, say).
            return false;
    }
    return true;
}

void LogView::OnMouseDown(int x, int y, bool extend) {
    ::SetFocus(window_);
    selection_.Place(buffer_, PositionAtPoint(x, y), extend);
    dragging_ = true;
    dragPoint_ = {x, y};
    ::SetCapture(window_);
    SelectionChanged();
}

// The mouse moved with its button down: the caret follows it; beyond the
// pane the view scrolls toward it at the drag timer's pace.
void LogView::OnDrag(int x, int y) {
    dragPoint_ = {x, y};
    RECT client;
    ::GetClientRect(window_, &client);
    const bool outside = y < 0 || y >= client.bottom || x < 0 || x >= client.right;
    if (outside) ::SetTimer(window_, kDragTimer, kDragDelayMs, nullptr);
    else ::KillTimer(window_, kDragTimer);
    // Pointers beyond the pane reach one line or column past its edge.
    const int innerX = Clamp(x, -charWidth_, client.right + charWidth_);
    const int innerY = Clamp(y, -lineHeight_, std::max<int>(client.bottom, lineHeight_));
    const std::size_t before = selection_.Caret();
    selection_.Place(buffer_, PositionAtPoint(innerX, innerY), true);
    if (selection_.Caret() != before) SelectionChanged();
}

void LogView::OnContextMenu(int x, int y) {
    // The line the menu is about: the one clicked, or the caret's.
    std::size_t line = buffer_.LineOf(selection_.Caret());
    if (x == -1 && y == -1) {
        // From the keyboard: the menu comes at the caret.
        POINT caret = PointOf(selection_.Caret());
        caret.y += lineHeight_;
        ::ClientToScreen(window_, &caret);
        x = caret.x;
        y = caret.y;
    } else {
        POINT at{x, y};
        ::ScreenToClient(window_, &at);
        const long long row = static_cast<long long>(top_) + FloorDiv(at.y, lineHeight_);
        line = row >= 0 ? static_cast<std::size_t>(row) : buffer_.LineCount();
    }
    MenuHandle menu(::CreatePopupMenu());
    if (!menu) return;
    const UINT copy = selection_.Empty() ? MF_GRAYED : MF_ENABLED;
    ::AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, kMenuUndo, L"&Undo");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, kMenuCut, L"Cu&t");
    ::AppendMenuW(menu.get(), MF_STRING | copy, kMenuCopy, L"&Copy");
    ::AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, kMenuPaste, L"&Paste");
    ::AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, kMenuDelete, L"&Delete");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.get(), MF_STRING | MF_ENABLED, kMenuSelectAll, L"Select &All");
    const std::uint32_t tag = buffer_.Tag(line);
    if (lineMenuChosen_) {
        ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(menu.get(), MF_STRING | (tag == LogBuffer::kNoTag ? MF_GRAYED : MF_ENABLED), kMenuLineItem,
                      Wide(lineMenuCaption_).c_str());
    }
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, window_, nullptr));
    if (chosen == kMenuCopy) {
        Copy();
    } else if (chosen == kMenuSelectAll) {
        selection_.SelectAll(buffer_);
        SelectionChanged();
    } else if (chosen == kMenuLineItem && lineMenuChosen_) {
        lineMenuChosen_(tag);
    }
}

void LogView::Paint() {
    PaintDC paint(window_);
    if (!paint) return;
    const HDC dc = paint.get();
    const RECT& area = paint.area();
    std::optional<SelectObjectScope> font;
    if (font_) font.emplace(dc, font_);
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF back = ::GetSysColor(COLOR_WINDOW);
    const COLORREF selectedText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF selectedBack = ::GetSysColor(COLOR_HIGHLIGHT);
    const std::size_t columns = static_cast<std::size_t>(VisibleColumns()) + 1;
    if (advances_.size() < columns) advances_.assign(columns, charWidth_);
    const std::size_t left = static_cast<std::size_t>(left_);
    const std::size_t selStart = selection_.Start(), selEnd = selection_.End();
    const int firstRow = std::max(0, static_cast<int>(area.top) / lineHeight_);
    const int lastRow = std::max(firstRow, static_cast<int>(area.bottom - 1) / lineHeight_);
    for (int row = firstRow; row <= lastRow; ++row) {
        const std::size_t index = static_cast<std::size_t>(top_) + static_cast<std::size_t>(row);
        const std::string_view line = buffer_.Line(index);
        // Columns are UTF-16 units: a character outside the basic plane
        // takes two.
        const std::wstring units = Wide(line);
        const std::wstring_view shown =
            left < units.size() ? std::wstring_view(units).substr(left, columns) : std::wstring_view();
        const RECT rowRect = {area.left, row * lineHeight_, area.right, (row + 1) * lineHeight_};
        DrawCells(dc, margin_, rowRect, shown, text, back);
        if (index >= buffer_.LineCount() || selStart == selEnd) continue;
        // The selected columns of this line, in the system's highlight colours.
        const std::size_t lineStart = buffer_.LineStart(index);
        if (selEnd <= lineStart || selStart >= lineStart + line.size()) continue;
        const std::size_t from = ColumnOf(buffer_, std::max(selStart, lineStart));
        const std::size_t to = ColumnOf(buffer_, std::min(selEnd, lineStart + line.size()));
        const std::size_t first = std::max(from, left);
        const std::size_t last = std::min(to, left + columns);
        if (first >= last) continue;
        const int x = margin_ + static_cast<int>(first - left) * charWidth_;
        const RECT selected = {x, rowRect.top, x + static_cast<int>(last - first) * charWidth_, rowRect.bottom};
        DrawCells(dc, x, selected, std::wstring_view(units).substr(first, last - first), selectedText, selectedBack);
    }
}

// Draws units one column each from x on, over the rectangle's background.
// Characters the pane's font has no picture of are drawn in the first of a
// few fonts that has one (the pane's own font stays Courier New), so a text
// in any script reads as it is instead of as empty boxes.
void LogView::DrawCells(HDC dc, int x, const RECT& rect, std::wstring_view units, COLORREF text, COLORREF back) {
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, back);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    if (units.empty()) return;
    std::vector<WORD> glyphs(units.size());
    ::GetGlyphIndicesW(dc, units.data(), static_cast<int>(units.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    std::size_t run = 0;
    while (run < units.size()) {
        // A run of units drawn in one font: the pane's own, or one fallback.
        const HFONT runFont = FontFor(dc, units, run, glyphs[run]);
        std::size_t end = run + 1;
        while (end < units.size() && FontFor(dc, units, end, glyphs[end]) == runFont) ++end;
        const int at = x + static_cast<int>(run) * charWidth_;
        std::optional<SelectObjectScope> other;
        if (runFont) other.emplace(dc, runFont);
        ::ExtTextOutW(dc, at, rect.top, ETO_CLIPPED, &rect, units.data() + run, static_cast<UINT>(end - run),
                      advances_.data());
        run = end;
    }
    ::SetBkMode(dc, oldMode);
}

// The font for the unit at index: null for the pane's own font, which has a
// picture of it; else the first fallback font that has one. The unit's
// choice is kept for the next paint.
HFONT LogView::FontFor(HDC dc, std::wstring_view units, std::size_t index, WORD glyph) {
    const wchar_t unit = units[index];
    const bool surrogate = unit >= 0xD800 && unit <= 0xDFFF;
    if (glyph != 0xFFFF && !surrogate) return nullptr;
    if (const auto known = fallbackChoice_.find(unit); known != fallbackChoice_.end()) return known->second;
    if (fallback_.empty()) MakeFallbackFonts();
    HFONT chosen = fallback_.empty() ? nullptr : fallback_.front().get();
    if (!surrogate) {
        // The units of a pair cannot be looked up one by one: pairs take the
        // first fallback font, the others the first that has the picture.
        for (const FontHandle& candidate : fallback_) {
            SelectObjectScope probe(dc, candidate.get());
            WORD found = 0xFFFF;
            if (::GetGlyphIndicesW(dc, &unit, 1, &found, GGI_MARK_NONEXISTING_GLYPHS) == 1 && found != 0xFFFF) {
                chosen = candidate.get();
                break;
            }
        }
    }
    fallbackChoice_[unit] = chosen;
    return chosen;
}

void LogView::MakeFallbackFonts() {
    // Faces that carry many scripts on Windows, then on other systems'
    // font sets (under Wine the system's own fonts are offered).
    static const wchar_t* const faces[] = {
        L"Segoe UI Emoji",    L"Segoe UI Symbol", L"Microsoft Sans Serif", L"Segoe UI",    L"Arial Unicode MS",
        L"Microsoft YaHei",   L"SimSun",          L"MS Gothic",            L"Malgun Gothic", L"Nirmala UI",
        L"WenQuanYi Micro Hei", L"Noto Sans CJK SC", L"DejaVu Sans",       L"Tahoma",
    };
    LOGFONTW base{};
    if (!font_ || !::GetObjectW(font_, sizeof base, &base)) base.lfHeight = -lineHeight_;
    for (const wchar_t* face : faces) {
        LOGFONTW logFont{};
        logFont.lfHeight = base.lfHeight;
        logFont.lfWeight = FW_NORMAL;
        logFont.lfCharSet = DEFAULT_CHARSET;
        logFont.lfQuality = DEFAULT_QUALITY;
        std::wcsncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
        if (HFONT made = ::CreateFontIndirectW(&logFont)) fallback_.emplace_back(made);
    }
}

// Ctrl+C, Ctrl+Insert, the menu's Copy and WM_COPY: the selection on the
// clipboard, CR LF between its lines as in the log. Without a selection the
// clipboard keeps what it holds.
void LogView::Copy() {
    const std::string_view text = selection_.Text(buffer_);
    if (text.empty()) return;
    PutClipboardText(window_, text);
}

}  // namespace vantrel::win32
