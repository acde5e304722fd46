#include "app/win32_form1.h"

#include "app/main_window_tables.h"
#include "app/win32_about_dialog.h"
#include "app/win32_forms.h"
#include "base/dpi.h"
#include "base/path.h"
#include "catch/win32_catch_window.h"
#include "locate/win32_find_dialog.h"
#include "locate/win32_locate_commands.h"
#include "platform/win32_desktop.h"
#include "platform/win32_text.h"
#include "resources/resource_names.h"
#include "shell/command_ids.h"
#include "shell/program_state.h"
#include "shell/win32_command_bars.h"
#include "tree/window_walk.h"
#include "windowops/win32_edit_move_dialog.h"
#include "windowops/win32_property_list.h"
#include "windowops/win32_set_style_dialog.h"
#include "windowops/win32_state_commands.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace vantrel::win32 {

namespace {

// Measures at 96 pixels per inch.
constexpr int kInitialWidth = 592;
constexpr int kInitialHeight = 398;
constexpr int kMinimumHeight = 275;
constexpr int kToolBarHeight = 29;
constexpr int kToolButtonWidth = 23;
constexpr int kToolButtonHeight = 22;
constexpr int kStatusBarHeight = 16;
constexpr int kStatusPanelWidths[] = {180, 120};
constexpr int kSplitterWidth = 1;
constexpr int kRightWidth = 188;
constexpr int kTreeIndent = 27;
constexpr int kPropertyColumnWidth = 85;
constexpr const char* kWaitingForAnswerText = " Waiting for the window's program to answer...";
constexpr const wchar_t* kPanelClass = L"TPanel";
constexpr const wchar_t* kSplitterClass = L"TSplitter";

// Panels only hold controls: what their controls report goes on to the form.
// Of the notifications only those the form answers go on: a rebuild's
// deletion of every tree node would otherwise cross over once per node.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
        if (code != TVN_SELCHANGEDW && code != TVN_SELCHANGINGW && code != TTN_GETDISPINFOW &&
            code != TTN_GETDISPINFOA)
            return 0;
        return ::SendMessageW(::GetParent(hwnd), message, wParam, lParam);
    }
    case WM_COMMAND:
    case WM_CONTEXTMENU:
        return ::SendMessageW(::GetParent(hwnd), message, wParam, lParam);
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The splitter tells the form where the user dragged it to.
constexpr UINT kSplitterMoved = WM_APP + 1;

