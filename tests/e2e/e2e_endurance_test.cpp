// Vantrel on a hostile desktop: hung windows, windows that come and go while
// the tree is rebuilt and searched, a storm of messages at the watched window
// while catching is switched on and off, and logs saved where they cannot be
// written. Every loop has a deadline and stops by itself; each test prints the
// figures it reached.

#include "base/scope_exit.h"
#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace vantrel::e2e {
namespace {

const std::string kHeader =
    "  Time        |        Message                       |      wParam |      lParam | Position";

// Time boxes in milliseconds; the whole suite stays within a few minutes.
constexpr ULONGLONG kChurnTimeBox = 45000;
constexpr ULONGLONG kStormTimeBox = 75000;
// The storm stops early once it has sent this many messages.
constexpr unsigned kStormTarget = 1000000;
// Messages of the storm's last, counted phase, each of which must be logged.
constexpr unsigned kCountedMessages = 1000;


std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

bool AllOf(const std::string& text, std::size_t from, std::size_t to, const char* allowed) {
    for (std::size_t i = from; i < to; ++i)
        if (!std::strchr(allowed, text[i])) return false;
    return true;
}

bool SignedNumber(const std::string& text) {
    std::size_t i = text.size() > 1 && text[0] == '-' ? 1 : 0;
    if (i >= text.size()) return false;
    for (; i < text.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

// One log line: "hh:mm:ss::mmm | number - name | wParam | lParam | x=.. y=..",
// numbers right-aligned in their columns. Checked by hand: a storm leaves too
// many lines for a regular expression engine to get through in good time.
bool WellFormed(const std::string& line) {
    if (line.size() < 14 || line.compare(13, 3, " | ") != 0) return false;
    if (!AllOf(line, 0, 2, "0123456789") || line[2] != ':' || !AllOf(line, 3, 4, "012345") ||
        !AllOf(line, 4, 5, "0123456789") || line[5] != ':' || !AllOf(line, 6, 7, "012345") ||
        !AllOf(line, 7, 8, "0123456789") || line.compare(8, 2, "::") != 0 || !AllOf(line, 10, 13, "0123456789"))
        return false;
    const std::size_t dash = line.find(" - ", 16);
    if (dash == std::string::npos || dash < 24 || !AllOf(line, 16, dash, " 0123456789ABCDEF-")) return false;
    const std::size_t nameStart = dash + 3;
    const std::size_t bar = line.find(" | ", nameStart);
    // The name, left-aligned, or blank for a number without one (0x118).
    if (bar == std::string::npos || bar < nameStart + 25) return false;
    if (line[nameStart] == ' ' && !AllOf(line, nameStart, bar, " ")) return false;
    // wParam and lParam: 11 characters each.
    std::size_t at = bar + 3;
    for (int field = 0; field < 2; ++field) {
        if (line.size() < at + 14 || !AllOf(line, at, at + 11, " 0123456789ABCDEF-") ||
            line.compare(at + 11, 3, " | ") != 0)
            return false;
        at += 14;
    }
    if (line.compare(at, 2, "x=") != 0) return false;
    const std::size_t y = line.find(" y=", at);
    return y != std::string::npos && SignedNumber(line.substr(at + 2, y - at - 2)) && SignedNumber(line.substr(y + 3));
}

// The message number and wParam of a decimal-mode log line.
bool MessageAndWParam(const std::string& line, unsigned& message, unsigned long& wParam) {
    if (line.size() < 70) return false;
    const std::size_t bar = line.find(" | ", line.find(" - ", 16));
    if (bar == std::string::npos) return false;
    message = static_cast<unsigned>(std::strtoul(line.substr(16, 8).c_str(), nullptr, 10));
    wParam = std::strtoul(line.substr(bar + 3, 11).c_str(), nullptr, 10);
    return true;
}

LRESULT CALLBACK Plain(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ::DefWindowProcA(w, m, wp, lp); }

// The storm's kinds of message, sent or posted to the watched window itself.
// Its procedure takes them without acting on them: their parameters are
// made up (a timer's lParam would be a procedure to call).
constexpr UINT kStormKinds[] = {WM_USER + 7, WM_TIMER,   WM_PAINT, WM_MOUSEMOVE,
                                WM_KEYDOWN,  0x118,      WM_SETCURSOR, 0xC0F1};

LRESULT CALLBACK Watched(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    for (UINT kind : kStormKinds)
        if (m == kind || m == WM_USER + 8) return 0;
    return ::DefWindowProcA(w, m, wp, lp);
}

void RegisterOnce(const char* name, WNDPROC procedure = Plain) {
    WNDCLASSA wc{};
    if (::GetClassInfoA(::GetModuleHandleA(nullptr), name, &wc)) return;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
}

// Top-level windows on threads of this process that stop answering messages
// once created, until released.
class HungThreads {
public:
    HungThreads(int threads, int windowsPerThread) : release_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        RegisterOnce("VantrelEnduranceHung");
        for (int t = 0; t < threads; ++t) {
            HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
            threads_.emplace_back([this, ready, windowsPerThread, t] {
                std::vector<HWND> mine;
                for (int i = 0; i < windowsPerThread; ++i) {
                    mine.push_back(::CreateWindowExA(0, "VantrelEnduranceHung",
                                                     ("Hung " + std::to_string(t) + "." + std::to_string(i)).c_str(),
                                                     WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr, nullptr,
                                                     nullptr));
                }
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    windows_.insert(windows_.end(), mine.begin(), mine.end());
                }
                ::SetEvent(ready);
                // Hung: no message is taken until the test releases the thread.
                ::WaitForSingleObject(release_, 180000);
                for (HWND w : mine) ::DestroyWindow(w);
            });
            ::WaitForSingleObject(ready, 30000);
            ::CloseHandle(ready);
        }
    }
    ~HungThreads() {
        ::SetEvent(release_);
        for (std::thread& t : threads_) t.join();
        ::CloseHandle(release_);
    }
    std::vector<HWND> Windows() {
        std::lock_guard<std::mutex> lock(mutex_);
        return windows_;
    }

private:
    HANDLE release_;
    std::mutex mutex_;
    std::vector<HWND> windows_;
    std::vector<std::thread> threads_;
};

// A plain window on a thread of its own that keeps taking its messages and,
// on request, sends and posts itself a storm of them: a message a window's
// own thread sends it goes straight to its procedure, so the hook's
// notification to Vantrel is the only wait on the way.
class WatchedWindow {
public:
    WatchedWindow() {
        RegisterOnce("VantrelEnduranceWatched", Watched);
        HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            threadId_ = ::GetCurrentThreadId();
            window_ = ::CreateWindowExA(0, "VantrelEnduranceWatched", "Watched", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80,
                                        nullptr, nullptr, nullptr, nullptr);
            MSG msg;
            ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts to it
            ::SetEvent(ready);
            Run();
            ::DestroyWindow(window_);
        });
        ::WaitForSingleObject(ready, 30000);
        ::CloseHandle(ready);
    }
    ~WatchedWindow() {
        halt_ = true;
        quit_ = true;
        ::PostThreadMessageA(threadId_, WM_NULL, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_; }

    // Mixed storm: every kind in turn, one in sixteen posted, until
    // StopStorm or until the target count is reached.
    void StartMixed(unsigned target) { Begin(Mode::Mixed, target); }
    // Counted storm: WM_USER+7 sent with wParam 0, 1, 2, ... count-1.
    void StartCounted(unsigned count) { Begin(Mode::Counted, count); }
    void StopStorm() { halt_ = true; }
    bool Storming() const { return storming_; }
    // Messages sent or posted by the storm so far (all storms together).
    unsigned long long Sent() const { return sent_; }
    // Waits until the storm has stopped; false when it did not in time.
    bool WaitIdle(int timeoutMs) {
        return WaitFor([&] { return !storming_; }, timeoutMs, "the watched window's storm to stop");
    }

private:
    enum class Mode { None, Mixed, Counted };

    void Begin(Mode mode, unsigned count) {
        halt_ = false;
        count_ = count;
        storming_ = true;
        mode_ = mode;
        ::PostThreadMessageA(threadId_, WM_NULL, 0, 0);
    }

    void Run() {
        MSG msg;
        while (!quit_) {
            if (mode_ == Mode::None) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
                while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
                continue;
            }
            const bool counted = mode_ == Mode::Counted;
            for (unsigned i = 0; i < count_ && !halt_; ++i) {
                const UINT message = counted ? WM_USER + 7 : kStormKinds[i % 8];
                const auto wParam = static_cast<WPARAM>(i);
                const auto lParam = static_cast<LPARAM>(static_cast<std::int32_t>(i * 2654435761u));
                if (!counted && i % 16 == 15) {
                    ::PostMessageA(window_, WM_USER + 8, wParam, lParam);
                } else {
                    ::SendMessageA(window_, message, wParam, lParam);
                }
                ++sent_;
                if (i % 64 == 63)
                    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
            }
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
            mode_ = Mode::None;
            storming_ = false;
        }
    }

    std::thread thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    std::atomic<Mode> mode_{Mode::None};
    std::atomic<unsigned> count_{0};
    std::atomic<bool> halt_{false};
    std::atomic<bool> quit_{false};
    std::atomic<bool> storming_{false};
    std::atomic<unsigned long long> sent_{0};
};

class EnduranceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { app_ = Vantrel::Start(); }
    static void TearDownTestSuite() {
        if (app_) app_->Stop();
        app_.reset();
    }
    void SetUp() override { ASSERT_TRUE(app_ && app_->Running()); }
    Vantrel& App() { return *app_; }

    // Closes any message box of Vantrel's with OK and returns its text.
    std::string DismissMessageBoxes() {
        std::string text;
        for (HWND w : App().Windows()) {
            if (::IsWindowVisible(w) && ClassNameOf(w) == "#32770") {
                text = StaticText(w);
                ClickDialogButton(w, ::GetDlgItem(w, IDOK) ? IDOK : IDCANCEL);
                WaitFor([&] { return !::IsWindowVisible(w); }, kWaitTimeout, "a message box to close");
            }
        }
        return text;
    }

    static std::unique_ptr<Vantrel> app_;
};
std::unique_ptr<Vantrel> EnduranceTest::app_;

TEST_F(EnduranceTest, FiftyHungWindowsLeaveEveryRebuildAndRefillFinishingWithEmptyTexts) {
    HungThreads hung(5, 10);
    const std::vector<HWND> windows = hung.Windows();
    ASSERT_EQ(windows.size(), 50u);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(App().Refresh()) << "rebuild " << round;
    }
    const std::vector<TreeNode> tree = App().Tree();
    for (HWND w : windows) {
        const int node = FindNodeOf(tree, w, false);
        ASSERT_GE(node, 0);
        // No text could be read; the class is no message and still shows.
        EXPECT_EQ(tree[static_cast<size_t>(node)].text, HandleField(w, false) + "  {VantrelEnduranceHung}");
    }
    int refills = 0;
    for (size_t i = 0; i < windows.size(); i += 7) {
        ASSERT_TRUE(App().SelectWindow(windows[i]));
        EXPECT_EQ(App().Property("Text").value_or("?"), "");
        EXPECT_EQ(App().Property("Class").value_or(""), "VantrelEnduranceHung");
        ++refills;
    }
    std::printf("hung windows: %zu on 5 threads, 3 rebuilds, %d property refills\n", windows.size(), refills);
}

