#include "shell/win32_form.h"

#include "platform/win32_dpi.h"
#include "platform/win32_text.h"
#include "resources/resource_names.h"
#include "shell/error_report.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace vantrel::win32 {

namespace {

// The form object of each form window. Kept here rather than in the window
// (its user data stays free and reads 0 like any untouched window's), and
// found without a round trip to the window system for every message.
std::unordered_map<HWND, Form*>& FormsByWindow() {
    static std::unordered_map<HWND, Form*> forms;
    return forms;
}

Form* FormOf(HWND hwnd) {
    const auto& forms = FormsByWindow();
    const auto it = forms.find(hwnd);
    return it == forms.end() ? nullptr : it->second;
}

HINSTANCE g_instance = nullptr;
HWND g_applicationWindow = nullptr;
HWND g_mainForm = nullptr;
std::vector<Form*> g_modalStack;

LRESULT CALLBACK ApplicationWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // Closing the application window (Close on its node, or on its task
        // bar button once it is shown) ends the program as closing the main
        // window does. Destroyed, it would take every form it owns with it
        // and leave the process running without a window.
        if (g_mainForm) ::SendMessageW(g_mainForm, WM_CLOSE, 0, 0);
        else ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

struct ReenableList {
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableThreadWindow(HWND hwnd, LPARAM param) {
    auto* list = reinterpret_cast<ReenableList*>(param);
    if (::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd)) {
        ::EnableWindow(hwnd, FALSE);
        list->windows.push_back(hwnd);
    }
    return TRUE;
}

}  // namespace

HINSTANCE Instance() { return g_instance; }
HWND ApplicationWindow() { return g_applicationWindow; }
HWND MainFormWindow() { return g_mainForm; }

void CreateApplicationWindow(HINSTANCE instance) {
    g_instance = instance;
    WNDCLASSW wc{};
    wc.lpfnWndProc = ApplicationWindowProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconA(instance, resources::kMainIcon);
    wc.lpszClassName = L"TApplication";
    ::RegisterClassW(&wc);
    // Hidden and without size: it only owns the forms and carries the title.
    g_applicationWindow = ::CreateWindowExW(0, L"TApplication", Wide(kApplicationTitle).c_str(),
                                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU |
                                                WS_MINIMIZEBOX,
                                            0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
}

int MessageBoxFor(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    if (!owner) {
        Form* modal = Form::ActiveModalForm();
        owner = modal ? modal->hwnd() : ::GetActiveWindow();
        if (!owner) owner = g_applicationWindow;
    }
    // A box owned by the hidden application window is modal to the whole
    // program, as one owned by a form is modal to that form.
    ReenableList disabled;
    HWND previousActive = ::GetActiveWindow();
    if (owner == g_applicationWindow)
        ::EnumThreadWindows(::GetCurrentThreadId(), DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
    const int answer = ::MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags);
    for (HWND w : disabled.windows) ::EnableWindow(w, TRUE);
    if (!disabled.windows.empty() && previousActive && ::IsWindow(previousActive)) ::SetActiveWindow(previousActive);
    return answer;
}

void ShowErrorReport(const std::string& message) {
    MessageBoxFor(nullptr, ErrorReportText(message), kApplicationTitle, MB_OK | MB_ICONERROR);
}

Form::Form(const char* className) : className_(className) { RegisterFormClass(); }

Form::~Form() {
    if (hwnd_) {
        FormsByWindow().erase(hwnd_);
        ::DestroyWindow(hwnd_);
    }
}

void Form::RegisterFormClass() {
    const std::wstring name = Wide(className_);
    WNDCLASSW wc{};
    if (::GetClassInfoW(g_instance, name.c_str(), &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = g_instance;
    wc.hIcon = ::LoadIconA(g_instance, resources::kMainIcon);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    ::RegisterClassW(&wc);
}

void Form::CreateFormWindow(const char* caption, DWORD style, DWORD exStyle) {
    hwnd_ = ::CreateWindowExW(exStyle | WS_EX_CONTROLPARENT, Wide(className_).c_str(), Wide(caption).c_str(), style,
                              0, 0, 0, 0, g_applicationWindow, nullptr, g_instance, this);
    if (!g_mainForm) g_mainForm = hwnd_;
    dpi_ = WindowDpi(hwnd_);
}

void Form::SetWindowSize(int width, int height) {
    ::SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Form::OuterSizeFor(int dpi) const {
    const DpiScale scale{dpi, designDpi_};
    RECT r{0, 0, scale(clientWidth_), scale(clientHeight_)};
    AdjustWindowRectForDpi(r, static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_STYLE)), ::GetMenu(hwnd_) != nullptr,
                           static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_EXSTYLE)), dpi);
    return {r.right - r.left, r.bottom - r.top};
}

