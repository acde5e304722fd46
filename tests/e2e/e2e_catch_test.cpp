// Catching messages from outside: a fixture window is selected in Vantrel's
// tree, the Catch Messages window is opened and started, the fixture receives
// a known sequence (sent and posted, registered, mouse, paint, timer), and the
// log pane is read back line by line; then filters, Hide repetitions, Stop,
// Save as through the real Save dialog, closing and opening again, and the
// hexadecimal mode. The log pane as a read-only text control: selection by
// mouse and keys, copying, its menu, the caret after new lines, the text
// control's messages from this process; the line limit set by the
// environment; records written and announced by a writer that plays a hook
// library of another make. The switches beyond the six categories: Details,
// the Watch choice, the Filter dialog, Hide this message, Find in the log.

#include "hooklib/hook_channel.h"
#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
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
        other_ = nullptr;
        // A test that failed half-way may leave a box or a Catch Messages window open.
        if (!app_) return;
        if (HWND box = App().FindWindowOfClass("#32770", "", true)) {
            ClickDialogButton(box, IDOK);
            App().WaitForWindowGone("#32770");
        }
        for (const char* dialog : {"TFormMessageFilter", "TFormLogFind"})
            if (HWND open = App().FindWindowOfClass(dialog, "", true)) {
                ClickDialogButton(open, IDCANCEL);
                App().WaitForWindowGone(dialog);
            }
        if (HWND open = App().FindWindowOfClass("TForm5ForHook", "", true)) {
            Post(open, WM_COMMAND, cmd::MenuCatchExit, 0);
            App().WaitForWindowGone("TForm5ForHook");
        }
        if (fixture_) fixture_->Command("unhang");
    }

    Vantrel& App() { return other_ ? *other_ : *app_; }
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
    bool DetailsOn() { return Button(cmd::DetailsButton).checked; }

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

    // The lines of the sequence's own messages, whole.
    std::vector<std::string> SequenceLinesWhole(const std::vector<std::string>& lines) {
        const std::set<unsigned> ours = {0x401, registered_, 0x200, 0x201, 0x202, 0x0F, 0x113, 0x477};
        std::vector<std::string> out;
        for (std::size_t i = 1; i < lines.size(); ++i)
            if (ours.count(LineMessage(lines[i], false))) out.push_back(lines[i]);
        return out;
    }
    // The sequence's lines without those of some messages, middle part only.
    std::vector<std::string> ExpectedWithout(const std::set<std::string>& names) {
        std::vector<std::string> expected;
        for (const std::string& line : ExpectedSequenceLines(registered_))
            if (!names.count(line.substr(13, line.find(' ', 13) - 13))) expected.push_back(line);
        return expected;
    }
    // Opens the Filter dialog (modal: posted) and waits for it.
    HWND OpenFilter() {
        Command(cmd::MenuMessFilter);
        return App().WaitForWindow("TFormMessageFilter", "Message filter");
    }
    // Shows every message again through the Filter dialog's Show all.
    void ShowAllMessages() {
        HWND dialog = OpenFilter();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(ClickDialogButton(dialog, ctl::FilterShowAll));
        ASSERT_TRUE(WaitFor([&] { return WindowText(::GetDlgItem(dialog, ctl::FilterText)).empty(); }, kWaitTimeout,
                            "Show all"));
        ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
        ASSERT_TRUE(App().WaitForWindowGone("TFormMessageFilter"));
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

    // ---- The log pane as a text control ----

    // The selection as EM_GETSEL gives it: start and end.
    std::pair<DWORD, DWORD> Selection() {
        const LRESULT both = Send(memo_, EM_GETSEL, 0, 0).value_or(-1);
        return {LOWORD(both), HIWORD(both)};
    }
    bool WaitForSelection(DWORD start, DWORD end, const std::string& what) {
        if (WaitFor([&] { return Selection() == std::make_pair(start, end); }, kWaitTimeout,
                    what + ": selection " + std::to_string(start) + ".." + std::to_string(end)))
            return true;
        const auto [was, to] = Selection();
        ADD_FAILURE() << what << ": the selection is " << was << ".." << to;
        return false;
    }
    DWORD LineIndex(int line) { return static_cast<DWORD>(Send(memo_, EM_LINEINDEX, line, 0).value_or(-1)); }
    // Client position of a character's cell, as the pane tells it.
    POINT CellOf(std::size_t position) {
        const LRESULT at = Send(memo_, EM_POSFROMCHAR, position, 0).value_or(-1);
        return {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    }
    // One character's width and one line's height, from the pane's header.
    SIZE Cell() {
        const POINT first = CellOf(0), second = CellOf(1), below = CellOf(LineIndex(1));
        return {second.x - first.x, below.y - first.y};
    }
    // A screen point just inside the left edge of a character's cell: a
    // click there puts the caret before that character.
    POINT ScreenBefore(std::size_t position) {
        const SIZE cell = Cell();
        POINT p = CellOf(position);
        p.x += 1;
        p.y += cell.cy / 2;
        ::ClientToScreen(memo_, &p);
        return p;
    }
    POINT ScreenMiddle(std::size_t position) {
        const SIZE cell = Cell();
        POINT p = CellOf(position);
        p.x += cell.cx / 2;
        p.y += cell.cy / 2;
        ::ClientToScreen(memo_, &p);
        return p;
    }
    // The pane's popup menu, once it is up.
    HWND WaitForPopupMenu() {
        HWND menu = nullptr;
        WaitFor([&] {
            for (HWND w : App().Windows())
                if (::IsWindowVisible(w) && ClassNameOf(w) == "#32768") menu = w;
            return menu != nullptr;
        }, kWaitTimeout, "the log pane's menu");
        return menu;
    }
    // Copies with a key and waits for the clipboard to hold the text.
    void ExpectCopied(const std::function<void()>& copy, const std::string& text, const std::string& how) {
        ASSERT_TRUE(EmptyClipboardText());
        copy();
        EXPECT_TRUE(WaitFor([&] { return ClipboardText() == text; }, kWaitTimeout, how + " copying the selection"))
            << "clipboard: " << ClipboardText().value_or("<none>");
    }

    static std::unique_ptr<Vantrel> app_;
    static std::unique_ptr<Fixture> fixture_;
    Vantrel* other_ = nullptr;  // a second Vantrel the test works instead
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
    EXPECT_EQ(SequenceLines(lines, false), ExpectedSequenceLines(registered_));
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
    ASSERT_TRUE(fixture_->Command("clear-log"));
    ASSERT_TRUE(fixture_->Command("post recorder 0x478 0 0"));
    // Once the recorder has the message, a report of it would already be in
    // the log: the library reports before the window procedure runs.
    ASSERT_TRUE(WaitFor([&] {
        for (const std::string& line : fixture_->RecorderLog())
            if (line.find(" 0478 ") != std::string::npos) return true;
        return false;
    }, kWaitTimeout, "the recorder to receive the message posted after Stop"));
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
    // Rounds through Vantrel's queue, each of which lets it go idle and paint:
    // a pane that fed on its own reports would add line after line meanwhile.
    const std::size_t first = SplitLines(Log()).size();
    for (WPARAM round = 1; round <= 10; ++round) {
        ASSERT_TRUE(Post(pane, WM_USER + 6, round, 0));
        ASSERT_TRUE(WaitFor([&] {
            for (const std::string& l : SplitLines(Log()))
                if (LineMessage(l, false) == 0x406 && l.size() > 66 &&
                    std::strtoul(l.substr(54, 12).c_str(), nullptr, 10) == round)
                    return true;
            return false;
        }, kWaitTimeout, "the marker posted to the log pane"));
    }
    ASSERT_TRUE(Send(catch_, WM_NULL, 0, 0, 5000).has_value()) << "Vantrel answers";
    const std::size_t lines = SplitLines(Log()).size();
    EXPECT_LT(lines - first, 200u) << "the log pane fed on its own reports";
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

// Shift+click. Under Wine a pointer moved elsewhere comes back from the X
// server as a motion that sets the modifier keys to what the X keyboard
// holds, which lets go of a Shift pressed through SendInput. So the pointer
// goes there with Shift held until that motion has released it (bounded: a
// Wine that keeps it is just as good), then Shift is held again and the
// button pressed where the pointer already is.
void ShiftClickAt(POINT at) {
    HoldKey(VK_SHIFT, true);
    MouseMoveTo(at);
    WaitUntil([] { return ::GetAsyncKeyState(VK_SHIFT) >= 0; }, 3000);
    HoldKey(VK_SHIFT, true);
    ClickAt(at);
    HoldKey(VK_SHIFT, false);
}

// A known text for the pane: the header, then four lines, one of them empty.
const std::vector<std::string> kSampleLines = {kHeader, "alpha beta  gamma delta", "", "second line of the sample",
                                               "last"};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    return text;
}

TEST_F(CatchTest, LogPaneSelectsByMouseAndKeysCopiesAndStaysReadOnly) {
    Open();
    const std::string sample = Joined(kSampleLines);
    ASSERT_TRUE(SetWindowTextRemote(memo_, sample));
    ASSERT_TRUE(WaitFor([&] { return Log() == sample; }, kWaitTimeout, "the sample text"));
    const DWORD line1 = LineIndex(1), line3 = LineIndex(3), line4 = LineIndex(4);
    ASSERT_EQ(line3, line1 + 23 + 2 + 2);
    ASSERT_TRUE(Activate(catch_));
    // The pane has the keys as soon as the window opens.
    PressKey(VK_END, true);
    ASSERT_TRUE(WaitForSelection(static_cast<DWORD>(sample.size()), static_cast<DWORD>(sample.size()),
                                 "Ctrl+End in the window just opened"));

    // A drag from "beta" into the fourth line.
    MouseButtonAt(ScreenBefore(line1 + 6), MouseButton::Left, true);
    MouseMoveTo(ScreenMiddle(line1 + 15));
    MouseButtonAt(ScreenBefore(line3 + 6), MouseButton::Left, false);
    ASSERT_TRUE(WaitForSelection(line1 + 6, line3 + 6, "a drag"));
    ExpectCopied([] { PressKey('C', true); }, "beta  gamma delta\r\n\r\nsecond", "Ctrl+C");
    // Shift+click moves the end; the drag's start stays.
    ShiftClickAt(ScreenBefore(line4 + 2));
    EXPECT_TRUE(WaitForSelection(line1 + 6, line4 + 2, "Shift+click"));
    // A double-click selects a word.
    ClickAt(ScreenMiddle(line1 + 14), MouseButton::Left, 2);
    EXPECT_TRUE(WaitForSelection(line1 + 12, line1 + 17, "a double-click on \"gamma\""));

    // Keys: Ctrl+Home, Shift+Down three times and Shift+End select the first
    // four lines, whatever their lengths.
    PressKey(VK_HOME, true);
    for (int i = 0; i < 3; ++i) PressKey(VK_DOWN, false, true);
    PressKey(VK_END, false, true);
    ASSERT_TRUE(WaitForSelection(0, line3 + 25, "Shift+Down and Shift+End"));
    ExpectCopied([] { PressKey(VK_INSERT, true); }, sample.substr(0, line3 + 25), "Ctrl+Insert");
    PressKey(VK_LEFT, true, true);  // back to the start of "sample"
    EXPECT_TRUE(WaitForSelection(0, line3 + 19, "Ctrl+Shift+Left"));
    PressKey(VK_RIGHT);  // collapses to the selection's end
    EXPECT_TRUE(WaitForSelection(line3 + 19, line3 + 19, "Right"));
    PressKey(VK_UP);
    PressKey(VK_UP);  // the empty line, then the second line at the same column
    EXPECT_TRUE(WaitForSelection(line1 + 19, line1 + 19, "Up twice"));
    PressKey(VK_END, true);
    PressKey(VK_LEFT, false, true);
    EXPECT_TRUE(WaitForSelection(static_cast<DWORD>(sample.size() - 1), static_cast<DWORD>(sample.size()),
                                 "Ctrl+End, Shift+Left"));
    PressKey('A', true);
    EXPECT_TRUE(WaitForSelection(0, static_cast<DWORD>(sample.size()), "Ctrl+A"));

    // The right-click menu: Copy and Select All.
    ASSERT_TRUE(Send(memo_, EM_SETSEL, line1, line1 + 5).has_value());
    ClickAt(ScreenMiddle(line3 + 3), MouseButton::Right);
    ASSERT_NE(WaitForPopupMenu(), nullptr);
    ExpectCopied([] { PressKey('C'); }, "alpha", "the menu's Copy");
    EXPECT_TRUE(WaitForSelection(line1, line1 + 5, "the selection kept by the right click"));
    ClickAt(ScreenMiddle(line3 + 3), MouseButton::Right);
    ASSERT_NE(WaitForPopupMenu(), nullptr);
    PressKey('A');
    EXPECT_TRUE(WaitForSelection(0, static_cast<DWORD>(sample.size()), "the menu's Select All"));

    // Typing, pasting, cutting and deleting change nothing, by key or by message.
    PressKey(VK_DELETE);
    PressKey(VK_BACK);
    PressKey('X', true);
    PressKey('V', true);
    PressKey(VK_DELETE, false, true);
    PressKey(VK_INSERT, false, true);
    TypeText("typed");
    PressKey(VK_RETURN);
    PressKey(VK_HOME, true);  // processed after every key before it
    ASSERT_TRUE(WaitForSelection(0, 0, "Ctrl+Home after the keys"));
    Send(memo_, EM_SETSEL, 0, -1);
    for (UINT message : {WM_CUT, WM_PASTE, WM_CLEAR, WM_UNDO, EM_UNDO})
        EXPECT_TRUE(Send(memo_, message, 0, 0).has_value()) << message;
    Send(memo_, WM_CHAR, 'z', 1);
    EXPECT_EQ(Log(), sample);

    // The selection in the system's highlight colours, across a repaint.
    ASSERT_TRUE(Send(memo_, EM_SETSEL, 6, 12).has_value());  // spaces after "Time"
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT), window = ::GetSysColor(COLOR_WINDOW);
    ASSERT_NE(highlight, window);
    auto colourAt = [&](std::size_t position) {
        const POINT p = ScreenMiddle(position);
        return ScreenPixel(p.x, p.y);
    };
    EXPECT_TRUE(WaitFor([&] { return colourAt(8) == highlight && colourAt(13) == window; }, kWaitTimeout,
                        "the selected spaces highlighted, the next one not"))
        << std::hex << colourAt(8) << " " << colourAt(13) << " highlight " << highlight << " window " << window;
    ::RedrawWindow(memo_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(Send(memo_, WM_NULL, 0, 0).has_value());
    EXPECT_TRUE(WaitFor([&] { return colourAt(11) == highlight && colourAt(12) == window; }, kWaitTimeout,
                        "the highlight after a repaint"));
    Clear();
}

TEST_F(CatchTest, LogPaneAnswersTheTextControlMessagesOfAnotherProcess) {
    Open();
    const std::string sample = Joined(kSampleLines);
    ASSERT_TRUE(SetWindowTextRemote(memo_, sample));
    EXPECT_EQ(Send(memo_, EM_GETLINECOUNT, 0, 0).value_or(-1), 5);
    std::size_t start = 0;
    for (int i = 0; i < 5; ++i) {
        const std::string& line = kSampleLines[static_cast<std::size_t>(i)];
        EXPECT_EQ(Send(memo_, EM_LINEINDEX, i, 0).value_or(-2), static_cast<LRESULT>(start)) << i;
        EXPECT_EQ(Send(memo_, EM_LINELENGTH, start, 0).value_or(-2), static_cast<LRESULT>(line.size())) << i;
        EXPECT_EQ(Send(memo_, EM_LINEFROMCHAR, start + line.size(), 0).value_or(-2), i) << i;
        start += line.size() + 2;
    }
    EXPECT_EQ(Send(memo_, EM_LINEINDEX, 5, 0).value_or(-2), -1);

    // EM_GETLINE is not sent from here: Wine 8 carries its buffer between
    // processes with a size of its own making, and a reply of tens of
    // kilobytes now and then ends the receiving program ("wine client
    // error: partial write"), whatever the window answers. The pane's answer
    // to it is the portable rule's, tested on its own.

    // EM_SETSEL and EM_GETSEL with the system carrying both numbers back.
    const DWORD line1 = LineIndex(1), line3 = LineIndex(3);
    ASSERT_TRUE(Send(memo_, EM_SETSEL, line1 + 6, line3 + 6).has_value());
    DWORD from = 0, to = 0;
    const LRESULT both = Send(memo_, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to))
                             .value_or(-1);
    EXPECT_EQ(both, static_cast<LRESULT>(MAKELONG(line1 + 6, line3 + 6)));
    EXPECT_EQ(from, line1 + 6);
    EXPECT_EQ(to, line3 + 6);
    EXPECT_EQ(Send(memo_, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0).value_or(-2), 1);
    EXPECT_EQ(Send(memo_, EM_LINEINDEX, static_cast<WPARAM>(-1), 0).value_or(-2), static_cast<LRESULT>(line3));
    EXPECT_EQ(Send(memo_, EM_LINELENGTH, static_cast<WPARAM>(-1), 0).value_or(-2), 6 + (25 - 6));
    ExpectCopied([&] { Send(memo_, WM_COPY, 0, 0); }, "beta  gamma delta\r\n\r\nsecond", "WM_COPY");
    ASSERT_TRUE(Send(memo_, EM_SETSEL, static_cast<WPARAM>(-1), 0).has_value());  // deselects, caret stays
    EXPECT_EQ(Selection(), std::make_pair(line3 + 6, line3 + 6));

    // A log longer than the pane: selecting its end brings the end into view.
    std::vector<std::string> many = {kHeader};
    for (int i = 1; i < 300; ++i) many.push_back("line " + std::to_string(i));
    const std::string longText = Joined(many);
    ASSERT_TRUE(SetWindowTextRemote(memo_, longText));
    EXPECT_EQ(Send(memo_, EM_GETFIRSTVISIBLELINE, 0, 0).value_or(-1), 0);
    ASSERT_TRUE(Send(memo_, EM_SETSEL, longText.size(), longText.size()).has_value());
    const LRESULT first = Send(memo_, EM_GETFIRSTVISIBLELINE, 0, 0).value_or(-1);
    RECT client{};
    ::GetClientRect(memo_, &client);
    const int visible = client.bottom / std::max<LONG>(1, Cell().cy);
    EXPECT_EQ(first, 300 - visible);
    const POINT last = CellOf(longText.size() - 1);
    EXPECT_GE(last.y, 0);
    EXPECT_LT(last.y, client.bottom);
    Clear();
    EXPECT_EQ(Send(memo_, EM_GETFIRSTVISIBLELINE, 0, 0).value_or(-1), 0);
}