TEST_F(EnduranceTest, WindowsComingAndGoingDuringRefreshFindNextAndSelection) {
    RegisterOnce("VantrelEnduranceChurn");
    std::atomic<bool> stop{false};
    std::atomic<long> made{0};
    std::thread churn([&] {
        std::vector<HWND> alive;
        std::mt19937 random(11);
        while (!stop) {
            HWND parent = alive.empty() || random() % 3 == 0 ? nullptr : alive[random() % alive.size()];
            HWND w = ::CreateWindowExA(0, "VantrelEnduranceChurn", "Churn {Button} window",
                                       parent ? WS_CHILD : WS_OVERLAPPED, 0, 0, 50, 40, parent, nullptr, nullptr,
                                       nullptr);
            if (w && !parent) alive.push_back(w);
            ++made;
            if (alive.size() > 40) {
                const size_t victim = random() % alive.size();
                ::DestroyWindow(alive[victim]);
                alive.erase(alive.begin() + static_cast<long>(victim));
            }
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        }
        for (HWND w : alive) ::DestroyWindow(w);
    });

    std::mt19937 random(5);
    const ULONGLONG deadline = ::GetTickCount64() + kChurnTimeBox;
    int rounds = 0;
    int searches = 0;
    for (; rounds < 200 && ::GetTickCount64() < deadline; ++rounds) {
        ASSERT_TRUE(App().SendCommand(cmd::Refresh1)) << "round " << rounds;
        const int count = TreeItemCount(App().TreeView());
        ASSERT_GT(count, 0);
        // Select some node by walking the roots: as a click would.
        HTREEITEM item = reinterpret_cast<HTREEITEM>(
            Send(App().TreeView(), TVM_GETNEXTITEM, TVGN_ROOT, 0).value_or(0));
        for (unsigned steps = random() % 30; item && steps > 0; --steps) {
            HTREEITEM next = reinterpret_cast<HTREEITEM>(
                Send(App().TreeView(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)).value_or(0));
            if (!next) break;
            item = next;
        }
        if (item) {
            ASSERT_TRUE(SelectTreeItem(App().TreeView(), item));
        }
        if (rounds % 4 == 0) {
            // Find next runs to its end; one that ends in a box (nothing more
            // found) holds the send until its bound, and the box is closed below.
            App().SendCommand(cmd::Findnext1, 5000);
            ++searches;
            DismissMessageBoxes();
        }
    }
    stop = true;
    churn.join();
    EXPECT_GE(rounds, 20);
    EXPECT_GT(made.load(), rounds);
    std::printf("windows coming and going: %d rebuilds, %d Find next, %ld windows made meanwhile\n", rounds,
                searches, made.load());
    ASSERT_TRUE(App().Running());
    DismissMessageBoxes();

    // After a last rebuild the selected node, if any, is the window that the
    // property list shows.
    ASSERT_TRUE(App().Refresh());
    const std::vector<TreeNode> tree = App().Tree();
    const int selected = App().SelectedNodeIndex();
    if (selected >= 0) {
        // The label holds the handle in ten padded digits, the list without padding.
        const std::string label = tree[static_cast<size_t>(selected)].text;
        const std::string handle = std::to_string(std::stoul(label.substr(0, 10)));
        std::string shown;
        WaitFor([&] { return (shown = App().Property("Handle").value_or("")) == handle; }, kWaitTimeout,
                "the property list to show the selected node's window");
        EXPECT_EQ(shown, handle) << "selected node " << selected << " \"" << label << "\"";
    }
}

