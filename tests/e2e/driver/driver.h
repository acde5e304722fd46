#pragma once
// Driver for end-to-end tests: starts vantrel.exe and the window fixture under
// Wine and works them from outside, as a user would: reads the tree, the
// property list, the status bar and the tool bar of the running program
// (cross-process, with buffers allocated in its address space), selects nodes
// and rows, sends commands, finds its dialogs and message boxes, presses keys,
// reads the clipboard and the screen.
//
// Texts are UTF-8 std::string, read from and written to other processes in
// UTF-16 (the wide messages), so a text in any script arrives exactly.
//
// Every wait is bounded: WaitFor polls and, on time-out, records a test failure
// naming what it waited for. Helpers that cannot go on throw DriverError, which
// GoogleTest reports as a failure of the running test. Every message sent to
// another process goes through SendMessageTimeout.

#include "shell/command_ids.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::e2e {

struct DriverError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Time-outs in milliseconds.
inline constexpr int kMessageTimeout = 10000;   // one SendMessageTimeout
inline constexpr int kStartTimeout = 60000;     // a program's first window
inline constexpr int kWaitTimeout = 20000;      // default for WaitFor

// ---- Waiting ----------------------------------------------------------------

// Polls predicate every 50 ms until it is true or timeoutMs has passed. On
// time-out adds a test failure "timed out after N ms waiting for <description>"
// and returns false.
bool WaitFor(const std::function<bool()>& predicate, int timeoutMs, const std::string& description);
// The same wait where running out of time is an answer, not a failure.
bool WaitUntil(const std::function<bool()>& predicate, int timeoutMs);
// Same, but throws DriverError on time-out (for preconditions).
void WaitOrThrow(const std::function<bool()>& predicate, int timeoutMs, const std::string& description);
// Lets queued work of other processes run (a short sleep).
void Pause(int ms);

// ---- Paths (Windows form, Z:\...) -------------------------------------------

// A path handed over by the build (a Unix path) in the form Wine programs use.
std::string WindowsPath(const std::string& path);
std::string BuildDir();
std::string VantrelExePath();
std::string HookDllPath();
std::string FixtureExePath();
// A fresh file name in the build folder's e2e-temp folder.
std::string TempFilePath(const std::string& stem);

// ---- Texts ---------------------------------------------------------------------

// UTF-8 to the system's UTF-16 and back, for the wide calls.
std::wstring WideText(std::string_view utf8);
std::string Utf8Text(std::wstring_view wide);

// ---- Handles as the program writes them --------------------------------------

// The 32-bit value of a window handle, as node labels and property rows show it.
uint32_t HandleValue(HWND window);
HWND HandleFromValue(uint32_t value);
// "0000131634" (10 zero-padded decimal digits) or "00020232" (8 upper-case hex).
std::string HandleField(HWND window, bool hex);
// Unsigned decimal, or 8 upper-case hexadecimal digits.
std::string ValueText(uint32_t value, bool hex);

// ---- Plain window queries (any process) --------------------------------------

// WM_GETTEXT (wide) through SendMessageTimeout; "" when the window does not
// answer.
std::string WindowText(HWND window, int timeoutMs = kMessageTimeout);
// The whole text, however long (WM_GETTEXTLENGTH, then WM_GETTEXT with room
// for it); "" when the window does not answer.
std::string FullWindowText(HWND window, int timeoutMs = kMessageTimeout);
// WM_SETTEXT (wide) through SendMessageTimeout.
bool SetWindowTextRemote(HWND window, const std::string& text, int timeoutMs = kMessageTimeout);
std::string ClassNameOf(HWND window);
DWORD ProcessOf(HWND window);
DWORD ThreadOf(HWND window);
RECT WindowRect(HWND window);
// Top-level windows of a process (visible and hidden), in z-order.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
// First top-level window of the process with this class (and caption, when not
// empty); visibleOnly skips hidden ones. nullptr when there is none.
HWND FindTopLevel(DWORD processId, const std::string& className, const std::string& caption = "",
                  bool visibleOnly = false);
