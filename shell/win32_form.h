#pragma once
// A form: one top-level window of Vantrel with its own window class, named
// after the form (TForm1, TForm2, ... TForm5ForHook), created once at start-up
// and kept until the program ends. Dialog forms are shown modally by a main
// window command and hidden again when they close.
//
// A form's measures (sizes, positions, fonts in pixels) are given for a
// screen of 96 pixels per inch, or of designDpi_, and the form lays itself
// out for the pixels per inch of the monitor it is on: at creation, at every
// showing, and when the system moves it to a monitor of another scale.

#include "base/dpi.h"
#include "platform/win32_handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace vantrel::win32 {

// Modal results, with the platform's button identifiers.
inline constexpr int kResultNone = 0;
inline constexpr int kResultOk = IDOK;
inline constexpr int kResultCancel = IDCANCEL;

class Form {
public:
    explicit Form(const char* className);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND hwnd() const { return hwnd_; }
    const std::string& className() const { return className_; }

    // Shows the form modally: the other windows of the program are disabled,
    // a nested message loop runs until the form closes, and the form is
    // hidden again. Returns the modal result (kResultCancel for the close box).
    int ShowModal();
    // Ends a modal showing with this result.
    void SetModalResult(int result) { modalResult_ = result; }
    bool IsShowingModal() const { return inModalLoop_; }

    // The pixels per inch of the form's monitor, and one of the form's
    // measures scaled to them.
    int Dpi() const { return dpi_; }
    int Scale(int measure) const { return DpiScale{dpi_, designDpi_}(measure); }

    // Creates a child control of the form in the form's font. Its position
    // and size are the form's measures; it is placed and given its font
    // again whenever the form's pixels per inch change.
    HWND AddControl(const char* windowClass, const char* text, DWORD style, int x, int y, int width,
                    int height, int id, DWORD exStyle = 0);
    HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }
    std::string ControlText(int id) const;

    // Runs before a message of the modal loop (or the main loop for the main
    // window) is dispatched: accelerators and dialog keys. True = handled.
    virtual bool PreTranslateMessage(MSG& msg);

    // The form currently shown modally, innermost first; null when none.
    static Form* ActiveModalForm();
    // The form whose window this is; null for any other window.
    static Form* FromWindow(HWND window);
    // Processes one message as the program's loops do.
    static void DispatchLoopMessage(MSG& msg);

protected:
    // Creates the window of the form's class, owned by the application window,
    // and takes the pixels per inch of its monitor.
    void CreateFormWindow(const char* caption, DWORD style, DWORD exStyle);
    // Sets the form's outer size in pixels, keeping the position.
    void SetWindowSize(int width, int height);
    // Gives the form a fixed client area of the given measures (a dialog),
    // kept at every scale; the position stays.
    void SetClientSize(int width, int height);
    void CentreOnScreen();
    // The font of the form's controls (MS Sans Serif 8 point) for the form's
    // pixels per inch.
    HFONT DialogFont();
    // Lays the form out for the pixels per inch of the monitor it is on now,
    // if they changed.
    void FollowScreenDpi();
    // After the pixels per inch changed and the controls made by AddControl
    // are placed and have the new font: what else the form made for the old
    // scale (fonts, image lists, its own layout).
    virtual void DpiChanged(int /*oldDpi*/) {}
    // The pixels per inch the form's measures are given at.
    int designDpi_ = kDefaultDpi;

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Selects the whole text of an edit field and gives it the focus, as a
    // dialog does when it is shown: typing replaces the text, Enter keeps it.
    static void FocusWholeText(HWND edit);
    // Called each time the form is shown modally, before its loop runs.
    virtual void FormShow() {}
    // Called when a modal showing ends (any result), before the form is hidden.
    virtual void FormClose() {}
    // Dialog forms without an Escape button keep Escape from closing them.
    bool swallowEscape_ = true;
    // Dialog forms send Enter and Tab through the platform's dialog keys.
    bool dialogKeys_ = true;

    // The control that had the focus when the form was last deactivated (or
    // disabled, which takes the focus away first), given back when the form
    // is activated again: switching to another program and back leaves the
    // caret where the user left it.
    void RememberFocus();
    // Gives the remembered control the focus; false when there is none to give.
    bool RestoreFocus();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void RegisterFormClass();
    void ApplyDpi(int dpi);
    // The outer size that holds the fixed client area at dpi.
    SIZE OuterSizeFor(int dpi) const;

    // A control made by AddControl, with its measures.
    struct PlacedControl {
        HWND control;
        int x, y, width, height;
    };

    std::string className_;
    HWND hwnd_ = nullptr;
    int modalResult_ = kResultNone;
    bool inModalLoop_ = false;
    HWND lastFocus_ = nullptr;
    FontHandle font_;
    int dpi_ = kDefaultDpi;
    std::vector<PlacedControl> controls_;
    // The fixed client area's measures, 0 x 0 for a form without one.
    int clientWidth_ = 0;
    int clientHeight_ = 0;
};

// The hidden application window (class TApplication, caption "Vantrel"): the
// owner of every form and the caption of the program's message boxes.
// Closing it closes the main window, which ends the program.
HWND ApplicationWindow();
// The main window: the first form created.
HWND MainFormWindow();
void CreateApplicationWindow(HINSTANCE instance);
HINSTANCE Instance();

// The application title: caption of the error report and of message boxes.
inline constexpr const char* kApplicationTitle = "Vantrel";

// A modal message box owned by the application window (or by owner).
int MessageBoxFor(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// The general error report for an error no handler caught.
void ShowErrorReport(const std::string& message);

// Runs a command handler and sends any error it raises to the error report.
template <typename Handler>
void RunGuarded(Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorReport(error.what());
    }
}

}  // namespace vantrel::win32
