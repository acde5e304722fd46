#include "tests/e2e/driver/driver.h"

#include "base/unicode.h"
#include "catch/catch_log.h"

#include <gtest/gtest.h>

#include <dlgs.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace vantrel::e2e {

std::string WindowsPath(const std::string& path) {
    std::string result = path;
    std::replace(result.begin(), result.end(), '/', '\\');
    if (!path.empty() && path[0] == '/') {
        result = "Z:" + result;
    }
    return result;
}

namespace {

std::string FromEnvironmentOr(const char* name, const char* fallback) {
    char buffer[MAX_PATH * 2] = {};
    DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) {
        return WindowsPath(buffer);
    }
    return WindowsPath(fallback);
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string StripAmpersands(const std::string& text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        result += text[i];
    }
    return result;
}

bool SameText(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

}  // namespace

// ---- Texts ---------------------------------------------------------------------

std::wstring WideText(std::string_view utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

std::string Utf8Text(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// ---- Waiting -------------------------------------------------------------------

bool WaitUntil(const std::function<bool()>& predicate, int timeoutMs) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        if (predicate()) {
            return true;
        }
        if (::GetTickCount64() - start >= static_cast<ULONGLONG>(timeoutMs)) {
            // One last look: the machine may have been busy elsewhere.
            return predicate();
        }
        ::Sleep(50);
    }
}

bool WaitFor(const std::function<bool()>& predicate, int timeoutMs, const std::string& description) {
    if (WaitUntil(predicate, timeoutMs)) return true;
    ADD_FAILURE() << "timed out after " << timeoutMs << " ms waiting for " << description;
    return false;
}

void WaitOrThrow(const std::function<bool()>& predicate, int timeoutMs, const std::string& description) {
    if (!WaitUntil(predicate, timeoutMs))
        throw DriverError("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + description);
}

void Pause(int ms) { ::Sleep(static_cast<DWORD>(ms)); }

// ---- Paths -----------------------------------------------------------------------

std::string BuildDir() { return FromEnvironmentOr("VANTREL_E2E_BUILD_DIR", VANTREL_E2E_BUILD_DIR); }
std::string VantrelExePath() { return FromEnvironmentOr("VANTREL_E2E_EXE", VANTREL_E2E_EXE); }
std::string HookDllPath() { return FromEnvironmentOr("VANTREL_E2E_DLL", VANTREL_E2E_DLL); }
std::string FixtureExePath() { return FromEnvironmentOr("VANTREL_E2E_FIXTURE", VANTREL_E2E_FIXTURE); }

std::string TempFilePath(const std::string& stem) {
    static std::atomic<int> counter{0};
    std::string folder = BuildDir() + "\\e2e-temp";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + "\\" + stem + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
                       std::to_string(++counter) + ".txt";
    ::DeleteFileA(path.c_str());
    return path;
}

// ---- Handles -------------------------------------------------------------------

uint32_t HandleValue(HWND window) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
}

HWND HandleFromValue(uint32_t value) {
    // Window handles are 32-bit values, sign-extended in 64-bit programs.
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}

std::string ValueText(uint32_t value, bool hex) {
    char buffer[16];
    if (hex) {
        std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(value));
    } else {
        std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(value));
    }
    return buffer;
}

std::string HandleField(HWND window, bool hex) {
    char buffer[16];
    if (hex) {
        std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(HandleValue(window)));
    } else {
        std::snprintf(buffer, sizeof buffer, "%010u", static_cast<unsigned>(HandleValue(window)));
    }
    return buffer;
}

// ---- Plain window queries ---------------------------------------------------------

std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int timeoutMs) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               static_cast<UINT>(timeoutMs), &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(window, message, wParam, lParam) != FALSE;
}

std::string WindowText(HWND window, int timeoutMs) {
    wchar_t buffer[4096] = {};
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, static_cast<UINT>(timeoutMs), &result)) {
        return "";
    }
    return Utf8Text(buffer);
}

std::string FullWindowText(HWND window, int timeoutMs) {
    // The text may grow between the two messages: a read that filled all the
    // room given is asked again with more.
    std::size_t room = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::optional<LRESULT> length = Send(window, WM_GETTEXTLENGTH, 0, 0, timeoutMs);
        if (!length || *length < 0) {
            return "";
        }
        room = std::max(room * 2, static_cast<std::size_t>(*length) + 4097);
        std::wstring buffer(room, L'\0');
        DWORD_PTR copied = 0;
        if (!::SendMessageTimeoutW(window, WM_GETTEXT, static_cast<WPARAM>(buffer.size()),
                                   reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                   static_cast<UINT>(timeoutMs), &copied)) {
            return "";
        }
        if (copied + 1 < buffer.size()) {
            buffer.resize(std::min<std::size_t>(copied, std::char_traits<wchar_t>::length(buffer.c_str())));
            return Utf8Text(buffer);
        }
    }
    throw DriverError("the text of a window kept growing past every buffer offered");
}

bool SetWindowTextRemote(HWND window, const std::string& text, int timeoutMs) {
    DWORD_PTR result = 0;
    const std::wstring wide = WideText(text);
    return ::SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                                 SMTO_ABORTIFHUNG | SMTO_BLOCK, static_cast<UINT>(timeoutMs),
                                 &result) != 0;
}

std::string ClassNameOf(HWND window) {
    wchar_t buffer[257] = {};
    ::GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
    return Utf8Text(buffer);
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process;
}

DWORD ThreadOf(HWND window) { return ::GetWindowThreadProcessId(window, nullptr); }

RECT WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    std::vector<HWND> result;
    HWND window = ::GetTopWindow(nullptr);
    while (window) {
        if (ProcessOf(window) == processId) {
            result.push_back(window);
        }
        window = ::GetWindow(window, GW_HWNDNEXT);
    }
    return result;
}

HWND FindTopLevel(DWORD processId, const std::string& className, const std::string& caption,
                  bool visibleOnly) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (!className.empty() && ClassNameOf(window) != className) {
            continue;
        }
        if (visibleOnly && !::IsWindowVisible(window)) {
            continue;
        }
        if (!caption.empty() && WindowText(window) != caption) {
            continue;
        }
        return window;
    }
    return nullptr;
}