TEST_F(CatchTest, EachNewLineTakesTheCaretToItsEndInViewAndAStoppedLogKeepsItsSelection) {
    Open();
    // A pane narrower than a log line: the end of each new line needs the
    // view to move sideways.
    const RECT before = WindowRect(catch_);
    ASSERT_TRUE(::SetWindowPos(catch_, nullptr, 0, 0, 320, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(WaitFor([&] {
        RECT client{};
        ::GetClientRect(memo_, &client);
        return client.right > 0 && client.right < 320;
    }, kWaitTimeout, "the narrow pane"));
    Clear();
    Start();
    ASSERT_TRUE(Send(memo_, EM_SETSEL, 2, 6).has_value());  // a selection made while catching
    for (unsigned i = 0; i < 40; ++i)
        ASSERT_TRUE(Send(Recorder(), WM_USER + 0x4A, i, 0).has_value());
    std::string text;
    std::size_t count = 0;
    ASSERT_TRUE(WaitFor([&] {
        text = FullWindowText(memo_);
        const std::vector<std::string> lines = SplitLines(text);
        count = lines.size();
        std::size_t ours = 0;
        for (const std::string& l : lines) ours += LineMessage(l, false) == WM_USER + 0x4A;
        return ours == 40 && LineMessage(lines.back(), false) == WM_USER + 0x4A;
    }, kWaitTimeout, "forty lines"));
    // The caret at the end of the last line; the selection gave way to it.
    const DWORD end = static_cast<DWORD>(text.size());
    EXPECT_EQ(Selection(), std::make_pair(end, end));
    const int last = static_cast<int>(count) - 1;
    EXPECT_EQ(Send(memo_, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0).value_or(-1), last);
    // The screen follows shortly: the line's last character in view, its
    // start scrolled off to the left, the line at the bottom.
    RECT client{};
    ::GetClientRect(memo_, &client);
    const SIZE cell = Cell();
    EXPECT_TRUE(WaitFor([&] {
        const POINT lastChar = CellOf(end - 1), start = CellOf(LineIndex(last));
        return lastChar.x >= 0 && lastChar.x + cell.cx <= client.right && lastChar.y >= 0 &&
               lastChar.y + cell.cy <= client.bottom && start.x < 0;
    }, kWaitTimeout, "the end of the new line in view"));
    EXPECT_EQ(Send(memo_, EM_GETFIRSTVISIBLELINE, 0, 0).value_or(-1), last + 1 - client.bottom / cell.cy);

    // Stopped: a selection stays, also when the watched window gets messages.
    Stop();
    ASSERT_TRUE(Send(memo_, EM_SETSEL, 6, 20).has_value());
    ASSERT_TRUE(Send(Recorder(), WM_USER + 0x4B, 0, 0).has_value());
    ASSERT_TRUE(Send(catch_, WM_NULL, 0, 0).has_value());
    EXPECT_EQ(Selection(), std::make_pair(DWORD{6}, DWORD{20}));
    EXPECT_EQ(FullWindowText(memo_), text);
    ASSERT_TRUE(::SetWindowPos(catch_, nullptr, 0, 0, before.right - before.left, before.bottom - before.top,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    Clear();
}

TEST_F(CatchTest, PastTheLineLimitTheOldestLinesGoAndTheCaptionSaysSo) {
    // A second Vantrel with a limit of 40 lines, set by its environment.
    ASSERT_TRUE(::SetEnvironmentVariableA("VANTREL_LOG_LINE_LIMIT", "40"));
    std::unique_ptr<Vantrel> limited = Vantrel::Start();
    ::SetEnvironmentVariableA("VANTREL_LOG_LINE_LIMIT", nullptr);
    other_ = limited.get();
    Open();
    const std::string plain = WindowText(catch_);
    Clear();
    Start();
    for (unsigned i = 0; i < 100; ++i) ASSERT_TRUE(Send(Recorder(), WM_USER + 0x4C, i, 0).has_value());
    auto wParamField = [](unsigned value) {
        char field[32];
        std::snprintf(field, sizeof field, "| %11u |", value);
        return std::string(field);
    };
    std::vector<std::string> lines;
    ASSERT_TRUE(WaitFor([&] {
        lines = SplitLines(FullWindowText(memo_));
        return !lines.empty() && lines.back().find(wParamField(99)) != std::string::npos;
    }, kWaitTimeout, "the hundredth line"));
    Stop();
    // The header stays; the newest lines follow it in order; at most 40, and
    // dropped in chunks of four, at least 37.
    ASSERT_GE(lines.size(), 38u);
    ASSERT_LE(lines.size(), 41u);
    EXPECT_EQ(lines[0], kHeader);
    std::vector<std::string> ours;
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (LineMessage(lines[i], false) == WM_USER + 0x4C) ours.push_back(lines[i]);
    ASSERT_GE(ours.size(), 30u);
    for (std::size_t i = 0; i < ours.size(); ++i)
        EXPECT_NE(ours[i].find(wParamField(static_cast<unsigned>(100 - ours.size() + i))), std::string::npos)
            << ours[i];
    EXPECT_EQ(WindowText(catch_), plain + " - log limit of 40 lines reached, oldest lines dropped");
    Clear();
    EXPECT_EQ(WindowText(catch_), plain);
    Close();
    other_ = nullptr;
    EXPECT_TRUE(limited->Stop());
}

// A shared object of Vantrel's, mapped by its name for as long as it lives.
template <typename T>
class SharedView {
public:
    SharedView(const char* name, std::uint32_t size)
        : mapping_(::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name)),
          view_(mapping_ ? static_cast<T*>(::MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, size)) : nullptr) {}
    ~SharedView() {
        if (view_) ::UnmapViewOfFile(view_);
        if (mapping_) ::CloseHandle(mapping_);
    }
    SharedView(const SharedView&) = delete;
    SharedView& operator=(const SharedView&) = delete;
    T* operator->() const { return view_; }
    T* get() const { return view_; }
    explicit operator bool() const { return view_ != nullptr; }

private:
    HANDLE mapping_;
    T* view_;
};

TEST_F(CatchTest, EveryAnnouncedRecordIsLoggedWhoeverWroteItAndOnlyWhileCatching) {
    // This test plays a hook library of another make: it writes the record's
    // message part (bytes 16 to 43) by the record's name, leaves the first 16
    // bytes as they are, and announces each record synchronously.
    Open();
    const std::string plain = WindowText(catch_);
    Clear();
    SharedView<HookRecord> record(kHookMappingName, kHookRecordSize);
    SharedView<HookDetailsHeader> details(kDetailsMappingName, kDetailsObjectSize);
    ASSERT_TRUE(record && details);
    auto announce = [&](std::uint32_t wParam) {
        record->hwnd = HandleValue(Recorder());
        record->message = WM_USER + 0x4D;
        record->wParam = wParam;
        record->lParam = 0;
        record->time = 1000;
        record->x = record->y = 0;
        return Send(catch_, HookNotifyMessage, 0, 0).has_value();
    };
    auto ours = [&] {
        std::vector<std::uint32_t> wParams;
        for (const std::string& line : SplitLines(Log()))
            if (LineMessage(line, false) == WM_USER + 0x4D) wParams.push_back(std::stoul(line.substr(54, 12)));
        return wParams;
    };
    // Not catching: a notification is nobody's, and logs nothing.
    ASSERT_TRUE(announce(1));
    EXPECT_EQ(Log(), kHeader);

    // A header that no library of Vantrel's make used: every record as it is,
    // one announced twice logged twice.
    details->wholeCount = 0;
    details->reportNumber = 0;
    Start();
    for (std::uint32_t wParam : {1u, 2u, 3u, 3u}) ASSERT_TRUE(announce(wParam));
    EXPECT_EQ(ours(), (std::vector<std::uint32_t>{1, 2, 3, 3}));
    // The header as the library keeps it: a gap in its numbers counts the
    // reports missed; a record while a writer writes it is not logged.
    details->wholeCount = 2;
    details->reportNumber = 100;
    ASSERT_TRUE(announce(4));
    details->reportNumber = 103;
    ASSERT_TRUE(announce(5));
    details->wholeCount = 3;
    ASSERT_TRUE(announce(6));
    details->wholeCount = 4;
    EXPECT_EQ(ours(), (std::vector<std::uint32_t>{1, 2, 3, 3, 4, 5}));
    EXPECT_EQ(WindowText(catch_), plain + " - 2 reports missed");
    Stop();
    ASSERT_TRUE(announce(7));
    EXPECT_EQ(ours().size(), 6u);
    // A cleared log lacks nothing.
    Clear();
    EXPECT_EQ(WindowText(catch_), plain);
}

TEST_F(CatchTest, WithDetailsTheDetailsAndTheReturnsInTheRingAreReadWithTheirReports) {
    // This test plays the hook library once more: the record, the details
    // beside it and the ring of returns, each whole by its own count.
    Open();
    Command(cmd::MenuViewDetails);
    ASSERT_TRUE(WaitFor([&] { return DetailsOn(); }, kWaitTimeout, "Details on"));
    const std::string plain = WindowText(catch_);
    Clear();
    SharedView<HookRecord> record(kHookMappingName, kHookRecordSize);
    SharedView<std::uint8_t> object(kDetailsMappingName, kDetailsObjectSize);
    ASSERT_TRUE(record && object);
    auto* header = reinterpret_cast<HookDetailsHeader*>(object.get());
    const std::uint32_t window = HandleValue(Recorder());
    auto fill = [&](MessageDetails& d, std::uint32_t message, DetailMark mark) {
        d = MessageDetails{};
        d.window = window;
        d.message = message;
        d.thread = 77;
        d.mark = static_cast<std::uint8_t>(mark);
        d.result = 42;
    };
    auto announce = [&](std::uint32_t number, std::uint32_t message) {
        const std::uint32_t even = WholeWriteBegins(header->wholeCount);
        *record.get() = HookRecord{};
        record->hwnd = window;
        record->message = message;
        record->time = 1000;
        header->reportNumber = number;
        fill(*reinterpret_cast<MessageDetails*>(object.get() + kDetailsOffset), message, DetailMark::Sent);
        WholeWriteEnds(header->wholeCount, even);
        return Send(catch_, HookNotifyMessage, 0, 0).has_value();
    };
    auto returned = [&](std::uint32_t number, std::uint32_t message) {
        auto* entry = reinterpret_cast<ReturnEntry*>(object.get() + kReturnRingOffset) + number % kReturnRingEntries;
        const std::uint32_t even = WholeWriteBegins(entry->wholeCount);
        entry->reportNumber = number;
        entry->time = 1000;
        fill(entry->details, message, DetailMark::Returned);
        WholeWriteEnds(entry->wholeCount, even);
    };
    // The column after each line's own, as the lines of these messages read.
    auto columns = [&] {
        std::vector<std::string> out;
        for (const std::string& line : SplitLines(Log())) {
            const unsigned message = LineMessage(line, false);
            if (message == WM_USER + 0x4E || message == WM_USER + 0x4F)
                out.push_back(std::to_string(message - WM_USER) + (line.size() > 99 ? line.substr(99) : ""));
        }
        return out;
    };
    Start();
    const std::uint32_t base = header->reportNumber;
    ASSERT_TRUE(announce(base + 1, WM_USER + 0x4E));
    returned(base + 2, WM_USER + 0x4E);
    ASSERT_TRUE(announce(base + 3, WM_USER + 0x4F));
    EXPECT_EQ(columns(), (std::vector<std::string>{"78 | sent", "78 | returned result=42 (0x0000002A)", "79 | sent"}));
    // A return with nothing announced after it shows a moment later.
    returned(base + 4, WM_USER + 0x4F);
    EXPECT_TRUE(WaitFor([&] { return columns().size() == 4; }, kWaitTimeout, "the last return"));
    EXPECT_EQ(columns().back(), "79 | returned result=42 (0x0000002A)");
    // The returns' numbers are no missed reports.
    EXPECT_EQ(WindowText(catch_), plain);
    Stop();
    Command(cmd::MenuViewDetails);
    ASSERT_TRUE(WaitFor([&] { return !DetailsOn(); }, kWaitTimeout, "Details off"));
    Clear();
}

TEST_F(CatchTest, DetailsAndWatchKeepTheLinesOwnColumnsAndAWiderWatchNamesEachLinesWindow) {
    Open();
    EXPECT_FALSE(DetailsOn());
    ASSERT_TRUE(Activate(catch_));
    PressKey(VK_F7);
    ASSERT_TRUE(WaitFor([&] { return DetailsOn(); }, kWaitTimeout, "Details on by F7"));
    // The button flips its own pressed state before its command, as a click does.
    ASSERT_TRUE(Send(toolBar_, TB_CHECKBUTTON, cmd::DetailsButton, FALSE).has_value());
    Command(cmd::DetailsButton);
    ASSERT_TRUE(WaitFor([&] { return !DetailsOn(); }, kWaitTimeout, "Details off by its button"));
    Command(cmd::MenuViewDetails);
    ASSERT_TRUE(WaitFor([&] { return DetailsOn(); }, kWaitTimeout, "Details on by its menu item"));
    // Kept for the run; with it on, every line keeps its own columns.
    Close();
    Open();
    EXPECT_TRUE(DetailsOn());
    Clear();
    Start();
    // The one sent message of the sequence returns: a line of its own, with
    // the columns of the message it returns from.
    std::vector<std::string> lines = CatchSequence(false);
    std::vector<std::string> expected = ExpectedSequenceLines(registered_);
    expected.insert(expected.begin() + 1, expected.front());
    EXPECT_EQ(SequenceLines(lines, false), expected);
    const std::vector<std::string> whole = SequenceLinesWhole(lines);
    ASSERT_GE(whole.size(), 2u);
    EXPECT_EQ(whole[0].substr(99, 7), " | sent");
    EXPECT_EQ(whole[1].substr(99, 11), " | returned");
    Stop();
    Command(cmd::MenuViewDetails);
    ASSERT_TRUE(WaitFor([&] { return !DetailsOn(); }, kWaitTimeout, "Details off again"));

    // A watch wider than the window (the recorder has no descendants): after
    // the line's own columns, lined up, each line names the window it went to.
    // A choice made while catching waits for the next Start.
    Command(cmd::MenuWatchDescendants);
    Clear();
    Start();
    Command(cmd::MenuWatchWindow);
    lines = CatchSequence(false);
    EXPECT_EQ(SequenceLines(lines, false), ExpectedSequenceLines(registered_));
    char target[32];
    std::snprintf(target, sizeof target, "| 0x%08X", HandleValue(Recorder()));
    for (const std::string& line : SequenceLinesWhole(lines))
        EXPECT_EQ(line.substr(99, 13), std::string(" ") + target) << line;
    Stop();
    Command(cmd::MenuWatchWindow);
    Clear();
    Start();
    lines = CatchSequence(false);
    for (const std::string& line : SequenceLinesWhole(lines)) EXPECT_LT(line.size(), 99u) << line;
    Stop();
    Clear();
}

TEST_F(CatchTest, FilterDialogHidesTheMessagesUntickedOrTypedAndSaysWhatIsWrong) {
    Open();
    HWND dialog = OpenFilter();
    ASSERT_NE(dialog, nullptr);
    HWND list = ::GetDlgItem(dialog, ctl::FilterList), field = ::GetDlgItem(dialog, ctl::FilterText),
         error = ::GetDlgItem(dialog, ctl::FilterError);
    const std::vector<ListRow> rows = ReadListView(list);
    auto rowOf = [&](const std::string& caption) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].caption == caption) return static_cast<int>(i);
        ADD_FAILURE() << "no row " << caption;
        return 0;
    };
    const int paint = rowOf("WM_PAINT"), paintHeading = rowOf("Paint");
    // Everything shown at start; unticking a message unticks its heading.
    EXPECT_TRUE(ListRowChecked(list, paint));
    EXPECT_TRUE(ListRowChecked(list, paintHeading));
    EXPECT_EQ(WindowText(field), "");
    ASSERT_TRUE(CheckListRow(list, paint, false));
    EXPECT_TRUE(WaitFor([&] { return !ListRowChecked(list, paintHeading); }, kWaitTimeout, "the heading unticked"));
    // A typed entry not understood: said under the field, and OK stays.
    ASSERT_TRUE(SetWindowTextRemote(field, "0x401, bogus"));
    EXPECT_EQ(WindowText(error), "\"bogus\" is not a message number, a range of numbers or a message name.");
    ASSERT_TRUE(Send(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0).has_value());
    EXPECT_TRUE(::IsWindowVisible(dialog));
    ASSERT_TRUE(SetWindowTextRemote(field, "0x401"));
    EXPECT_EQ(WindowText(error), "");
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    ASSERT_TRUE(App().WaitForWindowGone("TFormMessageFilter"));

    Clear();
    Start();
    EXPECT_EQ(SequenceLines(CatchSequence(false), false), ExpectedWithout({"WM_USER+1", "WM_PAINT"}));
    Stop();
    // Opened again it shows what was chosen; Show all, then every line again.
    ASSERT_EQ(OpenFilter(), dialog);
    EXPECT_FALSE(ListRowChecked(list, paint));
    EXPECT_EQ(WindowText(field), "0x401");
    ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));
    ASSERT_TRUE(App().WaitForWindowGone("TFormMessageFilter"));
    ShowAllMessages();
    Clear();
    Start();
    EXPECT_EQ(SequenceLines(CatchSequence(false), false), ExpectedSequenceLines(registered_));
    Stop();
    Clear();
}