// A window whose text, once armed, is answered only after its own thread has
// sent Vantrel's tree a selection of another node: that selection arrives
// while the property list reads this window.
std::atomic<HWND> g_selectingTree{nullptr};
std::atomic<HTREEITEM> g_selectingItem{nullptr};

LRESULT CALLBACK SelectsWhileRead(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXT) {
        if (HTREEITEM item = g_selectingItem.exchange(nullptr)) {
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(g_selectingTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item),
                                  SMTO_NORMAL, 30000, &result);
        }
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(EnduranceTest, ASelectionSentWhileTheListReadsAWindowKeepsItsOwnRows) {
    RegisterOnce("VantrelEnduranceSelects", SelectsWhileRead);
    std::atomic<HWND> reader{nullptr}, other{nullptr};
    std::thread owner([&] {
        reader = ::CreateWindowExA(0, "VantrelEnduranceSelects", "Reader", WS_OVERLAPPED, 0, 0, 50, 40, nullptr,
                                   nullptr, nullptr, nullptr);
        other = ::CreateWindowExA(0, "VantrelEnduranceSelects", "Other", WS_OVERLAPPED, 0, 0, 50, 40, nullptr,
                                  nullptr, nullptr, nullptr);
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
        ::DestroyWindow(reader.load());
        ::DestroyWindow(other.load());
    });
    ASSERT_TRUE(WaitUntil([&] { return other != nullptr; }, kWaitTimeout));
    const DWORD ownerThread = ::GetWindowThreadProcessId(other, nullptr);
    const ScopeExit quit([&] {
        ::PostThreadMessageA(ownerThread, WM_QUIT, 0, 0);
        owner.join();
    });

    ASSERT_TRUE(App().Refresh());
    const std::vector<TreeNode> tree = App().Tree();
    const int readerNode = FindNodeOf(tree, reader, false), otherNode = FindNodeOf(tree, other, false);
    ASSERT_GE(readerNode, 0);
    ASSERT_GE(otherNode, 0);
    g_selectingTree = App().TreeView();
    g_selectingItem = tree[static_cast<size_t>(otherNode)].item;
    ASSERT_TRUE(SelectTreeItem(App().TreeView(), tree[static_cast<size_t>(readerNode)].item));
    EXPECT_EQ(g_selectingItem.load(), nullptr) << "the reader's text was not asked for";

    // The newer selection's rows stay: the list shows the node the tree selects.
    EXPECT_EQ(App().SelectedNodeIndex(), otherNode);
    EXPECT_EQ(App().Property("Handle").value_or(""), ValueText(HandleValue(other), false));
    EXPECT_EQ(App().Property("Text").value_or(""), "Other");
}