namespace {
struct ChildSearch {
    std::string className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (search->className.empty() || SameText(ClassNameOf(child), search->className)) {
        search->found.push_back(child);
    }
    return TRUE;
}
}  // namespace

std::vector<HWND> ChildrenOf(HWND parent, const std::string& className) {
    ChildSearch search{className, {}};
    ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string StaticText(HWND dialog) {
    std::string text;
    for (HWND child : ChildrenOf(dialog, "Static")) {
        std::string part = WindowText(child);
        if (part.empty()) {
            continue;  // the icon
        }
        if (!text.empty()) {
            text += "\n";
        }
        text += part;
    }
    return text;
}

HWND ChildButton(HWND dialog, const std::string& caption) {
    for (HWND child : ChildrenOf(dialog)) {
        if (StripAmpersands(WindowText(child)) == StripAmpersands(caption)) {
            return child;
        }
    }
    return nullptr;
}

bool ClickButton(HWND button) { return button && Post(button, BM_CLICK, 0, 0); }

bool ClickDialogButton(HWND dialog, int id) {
    HWND button = ::GetDlgItem(dialog, id);
    if (button) {
        return ClickButton(button);
    }
    return Post(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// ---- Keyboard, mouse, screen, clipboard ---------------------------------------------

bool Activate(HWND window) {
    ::SetForegroundWindow(window);
    const ULONGLONG start = ::GetTickCount64();
    while (::GetForegroundWindow() != window) {
        if (::GetTickCount64() - start > 5000) {
            return false;
        }
        ::Sleep(20);
        ::SetForegroundWindow(window);
    }
    return true;
}

namespace {
INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (virtualKey) {
        case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
            input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
            break;
        default:
            break;
    }
    return input;
}
}  // namespace

void PressKey(WORD virtualKey, bool ctrl, bool shift, bool alt) {
    std::vector<INPUT> inputs;
    if (ctrl) inputs.push_back(KeyInput(VK_CONTROL, false));
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, false));
    if (alt) inputs.push_back(KeyInput(VK_MENU, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    if (alt) inputs.push_back(KeyInput(VK_MENU, true));
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, true));
    if (ctrl) inputs.push_back(KeyInput(VK_CONTROL, true));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::string& text) {
    std::vector<INPUT> inputs;
    for (const char16_t c : Utf8ToUtf16(text)) {
        for (bool up : {false, true}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    if (!inputs.empty()) {
        ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
}

void MoveMouse(int x, int y) { ::SetCursorPos(x, y); }

void MouseMoveTo(POINT at) {
    ::SetCursorPos(at.x, at.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65535) / std::max(1, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (at.y * 65535) / std::max(1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(INPUT));
}

void MouseButtonAt(POINT at, MouseButton button, bool down) {
    MouseMoveTo(at);
    INPUT input{};
    input.type = INPUT_MOUSE;
    if (button == MouseButton::Left) input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    else input.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    ::SendInput(1, &input, sizeof(INPUT));
}

void ClickAt(POINT at, MouseButton button, int clicks) {
    for (int i = 0; i < clicks; ++i) {
        MouseButtonAt(at, button, true);
        MouseButtonAt(at, button, false);
    }
}

void HoldKey(WORD virtualKey, bool down) {
    INPUT input = KeyInput(virtualKey, !down);
    ::SendInput(1, &input, sizeof(INPUT));
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = ::GetDC(nullptr);
    COLORREF colour = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

namespace {
bool OpenClipboardBounded() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::OpenClipboard(nullptr)) {
            return true;
        }
        ::Sleep(50);
    }
    return false;
}
}  // namespace

bool EmptyClipboardText() {
    if (!OpenClipboardBounded()) {
        return false;
    }
    bool emptied = ::EmptyClipboard() != FALSE;
    ::CloseClipboard();
    return emptied;
}

namespace {
// The clipboard's text in one format, up to its first zero unit.
template <typename Char>
std::optional<std::basic_string<Char>> ClipboardData(UINT format) {
    if (!OpenClipboardBounded()) {
        return std::nullopt;
    }
    std::optional<std::basic_string<Char>> text;
    if (HANDLE data = ::GetClipboardData(format)) {
        if (const Char* chars = static_cast<const Char*>(::GlobalLock(data))) {
            const std::basic_string_view<Char> all(chars, ::GlobalSize(data) / sizeof(Char));
            text = std::basic_string<Char>(all.substr(0, all.find(Char{})));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}
}  // namespace

std::optional<std::string> ClipboardText() { return ClipboardData<char>(CF_TEXT); }

std::optional<std::string> ClipboardUnicodeText() {
    const std::optional<std::wstring> text = ClipboardData<wchar_t>(CF_UNICODETEXT);
    return text ? std::optional<std::string>(Utf8Text(*text)) : std::nullopt;
}

bool ClipboardOffers(UINT format) { return ::IsClipboardFormatAvailable(format) != FALSE; }

// ---- Memory in another process -------------------------------------------------------

RemoteProcess::RemoteProcess(DWORD processId) {
    handle_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                PROCESS_QUERY_INFORMATION,
                            FALSE, processId);
    if (!handle_) {
        throw DriverError("cannot open process " + std::to_string(processId));
    }
}

RemoteProcess::~RemoteProcess() {
    if (handle_) {
        ::CloseHandle(handle_);
    }
}

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size) : process_(process) {
    address_ = ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) {
        throw DriverError("VirtualAllocEx failed");
    }
}

RemoteBuffer::~RemoteBuffer() {
    if (address_) {
        ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
}

void RemoteBuffer::Write(const void* data, size_t size, size_t offset) {
    SIZE_T written = 0;
    if (!::WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &written) ||
        written != size) {
        throw DriverError("WriteProcessMemory failed");
    }
}

void RemoteBuffer::Read(void* data, size_t size, size_t offset) const {
    SIZE_T read = 0;
    if (!::ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &read) ||
        read != size) {
        throw DriverError("ReadProcessMemory failed");
    }
}