TEST_F(CatchTest, HideThisMessageOnALineOfTheLogHidesThatMessageFromThenOn) {
    Open();
    Clear();
    Start();
    const std::vector<std::string> lines = CatchSequence(false);
    Stop();
    std::size_t mouseMove = 0;
    for (std::size_t i = 1; i < lines.size() && !mouseMove; ++i)
        if (LineMessage(lines[i], false) == WM_MOUSEMOVE) mouseMove = i;
    ASSERT_NE(mouseMove, 0u);
    ASSERT_TRUE(Activate(catch_));
    ClickAt(ScreenMiddle(LineIndex(static_cast<int>(mouseMove)) + 20), MouseButton::Right);
    ASSERT_NE(WaitForPopupMenu(), nullptr);
    PressKey('H');
    ASSERT_TRUE(WaitFor([&] {
        for (HWND w : App().Windows())
            if (::IsWindowVisible(w) && ClassNameOf(w) == "#32768") return false;
        return true;
    }, kWaitTimeout, "the menu closed"));
    ASSERT_TRUE(Send(catch_, WM_NULL, 0, 0).has_value());
    Clear();
    Start();
    EXPECT_EQ(SequenceLines(CatchSequence(false), false), ExpectedWithout({"WM_MOUSEMOVE"}));
    Stop();
    ShowAllMessages();
    Clear();
}

