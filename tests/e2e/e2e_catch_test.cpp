// Catching messages from outside: a fixture window is selected in Vantrel's
// tree, the Catch Messages window is opened and started, the fixture receives
// a known sequence (sent and posted, registered, mouse, paint, timer), and the
// log pane is read back line by line; then filters, Hide repetitions, Stop,
// Save as through the real Save dialog, closing and opening again, and the
// hexadecimal mode.

#include "hooklib/hook_channel.h"
#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel::e2e {
namespace {

const std::string kHeader =
    "  Time        |        Message                       |      wParam |      lParam | Position";


// The message number column of a log line (decimal or hexadecimal).
unsigned LineMessage(const std::string& line, bool hex) {
    if (line.size() < 26 || line[14] != '|') return 0xFFFFFFFF;
    const std::string field = line.substr(16, 8);
    char* end = nullptr;
    const unsigned long value = std::strtoul(field.c_str(), &end, hex ? 16 : 10);
    return end && end != field.c_str() ? static_cast<unsigned>(value) : 0xFFFFFFFF;
}

// The part of a line from the first bar to the last: number, name, wParam and
// lParam. Time and pointer position depend on the moment.
std::string Middle(const std::string& line) { return line.size() > 81 ? line.substr(14, 68) : line; }

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class CatchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = Vantrel::Start();
        fixture_ = Fixture::Start("--only recorder,hung");
    }
    static void TearDownTestSuite() {
        if (fixture_) fixture_->Stop();
        fixture_.reset();
        if (app_) app_->Stop();
        app_.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(app_ && app_->Running());
        ASSERT_TRUE(fixture_);
        registered_ = ::RegisterWindowMessageA("VantrelFixtureMessage");
    }
    void TearDown() override {
        if (catch_ && ::IsWindowVisible(catch_)) Close();
        // A test that failed half-way may leave a box or a Catch Messages window open.
        if (!app_) return;
        if (HWND box = App().FindWindowOfClass("#32770", "", true)) {
            ClickDialogButton(box, IDOK);
            App().WaitForWindowGone("#32770");
        }
        if (HWND open = App().FindWindowOfClass("TForm5ForHook", "", true)) {
            Post(open, WM_COMMAND, cmd::MenuCatchExit, 0);
            App().WaitForWindowGone("TForm5ForHook");
        }
        if (fixture_) fixture_->Command("unhang");
    }

    Vantrel& App() { return *app_; }
    HWND Recorder() { return fixture_->Window("recorder"); }

    // Selects the recorder in the tree and opens Catch messages (modal: posted).
    void Open() {
        ASSERT_TRUE(App().Refresh());
        ASSERT_TRUE(App().SelectWindow(Recorder()));
        const int node = App().SelectedNodeIndex();
        ASSERT_GE(node, 0);
        const std::string nodeText = App().Tree()[static_cast<std::size_t>(node)].text;
        ASSERT_TRUE(App().PostCommand(cmd::Catchmessages1));
        catch_ = App().WaitForWindow("TForm5ForHook");
        ASSERT_NE(catch_, nullptr);
        EXPECT_EQ(WindowText(catch_), "Catch Messages - " + nodeText);
        memo_ = ::GetDlgItem(catch_, ctl::Memo1);
        toolBar_ = ::GetDlgItem(catch_, ctl::CatchToolBar1);
        ASSERT_NE(memo_, nullptr);
        ASSERT_NE(toolBar_, nullptr);
        EXPECT_TRUE(Enabled(cmd::MenuCatchRun));
        EXPECT_FALSE(Enabled(cmd::MenuCatchStop));
    }
    void Close() {
        Post(catch_, WM_COMMAND, cmd::MenuCatchExit, 0);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(catch_); }, kWaitTimeout, "Catch Messages closed"));
    }
    void Command(int command) { ASSERT_TRUE(Post(catch_, WM_COMMAND, static_cast<WPARAM>(command), 0)); }

    ToolButton Button(int command) {
        for (const ToolButton& b : ReadToolBar(toolBar_))
            if (b.command == command) return b;
        ADD_FAILURE() << "no tool button " << command;
        return {};
    }
    bool Enabled(int command) { return Button(command).enabled; }

    void Start() {
        Command(cmd::MenuCatchRun);
        const bool started = WaitFor([&] { return !Enabled(cmd::MenuCatchRun) && Enabled(cmd::MenuCatchStop); },
                                     kWaitTimeout, "catching started");
        if (!started) {
            for (HWND w : App().Windows())
                if (::IsWindowVisible(w) && ClassNameOf(w) == "#32770") {
                    ADD_FAILURE() << "message box: " << StaticText(w);
                    ClickDialogButton(w, IDOK);
                }
        }
        ASSERT_TRUE(started);
    }
    void Stop() {
        Command(cmd::MenuCatchStop);
        ASSERT_TRUE(WaitFor([&] { return Enabled(cmd::MenuCatchRun) && !Enabled(cmd::MenuCatchStop); },
                            kWaitTimeout, "catching stopped"));
    }
    void Clear() {
        Command(cmd::MenuCatchClear);
        ASSERT_TRUE(WaitFor([&] { return Log() == kHeader; }, kWaitTimeout, "log cleared"));
    }

    std::string Log() { return WindowText(memo_); }

    // Runs the fixture's sequence and waits until its last message, the
    // timer, or (when filtered) a marker posted after it, is logged.
    std::vector<std::string> CatchSequence(bool hex) {
        EXPECT_TRUE(fixture_->Command("send-sequence"));
        // A marker after the timer: WM_USER+0x77 (posted), which every filter
        // state used here lets through.
        const unsigned marker = 0x400 + 0x77;
        WaitFor([&] {
            for (const std::string& l : SplitLines(Log()))
                if (LineMessage(l, hex) == 0x113) return true;
            return false;
        }, kWaitTimeout, "the timer message of the sequence");
        EXPECT_TRUE(fixture_->Command("post recorder " + std::to_string(marker) + " 0 0"));
        std::vector<std::string> lines;
        WaitFor([&] {
            lines = SplitLines(Log());
            for (const std::string& l : lines)
                if (LineMessage(l, hex) == marker) return true;
            return false;
        }, kWaitTimeout, "the marker message");
        return lines;
    }

    // The lines of the sequence's own messages, middle part only.
    std::vector<std::string> SequenceLines(const std::vector<std::string>& lines, bool hex) {
        const std::set<unsigned> ours = {0x401, registered_, 0x200, 0x201, 0x202, 0x0F, 0x113, 0x477};
        std::vector<std::string> out;
        for (std::size_t i = 1; i < lines.size(); ++i)
            if (ours.count(LineMessage(lines[i], hex))) out.push_back(Middle(lines[i]));
        return out;
    }

    std::string RegisteredDecimal() {
        char text[128];
        std::snprintf(text, sizeof text, "| %8u - WM_USER+%-17u |           3 |           4 |", registered_,
                      registered_ - 1024);
        return text;
    }
    std::string RegisteredHex() {
        char text[128];
        std::snprintf(text, sizeof text, "| %8X - WM_USER+%-17X |           3 |           4 |", registered_,
                      registered_ - 1024);
        return text;
    }

    // Saves through the real Save dialog: types the path and presses Save;
    // replaceAnswer answers the replace question, which must then come.
    void SaveAs(const std::string& path, int replaceAnswer = 0) {
        const SaveOutcome outcome = SaveLogAs(App(), catch_, path, replaceAnswer);
        EXPECT_EQ(outcome.problem, "");
        ASSERT_TRUE(outcome.dialogShown);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.Box(), "");
        if (replaceAnswer) EXPECT_EQ(outcome.question, path + " already exist.\rDo you want to replace them?");
    }

    static std::unique_ptr<Vantrel> app_;
    static std::unique_ptr<Fixture> fixture_;
    HWND catch_ = nullptr;
    HWND memo_ = nullptr;
    HWND toolBar_ = nullptr;
    unsigned registered_ = 0;
};