std::string RemoteBuffer::ReadString(size_t offset, size_t maxSize) const {
    std::vector<char> buffer(maxSize + 1, '\0');
    Read(buffer.data(), maxSize, offset);
    return std::string(buffer.data(), strnlen(buffer.data(), maxSize));
}

std::string RemoteBuffer::ReadWideString(size_t offset, size_t maxUnits) const {
    std::wstring buffer(maxUnits, L'\0');
    Read(buffer.data(), maxUnits * sizeof(wchar_t), offset);
    return Utf8Text(buffer.c_str());
}

// ---- Common controls of another process -------------------------------------------------

namespace {
constexpr size_t kTextSize = 1024;

HTREEITEM NextItem(HWND treeView, HTREEITEM item, UINT relation) {
    auto result = Send(treeView, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item));
    return result ? reinterpret_cast<HTREEITEM>(*result) : nullptr;
}
}  // namespace

int TreeItemCount(HWND treeView) {
    auto count = Send(treeView, TVM_GETCOUNT, 0, 0);
    return count ? static_cast<int>(*count) : -1;
}

std::vector<TreeNode> ReadTree(HWND treeView) {
    std::vector<TreeNode> nodes;
    if (!treeView) {
        return nodes;
    }
    RemoteProcess process(ProcessOf(treeView));
    RemoteBuffer buffer(process.handle(), sizeof(TVITEMW) + kTextSize * sizeof(wchar_t));
    wchar_t* remoteText = buffer.at<wchar_t>(sizeof(TVITEMW));
    HTREEITEM caret = NextItem(treeView, nullptr, TVGN_CARET);

    auto readItem = [&](HTREEITEM item, int depth, int parent) {
        TVITEMW query{};
        query.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE |
                     TVIF_CHILDREN;
        query.hItem = item;
        query.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
        query.pszText = remoteText;
        query.cchTextMax = static_cast<int>(kTextSize);
        buffer.Write(&query, sizeof query);
        const wchar_t zero = 0;
        buffer.Write(&zero, sizeof zero, sizeof(TVITEMW));
        if (!Send(treeView, TVM_GETITEMW, 0, buffer.param())) {
            throw DriverError("the tree view did not answer TVM_GETITEMW");
        }
        TVITEMW answer{};
        buffer.Read(&answer, sizeof answer);
        TreeNode node;
        node.item = item;
        node.text = buffer.ReadWideString(sizeof(TVITEMW), kTextSize);
        node.image = answer.iImage;
        node.selectedImage = answer.iSelectedImage;
        node.depth = depth;
        node.parent = parent;
        node.expanded = (answer.state & TVIS_EXPANDED) != 0;
        node.selected = item == caret;
        nodes.push_back(node);
    };

    // Depth first, in the tree's absolute order, collapsed nodes included.
    struct Level {
        HTREEITEM item;
        int parent;
        int depth;
    };
    std::vector<Level> stack;
    if (HTREEITEM root = NextItem(treeView, nullptr, TVGN_ROOT)) {
        stack.push_back({root, -1, 0});
    }
    while (!stack.empty()) {
        Level level = stack.back();
        stack.pop_back();
        readItem(level.item, level.depth, level.parent);
        int index = static_cast<int>(nodes.size()) - 1;
        if (HTREEITEM next = NextItem(treeView, level.item, TVGN_NEXT)) {
            stack.push_back({next, level.parent, level.depth});
        }
        HTREEITEM child = NextItem(treeView, level.item, TVGN_CHILD);
        nodes[index].hasChildren = child != nullptr;
        if (child) {
            stack.push_back({child, index, level.depth + 1});
        }
        if (nodes.size() > 100000) {
            throw DriverError("the tree does not end");
        }
    }
    return nodes;
}

bool SelectTreeItem(HWND treeView, HTREEITEM item) {
    auto result = Send(treeView, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item), 30000);
    return result && *result != 0;
}

std::vector<int> FindNodes(const std::vector<TreeNode>& nodes, const std::string& text) {
    std::vector<int> found;
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].text.find(text) != std::string::npos) {
            found.push_back(static_cast<int>(i));
        }
    }
    return found;
}

int FindNodeOf(const std::vector<TreeNode>& nodes, HWND window, bool hex) {
    const std::string field = HandleField(window, hex);
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].text.compare(0, field.size(), field) == 0 &&
            (nodes[i].text.size() == field.size() || nodes[i].text[field.size()] == ' ')) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<int> ChildrenOfNode(const std::vector<TreeNode>& nodes, int parent) {
    std::vector<int> children;
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].parent == parent) {
            children.push_back(static_cast<int>(i));
        }
    }
    return children;
}

std::vector<ListRow> ReadListView(HWND listView) {
    std::vector<ListRow> rows;
    if (!listView) {
        return rows;
    }
    auto count = Send(listView, LVM_GETITEMCOUNT, 0, 0);
    if (!count) {
        throw DriverError("the list view did not answer LVM_GETITEMCOUNT");
    }
    RemoteProcess process(ProcessOf(listView));
    RemoteBuffer buffer(process.handle(), sizeof(LVITEMW) + kTextSize * sizeof(wchar_t));
    auto text = [&](int row, int column) {
        LVITEMW query{};
        query.iSubItem = column;
        query.pszText = buffer.at<wchar_t>(sizeof(LVITEMW));
        query.cchTextMax = static_cast<int>(kTextSize);
        buffer.Write(&query, sizeof query);
        const wchar_t zero = 0;
        buffer.Write(&zero, sizeof zero, sizeof(LVITEMW));
        if (!Send(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), buffer.param())) {
            throw DriverError("the list view did not answer LVM_GETITEMTEXTW");
        }
        return buffer.ReadWideString(sizeof(LVITEMW), kTextSize);
    };
    for (int row = 0; row < static_cast<int>(*count); ++row) {
        rows.push_back({text(row, 0), text(row, 1)});
    }
    return rows;
}