// Child windows (all levels) of a window with the given class ("" = any).
std::vector<HWND> ChildrenOf(HWND parent, const std::string& className = "");
// Texts of a window's descendants of class Static (a message box's message).
std::string StaticText(HWND dialog);
// Child of a dialog whose text (without '&') equals caption; nullptr if none.
HWND ChildButton(HWND dialog, const std::string& caption);
// Posts BM_CLICK to the button (so a modal window it opens cannot block us).
bool ClickButton(HWND button);
// Posts BM_CLICK to the dialog's control with this identifier.
bool ClickDialogButton(HWND dialog, int id);
// Sends a message with SendMessageTimeout; nullopt when it timed out or failed.
std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            int timeoutMs = kMessageTimeout);
bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Keyboard, mouse, screen, clipboard --------------------------------------

// Brings the window to the foreground and waits until it is there.
bool Activate(HWND window);
// Presses and releases one key with SendInput, holding the modifiers given.
void PressKey(WORD virtualKey, bool ctrl = false, bool shift = false, bool alt = false);
// Types text with SendInput (characters as Unicode key events).
void TypeText(const std::string& text);
void MoveMouse(int x, int y);
// Real mouse input at a screen point (SendInput): the pointer moves there
// first, so the window below gets the move and then the button, as from a
// user's hand. clicks 2 is a double-click.
enum class MouseButton { Left, Right };
void MouseMoveTo(POINT at);
void MouseButtonAt(POINT at, MouseButton button, bool down);
void ClickAt(POINT at, MouseButton button = MouseButton::Left, int clicks = 1);
// Presses or releases one key alone (SendInput), for holding Shift or Ctrl
// around mouse input.
void HoldKey(WORD virtualKey, bool down);
COLORREF ScreenPixel(int x, int y);
// Empties the clipboard (bounded retries while another process holds it).
bool EmptyClipboardText();
// The clipboard's CF_TEXT (its 8-bit bytes as they are), nullopt when there
// is none.
std::optional<std::string> ClipboardText();
// The clipboard's CF_UNICODETEXT in UTF-8, nullopt when there is none.
std::optional<std::string> ClipboardUnicodeText();
// Whether the clipboard offers the format (IsClipboardFormatAvailable).
bool ClipboardOffers(UINT format);

// ---- Memory in another process -----------------------------------------------

// A block of memory allocated in another process, freed on destruction.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    void* address() const { return address_; }
    LPARAM param() const { return reinterpret_cast<LPARAM>(address_); }
    template <typename T>
    T* at(size_t offset) const {
        return reinterpret_cast<T*>(static_cast<char*>(address_) + offset);
    }
    void Write(const void* data, size_t size, size_t offset = 0);
    void Read(void* data, size_t size, size_t offset = 0) const;
    std::string ReadString(size_t offset, size_t maxSize) const;
    // A zero-ended UTF-16 text of at most maxUnits units, in UTF-8.
    std::string ReadWideString(size_t offset, size_t maxUnits) const;

private:
    HANDLE process_;
    void* address_ = nullptr;
};