std::unique_ptr<Vantrel> CatchTest::app_;
std::unique_ptr<Fixture> CatchTest::fixture_;

TEST_F(CatchTest, LogsTheSequenceFiltersItHidesRepetitionsAndSavesIt) {
    Open();
    const std::vector<std::string> first = SplitLines(Log());
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[0], kHeader);
    Clear();
    Start();

    // Filters all on: every message of the sequence, sent and posted, once.
    auto lines = CatchSequence(false);
    EXPECT_EQ(SequenceLines(lines, false), (std::vector<std::string>{
        "|     1025 - WM_USER+1                 |           1 |           2 |",
        RegisteredDecimal(),
        "|      512 - WM_MOUSEMOVE              |           0 |      393221 |",
        "|      513 - WM_LBUTTONDOWN            |           1 |      393221 |",
        "|      514 - WM_LBUTTONUP              |           0 |      393221 |",
        "|       15 - WM_PAINT                  |           0 |           0 |",
        "|      275 - WM_TIMER                  |           7 |           0 |",
        "|     1143 - WM_USER+119               |           0 |           0 |",
    }));
    // Every line: a time stamp, the bars in the header's columns, a position.
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        ASSERT_GT(l.size(), 84u) << l;
        EXPECT_EQ(l.substr(2, 1) + l.substr(5, 1) + l.substr(8, 2), "::::") << l;
        EXPECT_EQ(std::string() + l[14] + l[53] + l[67] + l[81], "||||") << l;
        EXPECT_EQ(l.substr(82, 3), " x=") << l;
    }

    // Mouse and Paint off (menu item and tool button): those lines go, the rest stays.
    Command(cmd::MenuMessMouse);
    // A click on a check button flips its pressed state before the command.
    ::SendMessageTimeoutA(toolBar_, TB_CHECKBUTTON, cmd::ToolButton7, FALSE, SMTO_ABORTIFHUNG, kMessageTimeout,
                          nullptr);
    Command(cmd::ToolButton7);
    ASSERT_TRUE(WaitFor([&] { return !Button(cmd::ToolButton8).checked && !Button(cmd::ToolButton7).checked; },
                        kWaitTimeout, "Mouse and Paint switched off"));
    Clear();
    lines = CatchSequence(false);
    EXPECT_EQ(SequenceLines(lines, false), (std::vector<std::string>{
        "|     1025 - WM_USER+1                 |           1 |           2 |",
        RegisteredDecimal(),
        "|      275 - WM_TIMER                  |           7 |           0 |",
        "|     1143 - WM_USER+119               |           0 |           0 |",
    }));
    Command(cmd::MenuMessMouse);
    Command(cmd::MenuMessPaint);
    ASSERT_TRUE(WaitFor([&] { return Button(cmd::ToolButton8).checked && Button(cmd::ToolButton7).checked; },
                        kWaitTimeout, "Mouse and Paint switched on"));

    // Hide repetitions: timer, timer, WM_USER+1, timer gives three lines.
    Command(cmd::Hiderepetitions1);
    Clear();
    for (const char* m : {"0x113", "0x113", "0x401", "0x113", "0x477"})
        ASSERT_TRUE(fixture_->Command(std::string("post recorder ") + m + " 9 0"));
    ASSERT_TRUE(WaitFor([&] {
        for (const std::string& l : SplitLines(Log()))
            if (LineMessage(l, false) == 0x477) return true;
        return false;
    }, kWaitTimeout, "the last posted message"));
    EXPECT_EQ(SequenceLines(SplitLines(Log()), false), (std::vector<std::string>{
        "|      275 - WM_TIMER                  |           9 |           0 |",
        "|     1025 - WM_USER+1                 |           9 |           0 |",
        "|      275 - WM_TIMER                  |           9 |           0 |",
        "|     1143 - WM_USER+119               |           9 |           0 |",
    }));
    Command(cmd::Hiderepetitions1);

    // Stop: nothing more is logged.
    Stop();
    const std::string stopped = Log();
    ASSERT_TRUE(fixture_->Command("post recorder 0x478 0 0"));
    ASSERT_TRUE(fixture_->Command("ping"));
    Pause(500);
    EXPECT_EQ(Log(), stopped);

    // Save as through the Save dialog: the pane's lines, each ended by CR LF.
    const std::string path = TempFilePath("catch_log") + ".txt";
    ::DeleteFileA(path.c_str());
    SaveAs(path);
    WaitFor([&] { return FileExists(path) && ReadFileBytes(path) == stopped + "\r\n"; }, kWaitTimeout,
            "the saved log");
    EXPECT_EQ(ReadFileBytes(path), stopped + "\r\n");

    // Saving again asks before replacing: No keeps the file, Yes writes it.
    Clear();
    SaveAs(path, IDNO);
    EXPECT_EQ(ReadFileBytes(path), stopped + "\r\n");
    SaveAs(path, IDYES);
    WaitFor([&] { return ReadFileBytes(path) == kHeader + "\r\n"; }, kWaitTimeout, "the replaced log");
    EXPECT_EQ(ReadFileBytes(path), kHeader + "\r\n");
}