LRESULT CALLBACK SplitterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        ::SetCapture(hwnd);
        return 0;
    case WM_MOUSEMOVE:
        if (::GetCapture() == hwnd) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::MapWindowPoints(hwnd, ::GetParent(hwnd), &p, 1);
            ::SendMessageW(::GetParent(hwnd), kSplitterMoved, static_cast<WPARAM>(p.x), 0);
        }
        return 0;
    case WM_LBUTTONUP:
        ::ReleaseCapture();
        return 0;
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void RegisterChildClass(const wchar_t* name, WNDPROC proc, LPCSTR cursor) {
    WNDCLASSW wc{};
    if (::GetClassInfoW(Instance(), name, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hCursor = ::LoadCursorA(nullptr, cursor);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    ::RegisterClassW(&wc);
}

std::string ExecutableDirectory() {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return DirectoryOf(Narrow(std::wstring_view(path, length)));
}

}  // namespace

TForm1::TForm1() : Form("TForm1") {
    RegisterChildClass(kPanelClass, PanelProc, reinterpret_cast<LPCSTR>(IDC_ARROW));
    RegisterChildClass(kSplitterClass, SplitterProc, reinterpret_cast<LPCSTR>(IDC_SIZEWE));
    swallowEscape_ = false;
    CreateFormWindow("Vantrel", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_APPWINDOW);
    SetWindowSize(Scale(kInitialWidth), Scale(kInitialHeight));
    rightWidth_ = Scale(kRightWidth);
    FormCreate();
}

TForm1::~TForm1() {
    // The menu belongs to the window until the window goes.
    if (hwnd()) ::SetMenu(hwnd(), nullptr);
}

void TForm1::FormCreate() {
    ProgramDir = ExecutableDirectory();
    HexMode = false;
    BuildControls();
    CentreOnScreen();
}

void TForm1::BuildControls() {
    imageList1_ = LoadImageStrip(resources::kToolStrips, Dpi());
    imageList2_ = LoadImageStrip(resources::kTreeStrips, Dpi());

    mainMenu_ = BuildMenuBar(MainMenuTable(), imageList1_.get(), menuBitmaps_);
    ::SetMenu(hwnd(), mainMenu_.get());
    popupMenu_ = BuildPopupMenu(PropertyPopupTable(), imageList1_.get(), menuBitmaps_);
    accelerators_ = BuildAccelerators(MainMenuTable(), PropertyPopupTable());

    const DWORD panelStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    Panel2 = ::CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", panelStyle, 0, 0, 0, 0, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::Panel2)), Instance(), nullptr);
    Splitter1 = ::CreateWindowExW(0, kSplitterClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::Splitter1)), Instance(),
                                  nullptr);
    Panel1 = ::CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", panelStyle, 0, 0, 0, 0, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::Panel1)), Instance(), nullptr);

    ToolBar1 = BuildToolBar(Panel2, ctl::ToolBar1, MainToolBarTable(), imageList1_.get(), kToolButtonWidth,
                            kToolButtonHeight, hints_, DpiScale{Dpi()});

    // A close request that waits long for the other program's answer says so.
    SetWaitNotice([this](bool waiting) {
        const std::wstring text = waiting ? Wide(kWaitingForAnswerText) : std::wstring();
        ::SendMessageW(StatusBar1, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(text.c_str()));
        ::UpdateWindow(StatusBar1);
    });

    // First in the tab order, so the tree has the focus when the window opens.
    TreeView1 = tree_.Create(Panel2, ctl::TreeView1, Instance());
    tree_.onSelect = [this](Handle window) { RunGuarded([this, window] { TreeView1Change(window); }); };
    tree_.onCounts = [this](int windows, int total) { ShowCounts(windows, total); };

    StatusBar1 = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                   0, 0, 0, 0, Panel2,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::StatusBar1)), Instance(), nullptr);

    ListView1 = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                      LVS_SHOWSELALWAYS,
                                  0, 0, 0, 0, Panel1, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::ListView1)),
                                  Instance(), nullptr);
    ::SendMessageW(ListView1, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = Scale(kPropertyColumnWidth);
    column.pszText = const_cast<wchar_t*>(L"Property");
    ::SendMessageW(ListView1, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<wchar_t*>(L"Value");
    column.cx = Scale(100);
    ::SendMessageW(ListView1, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));

    ScaleControls();
    LayoutControls();
}