class CatchEnduranceTest : public EnduranceTest {
protected:
    void Open(HWND watched) {
        ASSERT_TRUE(App().Refresh());
        ASSERT_TRUE(App().SelectWindow(watched));
        ASSERT_TRUE(App().PostCommand(cmd::Catchmessages1));
        catch_ = App().WaitForWindow("TForm5ForHook");
        ASSERT_NE(catch_, nullptr);
        memo_ = ::GetDlgItem(catch_, ctl::Memo1);
        ASSERT_NE(memo_, nullptr);
        toolBar_ = ::GetDlgItem(catch_, ctl::CatchToolBar1);
        ASSERT_NE(toolBar_, nullptr);
    }
    void TearDown() override {
        DismissMessageBoxes();
        if (catch_ && ::IsWindowVisible(catch_)) {
            Post(catch_, WM_COMMAND, cmd::MenuCatchExit, 0);
            WaitFor([&] { return !::IsWindowVisible(catch_); }, kWaitTimeout, "Catch Messages closed");
        }
    }
    void Command(int id) {
        ASSERT_TRUE(Send(catch_, WM_COMMAND, static_cast<WPARAM>(id), 0, 60000).has_value()) << "command " << id;
    }
    std::string Log() { return FullWindowText(memo_, 60000); }

    bool Enabled(int command) {
        for (const ToolButton& b : ReadToolBar(toolBar_))
            if (b.command == command) return b.enabled;
        ADD_FAILURE() << "no tool button " << command;
        return false;
    }
    // Start (the real hook library) must succeed: Start disabled, Stop enabled.
    // Posted: a refusal is a modal error report, which a sent command would
    // wait for.
    void Start() {
        ASSERT_TRUE(Post(catch_, WM_COMMAND, cmd::MenuCatchRun, 0));
        bool started = false;
        ASSERT_TRUE(WaitFor([&] {
            if (App().FindWindowOfClass("#32770", "", true)) return true;
            return started = !Enabled(cmd::MenuCatchRun) && Enabled(cmd::MenuCatchStop);
        }, kWaitTimeout, "catching started or refused"));
        ASSERT_TRUE(started) << "Start was refused: " << DismissMessageBoxes();
    }
    void Stop() {
        Command(cmd::MenuCatchStop);
        ASSERT_TRUE(WaitFor([&] { return Enabled(cmd::MenuCatchRun) && !Enabled(cmd::MenuCatchStop); },
                            kWaitTimeout, "catching stopped"));
    }
    // Saves through the real Save dialog; expects the driving itself to work.
    SaveOutcome SaveAs(const std::string& path, int replaceAnswer = 0) {
        SaveOutcome outcome = SaveLogAs(App(), catch_, path, replaceAnswer);
        EXPECT_TRUE(outcome.dialogShown) << outcome.problem;
        EXPECT_TRUE(outcome.finished) << outcome.problem;
        return outcome;
    }

    // Opens Catch Messages on the window, logs twenty of its messages on a
    // cleared log, stops and returns the log.
    std::string SmallLog(WatchedWindow& watchedWindow) {
        Open(watchedWindow.Window());
        if (HasFatalFailure()) return "";
        Command(cmd::MenuCatchClear);
        Start();
        if (HasFatalFailure()) return "";
        watchedWindow.StartCounted(20);
        EXPECT_TRUE(watchedWindow.WaitIdle(30000));
        Stop();
        const std::string log = Log();
        EXPECT_EQ(SplitLines(log).size(), 21u);
        return log;
    }

