// What the hook library captures, end to end: the fixture's capture windows
// (on two threads) are watched through the library by the catcher, which
// plays the program's side of the channel, and the window and details column
// of each line are compared with what the scripted messages carry: marks,
// nesting and returns, decoded parameters, texts and structures read inside
// the fixture, addresses that cannot be read; the four watches; windows and
// threads made after Start; the details switched while catching; Vantrel
// answering and painting while its Start waits for the companion.

#include "hooklib/hook_channel.h"
#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vantrel::e2e {
namespace {

std::string CatcherExe() { return BuildDir() + "\\vantrel_catcher.exe"; }

std::string Hex(HWND window) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", HandleValue(window));
    return text;
}

// A catcher's line: "<message> <window> {<class>} | <details>".
struct Line {
    std::string message, target, details;
};

class CaptureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fixture_ = Fixture::Start("--only capture"); }
    static void TearDownTestSuite() {
        if (fixture_) fixture_->Stop();
        fixture_.reset();
    }
    void SetUp() override { ASSERT_TRUE(fixture_ && fixture_->Command("ping")); }
    void TearDown() override { EndCatcher(); }

    void EndCatcher() {
        if (!catcher_) return;
        catcher_->Command("stop");
        catcher_->Stop();
        catcher_.reset();
    }

    // A catcher watching window as asked (through the companion with the test switch).
    void Catch(HookWatch watch, bool details, const std::string& window, bool throughCompanion = false) {
        EndCatcher();
        ::SetEnvironmentVariableA("VANTREL_HOOK_COMPANION", throughCompanion ? "1" : nullptr);
        catcher_ = Fixture::StartProgram(CatcherExe());
        ::SetEnvironmentVariableA("VANTREL_HOOK_COMPANION", nullptr);
        ASSERT_TRUE(Options(watch, details));
        ASSERT_TRUE(catcher_->Command("start " + std::to_string(HandleValue(fixture_->Window(window)))))
            << "Start refused";
    }
    bool Options(HookWatch watch, bool details) {
        return catcher_->Command("options " + std::to_string(static_cast<unsigned>(watch)) + (details ? " 1" : " 0"))
            .has_value();
    }

    std::vector<Line> Lines() {
        std::vector<Line> lines;
        for (const std::string& text : SplitLines(catcher_->Command("lines").value_or(""))) {
            const std::size_t space = text.find(' '), bar = text.find(" | ");
            if (space == std::string::npos || bar == std::string::npos) continue;
            lines.push_back({text.substr(0, space), text.substr(space + 1, bar - space - 1), text.substr(bar + 3)});
        }
        return lines;
    }
    // The lines once count lines of the message came.
    std::vector<Line> LinesUntil(const std::string& message, int count = 1) {
        std::vector<Line> lines;
        WaitFor([&] {
            lines = Lines();
            return std::count_if(lines.begin(), lines.end(), [&](const Line& l) { return l.message == message; }) >=
                   count;
        }, kWaitTimeout, "the lines of message " + message);
        if (HasFailure()) Print(lines);
        return lines;
    }
    static void Print(const std::vector<Line>& lines) {
        for (const Line& l : lines)
            std::printf("  %s %s | %s\n", l.message.c_str(), l.target.c_str(), l.details.c_str());
    }
    std::string Target(const std::string& window, const std::string& className) {
        return Hex(fixture_->Window(window)) + " {" + className + "}";
    }

    static std::unique_ptr<Fixture> fixture_;
    std::unique_ptr<Fixture> catcher_;
};
std::unique_ptr<Fixture> CaptureTest::fixture_;

