#pragma once
// The log pane of the Catch Messages window: a read-only view of a LogBuffer
// that paints only the lines on screen. Appending a line costs the same with
// 200,000 lines in the log as with none, and the screen work of many appended
// lines can be done once.
//
// It behaves as a read-only text control: a caret and a selection made with
// the mouse (click, drag, Shift+click, double-click for a word) or the keys
// (arrows, Home, End, Page Up, Page Down, Ctrl for words and the whole text,
// Shift to extend), Ctrl+A, Ctrl+C and Ctrl+Insert, and a right-click menu.
// Each new line moves the caret to its end and brings that end into view.
// Typing, pasting, cutting and deleting leave the log as it is. Its owner
// may add one item of its own to the right-click menu, about the line
// clicked: the item is handed that line's tag (what the owner appended it
// with), and is grayed on a line without one.
//
// Other programs read it as they would a text control: WM_GETTEXTLENGTH,
// WM_GETTEXT and WM_SETTEXT work on the whole log, WM_COPY copies the
// selection, and the line and selection messages (EM_GETSEL, EM_SETSEL,
// EM_LINEINDEX, EM_LINELENGTH, EM_GETLINE, EM_LINEFROMCHAR,
// EM_GETFIRSTVISIBLELINE, EM_GETLINECOUNT, EM_POSFROMCHAR, EM_CHARFROMPOS,
// EM_SCROLLCARET, EM_LINESCROLL) answer as the control's do.

#include "catch/log_buffer.h"
#include "catch/log_selection.h"

#include <windows.h>

#include "platform/win32_handles.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantrel::win32 {

class LogView {
public:
    // The window class of the pane, registered once.
    static constexpr const char* kClassName = "TMemo";
    static void Register();
    // The view of a pane window of this class; null for any other window.
    static LogView* Of(HWND window);

    const LogBuffer& Buffer() const { return buffer_; }
    void SetLineLimit(std::size_t limit);
    // Adds a line with its tag to the log and puts the caret at its end,
    // without touching the screen. On failure (memory) the log is left as it
    // was.
    void Append(std::string_view line, std::uint32_t tag = LogBuffer::kNoTag);
    // The owner's item of the right-click menu, after the pane's own.
    void SetLineMenuItem(std::string caption, std::function<void(std::uint32_t tag)> chosen);
    // Selects a whole line, the caret at its start, and brings it into view.
    void SelectLine(std::size_t line);
    // The line that holds the caret.
    std::size_t CaretLine() const { return buffer_.LineOf(selection_.Caret()); }
    // Replaces the log's text; the screen follows at once.
    void SetText(std::string_view text);
    // Asks for the screen to follow the log shortly: one repaint for all the
    // lines that come meanwhile.
    void RequestUpdate();
    // Brings the screen up to date now, painted before this returns.
    void UpdateNow();

private:
    explicit LogView(HWND window);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void SetFont(HFONT font);
    void Follow();                   // the screen after lines were appended
    void UpdateScrollBars();
    int VisibleLines() const;        // whole lines that fit
    int VisibleColumns() const;      // whole columns that fit
    int MaxTop() const;
    int MaxLeft() const;
    void ScrollTo(int top, int left);
    void RevealCaret();              // top_ and left_ so that the caret is on screen
    void PlaceCaret();               // the system caret where the caret is
    void SelectionChanged();         // caret into view, repaint
    std::size_t PositionAtPoint(int x, int y) const;
    POINT PointOf(std::size_t position) const;
    void Paint();
    void DrawCells(HDC dc, int x, const RECT& rect, std::wstring_view units, COLORREF text, COLORREF back);
    HFONT FontFor(HDC dc, std::wstring_view units, std::size_t index, WORD glyph);
    void MakeFallbackFonts();
    void OnScroll(int bar, WPARAM wParam);
    bool OnKey(WPARAM key);  // false: not a key of the pane
    void OnMouseDown(int x, int y, bool extend);
    void OnDrag(int x, int y);
    void OnContextMenu(int x, int y);
    void Copy();

    HWND window_;
    LogBuffer buffer_;
    LogSelection selection_;
    HFONT font_ = nullptr;
    int lineHeight_ = 13;
    int charWidth_ = 7;
    int margin_ = 2;  // pixels before the first column
    std::vector<INT> advances_;   // every character charWidth_ wide, for drawing
    // Fonts for the characters the pane's font has no picture of, made at its
    // size when first needed, and the choice made for each unit.
    std::vector<FontHandle> fallback_;
    std::unordered_map<wchar_t, HFONT> fallbackChoice_;
    int top_ = 0;                 // first line on screen
    int left_ = 0;                // first column on screen
    std::size_t shownLines_ = 1;  // lines the screen has caught up with
    bool grown_ = false;          // lines came since the screen last followed
    bool repaintAll_ = false;     // ... and the rows on screen changed (a selection, dropped lines)
    bool updatePending_ = false;
    bool focused_ = false;
    bool dragging_ = false;
    POINT dragPoint_{};
    int wheelRest_ = 0;
    std::string lineMenuCaption_;
    std::function<void(std::uint32_t)> lineMenuChosen_;
};

}  // namespace vantrel::win32
