#include "shell/win32_form1.h"

#include "base/dpi.h"
#include "base/scope_exit.h"
#include "platform/win32_desktop.h"
#include "resources/resource_names.h"
#include "shell/command_ids.h"
#include "shell/program_state.h"
#include "shell/win32_command_bars.h"

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
constexpr const char* kPanelClass = "TPanel";
constexpr const char* kSplitterClass = "TSplitter";

// Panels only hold controls: what their controls report goes on to the form.
// Of the notifications only those the form answers go on: a rebuild's
// deletion of every tree node would otherwise cross over once per node.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
        if (code != TVN_SELCHANGEDA && code != TVN_SELCHANGINGA && code != TTN_GETDISPINFOA) return 0;
        return ::SendMessageA(::GetParent(hwnd), message, wParam, lParam);
    }
    case WM_COMMAND:
    case WM_CONTEXTMENU:
        return ::SendMessageA(::GetParent(hwnd), message, wParam, lParam);
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
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
            ::SendMessageA(::GetParent(hwnd), kSplitterMoved, static_cast<WPARAM>(p.x), 0);
        }
        return 0;
    case WM_LBUTTONUP:
        ::ReleaseCapture();
        return 0;
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

// The tree's own procedure, and whether the tree is taking the focus: Wine's
// tree view selects its first node by itself when it gets the focus without a
// selection, which would change the selected window behind the user's back.
WNDPROC g_treeProc = nullptr;
bool g_treeTakingFocus = false;

LRESULT CALLBACK TreeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS) {
        const auto taking = TemporarilySet(g_treeTakingFocus, true);
        return ::CallWindowProcA(g_treeProc, hwnd, message, wParam, lParam);
    }
    return ::CallWindowProcA(g_treeProc, hwnd, message, wParam, lParam);
}

void RegisterChildClass(const char* name, WNDPROC proc, LPCSTR cursor) {
    WNDCLASSA wc{};
    if (::GetClassInfoA(Instance(), name, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hCursor = ::LoadCursorA(nullptr, cursor);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
}

std::string ExecutableDirectory() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string full(path, length);
    const std::size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
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
    Panel2 = ::CreateWindowExA(WS_EX_CONTROLPARENT, kPanelClass, "", panelStyle, 0, 0, 0, 0, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::Panel2)), Instance(), nullptr);
    Splitter1 = ::CreateWindowExA(0, kSplitterClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::Splitter1)), Instance(),
                                  nullptr);
    Panel1 = ::CreateWindowExA(WS_EX_CONTROLPARENT, kPanelClass, "", panelStyle, 0, 0, 0, 0, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::Panel1)), Instance(), nullptr);

    ToolBar1 = BuildToolBar(Panel2, ctl::ToolBar1, MainToolBarTable(), imageList1_.get(), kToolButtonWidth,
                            kToolButtonHeight, hints_, DpiScale{Dpi()});

    // First in the tab order, so the tree has the focus when the window opens.
    // Rows may be of odd height: the pictures at 150 % are 33 pixels high.
    TreeView1 = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                      TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_NONEVENHEIGHT,
                                  0, 0, 0, 0, Panel2, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::TreeView1)),
                                  Instance(), nullptr);
    g_treeProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(TreeView1, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreeProc)));

    StatusBar1 = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                   0, 0, 0, 0, Panel2,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::StatusBar1)), Instance(), nullptr);

    ListView1 = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                      LVS_SHOWSELALWAYS,
                                  0, 0, 0, 0, Panel1, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl::ListView1)),
                                  Instance(), nullptr);
    ::SendMessageA(ListView1, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = Scale(kPropertyColumnWidth);
    column.pszText = const_cast<char*>("Property");
    ::SendMessageA(ListView1, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<char*>("Value");
    column.cx = Scale(100);
    ::SendMessageA(ListView1, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));

    ScaleControls();
    LayoutControls();
}