// A handle to another process with the rights to use its memory.
class RemoteProcess {
public:
    explicit RemoteProcess(DWORD processId);
    ~RemoteProcess();
    RemoteProcess(const RemoteProcess&) = delete;
    RemoteProcess& operator=(const RemoteProcess&) = delete;
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// ---- Common controls of another process -------------------------------------

struct TreeNode {
    HTREEITEM item = nullptr;  // in the owner's address space
    std::string text;          // the label (TVM_GETITEMW)
    int image = -1;
    int selectedImage = -1;
    int depth = 0;             // 0 for a root
    int parent = -1;           // index of the parent node in the list, -1 for a root
    bool expanded = false;
    bool selected = false;
    bool hasChildren = false;
};

// Every node in absolute order (depth first, collapsed nodes included).
std::vector<TreeNode> ReadTree(HWND treeView);
// Selects a node as a click would (TVM_SELECTITEM, TVGN_CARET).
bool SelectTreeItem(HWND treeView, HTREEITEM item);
int TreeItemCount(HWND treeView);

// Indexes of nodes whose label contains the text.
std::vector<int> FindNodes(const std::vector<TreeNode>& nodes, const std::string& text);
// Index of the first node whose label starts with the handle field, -1 if none.
int FindNodeOf(const std::vector<TreeNode>& nodes, HWND window, bool hex);
// Indexes of the children of a node (parent = -1: the roots).
std::vector<int> ChildrenOfNode(const std::vector<TreeNode>& nodes, int parent);

struct ListRow {
    std::string caption;
    std::string value;
};
// Captions and the first sub-item of every row of a report-view list
// (LVM_GETITEMTEXTW).
std::vector<ListRow> ReadListView(HWND listView);
int ListSelectedRow(HWND listView);
bool SelectListRow(HWND listView, int row);
// The check box of a row of a list view with check boxes: read, and set as a
// click on it would (the list tells its owner the row changed).
bool ListRowChecked(HWND listView, int row);
bool CheckListRow(HWND listView, int row, bool checked);

// Texts of all panels of a status bar.
std::vector<std::string> ReadStatusBar(HWND statusBar);

struct ToolButton {
    int command = 0;       // 0 for a separator
    bool separator = false;
    bool checked = false;  // pressed state of a check button
    bool enabled = false;
    int image = -1;
    std::string text;      // caption from TB_GETBUTTONINFOA ("" if none)
    std::string tip;       // tool tip text, when the tool tip control gives it
};
std::vector<ToolButton> ReadToolBar(HWND toolBar);

// Sends a message whose lParam points to a structure (a RECT, the panel ends of
// a status bar...): the structure is copied into the window's process, the
// message sent with its address there, and the structure read back into data.
// nullopt when the window did not answer.
std::optional<LRESULT> SendWithBuffer(HWND window, UINT message, WPARAM wParam, void* data, size_t size);

// ---- Vantrel -----------------------------------------------------------------

struct PropertyRow {
    std::string name;
    std::string value;
};

class Vantrel {
public:
    // Starts vantrel.exe (working folder: the build folder) and waits until its
    // main window (class TForm1) is visible and its first tree is complete.
    // Throws DriverError when it does not come up.
    static std::unique_ptr<Vantrel> Start(int timeoutMs = kStartTimeout);
    // The same for another vantrel.exe (a copy elsewhere, the other bitness's
    // build), which finds its VANTREL.DLL beside it.
    static std::unique_ptr<Vantrel> StartProgram(const std::string& exe, int timeoutMs = kStartTimeout);
    ~Vantrel();
    Vantrel(const Vantrel&) = delete;
    Vantrel& operator=(const Vantrel&) = delete;

    // Closes the main window (WM_CLOSE), waits for the process, ends it if it
    // lingers. Returns true when it ended by itself.
    bool Stop(int timeoutMs = 15000);
    // Ends the process at once, as a crash would, and waits until it is gone.
    void Kill();
    bool Running() const;
    DWORD ProcessId() const { return processId_; }
    HANDLE Process() const { return process_; }

    HWND MainWindow() const { return main_; }
    HWND TreeView() const;
    HWND ListView() const;
    HWND StatusBar() const;
    HWND ToolBar() const;

    // Top-level windows of Vantrel's process.
    std::vector<HWND> Windows() const { return TopLevelWindowsOf(processId_); }
    HWND FindWindowOfClass(const std::string& className, const std::string& caption = "",
                           bool visibleOnly = false) const {
        return FindTopLevel(processId_, className, caption, visibleOnly);
    }
    // Waits for a visible top-level window of the process (a dialog, a message
    // box "#32770", a form "TForm2"...); nullptr (and a test failure) on time-out.
    HWND WaitForWindow(const std::string& className, const std::string& caption = "",
                       int timeoutMs = kWaitTimeout) const;
    // Waits until no visible window of that class is left.
    bool WaitForWindowGone(const std::string& className, int timeoutMs = kWaitTimeout) const;

    // Commands: Send returns when the handler has run (do not use it for
    // commands that open a modal window); Post only queues the command.
    bool SendCommand(int command, int timeoutMs = 60000) const;
    bool PostCommand(int command) const;
    // Brings the main window to the front (the tree is built from the active window).
    bool ActivateMain() const;
    // Activates the main window, runs Refresh and waits for the tree to be complete.
    bool Refresh() const;
    // Switches the display mode (command Hexadecimal or Decimal) and waits.
    bool SetHexMode(bool hex);
    bool HexMode() const { return hex_; }