void Form::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    const SIZE outer = OuterSizeFor(dpi_);
    SetWindowSize(outer.cx, outer.cy);
    // Where the frame came out otherwise than reckoned (its scale not yet the
    // new one), the client area still gets its measures.
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int dx = Scale(width) - client.right;
    const int dy = Scale(height) - client.bottom;
    if (dx != 0 || dy != 0) SetWindowSize(outer.cx + dx, outer.cy + dy);
}

void Form::FocusWholeText(HWND edit) {
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SetFocus(edit);
}

void Form::CentreOnScreen() {
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    // A form larger than the screen keeps its caption and its first
    // controls on it.
    const int x = std::max(0, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2);
    const int y = std::max(0, (::GetSystemMetrics(SM_CYSCREEN) - h) / 2);
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT Form::DialogFont() {
    if (!font_) {
        // MS Sans Serif 8 point; the system substitutes its nearest
        // sans-serif face where that font is missing.
        font_.reset(::CreateFontW(FontHeightForPoints(8, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
    }
    return font_.get();
}

void Form::FollowScreenDpi() {
    const int dpi = WindowDpi(hwnd_);
    if (dpi == dpi_) return;
    ApplyDpi(dpi);
    if (clientWidth_) SetClientSize(clientWidth_, clientHeight_);
}

void Form::ApplyDpi(int dpi) {
    const int oldDpi = dpi_;
    dpi_ = dpi;
    // The old font stays alive until every control has the new one.
    FontHandle oldFont = std::move(font_);
    HFONT font = DialogFont();
    for (const PlacedControl& c : controls_) {
        ::MoveWindow(c.control, Scale(c.x), Scale(c.y), Scale(c.width), Scale(c.height), FALSE);
        ::SendMessageW(c.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    DpiChanged(oldDpi);
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HWND Form::AddControl(const char* windowClass, const char* text, DWORD style, int x, int y, int width,
                      int height, int id, DWORD exStyle) {
    HWND control = ::CreateWindowExW(exStyle, Wide(windowClass).c_str(), Wide(text).c_str(),
                                     style | WS_CHILD | WS_VISIBLE, Scale(x), Scale(y), Scale(width), Scale(height),
                                     hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    controls_.push_back({control, x, y, width, height});
    return control;
}

std::string Form::ControlText(int id) const { return OwnWindowText(Control(id)); }

bool Form::PreTranslateMessage(MSG& msg) {
    if (swallowEscape_ && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return true;
    if (dialogKeys_ && ::IsDialogMessageW(hwnd_, &msg)) return true;
    return false;
}

Form* Form::ActiveModalForm() { return g_modalStack.empty() ? nullptr : g_modalStack.back(); }

Form* Form::FromWindow(HWND window) { return FormOf(window); }

void Form::RememberFocus() {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd_, focus)) lastFocus_ = focus;
}

bool Form::RestoreFocus() {
    if (!lastFocus_ || !::IsChild(hwnd_, lastFocus_) || !::IsWindowVisible(lastFocus_) ||
        !::IsWindowEnabled(lastFocus_))
        return false;
    ::SetFocus(lastFocus_);
    return true;
}

void Form::DispatchLoopMessage(MSG& msg) {
    Form* target = ActiveModalForm();
    if (target && msg.hwnd && msg.hwnd != target->hwnd_ && !::IsChild(target->hwnd_, msg.hwnd)) target = nullptr;
    if (!target && msg.hwnd) {
        // The main loop: the form that holds the message's window translates it.
        HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
        target = root ? FormOf(root) : nullptr;
        if (target && !target->IsShowingModal() && ActiveModalForm()) target = nullptr;
    }
    if (target && target->PreTranslateMessage(msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

int Form::ShowModal() {
    ReenableList disabled;
    HWND previousActive = ::GetActiveWindow();
    ::EnumThreadWindows(::GetCurrentThreadId(), DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
    ::EnableWindow(hwnd_, TRUE);
    modalResult_ = kResultNone;
    inModalLoop_ = true;
    g_modalStack.push_back(this);
    FollowScreenDpi();
    CentreOnScreen();
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetActiveWindow(hwnd_);
    RunGuarded([this] { FormShow(); });

    MSG msg;
    while (modalResult_ == kResultNone) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: hand the quit request on to the outer loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            modalResult_ = kResultCancel;
            break;
        }
        if (got < 0) break;
        DispatchLoopMessage(msg);
    }
    const int result = modalResult_;
    RunGuarded([this] { FormClose(); });
    g_modalStack.pop_back();
    inModalLoop_ = false;
    for (HWND w : disabled.windows) ::EnableWindow(w, TRUE);
    // The window that was active before takes the activation back while this
    // form is still shown, and only then is this form hidden: hiding the
    // active window first would leave the keyboard focus for a moment with
    // no window at all, and under Wine the display then may not give it back
    // to the window activated next, whose next keys would go nowhere.
    if (previousActive && ::IsWindow(previousActive) && ::IsWindowVisible(previousActive))
        ::SetActiveWindow(previousActive);
    ::ShowWindow(hwnd_, SW_HIDE);
    if (previousActive && ::IsWindow(previousActive) && ::GetActiveWindow() != previousActive)
        ::SetActiveWindow(previousActive);
    return result;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        // The default gives the focus to the form itself, where no caret is.
        if (LOWORD(wParam) == WA_INACTIVE) RememberFocus();
        else if (!HIWORD(wParam) && RestoreFocus()) return 0;
        break;
    case WM_CANCELMODE:
        // Sent first when the form is disabled (a modal window opens), which
        // then takes the focus away before any deactivation.
        RememberFocus();
        break;
    case WM_GETDPISCALEDSIZE:
        // A dialog keeps its client area exactly at its measures: the system
        // is told the outer size that holds them at the new scale.
        if (!clientWidth_) break;
        *reinterpret_cast<SIZE*>(lParam) = OuterSizeFor(static_cast<int>(LOWORD(wParam)));
        return TRUE;
    case WM_DPICHANGED: {
        // Moved to a monitor of another scale: fonts, images and layout for
        // it, then the rectangle the system suggests.
        ApplyDpi(static_cast<int>(HIWORD(wParam)));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (clientWidth_) SetClientSize(clientWidth_, clientHeight_);
        return 0;
    }
    case WM_CLOSE:
        // Dialog forms are hidden, never destroyed; the close box is Cancel.
        if (inModalLoop_) modalResult_ = kResultCancel;
        else ::ShowWindow(hwnd_, SW_HIDE);
        return 0;
    case WM_COMMAND:
        if (lParam && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
            modalResult_ = LOWORD(wParam);
            return 0;
        }
        if (!lParam && LOWORD(wParam) == IDOK && ::GetDlgItem(hwnd_, IDOK)) {
            // Enter through the dialog keys: the default button "OK".
            modalResult_ = IDOK;
            return 0;
        }
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Form* form = FormOf(hwnd);
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        form = static_cast<Form*>(create->lpCreateParams);
        form->hwnd_ = hwnd;
        FormsByWindow()[hwnd] = form;
    }
    if (!form) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    bool handled = false;
    try {
        result = form->HandleMessage(message, wParam, lParam);
        handled = true;
    } catch (const std::exception& error) {
        ShowErrorReport(error.what());
    }
    return handled ? result : 0;
}

}  // namespace vantrel::win32