    HWND catch_ = nullptr;
    HWND memo_ = nullptr;
    HWND toolBar_ = nullptr;
};

TEST_F(CatchEnduranceTest, StormWhileCatchingIsSwitchedKeepsEveryLineWellFormedAndSavesThePane) {
    WatchedWindow watchedWindow;
    HWND watched = watchedWindow.Window();
    Open(watched);
    if (HasFatalFailure()) return;
    Start();
    if (HasFatalFailure()) return;

    // The storm runs while the user works every command that may be used
    // while catching; each switch is counted so that all can be put back.
    const ULONGLONG started = ::GetTickCount64();
    const ULONGLONG deadline = started + kStormTimeBox;
    watchedWindow.StartMixed(kStormTarget);
    const int toggles[] = {cmd::MenuCatchRun, cmd::MenuCatchClear, cmd::Hiderepetitions1, cmd::MenuMessTimer,
                           cmd::MenuMessPaint,  cmd::MenuMessMouse, cmd::MenuMessKeyb,     cmd::MenuMessCursor,
                           cmd::MenuMessOther,  cmd::MenuCatchStop};
    std::map<int, int> switched;
    std::mt19937 random(3);
    int commands = 0;
    // Catching is switched off now and then, and on again by the next
    // command: the messages sent while it is on are the ones that count.
    bool catching = true;
    unsigned long long caught = 0;
    unsigned long long since = watchedWindow.Sent();
    while (watchedWindow.Storming() && ::GetTickCount64() < deadline) {
        const int command = catching ? toggles[random() % 10] : cmd::MenuCatchRun;
        if (command == cmd::MenuCatchStop && catching) caught += watchedWindow.Sent() - since;
        Command(command);
        if (HasFatalFailure()) break;
        if (command == cmd::MenuCatchRun && !catching) since = watchedWindow.Sent();
        if (command == cmd::MenuCatchStop) catching = false;
        if (command == cmd::MenuCatchRun) catching = true;
        ++switched[command];
        ++commands;
        // The next switch comes after a random share of the storm, not at once.
        const unsigned long long next = watchedWindow.Sent() + random() % 600;
        WaitFor([&] { return watchedWindow.Sent() >= next || !watchedWindow.Storming(); }, kWaitTimeout,
                "the storm to go on");
        if (commands % 50 == 0) {
            ASSERT_TRUE(App().Running());
        }
    }
    if (catching) caught += watchedWindow.Sent() - since;
    // Bounded: a storm that outlasts its time box is cut short here.
    watchedWindow.StopStorm();
    ASSERT_TRUE(watchedWindow.WaitIdle(30000));
    const unsigned long long mixed = watchedWindow.Sent();
    const ULONGLONG stormMs = ::GetTickCount64() - started;
    ASSERT_TRUE(App().Running());
    ASSERT_EQ(DismissMessageBoxes(), "") << "a box came up during the storm";
    EXPECT_GT(commands, 10);

    // Every line left in the pane is well formed.
    std::vector<std::string> lines = SplitLines(Log());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], kHeader);
    std::size_t bad = 0;
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (!WellFormed(lines[i]) && bad++ < 5) ADD_FAILURE() << "line " << i << ": " << lines[i];
    EXPECT_EQ(bad, 0u);
    const std::size_t stormLines = lines.size() - 1;

    // Every switch back as it was: all six categories on, repetitions shown.
    for (int filter : {cmd::MenuMessTimer, cmd::MenuMessPaint, cmd::MenuMessMouse, cmd::MenuMessKeyb,
                       cmd::MenuMessCursor, cmd::MenuMessOther, cmd::Hiderepetitions1})
        if (switched[filter] % 2) Command(filter);
    for (const ToolButton& b : ReadToolBar(toolBar_))
        if (b.command >= cmd::ToolButton6 && b.command <= cmd::ToolButton11) {
            EXPECT_TRUE(b.checked) << "category button " << b.command << " on again";
        }
    if (Enabled(cmd::MenuCatchStop)) Stop();

    // A counted storm on a cleared log: each message is logged, once, in order.
    Command(cmd::MenuCatchClear);
    Start();
    if (HasFatalFailure()) return;
    const ULONGLONG countedStart = ::GetTickCount64();
    watchedWindow.StartCounted(kCountedMessages);
    ASSERT_TRUE(watchedWindow.WaitIdle(120000));
    const ULONGLONG countedMs = ::GetTickCount64() - countedStart;
    Stop();
    const std::string text = Log();
    lines = SplitLines(text);
    std::vector<unsigned long> counted;
    bad = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (!WellFormed(lines[i]) && bad++ < 5) ADD_FAILURE() << "line " << i << ": " << lines[i];
        unsigned message = 0;
        unsigned long wParam = 0;
        if (MessageAndWParam(lines[i], message, wParam) && message == WM_USER + 7) counted.push_back(wParam);
    }
    EXPECT_EQ(bad, 0u);
    ASSERT_EQ(counted.size(), kCountedMessages);
    for (unsigned i = 0; i < kCountedMessages; ++i) ASSERT_EQ(counted[i], i) << "line of message " << i;

    // The saved log has exactly the pane's lines, each ended by CR LF.
    const std::string path = TempFilePath("storm-log");
    const SaveOutcome saved = SaveAs(path);
    EXPECT_EQ(saved.Box(), "");
    EXPECT_EQ(saved.question, "");
    const std::string file = ReadFileBytes(path);
    EXPECT_EQ(file.size(), text.size() + 2);
    EXPECT_TRUE(file == text + "\r\n") << "the saved log differs from the pane";
    EXPECT_EQ(Log(), text) << "the pane after saving";
    ::DeleteFileA(path.c_str());

    std::printf("storm: %llu messages in %llu ms, %llu of them while catching was on, %d commands meanwhile, "
                "%zu lines in the pane after it; then %u counted messages in %llu ms, each logged once, "
                "%zu lines saved\n",
                mixed, static_cast<unsigned long long>(stormMs), caught, commands, stormLines, kCountedMessages,
                static_cast<unsigned long long>(countedMs), lines.size());
}