    // The tree as the user sees it.
    std::vector<TreeNode> Tree() const { return ReadTree(TreeView()); }
    // True once the status bar's " Total: " count equals the tree's node count.
    bool TreeComplete() const;
    // Selects the node of a window (first node carrying its handle field) and
    // waits until the property list shows that window. False when not found.
    bool SelectWindow(HWND window);
    bool SelectNode(const TreeNode& node) const { return SelectTreeItem(TreeView(), node.item); }
    int SelectedNodeIndex() const;

    std::vector<PropertyRow> Properties() const;
    // Value of a property row by name; nullopt when there is no such row.
    std::optional<std::string> Property(const std::string& name) const;
    bool SelectPropertyRow(const std::string& name) const;

    std::vector<std::string> StatusTexts() const { return ReadStatusBar(StatusBar()); }
    std::vector<ToolButton> ToolButtons() const { return ReadToolBar(ToolBar()); }
    std::string Caption() const { return WindowText(main_); }

private:
    Vantrel() = default;
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
    bool hex_ = false;
};

// ---- Saving the Catch Messages log --------------------------------------------

// What one "Save as..." of the Catch Messages window came to.
struct SaveOutcome {
    bool dialogShown = false;   // the Save dialog came up and took the file name
    std::string question;       // text of the replace question, "" when none was asked
    std::string reportCaption;  // caption and text of the first other box that came
    std::string report;         //   (an error report), "" when none came
    bool finished = false;      // Vantrel was back in the Catch Messages window, no box left
    std::string problem;        // what went wrong in driving the save, "" when nothing
    std::vector<std::string> fileTypes;  // the Save dialog's file types, in order
    int offeredFileType = 0;    // the type it offered when it came (1 for the first)
    bool lossAsked = false;     // Vantrel asked whether to save UTF-8 rather than lose characters

    // "caption: text" of the box that came, "" when none.
    std::string Box() const { return reportCaption.empty() && report.empty() ? "" : reportCaption + ": " + report; }
};

// Runs "Save as..." of the Catch Messages window catchWindow through the real
// Save dialog: waits for the dialog and its file name field, types the path,
// presses Save, answers the replace question with replaceAnswer (IDYES or
// IDNO; with 0 an unexpected question is answered No and recorded), answers
// every box that follows with OK and records the first. It returns only once
// Vantrel has finished the command: its thread answers and no box of it is
// visible, twice in a row (the error report comes after the Save dialog has
// closed, so the moment between the two is no end). Bounded by timeoutMs.
// fileType (1 for the first) chooses the file type as the user would before
// the name is typed; 0 leaves the dialog's default. lossAnswer (IDYES, IDNO)
// answers the question whether to save UTF-8 rather than lose characters to
// the ANSI file, which must then come; with 0 it is answered Cancel and noted.
SaveOutcome SaveLogAs(const Vantrel& app, HWND catchWindow, const std::string& path, int replaceAnswer = 0,
                      int timeoutMs = 60000, int fileType = 0, int lossAnswer = 0);
// The bytes of a file (UTF-8 path); "" when it cannot be read.
std::string FileBytes(const std::string& path);

// ---- The window fixture ------------------------------------------------------

// vantrel_fixture.exe, a known family of windows (see fixture/fixture_main.cpp
// for the window names and commands).
class Fixture {
public:
    // Starts the fixture with extra command-line options (e.g. "--only main,owner")
    // and waits until it has written its handles.
    static std::unique_ptr<Fixture> Start(const std::string& options = "",
                                          int timeoutMs = kStartTimeout);
    // The same fixture from another build (the other bitness's).
    static std::unique_ptr<Fixture> StartProgram(const std::string& exe, const std::string& options = "",
                                                 int timeoutMs = kStartTimeout);
    ~Fixture();
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;

    // Handle of a named fixture window; throws DriverError when unknown.
    HWND Window(const std::string& name) const;
    bool Has(const std::string& name) const;
    const std::map<std::string, HWND>& Windows() const { return windows_; }
    DWORD ProcessId() const { return processId_; }