int ListSelectedRow(HWND listView) {
    auto row = Send(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    return row ? static_cast<int>(*row) : -1;
}

bool SelectListRow(HWND listView, int row) {
    RemoteProcess process(ProcessOf(listView));
    RemoteBuffer buffer(process.handle(), sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    buffer.Write(&item, sizeof item);
    auto result = Send(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(row), buffer.param());
    return result && *result != 0;
}

bool ListRowChecked(HWND listView, int row) {
    const auto state = Send(listView, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
    return state && (*state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

bool CheckListRow(HWND listView, int row, bool checked) {
    RemoteProcess process(ProcessOf(listView));
    RemoteBuffer buffer(process.handle(), sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    buffer.Write(&item, sizeof item);
    auto result = Send(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(row), buffer.param());
    return result && *result != 0;
}

std::vector<std::string> ReadStatusBar(HWND statusBar) {
    std::vector<std::string> texts;
    if (!statusBar) {
        return texts;
    }
    auto parts = Send(statusBar, SB_GETPARTS, 0, 0);
    if (!parts) {
        throw DriverError("the status bar did not answer SB_GETPARTS");
    }
    RemoteProcess process(ProcessOf(statusBar));
    // Room to spare: the text may change between a length query and the read.
    RemoteBuffer buffer(process.handle(), kTextSize);
    for (int part = 0; part < static_cast<int>(*parts); ++part) {
        char zero = 0;
        buffer.Write(&zero, 1);
        if (!Send(statusBar, SB_GETTEXTA, static_cast<WPARAM>(part), buffer.param())) {
            throw DriverError("the status bar did not answer SB_GETTEXTA");
        }
        texts.push_back(buffer.ReadString(0, kTextSize - 1));
    }
    return texts;
}

std::vector<ToolButton> ReadToolBar(HWND toolBar) {
    std::vector<ToolButton> buttons;
    if (!toolBar) {
        return buttons;
    }
    auto count = Send(toolBar, TB_BUTTONCOUNT, 0, 0);
    if (!count) {
        throw DriverError("the tool bar did not answer TB_BUTTONCOUNT");
    }
    RemoteProcess process(ProcessOf(toolBar));
    RemoteBuffer buffer(process.handle(), sizeof(TBBUTTON) + sizeof(TTTOOLINFOA) + kTextSize);
    const size_t textOffset = sizeof(TBBUTTON) + sizeof(TTTOOLINFOA);
    HWND tips = nullptr;
    if (auto tooltip = Send(toolBar, TB_GETTOOLTIPS, 0, 0)) {
        tips = reinterpret_cast<HWND>(*tooltip);
    }
    for (int index = 0; index < static_cast<int>(*count); ++index) {
        if (!Send(toolBar, TB_GETBUTTON, static_cast<WPARAM>(index), buffer.param())) {
            throw DriverError("the tool bar did not answer TB_GETBUTTON");
        }
        TBBUTTON raw{};
        buffer.Read(&raw, sizeof raw);
        ToolButton button;
        button.command = raw.idCommand;
        button.separator = (raw.fsStyle & BTNS_SEP) != 0;
        button.checked = (raw.fsState & TBSTATE_CHECKED) != 0;
        button.enabled = (raw.fsState & TBSTATE_ENABLED) != 0;
        button.image = raw.iBitmap;
        if (!button.separator) {
            char zero = 0;
            buffer.Write(&zero, 1, textOffset);
            auto length = Send(toolBar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(raw.idCommand),
                               reinterpret_cast<LPARAM>(buffer.at<char>(textOffset)));
            if (length && *length > 0 && *length < static_cast<LRESULT>(kTextSize)) {
                button.text = buffer.ReadString(textOffset, kTextSize - 1);
            }
            if (tips) {
                TTTOOLINFOA info{};
                info.cbSize = sizeof info;
                info.hwnd = toolBar;
                info.uId = static_cast<UINT_PTR>(raw.idCommand);
                info.lpszText = buffer.at<char>(textOffset);
                buffer.Write(&info, sizeof info, sizeof(TBBUTTON));
                buffer.Write(&zero, 1, textOffset);
                if (Send(tips, TTM_GETTEXTA, kTextSize,
                         reinterpret_cast<LPARAM>(buffer.at<char>(sizeof(TBBUTTON))))) {
                    button.tip = buffer.ReadString(textOffset, kTextSize - 1);
                }
            }
        }
        buttons.push_back(button);
    }
    return buttons;
}

std::optional<LRESULT> SendWithBuffer(HWND window, UINT message, WPARAM wParam, void* data, size_t size) {
    RemoteProcess process(ProcessOf(window));
    RemoteBuffer buffer(process.handle(), size);
    buffer.Write(data, size);
    const auto result = Send(window, message, wParam, buffer.param());
    if (result) buffer.Read(data, size);
    return result;
}

// ---- Vantrel ---------------------------------------------------------------------------

std::unique_ptr<Vantrel> Vantrel::Start(int timeoutMs) { return StartProgram(VantrelExePath(), timeoutMs); }

std::unique_ptr<Vantrel> Vantrel::StartProgram(const std::string& exe, int timeoutMs) {
    const std::string dllDir = SameText(exe, VantrelExePath()) ? DirectoryOf(HookDllPath()) : DirectoryOf(exe);
    if (!SameText(dllDir, DirectoryOf(exe))) {
        // The program binds its hook library by name when it loads.
        char path[32768] = {};
        ::GetEnvironmentVariableA("PATH", path, sizeof path);
        std::string current = path;
        if (current.find(dllDir) == std::string::npos) {
            ::SetEnvironmentVariableA("PATH", (dllDir + ";" + current).c_str());
        }
    }
    std::unique_ptr<Vantrel> app(new Vantrel());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + exe + "\"";
    const std::string folder = BuildDir();
    if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info)) {
        throw DriverError("cannot start " + exe + " (error " + std::to_string(::GetLastError()) + ")");
    }
    app->process_ = info.hProcess;
    app->thread_ = info.hThread;
    app->processId_ = info.dwProcessId;
    Vantrel* raw = app.get();
    WaitOrThrow(
        [raw] {
            if (::WaitForSingleObject(raw->process_, 0) == WAIT_OBJECT_0) {
                throw DriverError("vantrel.exe ended during start-up");
            }
            raw->main_ = FindTopLevel(raw->processId_, "TForm1", "", true);
            return raw->main_ != nullptr;
        },
        timeoutMs, "the visible main window (class TForm1) of vantrel.exe");
    WaitOrThrow([raw] { return raw->TreeComplete(); }, timeoutMs,
                "the first tree of vantrel.exe (status bar \" Total: \" matching the node count)");
    return app;
}

Vantrel::~Vantrel() {
    Stop();
    if (thread_) {
        ::CloseHandle(thread_);
    }
    if (process_) {
        ::CloseHandle(process_);
    }
}

void Vantrel::Kill() {
    if (!Running()) return;
    ::TerminateProcess(process_, 1);
    ::WaitForSingleObject(process_, 30000);
}

bool Vantrel::Running() const {
    return process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Vantrel::Stop(int timeoutMs) {
    if (!Running()) {
        return true;
    }
    if (main_) {
        Post(main_, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0) {
        return true;
    }
    ::TerminateProcess(process_, 1);
    ::WaitForSingleObject(process_, 10000);
    return false;
}

namespace {
// A control of the main window: the one with its identifier, else the first of
// its class (controls sit on panels, so all levels are searched).
HWND ControlOf(HWND main, int id, const char* className) {
    HWND first = nullptr;
    for (HWND child : ChildrenOf(main, className)) {
        if (::GetDlgCtrlID(child) == id) {
            return child;
        }
        if (!first) {
            first = child;
        }
    }
    return first;
}
}  // namespace

HWND Vantrel::TreeView() const { return ControlOf(main_, ctl::TreeView1, WC_TREEVIEWA); }
HWND Vantrel::ListView() const { return ControlOf(main_, ctl::ListView1, WC_LISTVIEWA); }
HWND Vantrel::StatusBar() const { return ControlOf(main_, ctl::StatusBar1, STATUSCLASSNAMEA); }
HWND Vantrel::ToolBar() const { return ControlOf(main_, ctl::ToolBar1, TOOLBARCLASSNAMEA); }

HWND Vantrel::WaitForWindow(const std::string& className, const std::string& caption, int timeoutMs) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowOfClass(className, caption, true)) != nullptr; }, timeoutMs,
            "a visible window of class " + className + (caption.empty() ? "" : " titled \"" + caption + "\"") +
                " in vantrel.exe");
    return found;
}

bool Vantrel::WaitForWindowGone(const std::string& className, int timeoutMs) const {
    return WaitFor([&] { return FindWindowOfClass(className, "", true) == nullptr; }, timeoutMs,
                   "no visible window of class " + className + " left in vantrel.exe");
}

bool Vantrel::SendCommand(int command, int timeoutMs) const {
    return Send(main_, WM_COMMAND, MAKEWPARAM(command, 0), 0, timeoutMs).has_value();
}

bool Vantrel::PostCommand(int command) const { return Post(main_, WM_COMMAND, MAKEWPARAM(command, 0), 0); }

bool Vantrel::ActivateMain() const { return Activate(main_); }

bool Vantrel::TreeComplete() const {
    HWND tree = TreeView();
    if (!tree) {
        return false;
    }
    std::vector<std::string> texts;
    try {
        texts = StatusTexts();
    } catch (const DriverError&) {
        return false;
    }
    if (texts.size() < 2) {
        return false;
    }
    const std::string prefix = " Total: ";
    if (texts[1].compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    int count = TreeItemCount(tree);
    return count > 0 && texts[1] == prefix + std::to_string(count);
}

bool Vantrel::Refresh() const {
    ActivateMain();
    if (!SendCommand(cmd::Refresh1)) {
        ADD_FAILURE() << "Refresh did not finish within the message time-out";
        return false;
    }
    return WaitFor([this] { return TreeComplete(); }, kWaitTimeout, "the tree after Refresh");
}

bool Vantrel::SetHexMode(bool hex) {
    ActivateMain();
    if (!SendCommand(hex ? cmd::Hexadecimal : cmd::Decimal)) {
        ADD_FAILURE() << "the display mode command did not finish within the message time-out";
        return false;
    }
    hex_ = hex;
    return WaitFor([this] { return TreeComplete(); }, kWaitTimeout, "the tree after the mode change");
}

int Vantrel::SelectedNodeIndex() const {
    auto nodes = Tree();
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].selected) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool Vantrel::SelectWindow(HWND window) {
    auto nodes = Tree();
    int index = FindNodeOf(nodes, window, hex_);
    if (index < 0) {
        ADD_FAILURE() << "no node for window " << HandleField(window, hex_) << " in the tree";
        return false;
    }
    SelectNode(nodes[index]);
    const std::string expected = ValueText(HandleValue(window), hex_);
    return WaitFor([&] { return Property("Handle") == expected; }, kWaitTimeout,
                   "the property list to show window " + expected);
}

std::vector<PropertyRow> Vantrel::Properties() const {
    std::vector<PropertyRow> rows;
    for (const ListRow& row : ReadListView(ListView())) {
        rows.push_back({row.caption, row.value});
    }
    return rows;
}

std::optional<std::string> Vantrel::Property(const std::string& name) const {
    for (const PropertyRow& row : Properties()) {
        if (row.name == name) {
            return row.value;
        }
    }
    return std::nullopt;
}

bool Vantrel::SelectPropertyRow(const std::string& name) const {
    auto rows = Properties();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].name == name) {
            return SelectListRow(ListView(), static_cast<int>(i));
        }
    }
    ADD_FAILURE() << "no property row \"" << name << "\"";
    return false;
}