void TForm1::ScaleControls() {
    ::SendMessageW(TreeView1, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    ::SendMessageW(TreeView1, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(imageList2_.get()));
    ::SendMessageW(TreeView1, TVM_SETINDENT, static_cast<WPARAM>(Scale(kTreeIndent)), 0);
    // Rows as high as the new font or the new pictures need.
    ::SendMessageW(TreeView1, TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1), 0);

    ::SendMessageW(StatusBar1, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    // The two counts, then the rest of the bar for what Vantrel waits for.
    int parts[] = {Scale(kStatusPanelWidths[0]), Scale(kStatusPanelWidths[0]) + Scale(kStatusPanelWidths[1]), -1};
    ::SendMessageW(StatusBar1, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));

    // MS Sans Serif 9 point with the Cyrillic character set.
    FontHandle oldListFont = std::move(listFont_);
    listFont_.reset(::CreateFontW(FontHeightForPoints(9, Dpi()), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
    ::SendMessageW(ListView1, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), TRUE);
    ::SendMessageW(ListView1, LVM_SETCOLUMNWIDTH, 0, Scale(kPropertyColumnWidth));
}

void TForm1::DpiChanged(int oldDpi) {
    // The new pictures go into the controls and menus before the old lists go.
    ImageListHandle tools = LoadImageStrip(resources::kToolStrips, Dpi());
    ImageListHandle tree = LoadImageStrip(resources::kTreeStrips, Dpi());
    RescaleToolBar(ToolBar1, MainToolBarTable(), tools.get(), kToolButtonWidth, kToolButtonHeight, DpiScale{Dpi()});
    std::vector<BitmapHandle> menuBitmaps;
    ReplaceMenuBitmaps(mainMenu_.get(), MainMenuTable(), {}, tools.get(), menuBitmaps);
    ReplaceMenuBitmaps(popupMenu_.get(), {}, PropertyPopupTable(), tools.get(), menuBitmaps);
    std::swap(menuBitmaps_, menuBitmaps);
    ::DrawMenuBar(hwnd());
    std::swap(imageList1_, tools);
    std::swap(imageList2_, tree);
    rightWidth_ = Rescale(rightWidth_, oldDpi, Dpi());
    ScaleControls();
    LayoutControls();
}

void TForm1::LayoutControls() {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const int width = client.right;
    const int height = client.bottom;
    const int splitter = Scale(kSplitterWidth);
    const int toolBar = Scale(kToolBarHeight);
    const int statusBar = Scale(kStatusBarHeight);
    const int leftWidth = std::max(0, width - rightWidth_ - splitter);
    ::MoveWindow(Panel2, 0, 0, leftWidth, height, TRUE);
    ::MoveWindow(Splitter1, leftWidth, 0, splitter, height, TRUE);
    ::MoveWindow(Panel1, leftWidth + splitter, 0, rightWidth_, height, TRUE);
    ::MoveWindow(ToolBar1, 0, 0, leftWidth, toolBar, TRUE);
    ::MoveWindow(TreeView1, 0, toolBar, leftWidth, std::max(0, height - toolBar - statusBar), TRUE);
    ::MoveWindow(StatusBar1, 0, height - statusBar, leftWidth, statusBar, TRUE);
    ::MoveWindow(ListView1, 0, 0, rightWidth_, height, TRUE);
    // "Value" takes the width the "Property" column leaves.
    ::SendMessageW(ListView1, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
}

void TForm1::OnSplitterDrag(int x) {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const int splitter = Scale(kSplitterWidth);
    rightWidth_ = std::clamp(static_cast<int>(client.right) - x - splitter, 0,
                             std::max(0, static_cast<int>(client.right) - splitter));
    LayoutControls();
}

void TForm1::FormActivate() { TreeRefresh(); }

bool TForm1::PreTranslateMessage(MSG& msg) {
    if (accelerators_ && ::TranslateAcceleratorW(hwnd(), accelerators_.get(), &msg)) return true;
    return Form::PreTranslateMessage(msg);
}

void TForm1::RunCommand(int command) {
    using Handler = void (TForm1::*)();
    static const std::pair<int, Handler> handlers[] = {
        {cmd::Refresh1, &TForm1::Refresh1Click},
        {cmd::Exit1, &TForm1::Exit1Click},
        {cmd::Decimal, &TForm1::DecimalClick},
        {cmd::Hexadecimal, &TForm1::HexadecimalClick},
        {cmd::FindWindow1, &TForm1::FindWindow1Click},
        {cmd::Findnext1, &TForm1::Findnext1Click},
        {cmd::Windowfrompoint1, &TForm1::Windowfrompoint1Click},
        {cmd::Showposition1, &TForm1::Showposition1Click},
        {cmd::Clearpointers1, &TForm1::Clearpointers1Click},
        {cmd::Show1, &TForm1::Show1Click},
        {cmd::Enable1, &TForm1::Enable1Click},
        {cmd::Stayontop1, &TForm1::Stayontop1Click},
        {cmd::EditMove1, &TForm1::EditMove1Click},
        {cmd::SetStyle1, &TForm1::SetStyle1Click},
        {cmd::Catchmessages1, &TForm1::Catchmessages1Click},
        {cmd::Minimize1, &TForm1::Minimize1Click},
        {cmd::Restore1, &TForm1::Restore1Click},
        {cmd::Maximize1, &TForm1::Maximize1Click},
        {cmd::Close1, &TForm1::Close1Click},
        {cmd::About1, &TForm1::About1Click},
        {cmd::Copy1, &TForm1::Copy1Click},
        {cmd::CopyAll1, &TForm1::CopyAll1Click},
    };
    // A command that comes while another waits for a window's answer (the
    // user dragged the window meanwhile, and its move let a posted command
    // through) waits for that answer too: it runs once the first is done.
    if (RequestPending()) {
        deferred_.push_back(command);
        return;
    }
    for (const auto& [id, handler] : handlers) {
        if (id == command) {
            RunGuarded([this, handler = handler] { (this->*handler)(); });
            break;
        }
    }
    for (const int waiting : std::exchange(deferred_, {}))
        ::PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(waiting, 0), 0);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            RememberFocus();
            return 0;
        }
        // The control that had the focus gets it back; the first time, the
        // tree, first in the tab order.
        if (!RestoreFocus()) ::SetFocus(TreeView1);
        // The program's active form changes only when the main window first
        // appears: dialogs are modal and give the activation straight back,
        // and switching applications keeps the active form.
        if (!activatedOnce_) {
            activatedOnce_ = true;
            RunGuarded([this] { FormActivate(); });
        }
        return 0;
    case WM_SIZE:
        LayoutControls();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = Scale(kInitialWidth);
        info->ptMinTrackSize.y = Scale(kMinimumHeight);
        return 0;
    }
    case kSplitterMoved:
        OnSplitterDrag(static_cast<int>(wParam));
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1 || (lParam && reinterpret_cast<HWND>(lParam) == ToolBar1)) {
            RunCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == ListView1) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (p.x == -1 && p.y == -1) {
                RECT r;
                ::GetWindowRect(ListView1, &r);
                p = {r.left + 8, r.top + 8};
            }
            ::TrackPopupMenu(popupMenu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd(), nullptr);
            return 0;
        }
        break;
    case WM_CLOSE:
        // Closing the main window ends the program.
        ::ShowWindow(hwnd(), SW_HIDE);
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