TEST_F(CaptureTest, TheScriptedMessagesReadWithTheirMarksNestingReturnsParametersTextsAndStructures) {
    Catch(HookWatch::Descendants, true, "cap_main");
    ASSERT_TRUE(fixture_->Command("capture-script"));
    const std::vector<Line> lines = LinesUntil("0477");
    const std::string main = Target("cap_main", "VantrelCaptureMain");
    const std::string list = Hex(fixture_->Window("cap_list")), edit = Hex(fixture_->Window("cap_edit"));
    // In the order they came; a line "returned" follows its send, nested
    // sends one step further in.
    const std::vector<Line> expected = {
        {"0005", main, "sent     SIZE_RESTORED 400 x 300"},
        {"0005", main, "returned result=0 (0x00000000)"},
        {"000C", main, "sent     \"Привет\""},
        {"000D", main, "returned result=6 (0x00000006) \"Привет\""},
        {"0047", main, "sent     WINDOWPOS (50,60) 330 x 250"},
        {"004E", main, "sent       LVN_ITEMCHANGED id=102 from=" + list +
                           " {SysListView32} item=1 changed=LVIF_STATE new=LVIS_SELECTED old=0"},
        {"0111", main, "sent       EN_CHANGE id=101 from=" + edit + " {Edit}"},
        {"1132", Target("cap_tree", "SysTreeView32"), "sent     TVM_INSERTITEMW"},
        {"C", main, "sent     VantrelCaptureMessage"},
        {"0430", main, "sent"},
        {"0431", main, "sent"},
        {"0431", main, "returned   result=49 (0x00000031)"},
        {"0430", main, "returned result=48 (0x00000030)"},
        {"0100", main, "posted   'F' repeat=1 scan=0x21"},
        {"0102", main, "posted   'Ж' U+0416 repeat=1 scan=0x21"},
        {"0201", main, "posted   MK_LBUTTON x=10 y=20"},
    };
    auto next = lines.begin();
    // Lines that may say more after what is compared: the rest of a
    // structure, and in a 64-bit fixture the whole value of a pointer to its
    // image, which lies above 4 GB.
    const std::set<std::string> longer = {"0047", "0102", "000C"};
    for (const Line& want : expected) {
        next = std::find_if(next, lines.end(), [&](const Line& l) {
            return l.message.rfind(want.message, 0) == 0 && l.target == want.target &&
                   l.details.rfind(want.details, 0) == 0 &&
                   (l.details.size() == want.details.size() || longer.count(want.message));
        });
        if (next == lines.end()) Print(lines);
        ASSERT_NE(next, lines.end()) << "no line " << want.message << " " << want.details << " in order";
        ++next;
    }
}

TEST_F(CaptureTest, EachWatchTakesItsWindowsOnBothThreadsAndNamesTheWindowEachLineWentTo) {
    struct Case {
        HookWatch watch;
        std::set<std::string> messages;
        int ends;
    } cases[] = {
        {HookWatch::Window, {"0452"}, 1},
        {HookWatch::Descendants, {"0451", "0452", "0453"}, 1},
        {HookWatch::Thread, {"0452", "0453"}, 1},
        {HookWatch::Process, {"0450", "0451", "0452", "0453"}, 2},
    };
    const std::map<std::string, std::string> targets = {
        {"0450", Target("cap_second", "VantrelCaptureSecond")},
        {"0451", Target("cap_crosschild", "VantrelCaptureSecond")},
        {"0452", Target("cap_main", "VantrelCaptureMain")},
        {"0453", Target("cap_tree", "SysTreeView32")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("watch " + std::to_string(static_cast<unsigned>(c.watch)));
        Catch(c.watch, false, "cap_main");
        ASSERT_TRUE(fixture_->Command("capture-threads"));
        std::set<std::string> caught;
        for (const Line& line : LinesUntil("0477", c.ends)) {
            if (!targets.count(line.message)) continue;
            caught.insert(line.message);
            // Details off: the window alone, and only where the watch is wider.
            if (c.watch == HookWatch::Window) EXPECT_EQ(line.target + " " + line.details, "- -");
            else EXPECT_EQ(line.target, targets.at(line.message));
        }
        EXPECT_EQ(caught, c.messages);
    }
}

TEST_F(CaptureTest, AProcessWatchTakesWindowsAndThreadsMadeAfterStartDirectlyAndThroughTheCompanion) {
    for (const bool throughCompanion : {false, true}) {
        SCOPED_TRACE(throughCompanion ? "through the companion" : "directly");
        Catch(HookWatch::Process, true, "cap_main", throughCompanion);
        ASSERT_TRUE(fixture_->Command("create-late-child"));
        ASSERT_TRUE(fixture_->Command("create-late-thread"));
        const std::vector<Line> lines = LinesUntil("0477");
        const std::string late = Target("cap_late", "Static");
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const Line& l) {
            return l.message == "0001" && l.target == late && l.details.rfind("sent", 0) == 0 &&
                   l.details.find(" CREATESTRUCT (60,5) 60 x 20 ") != std::string::npos &&
                   l.details.find("name=\"Late child\" class=\"Static\" parent=" + Hex(fixture_->Window("cap_main"))) !=
                       std::string::npos;
        })) << "no WM_CREATE of the child made after Start";
        const std::string third = Target("cap_third", "VantrelCaptureSecond");
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const Line& l) { return l.message == "0454" && l.target == third; }))
            << "no message of the thread started after Start";
        if (HasFailure()) Print(lines);
        ASSERT_TRUE(fixture_->Command("destroy cap_late"));
        ASSERT_TRUE(fixture_->Command("destroy cap_third"));
    }
}

