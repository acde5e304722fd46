// Vantrel on a hostile desktop: hung windows, windows that come and go while
// the tree is rebuilt and searched, a storm of messages at the watched window
// while catching is switched on and off, and logs saved where they cannot be
// written. Every loop is bounded and stops by itself.

#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace vantrel::e2e {
namespace {

constexpr char kMappingName[] = "Vantrel - Mapped File for Hook {3F6D2A17-9B4E-4C81-A5D0-7E29C4B81F63}";
constexpr UINT kNotify = WM_USER + 133;

std::vector<std::string> Lines(const std::string& text) {
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

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

LRESULT CALLBACK Plain(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ::DefWindowProcA(w, m, wp, lp); }

void RegisterOnce(const char* name) {
    WNDCLASSA wc{};
    if (::GetClassInfoA(::GetModuleHandleA(nullptr), name, &wc)) return;
    wc.lpfnWndProc = Plain;
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

// A plain window on a thread of its own that keeps taking its messages.
class WatchedWindow {
public:
    WatchedWindow() {
        RegisterOnce("VantrelEnduranceWatched");
        HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            threadId_ = ::GetCurrentThreadId();
            window_ = ::CreateWindowExA(0, "VantrelEnduranceWatched", "Watched", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80,
                                        nullptr, nullptr, nullptr, nullptr);
            ::SetEvent(ready);
            MSG msg;
            while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
            ::DestroyWindow(window_);
        });
        ::WaitForSingleObject(ready, 30000);
        ::CloseHandle(ready);
    }
    ~WatchedWindow() {
        ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_; }

private:
    std::thread thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
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
                ClickDialogButton(w, IDOK);
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
    for (size_t i = 0; i < windows.size(); i += 7) {
        ASSERT_TRUE(App().SelectWindow(windows[i]));
        EXPECT_EQ(App().Property("Text").value_or("?"), "");
        EXPECT_EQ(App().Property("Class").value_or(""), "VantrelEnduranceHung");
    }
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
    for (int round = 0; round < 200; ++round) {
        ASSERT_TRUE(App().SendCommand(cmd::Refresh1)) << "round " << round;
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
        if (item) ASSERT_TRUE(SelectTreeItem(App().TreeView(), item));
        if (round % 4 == 0) {
            ASSERT_TRUE(App().PostCommand(cmd::Findnext1));
            Pause(20);
            DismissMessageBoxes();
        }
    }
    stop = true;
    churn.join();
    EXPECT_GT(made.load(), 200);
    ASSERT_TRUE(App().Running());
    DismissMessageBoxes();

    // After a last rebuild the selected node, if any, is the window that the
    // property list shows.
    ASSERT_TRUE(App().Refresh());
    const std::vector<TreeNode> tree = App().Tree();
    const int selected = App().SelectedNodeIndex();
    if (selected >= 0) {
        const std::string label = tree[static_cast<size_t>(selected)].text;
        WaitFor([&] { return App().Property("Handle").value_or("") == label.substr(0, 10); }, kWaitTimeout,
                "the property list to show the selected node's window");
    }
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
    }
    void TearDown() override {
        DismissMessageBoxes();
        if (catch_ && ::IsWindowVisible(catch_)) {
            Post(catch_, WM_COMMAND, cmd::MenuCatchExit, 0);
            WaitFor([&] { return !::IsWindowVisible(catch_); }, kWaitTimeout, "Catch Messages closed");
        }
    }
    void Command(int id) { ASSERT_TRUE(Send(catch_, WM_COMMAND, static_cast<WPARAM>(id), 0).has_value()); }
    std::string Log() { return WindowText(memo_); }

    // Saves through the Save dialog and returns the text of the message box
    // that follows ("" when none came). answerReplace answers the replace question.
    std::string SaveAs(const std::string& path, bool answerReplace = false) {
        Post(catch_, WM_COMMAND, cmd::MenuCatchSave, 0);
        HWND dialog = App().WaitForWindow("#32770");
        if (!dialog) return "no Save dialog";
        HWND edit = nullptr;
        for (HWND e : ChildrenOf(dialog, "Edit"))
            if (::IsWindowVisible(e)) { edit = e; break; }
        if (!edit) return "no file name field";
        SetWindowTextRemote(edit, path);
        ClickDialogButton(dialog, IDOK);
        std::string report;
        bool finished = false;
        WaitFor([&] {
            bool anyVisible = false;
            for (HWND w : App().Windows()) {
                if (!::IsWindowVisible(w) || ClassNameOf(w) != "#32770") continue;
                anyVisible = true;
                if (w == dialog) continue;
                if (answerReplace && WindowText(w) == "Warning") {
                    ClickDialogButton(w, IDYES);
                    answerReplace = false;
                    return false;
                }
                report = WindowText(w) + ": " + StaticText(w);
                ClickDialogButton(w, IDOK);
                finished = true;
                return true;
            }
            finished = !anyVisible;
            return finished;
        }, kWaitTimeout, "the Save dialog to finish");
        App().WaitForWindowGone("#32770");
        return report;
    }

    HWND catch_ = nullptr;
    HWND memo_ = nullptr;
};