TEST_F(CatchTest, CatchesAgainAfterClosingAndOpeningAndKeepsTheLog) {
    Open();
    Clear();
    Start();
    CatchSequence(false);
    Close();
    const std::string kept = Log();

    Open();
    EXPECT_EQ(Log(), kept);  // the log survives closing
    Clear();
    Start();
    auto lines = CatchSequence(false);
    EXPECT_EQ(SequenceLines(lines, false).size(), 8u);
    Stop();
}

TEST_F(CatchTest, HexadecimalModeNamesUserMessagesInHexadecimal) {
    ASSERT_TRUE(App().SetHexMode(true));
    Open();
    Clear();
    Start();
    auto lines = CatchSequence(true);
    EXPECT_EQ(SequenceLines(lines, true), (std::vector<std::string>{
        "|      401 - WM_USER+1                 |           1 |           2 |",
        RegisteredHex(),
        "|      200 - WM_MOUSEMOVE              |           0 |       60005 |",
        "|      201 - WM_LBUTTONDOWN            |           1 |       60005 |",
        "|      202 - WM_LBUTTONUP              |           0 |       60005 |",
        "|        F - WM_PAINT                  |           0 |           0 |",
        "|      113 - WM_TIMER                  |           7 |           0 |",
        "|      477 - WM_USER+77                |           0 |           0 |",
    }));
    Stop();
    Close();
    ASSERT_TRUE(App().SetHexMode(false));
}