TEST_F(CatchEnduranceTest, SaveAsIntoAFolderThatDoesNotExistReportsItAndKeepsTheLog) {
    WatchedWindow watchedWindow;
    const std::string before = SmallLog(watchedWindow);
    if (HasFatalFailure()) return;

    const std::string missing = TempFilePath("no-such-folder") + "\\log.txt";
    SaveOutcome outcome = SaveAs(missing);
    EXPECT_EQ(outcome.problem, "");
    EXPECT_EQ(outcome.Box(), "Vantrel: Cannot create file " + missing + ".");
    EXPECT_EQ(Log(), before);

    // After the failure a save where it can be written works.
    const std::string good = TempFilePath("after-failure");
    outcome = SaveAs(good);
    EXPECT_EQ(outcome.problem, "");
    EXPECT_EQ(outcome.Box(), "");
    EXPECT_EQ(ReadFileBytes(good), before + "\r\n");
    ::DeleteFileA(good.c_str());
}

// Environment variable as a Windows path (Unix paths through drive Z:), "" when unset.
std::string PathFromEnvironment(const char* name) {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return "";
    std::string path = buffer;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path[0] == '\\' ? "Z:" + path : path;
}

std::string SkipReason(const char* fallback) {
    char reason[512] = {};
    return ::GetEnvironmentVariableA("VANTREL_FULL_FS_SKIP", reason, sizeof reason) ? reason : fallback;
}

// A read-only file holding "kept" CR LF. Where the system lets its owner
// write a read-only file all the same (Wine run as root: the attribute
// becomes file modes, which root passes), the read-only file on a read-only
// file system that the suite's wrapper mounted stands in. "" and the reason
// when there is neither; made says whether the caller must remove it.
std::string ReadOnlyFile(std::string& whyNot, bool& made) {
    made = false;
    const std::string path = TempFilePath("read-only");
    if (!WriteFileBytes(path, "kept\r\n") || !::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY)) {
        whyNot = "no read-only file could be made at " + path;
        return "";
    }
    HANDLE probe = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        made = true;
        return path;
    }
    ::CloseHandle(probe);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
    const std::string standIn = PathFromEnvironment("VANTREL_READ_ONLY_FILE");
    if (standIn.empty())
        whyNot = "a read-only file can be written here (Wine run as root?) and no read-only file system was "
                 "mounted: " + SkipReason("VANTREL_READ_ONLY_FILE unset");
    return standIn;
}