// ---- Saving the Catch Messages log -----------------------------------------------------

namespace {

std::vector<HWND> VisibleBoxesOf(const Vantrel& app) {
    std::vector<HWND> boxes;
    for (HWND w : app.Windows()) {
        if (::IsWindowVisible(w) && ClassNameOf(w) == "#32770") {
            boxes.push_back(w);
        }
    }
    return boxes;
}

// The file name field of a Save dialog: its visible, enabled edit field.
HWND FileNameFieldOf(HWND dialog) {
    for (HWND edit : ChildrenOf(dialog, "Edit")) {
        if (::IsWindowVisible(edit) && ::IsWindowEnabled(edit)) {
            return edit;
        }
    }
    return nullptr;
}

// The Save dialog's file type list (cmb1 of a file dialog).
HWND FileTypeFieldOf(HWND dialog) {
    for (HWND combo : ChildrenOf(dialog, "ComboBox")) {
        if (::GetDlgCtrlID(combo) == cmb1) return combo;
    }
    return nullptr;
}

// The items of a combo box of another process (CB_GETLBTEXT is marshalled
// like WM_GETTEXT).
std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    const LRESULT count = Send(combo, CB_GETCOUNT, 0, 0).value_or(0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0).value_or(CB_ERR);
        if (length < 0) break;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!::SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()),
                                   SMTO_ABORTIFHUNG | SMTO_BLOCK, kMessageTimeout, &copied))
            break;
        items.push_back(Utf8Text(text.c_str()));
    }
    return items;
}

}  // namespace