TEST_F(CatchTest, WatchingItsOwnLogPaneNeitherFloodsNorFreezes) {
    // First showing: learn the log pane's handle, then select it in the tree.
    Open();
    HWND pane = memo_;
    Close();
    ASSERT_TRUE(App().Refresh());
    ASSERT_TRUE(App().SelectWindow(pane));
    ASSERT_TRUE(App().PostCommand(cmd::Catchmessages1));
    catch_ = App().WaitForWindow("TForm5ForHook");
    ASSERT_NE(catch_, nullptr);
    memo_ = ::GetDlgItem(catch_, ctl::Memo1);
    toolBar_ = ::GetDlgItem(catch_, ctl::CatchToolBar1);
    ASSERT_EQ(memo_, pane);
    Clear();
    Start();
    // Messages to the pane are caught; the lines they add do not feed on themselves.
    ASSERT_TRUE(Send(pane, WM_USER + 5, 11, 12).has_value());
    ASSERT_TRUE(WaitFor([&] {
        for (const std::string& l : SplitLines(Log()))
            if (LineMessage(l, false) == 0x405) return true;
        return false;
    }, kWaitTimeout, "the message sent to the log pane"));
    Pause(1500);
    ASSERT_TRUE(Send(catch_, WM_NULL, 0, 0, 5000).has_value()) << "Vantrel answers";
    const std::size_t lines = SplitLines(Log()).size();
    EXPECT_LT(lines, 200u) << "the log pane fed on its own reports";
    Stop();
    Close();
}

// The report number the hook library wrote last into the shared record.
std::uint32_t ReportNumber() {
    HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, kHookMappingName);
    if (!mapping) {
        ADD_FAILURE() << "no shared record";
        return 0;
    }
    std::uint32_t number = 0;
    if (const void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kHookRecordSize)) {
        number = static_cast<const HookRecord*>(view)->sequence;
        ::UnmapViewOfFile(view);
    }
    ::CloseHandle(mapping);
    return number;
}