void TForm1::ScaleControls() {
    ::SendMessageA(TreeView1, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    ::SendMessageA(TreeView1, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(imageList2_.get()));
    ::SendMessageA(TreeView1, TVM_SETINDENT, static_cast<WPARAM>(Scale(kTreeIndent)), 0);
    // Rows as high as the new font or the new pictures need.
    ::SendMessageA(TreeView1, TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1), 0);

    ::SendMessageA(StatusBar1, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    int parts[] = {Scale(kStatusPanelWidths[0]), Scale(kStatusPanelWidths[0]) + Scale(kStatusPanelWidths[1])};
    ::SendMessageA(StatusBar1, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));

    // MS Sans Serif 9 point with the Cyrillic character set.
    FontHandle oldListFont = std::move(listFont_);
    listFont_.reset(::CreateFontA(FontHeightForPoints(9, Dpi()), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    ::SendMessageA(ListView1, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), TRUE);
    ::SendMessageA(ListView1, LVM_SETCOLUMNWIDTH, 0, Scale(kPropertyColumnWidth));
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
    ::SendMessageA(ListView1, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
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
    if (accelerators_ && ::TranslateAcceleratorA(hwnd(), accelerators_.get(), &msg)) return true;
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
    };
    for (const auto& [id, handler] : handlers) {
        if (id == command) {
            RunGuarded([this, handler = handler] { (this->*handler)(); });
            return;
        }
    }
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
    // Getting the focus never selects a node: only the user or a command does.
    if (header->hwndFrom == TreeView1 && header->code == TVN_SELCHANGINGA) return g_treeTakingFocus ? TRUE : FALSE;
    if (header->hwndFrom == TreeView1 && header->code == TVN_SELCHANGEDA) {
        if (changeHandlerAttached_) {
            HTREEITEM node = reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem;
            RunGuarded([this, node] { TreeView1Change(node); });
        }
        return 0;
    }
    return 0;
}

void TForm1::Refresh1Click() { TreeRefresh(); }

void TForm1::Exit1Click() { ::SendMessageA(hwnd(), WM_CLOSE, 0, 0); }

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

bool TForm1::IsMenuChecked(int command) const { return IsMenuCommandChecked(mainMenu_.get(), command); }

void TForm1::SetMenuChecked(int command, bool checked) { CheckMenuCommand(mainMenu_.get(), command, checked); }

void TForm1::SetToolPressed(int command, bool pressed) {
    ::SendMessageA(ToolBar1, TB_CHECKBUTTON, static_cast<WPARAM>(command), MAKELPARAM(pressed ? TRUE : FALSE, 0));
}

void TForm1::SetHint(int command, const std::string& hint) { hints_[command] = hint; }

std::string TForm1::NodeLabel(int index) const {
    if (index < 0 || index >= NodeCount()) return {};
    char buffer[260] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = nodes_[static_cast<size_t>(index)];
    item.pszText = buffer;
    item.cchTextMax = 256;
    ::SendMessageA(TreeView1, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int TForm1::SelectedNode() const {
    auto selected = reinterpret_cast<HTREEITEM>(::SendMessageA(TreeView1, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!selected) return -1;
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = selected;
    ::SendMessageA(TreeView1, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<int>(item.lParam);
}

void TForm1::SelectNode(int index) {
    if (index < 0 || index >= NodeCount()) return;
    HTREEITEM node = nodes_[static_cast<size_t>(index)];
    ::SendMessageA(TreeView1, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    ::SendMessageA(TreeView1, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
}

std::string TForm1::SelectedNodeText() const { return NodeLabel(SelectedNode()); }

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

void TForm1::ReportOutcome(const CommandOutcome& outcome) {
    const std::string text = outcome.Report();
    if (!text.empty()) MessageBoxFor(nullptr, text, kApplicationTitle, MB_OK | MB_ICONWARNING);
}

}  // namespace vantrel::win32