    // Sends a command to the fixture's control window and returns its reply
    // text (nullopt when the fixture did not answer). "create <name>" and the
    // other create commands add the new window to Windows().
    std::optional<std::string> Command(const std::string& command, int timeoutMs = kMessageTimeout);
    // The fixture's message recorder log: one "name hex-message wParam lParam"
    // line per message received by the window "recorder" since the last clear.
    std::vector<std::string> RecorderLog();
    // Ends the fixture ("quit", then TerminateProcess if it lingers).
    void Stop();

private:
    Fixture() = default;
    void ReadHandles();
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    std::string handlesFile_;
    std::string replyFile_;
    HWND control_ = nullptr;
    std::map<std::string, HWND> windows_;
};

// The lines of a text whose lines end in CR LF (a log pane's text): the
// piece after the last CR LF is the last line.
std::vector<std::string> SplitLines(const std::string& text);

// One fixture program and one Vantrel shared by the tests of a suite. The
// fixture starts first, so Vantrel's first tree lists its windows.
struct Session {
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<Vantrel> app;

    void Start(const std::string& fixtureOptions) {
        fixture = Fixture::Start(fixtureOptions);
        app = Vantrel::Start();
    }
    void Stop() {
        if (app) app->Stop();
        app.reset();
        if (fixture) fixture->Stop();
        fixture.reset();
    }
    // A message box or dialog left open by a failed test would block the
    // next: message boxes are answered No (or OK), the named forms cancelled.
    void CloseStrays(std::initializer_list<const char*> forms = {}) const;
};

// ---- Catching messages --------------------------------------------------------

// The Catch Messages window of a running Vantrel, opened on one window.
struct CatchSession {
    Vantrel* app = nullptr;
    HWND window = nullptr;
    HWND memo = nullptr;
    HWND toolBar = nullptr;

    // Selects watched in the tree, opens Catch messages (posted: it is modal)
    // and waits for it. Throws DriverError when it does not come. byFind
    // selects the node through Find window (its handle digits) instead of
    // reading the tree: the tree and list structures of a program of the
    // other bitness cannot be read from here, its texts and commands can.
    static CatchSession Open(Vantrel& app, HWND watched, bool byFind = false);
    bool Enabled(int command) const;
    bool Command(int command) const;
    // Presses Start and waits until catching has begun (true) or a message
    // box has come, whose text goes to box and which is answered OK (false).
    bool Start(std::string* box = nullptr) const;
    bool Stop() const;
    bool Clear() const;
    bool Close() const;
    std::string Log() const { return FullWindowText(memo); }
};

// The log lines of the fixture's "send-sequence" to its recorder, caught by
// the session in decimal mode: the middle part (number, name, wParam, lParam)
// of each line of the sequence's messages, once the marker message WM_USER+0x77
// posted after it is logged. registered: the number of VantrelFixtureMessage.
std::vector<std::string> CatchFixtureSequence(const CatchSession& session, Fixture& fixture);
// What those lines are when every message is logged once.
std::vector<std::string> ExpectedSequenceLines(unsigned registered);

// One image strip as vantrel.exe carries it in its resources: images of
// size x size side by side, magenta (kTransparent) where they are transparent.
class ProgramImages {
public:
    static constexpr COLORREF kTransparent = RGB(255, 0, 255);
    ProgramImages(const char* resource, int size);
    ~ProgramImages();
    ProgramImages(const ProgramImages&) = delete;
    ProgramImages& operator=(const ProgramImages&) = delete;
    bool ok() const { return dc_ != nullptr; }
    int size() const { return size_; }
    COLORREF Pixel(int image, int x, int y) const;

private:
    int size_;
    HMODULE module_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// The processes of running hook companions (vantrel32.exe, vantrel64.exe),
// found by their message-only windows.
std::vector<DWORD> CompanionProcesses();
// Waits until the process has ended; false on time-out (no test failure).
bool WaitForProcessEnd(DWORD processId, int timeoutMs = kWaitTimeout);
// Ends a process at once, as a crash would.
bool KillProcess(DWORD processId);

}  // namespace vantrel::e2e