std::string FileBytes(const std::string& path) {
    HANDLE file = ::CreateFileW(WideText(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string bytes;
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    ::CloseHandle(file);
    return bytes;
}

SaveOutcome SaveLogAs(const Vantrel& app, HWND catchWindow, const std::string& path, int replaceAnswer,
                      int timeoutMs, int fileType, int lossAnswer) {
    SaveOutcome outcome;
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    auto timeLeft = [&] { return ::GetTickCount64() < deadline; };
    auto note = [&](const std::string& problem) {
        if (!outcome.problem.empty()) outcome.problem += "; ";
        outcome.problem += problem;
    };

    if (!VisibleBoxesOf(app).empty()) {
        note("a box of Vantrel was already open before Save as");
        return outcome;
    }
    if (!Post(catchWindow, WM_COMMAND, MAKEWPARAM(cmd::MenuCatchSave, 0), 0)) {
        note("Save as could not be posted to the Catch Messages window");
        return outcome;
    }

    // The Save dialog counts as come only with its file name field: a box
    // that is still being built has none yet.
    HWND dialog = nullptr;
    HWND field = nullptr;
    while (!field && timeLeft()) {
        for (HWND box : VisibleBoxesOf(app)) {
            if ((field = FileNameFieldOf(box)) != nullptr) {
                dialog = box;
                break;
            }
        }
        if (!field) ::Sleep(50);
    }
    if (!field) {
        note("no Save dialog with a file name field came");
        return outcome;
    }
    // The file type first: choosing one may change the name's extension.
    HWND types = FileTypeFieldOf(dialog);
    if (types) {
        outcome.fileTypes = ComboItems(types);
        outcome.offeredFileType = static_cast<int>(Send(types, CB_GETCURSEL, 0, 0).value_or(CB_ERR)) + 1;
    }
    if (fileType > 0) {
        // A choice in the list reaches the dialog as the list's notification.
        const bool chosen = types &&
                            Send(types, CB_SETCURSEL, static_cast<WPARAM>(fileType - 1), 0).value_or(CB_ERR) ==
                                fileType - 1 &&
                            Send(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
        if (!chosen) {
            note("file type " + std::to_string(fileType) + " could not be chosen in the Save dialog");
            ClickDialogButton(dialog, IDCANCEL);
            return outcome;
        }
    }
    bool typed = false;
    while (!typed && timeLeft()) {
        typed = SetWindowTextRemote(field, path) && WindowText(field) == path;
        if (!typed) ::Sleep(50);
    }
    if (!typed || !ClickDialogButton(dialog, IDOK)) {
        note("the file name could not be typed into the Save dialog or Save not pressed");
        ClickDialogButton(dialog, IDCANCEL);
        return outcome;
    }
    outcome.dialogShown = true;

    // Vantrel's thread answers a sent message only from a message loop: the
    // Save dialog's, a box's, or the Catch Messages window's own once the
    // command is done. While it creates and writes the file it answers
    // nothing, so an answer with no box visible, twice, is the end.
    std::vector<HWND> answered;
    int quiet = 0;
    while (timeLeft()) {
        const bool answers = Send(catchWindow, WM_NULL, 0, 0, 2000).has_value();
        const std::vector<HWND> boxes = VisibleBoxesOf(app);
        if (boxes.empty()) {
            if (answers && ++quiet >= 2) {
                outcome.finished = true;
                break;
            }
            ::Sleep(100);
            continue;
        }
        quiet = 0;
        bool dialogOpen = false;
        for (HWND box : boxes) {
            if (box == dialog) {
                dialogOpen = true;
                continue;
            }
            if (std::find(answered.begin(), answered.end(), box) != answered.end()) continue;
            const std::string caption = WindowText(box);
            const std::string text = StaticText(box);
            if (caption.empty() && text.empty()) continue;  // still being built
            answered.push_back(box);
            if (caption == "Warning" && outcome.question.empty() && ::GetDlgItem(box, IDYES)) {
                outcome.question = text;
                if (!replaceAnswer) note("an unexpected replace question, answered No");
                ClickDialogButton(box, replaceAnswer ? replaceAnswer : IDNO);
            } else if (text == kAnsiLossQuestion && !outcome.lossAsked) {
                outcome.lossAsked = true;
                if (!lossAnswer) note("an unexpected question about characters the ANSI file loses, answered Cancel");
                ClickDialogButton(box, lossAnswer ? lossAnswer : IDCANCEL);
            } else {
                if (outcome.reportCaption.empty() && outcome.report.empty()) {
                    outcome.reportCaption = caption;
                    outcome.report = text;
                } else {
                    note("another box: " + caption + ": " + text);
                }
                ClickDialogButton(box, ::GetDlgItem(box, IDOK) ? IDOK : IDCANCEL);
            }
        }
        // A box that came while the Save dialog stayed open is the dialog's
        // own complaint about the name: the dialog waits for another name,
        // so the save is given up.
        if (dialogOpen && !outcome.report.empty()) {
            ::Sleep(300);
            if (::IsWindowVisible(dialog) && FileNameFieldOf(dialog)) {
                note("the Save dialog refused the name");
                ClickDialogButton(dialog, IDCANCEL);
            }
            dialog = nullptr;
        }
        ::Sleep(100);
    }
    if (!outcome.finished) {
        note("Save as did not finish within " + std::to_string(timeoutMs) + " ms");
        for (HWND box : VisibleBoxesOf(app)) ClickDialogButton(box, box == dialog ? IDCANCEL : IDOK);
    }
    return outcome;
}

// ---- The window fixture ------------------------------------------------------------------

std::unique_ptr<Fixture> Fixture::Start(const std::string& options, int timeoutMs) {
    return StartProgram(FixtureExePath(), options, timeoutMs);
}

std::unique_ptr<Fixture> Fixture::StartProgram(const std::string& exe, const std::string& options, int timeoutMs) {
    std::unique_ptr<Fixture> fixture(new Fixture());
    fixture->handlesFile_ = TempFilePath("fixture-handles");
    fixture->replyFile_ = fixture->handlesFile_ + ".reply";
    std::string commandLine = "\"" + exe + "\" --out \"" + fixture->handlesFile_ + "\" " + options;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          BuildDir().c_str(), &startup, &info)) {
        throw DriverError("cannot start " + exe + " (error " + std::to_string(::GetLastError()) + ")");
    }
    ::CloseHandle(info.hThread);
    fixture->process_ = info.hProcess;
    fixture->processId_ = info.dwProcessId;
    Fixture* raw = fixture.get();
    WaitOrThrow(
        [raw] {
            if (::WaitForSingleObject(raw->process_, 0) == WAIT_OBJECT_0) {
                throw DriverError("vantrel_fixture.exe ended during start-up");
            }
            raw->ReadHandles();
            return raw->control_ != nullptr;
        },
        timeoutMs, "the handles of vantrel_fixture.exe");
    return fixture;
}

void Fixture::ReadHandles() {
    std::ifstream in(handlesFile_);
    std::map<std::string, HWND> windows;
    std::string name;
    unsigned long long value = 0;
    bool ready = false;
    std::string line;
    while (std::getline(in, line)) {
        if (line == "ready") {
            ready = true;
            break;
        }
        std::istringstream fields(line);
        if (fields >> name >> value) {
            windows[name] = HandleFromValue(static_cast<uint32_t>(value));
        }
    }
    if (!ready) {
        return;
    }
    windows_ = windows;
    auto control = windows_.find("control");
    control_ = control == windows_.end() ? nullptr : control->second;
}

Fixture::~Fixture() {
    Stop();
    if (process_) {
        ::CloseHandle(process_);
    }
}

HWND Fixture::Window(const std::string& name) const {
    auto found = windows_.find(name);
    if (found == windows_.end()) {
        throw DriverError("the fixture has no window named " + name);
    }
    return found->second;
}

bool Fixture::Has(const std::string& name) const { return windows_.count(name) != 0; }

std::optional<std::string> Fixture::Command(const std::string& command, int timeoutMs) {
    ::DeleteFileA(replyFile_.c_str());
    COPYDATASTRUCT data{};
    data.dwData = 1;
    data.cbData = static_cast<DWORD>(command.size() + 1);
    data.lpData = const_cast<char*>(command.c_str());
    auto result = Send(control_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), timeoutMs);
    if (!result || *result == 0) {
        return std::nullopt;
    }
    std::ifstream in(replyFile_, std::ios::binary);
    std::ostringstream reply;
    reply << in.rdbuf();
    if (command.rfind("create", 0) == 0 || command.rfind("destroy ", 0) == 0) {
        ReadHandles();
    }
    return reply.str();
}