TEST_F(CaptureTest, AddressesThatCannotBeReadAreMarkedAndTheProgramKeepsRunning) {
    Catch(HookWatch::Descendants, true, "cap_main");
    ASSERT_TRUE(fixture_->Command("capture-unreadable"));
    const std::vector<Line> lines = LinesUntil("000D", 2);
    const std::string text = Target("cap_text", "VantrelCaptureText");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const Line& l) {
                  return l.message == "000C" && l.target == text && l.details == "sent       (address not readable)";
              }), 4);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const Line& l) {
        return l.message == "000D" && l.details == "returned   result=5 (0x00000005) (address not readable)";
    }));
    EXPECT_EQ(fixture_->Command("ping").value_or(""), "pong");
}

TEST_F(CaptureTest, DetailsSwitchedOnWhileCatchingComeWithTheNextMessage) {
    Catch(HookWatch::Window, false, "cap_main");
    ASSERT_TRUE(fixture_->Command("send cap_main 0x0460 1 2"));
    LinesUntil("0460");
    ASSERT_TRUE(Options(HookWatch::Window, true));
    ASSERT_TRUE(fixture_->Command("send cap_main 0x0461 1 2"));
    const std::vector<Line> lines = LinesUntil("0461", 2);
    const std::string main = Target("cap_main", "VantrelCaptureMain");
    std::vector<std::string> seen;
    for (const Line& l : lines)
        if (l.message == "0460" || l.message == "0461") seen.push_back(l.message + " " + l.target + " | " + l.details);
    EXPECT_EQ(seen, (std::vector<std::string>{"0460 - | -", "0461 " + main + " | sent",
                                              "0461 " + main + " | returned result=0 (0x00000000)"}));
}

TEST_F(CaptureTest, InVantrelsWindowAProcessWatchWithDetailsExplainsEachMessageAndSavesItAsUtf8) {
    // The whole road once: the library in the fixture reports to the Catch
    // Messages window of a running Vantrel, which decodes and logs.
    std::unique_ptr<Vantrel> app = Vantrel::Start();
    const CatchSession session = CatchSession::Open(*app, fixture_->Window("cap_main"));
    ASSERT_TRUE(session.Command(cmd::MenuViewDetails));
    ASSERT_TRUE(session.Command(cmd::MenuWatchProcess));
    ASSERT_TRUE(session.Start());
    ASSERT_TRUE(fixture_->Command("capture-script"));
    // A line's message number (decimal) and what follows its own columns.
    auto parse = [](const std::string& line) {
        const unsigned message = line.size() > 99 ? static_cast<unsigned>(std::strtoul(line.c_str() + 16, nullptr, 10))
                                                  : 0;
        return std::make_pair(message, line.size() > 99 ? line.substr(99) : std::string());
    };
    std::vector<std::string> lines;
    WaitFor([&] {
        lines = SplitLines(session.Log());
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return parse(l).first == 0x477; });
    }, kWaitTimeout, "the end of the script in the log");
    // The script runs inside the fixture's command, a WM_COPYDATA to its
    // control window, which the process watch sees too: its sends are
    // nested one step in.
    const std::string main = Target("cap_main", "VantrelCaptureMain");
    const std::vector<std::pair<unsigned, std::string>> expected = {
        {0x0005, " | " + main + " | sent       SIZE_RESTORED 400 x 300"},
        {0x000D, " | " + main + " | returned   result=6 (0x00000006) \"Привет\""},
        {0x1132, " | " + Target("cap_tree", "SysTreeView32") + "   | sent       TVM_INSERTITEMW"},
        {0x0431, " | " + main + " | returned     result=49 (0x00000031)"},
        {0x0102, " | " + main + " | posted   'Ж' U+0416 repeat=1 scan=0x21"},
    };
    auto next = lines.begin();
    for (const auto& [message, column] : expected) {
        next = std::find_if(next, lines.end(), [&](const std::string& l) {
            const auto [number, rest] = parse(l);
            return number == message && rest.rfind(column, 0) == 0;
        });
        if (next == lines.end()) {
            ADD_FAILURE() << "no line " << message << column << " in order in:\n" << session.Log();
            break;
        }
        ++next;
    }
    ASSERT_TRUE(session.Stop());

    // The texts read in the fixture are outside the ANSI code page: the
    // first file type asks once, and Yes writes the pane's lines as UTF-8.
    const std::string path = BuildDir() + "\\e2e-temp\\details-log.txt";
    ::CreateDirectoryA((BuildDir() + "\\e2e-temp").c_str(), nullptr);
    ::DeleteFileA(path.c_str());
    const SaveOutcome outcome = SaveLogAs(*app, session.window, path, 0, 60000, 1, IDYES);
    EXPECT_EQ(outcome.problem, "");
    EXPECT_TRUE(outcome.lossAsked);
    EXPECT_TRUE(outcome.finished);
    EXPECT_EQ(FileBytes(path), session.Log() + "\r\n");
    session.Close();
    EXPECT_TRUE(app->Stop());
}