LRESULT TForm1::OnNotify(NMHDR* header) {
    if (AnswerToolTip(header, hints_)) return 0;
    LRESULT result = 0;
    tree_.OnNotify(header, result, HexMode);
    return result;
}

void TForm1::Refresh1Click() { TreeRefresh(); }

void TForm1::Exit1Click() { ::SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TForm1::DecimalClick() {
    HexMode = false;
    ::CheckMenuRadioItem(mainMenu_.get(), cmd::Decimal, cmd::Hexadecimal, cmd::Decimal, MF_BYCOMMAND);
    TreeRefresh();
}

void TForm1::HexadecimalClick() {
    HexMode = true;
    ::CheckMenuRadioItem(mainMenu_.get(), cmd::Decimal, cmd::Hexadecimal, cmd::Hexadecimal, MF_BYCOMMAND);
    TreeRefresh();
}

void TForm1::TreeRefresh() {
    // Without an active window of the program (it is in the background
    // while a driver or another program asks for the rebuild) the main
    // window is the reference, so the tree still lists the desktop.
    HWND reference = ::GetActiveWindow();
    if (!reference) reference = hwnd();
    tree_.Refresh(TheDesktop(), ToHandle(reference), SelectedWindow, HexMode);
}

void TForm1::ShowCounts(int windows, int total) {
    ::SendMessageW(StatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Wide(WindowsCountText(windows)).c_str()));
    ::SendMessageW(StatusBar1, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(Wide(TotalCountText(total)).c_str()));
    ::InvalidateRect(ListView1, nullptr, TRUE);
}

void TForm1::TreeView1Change(Handle window) {
    SelectedWindow = window;
    ShowProp(SelectedWindow);
}

void TForm1::ShowProp(Handle window) {
    if (const auto toggles = FillPropertyList(ListView1, TheDesktop(), window, HexMode)) ApplyToggles(*toggles);
}

void TForm1::ApplyToggles(const ToggleStates& t) {
    // The toggle commands act on the state the list shows.
    const struct {
        int command;
        bool checked;
        const std::string* hint;
    } toggles[] = {
        {cmd::Show1, t.show, &t.showHint},
        {cmd::Enable1, t.enable, &t.enableHint},
        {cmd::Stayontop1, t.stayOnTop, &t.stayOnTopHint},
        {cmd::Minimize1, t.minimize, nullptr},
        {cmd::Restore1, t.restore, nullptr},
        {cmd::Maximize1, t.maximize, nullptr},
    };
    for (const auto& toggle : toggles) {
        CheckMenuCommand(mainMenu_.get(), toggle.command, toggle.checked);
        ::SendMessageW(ToolBar1, TB_CHECKBUTTON, static_cast<WPARAM>(toggle.command),
                       MAKELPARAM(toggle.checked ? TRUE : FALSE, 0));
        if (toggle.hint) hints_[toggle.command] = *toggle.hint;
    }
}