std::vector<std::string> Fixture::RecorderLog() {
    std::vector<std::string> lines;
    auto reply = Command("log");
    if (!reply) {
        ADD_FAILURE() << "the fixture did not answer the log command";
        return lines;
    }
    std::istringstream in(*reply);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

void Fixture::Stop() {
    if (!process_ || ::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) {
        return;
    }
    if (control_) {
        Command("quit", 5000);
    }
    if (::WaitForSingleObject(process_, 15000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_, 1);
        ::WaitForSingleObject(process_, 10000);
    }
}

void Session::CloseStrays(std::initializer_list<const char*> forms) const {
    if (!app) return;
    for (int i = 0; i < 5; ++i) {
        HWND box = app->FindWindowOfClass("#32770", "", true);
        if (!box) break;
        ClickDialogButton(box, ::GetDlgItem(box, IDNO) ? IDNO : IDOK);
        app->WaitForWindowGone("#32770");
    }
    for (const char* form : forms) {
        if (HWND dialog = app->FindWindowOfClass(form, "", true)) {
            ClickDialogButton(dialog, IDCANCEL);
            app->WaitForWindowGone(form);
        }
    }
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

// ---- Catching messages ----------------------------------------------------------------

CatchSession CatchSession::Open(Vantrel& app, HWND watched, bool byFind) {
    CatchSession session;
    session.app = &app;
    if (!app.Refresh()) throw DriverError("the tree was not rebuilt");
    if (byFind) {
        app.PostCommand(cmd::FindWindow1);
        HWND dialog = app.WaitForWindow("TForm4");
        if (!dialog) throw DriverError("the Find dialog did not open");
        SetWindowTextRemote(::GetDlgItem(dialog, ctl::Edit1), HandleField(watched, app.HexMode()));
        Send(::GetDlgItem(dialog, ctl::CheckBox1), BM_SETCHECK, BST_CHECKED, 0);
        ClickDialogButton(dialog, IDOK);
        if (!app.WaitForWindowGone("TForm4")) throw DriverError("the Find dialog did not close");
    } else if (!app.SelectWindow(watched)) {
        throw DriverError("the watched window is not in the tree");
    }
    app.PostCommand(cmd::Catchmessages1);
    session.window = app.WaitForWindow("TForm5ForHook");
    if (!session.window) throw DriverError("the Catch Messages window did not open");
    // Its caption names the selected node, which begins with the handle.
    if (WindowText(session.window).find("Catch Messages - " + HandleField(watched, app.HexMode())) != 0)
        throw DriverError("Catch Messages opened on another window: " + WindowText(session.window));
    session.memo = ::GetDlgItem(session.window, ctl::Memo1);
    session.toolBar = ::GetDlgItem(session.window, ctl::CatchToolBar1);
    if (!session.memo || !session.toolBar) throw DriverError("the Catch Messages window has no log pane or tool bar");
    return session;
}

bool CatchSession::Enabled(int command) const {
    return Send(toolBar, TB_ISBUTTONENABLED, static_cast<WPARAM>(command), 0).value_or(0) != 0;
}

bool CatchSession::Command(int command) const { return Post(window, WM_COMMAND, static_cast<WPARAM>(command), 0); }

bool CatchSession::Start(std::string* box) const {
    Command(cmd::MenuCatchRun);
    HWND shown = nullptr;
    const bool settled = WaitFor([&] {
        if (!Enabled(cmd::MenuCatchRun) && Enabled(cmd::MenuCatchStop)) return true;
        shown = app->FindWindowOfClass("#32770", "", true);
        return shown != nullptr;
    }, kWaitTimeout, "catching started or a message box");
    if (!settled) return false;
    if (!shown) return true;
    if (box) *box = StaticText(shown);
    ClickDialogButton(shown, IDOK);
    app->WaitForWindowGone("#32770");
    return false;
}

bool CatchSession::Stop() const {
    Command(cmd::MenuCatchStop);
    return WaitFor([&] { return Enabled(cmd::MenuCatchRun) && !Enabled(cmd::MenuCatchStop); }, kWaitTimeout,
                   "catching stopped");
}

bool CatchSession::Clear() const {
    Command(cmd::MenuCatchClear);
    return WaitFor([&] { return SplitLines(Log()).size() == 1; }, kWaitTimeout, "the log cleared");
}

bool CatchSession::Close() const {
    Post(window, WM_COMMAND, cmd::MenuCatchExit, 0);
    return WaitFor([&] { return !::IsWindowVisible(window); }, kWaitTimeout, "Catch Messages closed");
}

namespace {
unsigned LoggedNumber(const std::string& line) {
    if (line.size() < 26 || line[14] != '|') return 0xFFFFFFFF;
    return static_cast<unsigned>(std::strtoul(line.substr(16, 8).c_str(), nullptr, 10));
}
}  // namespace

std::vector<std::string> CatchFixtureSequence(const CatchSession& session, Fixture& fixture) {
    const unsigned registered = ::RegisterWindowMessageA("VantrelFixtureMessage");
    const unsigned marker = 0x400 + 0x77;
    const auto logged = [&](unsigned number) {
        for (const std::string& l : SplitLines(session.Log()))
            if (LoggedNumber(l) == number) return true;
        return false;
    };
    if (!fixture.Command("send-sequence")) ADD_FAILURE() << "the fixture did not run its sequence";
    WaitFor([&] { return logged(WM_TIMER); }, kWaitTimeout, "the timer message of the sequence");
    fixture.Command("post recorder " + std::to_string(marker) + " 0 0");
    WaitFor([&] { return logged(marker); }, kWaitTimeout, "the marker message");
    const std::set<unsigned> ours = {0x401, registered, 0x200, 0x201, 0x202, 0x0F, 0x113, marker};
    std::vector<std::string> lines;
    for (const std::string& l : SplitLines(session.Log()))
        if (ours.count(LoggedNumber(l)) && l.size() > 81) lines.push_back(l.substr(14, 68));
    return lines;
}

std::vector<std::string> ExpectedSequenceLines(unsigned registered) {
    char line[128];
    std::snprintf(line, sizeof line, "| %8u - WM_USER+%-17u |           3 |           4 |", registered,
                  registered - 1024);
    return {
        "|     1025 - WM_USER+1                 |           1 |           2 |",
        line,
        "|      512 - WM_MOUSEMOVE              |           0 |      393221 |",
        "|      513 - WM_LBUTTONDOWN            |           1 |      393221 |",
        "|      514 - WM_LBUTTONUP              |           0 |      393221 |",
        "|       15 - WM_PAINT                  |           0 |           0 |",
        "|      275 - WM_TIMER                  |           7 |           0 |",
        "|     1143 - WM_USER+119               |           0 |           0 |",
    };
}

std::vector<DWORD> CompanionProcesses() {
    std::vector<DWORD> processes;
    for (HWND window = ::FindWindowExA(HWND_MESSAGE, nullptr, "VantrelHookCompanion", nullptr); window;
         window = ::FindWindowExA(HWND_MESSAGE, window, "VantrelHookCompanion", nullptr)) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        if (!processId) continue;
        // A companion that has ended may leave its window behind a moment.
        HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
        if (!process) continue;
        if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) processes.push_back(processId);
        ::CloseHandle(process);
    }
    return processes;
}

ProgramImages::ProgramImages(const char* resource, int size) : size_(size) {
    module_ = ::LoadLibraryExA(VantrelExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module_)
        bitmap_ = static_cast<HBITMAP>(::LoadImageA(module_, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap_) {
        dc_ = ::CreateCompatibleDC(nullptr);
        old_ = ::SelectObject(dc_, bitmap_);
    }
}

ProgramImages::~ProgramImages() {
    if (dc_) {
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
    }
    if (bitmap_) ::DeleteObject(bitmap_);
    if (module_) ::FreeLibrary(module_);
}

COLORREF ProgramImages::Pixel(int image, int x, int y) const {
    return ::GetPixel(dc_, image * size_ + x, y) & 0xFFFFFF;
}

bool WaitForProcessEnd(DWORD processId, int timeoutMs) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return true;
    const bool ended = ::WaitForSingleObject(process, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

bool KillProcess(DWORD processId) {
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) return false;
    const bool killed = ::TerminateProcess(process, 1) && ::WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return killed;
}

}  // namespace vantrel::e2e