// Sets the test switch that sends catching through the companion of Vantrel's
// own bitness, for the programs started while it lives.
class CompanionSwitch {
public:
    CompanionSwitch() { ::SetEnvironmentVariableA("VANTREL_HOOK_COMPANION", "1"); }
    ~CompanionSwitch() { ::SetEnvironmentVariableA("VANTREL_HOOK_COMPANION", nullptr); }
    CompanionSwitch(const CompanionSwitch&) = delete;
    CompanionSwitch& operator=(const CompanionSwitch&) = delete;
};

TEST_F(CatchTest, StartOnAWindowThatDoesNotAnswerSaysSoAndLeavesNothingSet) {
    HWND hung = fixture_->Window("hung");
    CatchSession session = CatchSession::Open(App(), hung);
    ASSERT_TRUE(fixture_->Command("hang"));
    std::string box;
    EXPECT_FALSE(session.Start(&box));
    EXPECT_NE(box.find("Unable to set hook\r(VANTREL.DLL)\rThe window did not answer"), std::string::npos) << box;
    EXPECT_TRUE(session.Enabled(cmd::MenuCatchRun));
    EXPECT_FALSE(session.Enabled(cmd::MenuCatchStop));
    ASSERT_TRUE(fixture_->Command("unhang"));
    ASSERT_TRUE(session.Close());
    // Nothing of that Start is left in the way: the next one catches as ever,
    // and the window that did not answer then is not reported.
    CatchSession next = CatchSession::Open(App(), Recorder());
    ASSERT_TRUE(next.Clear());
    ASSERT_TRUE(next.Start());
    ASSERT_TRUE(fixture_->Command("send hung 0x4AB 0 0"));
    EXPECT_EQ(CatchFixtureSequence(next, *fixture_), ExpectedSequenceLines(registered_));
    EXPECT_EQ(next.Log().find("WM_USER+171"), std::string::npos);
    ASSERT_TRUE(next.Stop());
    ASSERT_TRUE(next.Close());
}

TEST_F(CatchTest, SecondVantrelIsRefusedWhileTheFirstCatchesAndStartsOnceItStopsOrEnds) {
    CatchSession first = CatchSession::Open(App(), Recorder());
    ASSERT_TRUE(first.Clear());
    ASSERT_TRUE(first.Start());
    auto second = Vantrel::Start();
    CatchSession other = CatchSession::Open(*second, Recorder());
    std::string box;
    EXPECT_FALSE(other.Start(&box));
    EXPECT_NE(box.find("Another Vantrel is catching messages now: press Stop in its Catch Messages window"),
              std::string::npos) << box;
    EXPECT_TRUE(other.Enabled(cmd::MenuCatchRun));
    // Closing the refused window (which stops it) leaves the first one catching.
    ASSERT_TRUE(other.Close());
    EXPECT_EQ(CatchFixtureSequence(first, *fixture_), ExpectedSequenceLines(registered_));

    // The first stops: the second starts, and the first is refused in turn.
    ASSERT_TRUE(first.Stop());
    other = CatchSession::Open(*second, Recorder());
    ASSERT_TRUE(other.Clear());
    ASSERT_TRUE(other.Start());
    EXPECT_EQ(CatchFixtureSequence(other, *fixture_), ExpectedSequenceLines(registered_));
    ASSERT_TRUE(first.Clear());
    EXPECT_FALSE(first.Start(&box));
    EXPECT_NE(box.find("Another Vantrel"), std::string::npos) << box;

    // The second ends while it catches (killed: its hooks stay set on the
    // recorder's thread under Wine). The first starts again, and every
    // message is still logged once.
    second->Kill();
    ASSERT_TRUE(first.Start());
    EXPECT_EQ(CatchFixtureSequence(first, *fixture_), ExpectedSequenceLines(registered_));
    ASSERT_TRUE(first.Stop());
    ASSERT_TRUE(first.Close());

    // A Vantrel killed mid-catch and started again: one line per message,
    // and one report number for each line.
    for (int run = 0; run < 2; ++run) {
        auto again = Vantrel::Start();
        CatchSession session = CatchSession::Open(*again, Recorder());
        ASSERT_TRUE(session.Clear());
        const std::uint32_t before = ReportNumber();
        ASSERT_TRUE(session.Start());
        EXPECT_EQ(CatchFixtureSequence(session, *fixture_), ExpectedSequenceLines(registered_)) << "run " << run;
        if (run == 1) {
            ASSERT_TRUE(session.Stop());
            EXPECT_EQ(ReportNumber() - before, SplitLines(session.Log()).size() - 1);
        }
        again->Kill();
    }
}