TEST_F(CatchTest, FindSelectsTheNextLineHoldingTheTextInViewAndF3GoesRoundWithANotice) {
    Open();
    std::vector<std::string> sample = {kHeader, "alpha WM_PAINT"};
    for (int i = 2; i < 300; ++i) sample.push_back(i == 250 ? "line 250 needle" : "line " + std::to_string(i));
    sample.push_back("omega wm_paint");
    ASSERT_TRUE(SetWindowTextRemote(memo_, Joined(sample)));
    HWND status = ::GetDlgItem(catch_, ctl::CatchStatus);
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(::IsWindowVisible(status));
    RECT client{};
    ::GetClientRect(memo_, &client);
    const int visible = client.bottom / std::max<LONG>(1, Cell().cy);
    // Ctrl+F: the field holds the last text; a new one is typed and OK pressed.
    auto find = [&](const std::string& kept, const std::string& text) {
        PressKey('F', true);
        HWND dialog = App().WaitForWindow("TFormLogFind", "Find in the log");
        ASSERT_NE(dialog, nullptr);
        HWND field = ::GetDlgItem(dialog, ctl::Edit1);
        EXPECT_EQ(WindowText(field), kept);
        ASSERT_TRUE(SetWindowTextRemote(field, text));
        ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
        ASSERT_TRUE(App().WaitForWindowGone("TFormLogFind"));
    };
    // The line found selected whole and in view; the notice under the log.
    auto expectFound = [&](int line, const std::string& notice) {
        const DWORD start = LineIndex(line);
        EXPECT_TRUE(WaitForSelection(start, start + static_cast<DWORD>(sample[static_cast<std::size_t>(line)].size()),
                                     "line " + std::to_string(line)));
        const LRESULT first = Send(memo_, EM_GETFIRSTVISIBLELINE, 0, 0).value_or(-1);
        EXPECT_LE(first, line);
        EXPECT_GT(first + visible, line);
        EXPECT_TRUE(WaitFor([&] { return WindowText(status) == notice; }, kWaitTimeout, notice));
    };
    ASSERT_TRUE(Activate(catch_));
    ASSERT_NO_FATAL_FAILURE(find("", "Wm_Paint"));
    expectFound(1, "Found \"Wm_Paint\" in line 1.");
    EXPECT_TRUE(::IsWindowVisible(status));
    PressKey(VK_F3);
    expectFound(300, "Found \"Wm_Paint\" in line 300.");
    PressKey(VK_F3);
    expectFound(1, "Passed the end of the log and went on from the top: found \"Wm_Paint\" in line 1.");
    // The field keeps the last text; a text found nowhere leaves the selection.
    ASSERT_NO_FATAL_FAILURE(find("Wm_Paint", "needle"));
    expectFound(250, "Found \"needle\" in line 250.");
    ASSERT_NO_FATAL_FAILURE(find("needle", "nowhere"));
    EXPECT_TRUE(WaitFor([&] { return WindowText(status) == "\"nowhere\" is not in the log."; }, kWaitTimeout,
                        "the notice of a text found nowhere"));
    EXPECT_EQ(Selection(), std::make_pair(LineIndex(250), LineIndex(250) + 15));
    EXPECT_EQ(App().FindWindowOfClass("#32770", "", true), nullptr);  // no box
    Clear();
}

}  // namespace
}  // namespace vantrel::e2e