void TForm1::Copy1Click() { CopySelectedValue(ListView1, hwnd()); }
void TForm1::CopyAll1Click() { CopyAllRows(ListView1, hwnd()); }

void TForm1::Show1Click() { RunStateCommand(*this, StateCommand::Show); }
void TForm1::Enable1Click() { RunStateCommand(*this, StateCommand::Enable); }
void TForm1::Stayontop1Click() { RunStateCommand(*this, StateCommand::Stayontop); }
void TForm1::Minimize1Click() { RunStateCommand(*this, StateCommand::Minimize); }
void TForm1::Restore1Click() { RunStateCommand(*this, StateCommand::Restore); }
void TForm1::Maximize1Click() { RunStateCommand(*this, StateCommand::Maximize); }
void TForm1::Close1Click() { RunCloseCommand(*this); }
void TForm1::EditMove1Click() { RunEditMove(*this, Form2()); }
void TForm1::SetStyle1Click() { RunSetStyle(*this, Form6(), HexMode); }

void TForm1::FindWindow1Click() { FindWindowCommand(*this, Form4()); }
void TForm1::Findnext1Click() { FindNextCommand(*this); }
void TForm1::FindNext() { win32::FindNext(*this); }
void TForm1::Windowfrompoint1Click() { WindowFromPointCommand(*this, HexMode); }
void TForm1::Showposition1Click() { ShowPosition(imageList1_.get(), SelectedWindow); }
void TForm1::Clearpointers1Click() { ClearPointers(); }

void TForm1::Catchmessages1Click() {
    Form5ForHook().ShowFor(tree_.SelectedNodeText(), [] { return SelectedWindow; });
}

void TForm1::About1Click() { Form3().ShowModal(); }

Handle TForm1::Selected() const { return SelectedWindow; }

bool TForm1::IsToggleChecked(StateCommand command) const {
    static const std::map<StateCommand, int> items = {
        {StateCommand::Show, cmd::Show1},         {StateCommand::Enable, cmd::Enable1},
        {StateCommand::Stayontop, cmd::Stayontop1}, {StateCommand::Minimize, cmd::Minimize1},
        {StateCommand::Restore, cmd::Restore1},   {StateCommand::Maximize, cmd::Maximize1},
    };
    return IsMenuCommandChecked(mainMenu_.get(), items.at(command));
}

NodeLabels TForm1::Labels() const {
    return {tree_.NodeCount(), [this](int index) { return tree_.NodeLabel(index); }};
}

OwnWindow TForm1::OwnWindowOf(Handle window) const {
    const HWND hwnd = ToHwnd(window);
    DWORD process = 0;
    if (!::GetWindowThreadProcessId(hwnd, &process) || process != ::GetCurrentProcessId()) return OwnWindow::None;
    if (hwnd == ApplicationWindow()) return OwnWindow::ApplicationWindow;
    const HWND root = ::GetAncestor(hwnd, GA_ROOT);
    if (!Form::FromWindow(root)) return OwnWindow::Other;
    if (root == this->hwnd()) return root == hwnd ? OwnWindow::MainWindow : OwnWindow::MainWindowControl;
    return root == hwnd ? OwnWindow::Form : OwnWindow::FormControl;
}

void TForm1::Report(const CommandOutcome& outcome) {
    const std::string text = outcome.Report();
    if (!text.empty()) MessageBoxFor(nullptr, text, kApplicationTitle, MB_OK | MB_ICONWARNING);
}

bool TForm1::Confirm(std::string_view text, std::string_view caption) {
    return MessageBoxFor(ApplicationWindow(), std::string(text), std::string(caption), MB_YESNO | MB_ICONWARNING) ==
           IDYES;
}

}  // namespace vantrel::win32