TEST_F(CatchEnduranceTest, SaveAsOverAReadOnlyFileReportsItAndKeepsFileAndLog) {
    std::string whyNot;
    bool made = false;
    const std::string locked = ReadOnlyFile(whyNot, made);
    if (locked.empty()) GTEST_SKIP() << whyNot;
    ASSERT_NE(::GetFileAttributesA(locked.c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << locked;
    ASSERT_EQ(ReadFileBytes(locked), "kept\r\n") << locked;

    WatchedWindow watchedWindow;
    const std::string before = SmallLog(watchedWindow);
    if (HasFatalFailure()) return;

    // Replaced on the user's Yes, which cannot be done.
    const SaveOutcome outcome = SaveAs(locked, IDYES);
    EXPECT_EQ(outcome.problem, "");
    EXPECT_EQ(outcome.question, locked + " already exist.\rDo you want to replace them?");
    EXPECT_EQ(outcome.Box(), "Vantrel: Cannot create file " + locked + ".");
    EXPECT_EQ(ReadFileBytes(locked), "kept\r\n");
    EXPECT_EQ(Log(), before);
    if (made) {
        ::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(locked.c_str());
    }
}

TEST_F(CatchEnduranceTest, SaveAsOntoAFullSmallFileSystemReportsTheWriteErrorAndKeepsTheLog) {
    // Mounted for this run by the suite's wrapper script.
    const std::string folder = PathFromEnvironment("VANTREL_FULL_FS");
    if (folder.empty()) GTEST_SKIP() << SkipReason("no small file system was mounted (VANTREL_FULL_FS unset)");
    ULARGE_INTEGER freeBytes{}, totalBytes{};
    ASSERT_TRUE(::GetDiskFreeSpaceExA((folder + "\\").c_str(), &freeBytes, &totalBytes, nullptr)) << folder;

    WatchedWindow watchedWindow;
    Open(watchedWindow.Window());
    if (HasFatalFailure()) return;
    Command(cmd::MenuCatchClear);
    Start();
    if (HasFatalFailure()) return;
    // A log well beyond the space: about a hundred bytes a line.
    const unsigned messages = static_cast<unsigned>(totalBytes.QuadPart / 100 * 2 + 100);
    watchedWindow.StartCounted(messages);
    ASSERT_TRUE(watchedWindow.WaitIdle(60000));
    Stop();
    const std::string before = Log();
    ASSERT_GT(before.size(), totalBytes.QuadPart) << "the log must not fit";

    const std::string path = folder + "\\log.txt";
    const SaveOutcome outcome = SaveAs(path);
    EXPECT_EQ(outcome.problem, "");
    const std::string box = outcome.Box();
    EXPECT_TRUE(box == "Vantrel: Stream write error." || box == "Vantrel: Cannot create file " + path + ".") << box;
    EXPECT_EQ(Log(), before);
    std::printf("full file system: %llu bytes in all, a log of %zu bytes, report \"%s\"\n",
                static_cast<unsigned long long>(totalBytes.QuadPart), before.size(), box.c_str());
    // A cut-off file is not left behind.
    EXPECT_EQ(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    ::DeleteFileA(path.c_str());

    // An older log the user agreed to replace stays whole when the new one
    // cannot be written.
    const std::string older = folder + "\\older.txt";
    ASSERT_TRUE(WriteFileBytes(older, "the older log\r\n")) << older;
    const SaveOutcome replace = SaveAs(older, IDYES);
    EXPECT_NE(replace.question, "");
    EXPECT_EQ(replace.Box(), "Vantrel: Stream write error.");
    EXPECT_EQ(ReadFileBytes(older), "the older log\r\n");
    EXPECT_EQ(Log(), before);
    ::DeleteFileA(older.c_str());
}

}  // namespace
}  // namespace vantrel::e2e
