#pragma once
// The log pane of the Catch Messages window: a read-only view of a LogBuffer
// in a fixed-pitch font, which paints only the lines on screen. Appending a
// line costs the same with 200,000 lines in the log as with none, and the
// screen work of many appended lines can be done once.
//
// Other programs read and replace the pane's text as they would a text
// control's: WM_GETTEXTLENGTH, WM_GETTEXT and WM_SETTEXT work on the whole
// log, and EM_GETLINECOUNT gives its number of lines.

#include "catch/log_buffer.h"

#include <windows.h>

#include <string_view>

namespace vantrel::win32 {

class LogView {
public:
    // The window class of the pane, registered once.
    static constexpr const char* kClassName = "TMemo";
    static void Register();
    // The view of a pane window of this class; null for any other window.
    static LogView* Of(HWND window);

    const LogBuffer& Buffer() const { return buffer_; }
    // Adds a line to the log without touching the screen.
    void Append(std::string_view line);
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
    void Follow();                   // scroll ranges and the bottom line after growth
    void UpdateScrollBars();
    int VisibleLines() const;        // whole lines that fit
    int VisibleColumns() const;
    int MaxTop() const;
    int MaxLeft() const;
    void ScrollTo(int top, int left);
    void Paint();
    void OnScroll(int bar, WPARAM wParam);
    void OnKey(WPARAM key);
    void CopyAll();

    HWND window_;
    LogBuffer buffer_;
    HFONT font_ = nullptr;
    int lineHeight_ = 13;
    int charWidth_ = 7;
    int top_ = 0;            // first line on screen
    int left_ = 0;           // first column on screen
    std::size_t shownLines_ = 1;  // lines the screen has caught up with
    bool updatePending_ = false;
    bool allSelected_ = false;
    int wheelRest_ = 0;
};

}  // namespace vantrel::win32