TEST_F(CatchEnduranceTest, StormWhileCatchingIsSwitchedKeepsEveryLineWellFormedAndSavesThePane) {
    WatchedWindow watchedWindow;
    HWND watched = watchedWindow.Window();
    Open(watched);
    if (HasFatalFailure()) return;

    // Does the hook library catch? If not, the storm writes the shared record
    // and notifies the window itself, as the library would.
    Post(catch_, WM_COMMAND, cmd::MenuCatchRun, 0);
    Pause(300);
    const std::string refusal = DismissMessageBoxes();
    const bool hooked = refusal.empty();
    if (!hooked) std::printf("hook refused (%s): the storm notifies the window itself\n", refusal.c_str());
    Command(cmd::MenuCatchStop);

    constexpr unsigned kStorm = 200000;
    std::atomic<bool> done{false};
    std::atomic<bool> halt{false};
    std::atomic<unsigned> sent{0};
    std::thread storm([&] {
        HANDLE mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kMappingName);
        auto* record = mapping ? static_cast<std::uint32_t*>(::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 44))
                               : nullptr;
        const UINT kinds[] = {WM_USER + 7, WM_TIMER, WM_PAINT, WM_MOUSEMOVE, WM_KEYDOWN, 0x118, WM_SETCURSOR, 0xC0F1};
        for (unsigned i = 0; i < kStorm && !halt; ++i) {
            const UINT message = kinds[i % 8];
            const auto lParam = static_cast<LPARAM>(static_cast<std::int32_t>(i * 2654435761u));
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(watched, message == WM_PAINT || message == WM_TIMER ? WM_USER + 9 : message, i,
                                  lParam, SMTO_NORMAL, 1000, &result);
            if (!hooked && record) {
                record[5] = message;
                record[6] = i;
                record[7] = static_cast<std::uint32_t>(lParam);
                record[8] = ::GetTickCount();
                record[9] = static_cast<std::uint32_t>(-static_cast<int>(i % 50));
                record[10] = i % 70;
                ::SendMessageTimeoutA(catch_, kNotify, 0, 0, SMTO_NORMAL, 5000, &result);
            }
            sent = i + 1;
            if (i % 512 == 0) {
                MSG msg;
                while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
            }
        }
        if (record) ::UnmapViewOfFile(record);
        if (mapping) ::CloseHandle(mapping);
        done = true;
    });

    // Meanwhile the user works every command that may be used while catching.
    const int toggles[] = {cmd::MenuCatchRun, cmd::MenuCatchClear, cmd::Hiderepetitions1, cmd::MenuMessTimer,
                           cmd::MenuMessPaint,  cmd::MenuMessMouse, cmd::MenuMessKeyb,     cmd::MenuMessCursor,
                           cmd::MenuMessOther,  cmd::MenuCatchStop};
    std::mt19937 random(3);
    const auto deadline = ::GetTickCount64() + 150000;
    int commands = 0;
    while (!done && ::GetTickCount64() < deadline) {
        Command(toggles[random() % 10]);
        ++commands;
        Pause(static_cast<int>(random() % 30));
        ASSERT_TRUE(App().Running());
    }
    // Bounded: a storm that outlasts the deadline is cut short here.
    halt = true;
    storm.join();
    EXPECT_GT(commands, 10);
    std::printf("storm: %u messages sent, %d commands\n", sent.load(), commands);
    ASSERT_TRUE(App().Running());
    Command(cmd::MenuCatchStop);

    const std::regex wellFormed(
        R"(\d\d:[0-5]\d:[0-5]\d::\d{3} \| [ 0-9A-F-]{8,} - \S.{24,} \| [ 0-9A-F-]{11} \| [ 0-9A-F-]{11} \| x=-?\d+ y=-?\d+)");
    const std::string text = Log();
    const std::vector<std::string> lines = Lines(text);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "  Time        |        Message                       |      wParam |      lParam | Position");
    size_t bad = 0;
    for (size_t i = 1; i < lines.size(); ++i)
        if (!std::regex_match(lines[i], wellFormed) && bad++ < 5) ADD_FAILURE() << "line " << i << ": " << lines[i];
    EXPECT_EQ(bad, 0u);
    std::printf("storm: %zu lines in the pane at the end\n", lines.size());

    const std::string path = TempFilePath("storm-log") ;
    EXPECT_EQ(SaveAs(path), "");
    EXPECT_EQ(ReadFileBytes(path), text + "\r\n");
}

TEST_F(CatchEnduranceTest, SaveAsWhereNoFileCanBeWrittenReportsItAndKeepsTheLog) {
    WatchedWindow watchedWindow;
    HWND watched = watchedWindow.Window();
    Open(watched);
    if (HasFatalFailure()) return;
    Command(cmd::MenuCatchClear);
    const std::string before = Log();

    // A folder that does not exist.
    const std::string missing = TempFilePath("no-such-folder") + "\\log.txt";
    const std::string report = SaveAs(missing);
    EXPECT_EQ(report, "Vantrel: Cannot create file " + missing + ".");
    EXPECT_EQ(Log(), before);

    // A read-only file, replaced on the user's Yes.
    const std::string locked = TempFilePath("read-only") + ".txt";
    { std::ofstream(locked) << "kept\r\n"; }
    ASSERT_TRUE(::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(SaveAs(locked, true), "Vantrel: Cannot create file " + locked + ".");
    EXPECT_EQ(ReadFileBytes(locked), "kept\r\n");
    EXPECT_EQ(Log(), before);
    ::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(locked.c_str());
}

}  // namespace
}  // namespace vantrel::e2e