TEST_F(CatchTest, ThroughTheCompanionTheLinesAreTheSameAndItNeverOutlivesVantrel) {
    std::unique_ptr<Vantrel> app;
    {
        CompanionSwitch through;
        app = Vantrel::Start();
    }
    CatchSession session = CatchSession::Open(*app, Recorder());
    ASSERT_TRUE(session.Clear());
    ASSERT_TRUE(session.Start());
    const std::vector<DWORD> companions = CompanionProcesses();
    ASSERT_EQ(companions.size(), 1u);
    EXPECT_EQ(CatchFixtureSequence(session, *fixture_), ExpectedSequenceLines(registered_));
    // Stop and Start again keep the companion.
    ASSERT_TRUE(session.Stop());
    ASSERT_TRUE(session.Clear());
    ASSERT_TRUE(session.Start());
    EXPECT_EQ(CompanionProcesses(), companions);

    // Killed mid-catch: Stop is harmless, the next Start starts a new
    // companion, and the hooks the killed one left behind report nothing twice.
    ASSERT_TRUE(KillProcess(companions[0]));
    ASSERT_TRUE(session.Stop());
    ASSERT_TRUE(session.Clear());
    ASSERT_TRUE(session.Start());
    const std::vector<DWORD> restarted = CompanionProcesses();
    ASSERT_EQ(restarted.size(), 1u);
    EXPECT_NE(restarted[0], companions[0]);
    EXPECT_EQ(CatchFixtureSequence(session, *fixture_), ExpectedSequenceLines(registered_));

    // Vantrel killed while it catches: the companion ends with it, and the
    // watched program still takes its posted messages.
    app->Kill();
    EXPECT_TRUE(WaitForProcessEnd(restarted[0])) << "the companion outlived Vantrel";
    EXPECT_TRUE(CompanionProcesses().empty());
    ASSERT_TRUE(fixture_->Command("clear-log"));
    ASSERT_TRUE(Post(Recorder(), WM_USER + 0x55, 5, 6));
    EXPECT_TRUE(WaitFor([&] {
        for (const std::string& line : fixture_->RecorderLog())
            if (line == "- 0455 5 6") return true;
        return false;
    }, kWaitTimeout, "the watched program handling a posted message"));

    // A companion that is missing: the box says so, and nothing changes.
    const std::string folder = BuildDir() + "\\e2e-temp\\without-companion";
    ::CreateDirectoryA((BuildDir() + "\\e2e-temp").c_str(), nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(VantrelExePath().c_str(), (folder + "\\vantrel.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(HookDllPath().c_str(), (folder + "\\VANTREL.DLL").c_str(), FALSE));
    {
        CompanionSwitch through;
        app = Vantrel::StartProgram(folder + "\\vantrel.exe");
    }
    CatchSession lone = CatchSession::Open(*app, Recorder());
    std::string box;
    EXPECT_FALSE(lone.Start(&box));
    EXPECT_NE(box.find("Unable to set hook\r(VANTREL.DLL)\rThe hook companion"), std::string::npos) << box;
    EXPECT_TRUE(lone.Enabled(cmd::MenuCatchRun));
    EXPECT_FALSE(lone.Enabled(cmd::MenuCatchStop));
    ASSERT_TRUE(lone.Close());
    EXPECT_TRUE(app->Stop());
}

}  // namespace
}  // namespace vantrel::e2e