// Whether a process of that program name runs.
bool ProgramRuns(const char* name) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = ::Process32First(snapshot, &entry); more && !found; more = ::Process32Next(snapshot, &entry))
        found = ::lstrcmpiA(entry.szExeFile, name) == 0;
    ::CloseHandle(snapshot);
    return found;
}

TEST_F(CaptureTest, WhileStartWaitsForTheCompanionVantrelAnswersAndPaints) {
    // A companion that never shows its window (the fixture program in its
    // place): Start waits its full time for it, then says it is missing.
    const std::string folder = BuildDir() + "\\e2e-temp\\silent-companion";
    const char* companion = sizeof(void*) == 8 ? "vantrel64.exe" : "vantrel32.exe";
    ::CreateDirectoryA((BuildDir() + "\\e2e-temp").c_str(), nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(VantrelExePath().c_str(), (folder + "\\vantrel.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(HookDllPath().c_str(), (folder + "\\VANTREL.DLL").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(FixtureExePath().c_str(), (folder + "\\" + companion).c_str(), FALSE));
    ::SetEnvironmentVariableA("VANTREL_HOOK_COMPANION", "1");
    std::unique_ptr<Vantrel> app = Vantrel::StartProgram(folder + "\\vantrel.exe");
    ::SetEnvironmentVariableA("VANTREL_HOOK_COMPANION", nullptr);
    const CatchSession session = CatchSession::Open(*app, fixture_->Window("cap_main"));
    const DWORD pressed = ::GetTickCount();
    ASSERT_TRUE(session.Command(cmd::MenuCatchRun));
    ASSERT_TRUE(WaitFor([&] { return ProgramRuns(companion); }, kWaitTimeout, "the companion started"));
    // Past the time after which the system takes a window for hung, it
    // answers what is sent to it and paints.
    WaitUntil([&] {
        EXPECT_TRUE(Send(session.window, WM_NULL, 0, 0, 1000).has_value());
        return ::GetTickCount() - pressed >= 6000 || !ProgramRuns(companion);
    }, 10000);
    ASSERT_TRUE(ProgramRuns(companion)) << "Start gave up before the test could look";
    EXPECT_FALSE(::IsHungAppWindow(app->MainWindow()));
    ::InvalidateRect(session.window, nullptr, FALSE);
    EXPECT_TRUE(WaitFor([&] { return !::GetUpdateRect(session.window, nullptr, FALSE); }, 5000,
                        "the Catch Messages window painted"));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = app->FindWindowOfClass("#32770", "", true)) != nullptr; }, 60000,
                        "Start to give up"));
    EXPECT_NE(StaticText(box).find("The hook companion"), std::string::npos) << StaticText(box);
    ClickDialogButton(box, IDOK);
    app->WaitForWindowGone("#32770");
    session.Close();
    EXPECT_TRUE(app->Stop());
}

}  // namespace
}  // namespace vantrel::e2e
