// The message log's rules: line formats, time stamps, names in hexadecimal
// mode, the category switches, Hide repetitions and the saved file's bytes.

#include "catch/catch_log.h"
#include "catch/catch_window_tables.h"
#include "catch/int2msg.h"
#include "shell/command_ids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using vantrel::CatchLog;
using vantrel::Category;
using vantrel::HookRecord;

// A record as the program reads it.
HookRecord Record(std::uint32_t message, std::uint32_t time = 0, std::uint32_t wParam = 0,
                  std::uint32_t lParam = 0, std::int32_t x = 0, std::int32_t y = 0) {
    HookRecord r{};
    r.message = message;
    r.time = time;
    r.wParam = wParam;
    r.lParam = lParam;
    r.x = x;
    r.y = y;
    return r;
}

std::string Line(std::uint32_t message, bool hex, std::uint32_t time = 0, std::uint32_t wParam = 0,
                 std::uint32_t lParam = 0, std::int32_t x = 0, std::int32_t y = 0) {
    CatchLog log;
    auto line = log.Take(Record(message, time, wParam, lParam, x, y), hex);
    return line ? *line : "<none>";
}

// The messages a sequence leaves in the log, by number.
std::vector<std::uint32_t> Logged(CatchLog& log, const std::vector<std::uint32_t>& messages) {
    std::vector<std::uint32_t> out;
    for (std::uint32_t m : messages)
        if (log.Take(Record(m), false)) out.push_back(m);
    return out;
}

constexpr std::uint32_t kTimer = 0x113, kPaint = 0x0F, kMouseMove = 0x200, kChar = 0x102;

TEST(CatchLogHeader, Has91CharactersWithBarsInTheLineColumns) {
    const std::string_view h = vantrel::kLogHeader;
    EXPECT_EQ(h.size(), 91u);
    std::vector<std::size_t> bars;
    for (std::size_t i = 0; i < h.size(); ++i)
        if (h[i] == '|') bars.push_back(i);
    EXPECT_EQ(bars, (std::vector<std::size_t>{14, 53, 67, 81}));
    const std::string line = Line(0x50, false, 1, 2, 3, 4, 5);  // the longest name fills its field exactly
    std::vector<std::size_t> lineBars;
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '|') lineBars.push_back(i);
    EXPECT_EQ(lineBars, bars);
    EXPECT_NE(line.find("- WM_INPUTLANGCHANGEREQUEST |"), std::string::npos);
}

TEST(CatchLogLine, ExamplesInBothModes) {
    EXPECT_EQ(Line(0x0F, true, 3723004, 0, 0, 10, 20),
              "01:02:03::004 |        F - WM_PAINT                  |           0 |           0 | x=10 y=20");
    EXPECT_EQ(Line(0x0F, false, 3723004, 0, 0, 10, 20),
              "01:02:03::004 |       15 - WM_PAINT                  |           0 |           0 | x=10 y=20");
    EXPECT_EQ(Line(49393, true, 5, 0, 0xFFFFFFFF, -3, 7),
              "00:00:00::005 |     C0F1 - WM_USER+BCF1              |           0 |    FFFFFFFF | x=-3 y=7");
    EXPECT_EQ(Line(49393, false, 5, 0, 0xFFFFFFFF, -3, 7),
              "00:00:00::005 |    49393 - WM_USER+48369             |           0 |          -1 | x=-3 y=7");
}

TEST(CatchLogLine, WideValuesAndUnnamedNumbers) {
    // Hexadecimal fields are unsigned with upper-case digits; decimal ones signed.
    EXPECT_EQ(Line(0x118, true, 0, 0xABCDEF12, 0x7FFFFFFF, 0, 0),
              "00:00:00::000 |      118 -                           |    ABCDEF12 |    7FFFFFFF | x=0 y=0");
    EXPECT_EQ(Line(0x118, false, 0, 0xFFFFFFFE, 0x80000000, -2147483647 - 1, 2147483647),
              "00:00:00::000 |      280 -                           |          -2 | -2147483648 | "
              "x=-2147483648 y=2147483647");
    EXPECT_EQ(Line(0xFFFFFFFF, false), "00:00:00::000 |       -1 -                           |           0 |"
                                       "           0 | x=0 y=0");
}

TEST(CatchLogTime, StampsWrapEvery24Hours) {
    EXPECT_EQ(vantrel::TimeStamp(0), "00:00:00::000");
    EXPECT_EQ(vantrel::TimeStamp(3723004), "01:02:03::004");
    EXPECT_EQ(vantrel::TimeStamp(90061001), "01:01:01::001");
    EXPECT_EQ(vantrel::TimeStamp(4294967295u), "17:02:47::295");
    EXPECT_EQ(vantrel::TimeStamp(86399999), "23:59:59::999");
    EXPECT_EQ(vantrel::TimeStamp(86400000), "00:00:00::000");
}

TEST(CatchLogName, HexadecimalModeRenamesEveryNumberAboveWmUser) {
    auto name = [](std::uint32_t n, bool hex) {
        return vantrel::DisplayName(n, vantrel::MessageName(static_cast<std::int32_t>(n)), hex);
    };
    EXPECT_EQ(name(0x0401, true), "WM_USER+1");
    EXPECT_EQ(name(0x0410, true), "WM_USER+10");
    EXPECT_EQ(name(0x8000, true), "WM_USER+7C00");
    EXPECT_EQ(name(0x0410, false), "WM_USER+16");
    EXPECT_EQ(name(0x8000, false), "WM_APP");
    EXPECT_EQ(name(0x0400, true), "WM_USER");
    EXPECT_EQ(name(0x0400, false), "WM_USER");
    EXPECT_EQ(name(0xFFFFFFFF, true), "WM_USER+FFFFFBFF");
    EXPECT_EQ(name(0x0F, true), "WM_PAINT");
}

TEST(CatchFilterCategories, EachSwitchGovernsItsListedMessages) {
    using vantrel::CategoriesOf;
    auto cat = [](std::uint32_t n) { return CategoriesOf(n, vantrel::MessageName(static_cast<std::int32_t>(n))); };
    const unsigned paint = 1u << int(Category::Paint), timer = 1u << int(Category::Timer),
                   mouse = 1u << int(Category::Mouse), keyb = 1u << int(Category::Keyboard),
                   cursor = 1u << int(Category::Cursor), other = 1u << int(Category::Other);
    // Independently listed members of each category.
    const std::vector<std::uint32_t> paints = {0x85, 0x0F, 0x309, 0x26};
    const std::vector<std::uint32_t> mice = {0x21, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8,
                                             0xA9, 0x200, 0x201, 0x202, 0x203, 0x204, 0x205, 0x206, 0x207,
                                             0x208, 0x209, 0x20A, 0x122, 0x2A1, 0x2A3};
    const std::vector<std::uint32_t> keys = {0x2E, 0x32, 0x33, 0x100, 0x101, 0x104, 0x105, 0x108, 0x290, 0x291, 0x312};
    unsigned listed = 0;
    for (auto n : paints) { EXPECT_EQ(cat(n), paint) << n; }
    for (auto n : mice) { EXPECT_EQ(cat(n), mouse) << n; }
    for (auto n : keys) { EXPECT_EQ(cat(n), keyb) << n; }
    EXPECT_EQ(cat(0x113), timer);
    EXPECT_EQ(cat(280), cursor);
    // Everything else up to the registered messages is Other, one category each.
    for (std::uint32_t n = 0; n <= 0x10000; ++n) {
        const unsigned c = cat(n);
        EXPECT_EQ(c & (c - 1), 0u) << "several categories for " << n;
        if (c != other) ++listed;
    }
    EXPECT_EQ(listed, paints.size() + mice.size() + keys.size() + 2);
    for (auto n : {0x102u, 0x106u, 0x103u, 0x20u, 0x14u, 0x400u, 0x8000u, 0x401u, 0xC0F1u, 0x119u})
        EXPECT_EQ(cat(n), other) << n;
}

TEST(CatchFilterCategories, SwitchesDropOnlyTheirOwnMessages) {
    CatchLog log;
    log.filter[Category::Cursor] = false;
    EXPECT_EQ(Logged(log, {280, kChar, kTimer}), (std::vector<std::uint32_t>{kChar, kTimer}));
    log.filter[Category::Cursor] = true;
    log.filter[Category::Other] = false;
    EXPECT_EQ(Logged(log, {280, kChar, 0x20, kTimer}), (std::vector<std::uint32_t>{280, kTimer}));
    log.filter[Category::Other] = true;
    log.filter[Category::Keyboard] = false;
    log.filter[Category::Mouse] = false;
    EXPECT_EQ(Logged(log, {0x100, kChar, 0x122, kMouseMove, 0x20}), (std::vector<std::uint32_t>{kChar, 0x20}));
}

TEST(CatchLogRepetitions, HiddenRepetitionsCompareNumbersOnly) {
    CatchLog log;
    log.hideRepetitions = true;
    // The last message number starts at 0: a first WM_NULL is a repetition.
    EXPECT_EQ(Logged(log, {0, kTimer, kTimer, kPaint, kTimer}), (std::vector<std::uint32_t>{kTimer, kPaint, kTimer}));
    EXPECT_FALSE(log.Take(Record(kTimer, 1, 5, 6, 7, 8), false));
    EXPECT_TRUE(log.Take(Record(kMouseMove, 0, 0, 0, 1, 1), false));
    EXPECT_FALSE(log.Take(Record(kMouseMove, 0, 0, 0, 2, 2), false));
}

TEST(CatchLogRepetitions, DroppedMessageStillBecomesTheLastNumber) {
    CatchLog log;
    log.hideRepetitions = true;
    log.filter[Category::Paint] = false;
    EXPECT_EQ(Logged(log, {kTimer, kPaint, kTimer}), (std::vector<std::uint32_t>{kTimer, kTimer}));
    EXPECT_EQ(log.lastMessage, kTimer);
    // Off: every message counts, and the last number still follows.
    log.hideRepetitions = false;
    log.filter[Category::Paint] = true;
    EXPECT_EQ(Logged(log, {kTimer, kTimer}), (std::vector<std::uint32_t>{kTimer, kTimer}));
    log.hideRepetitions = true;
    EXPECT_EQ(Logged(log, {kTimer}), (std::vector<std::uint32_t>{}));
}

TEST(CatchLogReports, EveryAnnouncedRecordIsLoggedAndGapsInTheNumbersAreCounted) {
    CatchLog log;
    vantrel::AnnouncedReport report{Record(kTimer, 0, 1), 7};
    EXPECT_TRUE(log.Take(report, false));
    // Announced again (a notification handled late, or a record written by a
    // library that numbers nothing): logged again, nothing missed.
    EXPECT_TRUE(log.Take(report, false));
    report.number = std::nullopt;
    EXPECT_TRUE(log.Take(report, false));
    report.number = 11;  // 8 to 10 went by unlogged
    EXPECT_TRUE(log.Take(report, false));
    EXPECT_EQ(log.reports.Missed(), 3u);
    // A number that goes back is a record made afresh; the number wraps.
    for (std::uint32_t number : {0xFFFFFFFEu, 0u, 2u, 1u}) {
        report.number = number;
        EXPECT_TRUE(log.Take(report, false)) << number;
    }
    EXPECT_EQ(log.reports.Missed(), 5u);
    // Catching again: numbers written meanwhile by others are no misses.
    log.reports.ForgetMissed();
    log.reports.Restart();
    for (std::uint32_t number : {500u, 502u}) {
        report.number = number;
        EXPECT_TRUE(log.Take(report, false));
    }
    EXPECT_EQ(log.reports.Missed(), 1u);
}

TEST(CatchLogReports, TheRecordIsReadFromOffset16AndOnlyWhenWhole) {
    // The library's 16 bytes hold anything; the message part a known record.
    HookRecord written = Record(kTimer, 1000, 3, 4, -5, 6);
    unsigned char bytes[sizeof(HookRecord)];
    std::memcpy(bytes, &written, sizeof bytes);
    std::memset(bytes, 0xEE, 16);
    vantrel::HookDetailsHeader header{};
    auto read = vantrel::ReadAnnouncedReport(bytes, header);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->record.notifyWindow | read->record.watchedWindow | read->record.writerLock |
                  read->record.sequence, 0u);
    EXPECT_EQ(std::memcmp(&read->record.hwnd, bytes + 16, sizeof bytes - 16), 0);
    EXPECT_FALSE(read->number);  // a header no writer used: no number
    header.wholeCount = 6;
    header.reportNumber = 9;
    read = vantrel::ReadAnnouncedReport(bytes, header);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->number, 9u);
    header.wholeCount = 7;  // a writer is writing
    EXPECT_FALSE(vantrel::ReadAnnouncedReport(bytes, header));
}

TEST(CatchLogColumns, TargetAndDetailsFollowTheLinesOwnColumnsLinedUp) {
    using vantrel::LineWithColumns;
    const std::string own = Line(kTimer, false, 0, 1, 2, 30, 40);
    EXPECT_EQ(LineWithColumns(own, "", ""), own);
    const std::string padded = own + std::string(99 - own.size(), ' ');
    EXPECT_EQ(LineWithColumns(own, "", "posted   id=1"), padded + " | posted   id=1");
    EXPECT_EQ(LineWithColumns(own, "0x00010020 {Edit}", ""), padded + " | 0x00010020 {Edit}");
    EXPECT_EQ(LineWithColumns(own, "0x00010020 {A\r\nB}", "sent"),
              padded + " | 0x00010020 {A  B}" + std::string(11, ' ') + " | sent");
    // Nothing is cut: longer columns push the next ones.
    const std::string longOwn(120, 'o'), longTarget(40, 't');
    EXPECT_EQ(LineWithColumns(longOwn, longTarget, "d"), longOwn + " | " + longTarget + " | d");
}

TEST(CatchLogColumns, DetailsFollowTheirReportAndAReturnFollowsTheFateOfItsSend) {
    using vantrel::DetailMark;
    constexpr std::uint32_t kGetTextLength = 0x0E, kSize = 0x05, kSizeLParam = (300u << 16) | 400u;
    auto report = [](std::uint32_t message, DetailMark mark, std::uint8_t depth = 0, std::uint32_t lParam = 0) {
        vantrel::AnnouncedReport r{Record(message, 0, 0, lParam), std::nullopt, vantrel::MessageDetails{}};
        r.record.hwnd = 0x00010020;
        vantrel::MessageDetails& d = *r.details;
        d.window = r.record.hwnd;
        d.message = message;
        d.lParam = lParam;
        d.thread = 5;
        d.mark = static_cast<std::uint8_t>(mark);
        d.depth = depth;
        d.result = 4;
        d.windowClass[0] = u'E';
        return r;
    };
    auto with = [](const std::string& own, const std::string& column) {
        return own + std::string(99 - own.size(), ' ') + " | " + column;
    };
    const std::string sizeLine = Line(kSize, false, 0, 0, kSizeLParam), lengthLine = Line(kGetTextLength, false);
    CatchLog log;
    // Off: a send's line is the line as ever, its return no line at all.
    EXPECT_EQ(log.Take(report(kSize, DetailMark::Sent, 0, kSizeLParam), false), sizeLine);
    EXPECT_EQ(log.Take(report(kSize, DetailMark::Returned), false), std::nullopt);
    log.details = true;
    EXPECT_EQ(log.Take(report(kSize, DetailMark::Posted, 0, kSizeLParam), false),
              with(sizeLine, "posted   SIZE_RESTORED 400 x 300"));
    EXPECT_EQ(log.Take(report(kGetTextLength, DetailMark::Sent), false), with(lengthLine, "sent"));
    EXPECT_EQ(log.Take(report(kGetTextLength, DetailMark::Returned), false),
              with(lengthLine, "returned result=4 (0x00000004)"));
    // Hidden as a repetition, the send takes its return along; a return is
    // no message of its own, so the next send is a repetition too. A send
    // nested in a logged one and filtered out drops only its own return.
    log.hideRepetitions = true;
    EXPECT_EQ(log.Take(report(kGetTextLength, DetailMark::Sent), false), std::nullopt);
    EXPECT_EQ(log.Take(report(kGetTextLength, DetailMark::Returned), false), std::nullopt);
    EXPECT_EQ(log.Take(report(kGetTextLength, DetailMark::Sent), false), std::nullopt);
    log.hideRepetitions = false;
    log.filter[Category::Timer] = false;
    EXPECT_TRUE(log.Take(report(kSize, DetailMark::Sent), false));
    EXPECT_FALSE(log.Take(report(kTimer, DetailMark::Sent, 1), false));
    EXPECT_FALSE(log.Take(report(kTimer, DetailMark::Returned, 1), false));
    EXPECT_TRUE(log.Take(report(kSize, DetailMark::Returned), false));
    // A return whose send came before catching began has no fate: no line.
    EXPECT_FALSE(log.Take(report(kSize, DetailMark::Returned, 3), false));

    // A wide watch names the window of every line, from the details or,
    // without them, from the record.
    log.details = false;
    log.targets = true;
    EXPECT_EQ(log.Take(report(kGetTextLength, DetailMark::Sent), false), with(lengthLine, "0x00010020 {E}"));
    vantrel::AnnouncedReport bare = report(kGetTextLength, DetailMark::Sent);
    bare.details.reset();
    EXPECT_EQ(log.Take(bare, false), with(lengthLine, "0x00010020"));

    // A return from the library's ring: its record made from the entry.
    vantrel::ReturnEntry entry{};
    entry.reportNumber = 41;
    entry.time = 3723004;
    entry.x = -3;
    entry.y = 7;
    entry.details = *report(kSize, DetailMark::Returned, 0, kSizeLParam).details;
    entry.details.wParam = 0x1'00000002;
    const vantrel::AnnouncedReport back = vantrel::ReturnedReport(entry);
    EXPECT_EQ(back.number, 41u);
    EXPECT_EQ(std::make_tuple(back.record.hwnd, back.record.message, back.record.wParam, back.record.lParam,
                              back.record.time, back.record.x, back.record.y),
              std::make_tuple(0x00010020u, kSize, 2u, kSizeLParam, 3723004u, -3, 7));
    ASSERT_TRUE(back.details);
    EXPECT_TRUE(vantrel::DetailsMatch(back.record, *back.details));
}

TEST(CatchLogReports, DetailsAreTakenWithAWholeRecordOnlyWhenTheyDescribeIt) {
    HookRecord written = Record(kTimer, 1000, 3, 4);
    written.hwnd = 0x00010020;
    vantrel::MessageDetails details{};
    details.window = written.hwnd;
    details.message = kTimer;
    details.wParam = 3;
    vantrel::HookDetailsHeader header{};
    // A header no writer used: no details, as no number.
    EXPECT_FALSE(vantrel::ReadAnnouncedReport(&written, header, &details)->details);
    header.wholeCount = 2;
    auto read = vantrel::ReadAnnouncedReport(&written, header, &details);
    ASSERT_TRUE(read && read->details);
    EXPECT_EQ(read->details->wParam, 3u);
    EXPECT_FALSE(vantrel::ReadAnnouncedReport(&written, header)->details);  // not asked for
    details.message = kPaint;  // the details of another report
    EXPECT_FALSE(vantrel::ReadAnnouncedReport(&written, header, &details)->details);
}

TEST(CatchLogLimit, TheEnvironmentSetsAWholeNumberOfLinesOrTheDefault) {
    using vantrel::LogLineLimit;
    EXPECT_EQ(vantrel::kDefaultLogLineLimit, 1000000u);
    EXPECT_EQ(LogLineLimit(nullptr), 1000000u);
    EXPECT_EQ(LogLineLimit(""), 1000000u);
    EXPECT_EQ(LogLineLimit("50"), 50u);
    EXPECT_EQ(LogLineLimit("1"), 1u);
    for (const char* bad : {"0", "-5", "12x", " 12", "1e6", "99999999999999999999999999"})
        EXPECT_EQ(LogLineLimit(bad), 1000000u) << bad;
}

TEST(CatchCaption, NamesTheNodeAndWhatTheLogLacks) {
    using vantrel::CatchCaption;
    const std::string node = "00012345 Notepad {Edit}";
    EXPECT_EQ(CatchCaption(node, false, 1000000, 0), "Catch Messages - 00012345 Notepad {Edit}");
    EXPECT_EQ(CatchCaption("", false, 1000000, 0), "Catch Messages");
    EXPECT_EQ(CatchCaption(node, true, 1000000, 0),
              "Catch Messages - 00012345 Notepad {Edit} - log limit of 1,000,000 lines reached, oldest lines dropped");
    EXPECT_EQ(CatchCaption(node, false, 1000000, 1), "Catch Messages - 00012345 Notepad {Edit} - 1 report missed");
    EXPECT_EQ(CatchCaption("", true, 50, 1234),
              "Catch Messages - log limit of 50 lines reached, oldest lines dropped - 1,234 reports missed");
    EXPECT_EQ(CatchCaption("", false, 50, 100), "Catch Messages - 100 reports missed");
}

TEST(CatchLogFile, EveryLineEndsWithCrLf) {
    const std::string header(vantrel::kLogHeader);
    EXPECT_EQ(vantrel::LogFileBytes(header), header + "\r\n");
    EXPECT_EQ(vantrel::LogFileBytes(header + "\r\nline 1\r\nline 2"), header + "\r\nline 1\r\nline 2\r\n");
    EXPECT_EQ(vantrel::LogFileBytes(header + "\r\nline 1\r\n"), header + "\r\nline 1\r\n");
    EXPECT_EQ(vantrel::LogFileBytes(""), "");
}

TEST(CatchWindowTables, SwitchesMeetTheirButtonsAndItems) {
    using namespace vantrel;
    const auto& menus = CatchMenuTable();
    ASSERT_EQ(menus.size(), 3u);  // "&Catching", "&Messages", then "&View"
    EXPECT_EQ(menus[0].shortcut, "F9");
    for (const CategoryControls& c : CategoryTable()) {
        EXPECT_EQ(CategoryOfCommand(c.toolButton), &c);
        EXPECT_EQ(CategoryOfCommand(c.menuItem), &c);
        const MenuItemSpec* item = FindMenuItem(menus, c.menuItem);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->checked);
        bool found = false;
        for (const ToolButtonSpec& b : CatchToolBarTable())
            if (b.command == c.toolButton) {
                found = true;
                EXPECT_EQ(b.kind, ToolKind::Check);
                EXPECT_TRUE(b.pressed);
                EXPECT_EQ(b.image, item->image);
            }
        EXPECT_TRUE(found);
    }
    EXPECT_TRUE(FindMenuItem(menus, cmd::MenuCatchStop)->disabled);
    EXPECT_EQ(FindMenuItem(menus, cmd::MenuCatchRun)->shortcut, "F2");
    EXPECT_EQ(FindMenuItem(menus, cmd::MenuCatchStop)->shortcut, "F4");
    EXPECT_EQ(FindMenuItem(menus, cmd::Hiderepetitions1)->shortcut, "F8");
    EXPECT_EQ(FindMenuItem(menus, cmd::MenuCatchClear)->shortcut, "Ctrl+N");
    EXPECT_EQ(FindMenuItem(menus, cmd::MenuCatchSave)->shortcut, "Ctrl+S");
}

TEST(CatchWindowTables, DetailsWatchFilterAndFindComeAfterTheWindowsFirstSwitches) {
    using namespace vantrel;
    const auto& menus = CatchMenuTable();
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[2].caption, "&View");
    EXPECT_EQ(menus[1].items.back().command, cmd::MenuMessFilter);  // after the six categories
    const MenuItemSpec* details = FindMenuItem(menus, cmd::MenuViewDetails);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->shortcut, "F7");
    EXPECT_FALSE(details->checked);
    EXPECT_EQ(FindMenuItem(menus, cmd::MenuLogFind)->shortcut, "Ctrl+F");
    EXPECT_EQ(FindMenuItem(menus, cmd::MenuLogFindNext)->shortcut, "F3");
    // The Details button comes last, off, with the item's picture.
    const ToolButtonSpec& button = CatchToolBarTable().back();
    EXPECT_EQ(button.command, cmd::DetailsButton);
    EXPECT_EQ(button.kind, ToolKind::Check);
    EXPECT_FALSE(button.pressed);
    EXPECT_EQ(button.image, details->image);
    // One radio item per watch, the selected window's ticked at start.
    for (const auto watch : {HookWatch::Window, HookWatch::Descendants, HookWatch::Thread, HookWatch::Process}) {
        const MenuItemSpec* item = FindMenuItem(menus, WatchCommand(watch));
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->radio);
        EXPECT_EQ(item->checked, watch == HookWatch::Window);
        EXPECT_EQ(WatchOfCommand(WatchCommand(watch)), watch);
    }
    EXPECT_EQ(WatchOfCommand(cmd::MenuViewDetails), std::nullopt);
    // No two items share a shortcut.
    std::set<std::string_view> shortcuts;
    std::size_t items = 0;
    for (const MenuSpec& menu : menus)
        for (const MenuItemSpec& item : menu.items)
            if (!item.shortcut.empty()) shortcuts.insert(item.shortcut), ++items;
    EXPECT_EQ(shortcuts.size(), items);
}

TEST(CatchWindowTables, StartFailureNamesEveryReasonTheLibraryGives) {
    using vantrel::HookFailure;
    using vantrel::StartFailureText;
    const std::string usual = "Unable to set hook\r(VANTREL.DLL)";
    // A code the library does not name (or none) leaves the usual box.
    EXPECT_EQ(StartFailureText(0), usual);
    EXPECT_EQ(StartFailureText(5), usual);
    EXPECT_EQ(StartFailureText(static_cast<std::uint32_t>(HookFailure::ForeignRecord) + 1), usual);
    std::vector<std::string> sentences;
    for (HookFailure f : {HookFailure::NoWindow, HookFailure::OtherCatching, HookFailure::NoCompanion,
                          HookFailure::NoEntry, HookFailure::NoAnswer, HookFailure::NoRecord,
                          HookFailure::ForeignRecord}) {
        const std::string text = StartFailureText(static_cast<std::uint32_t>(f));
        ASSERT_EQ(text.rfind(usual + "\r", 0), 0u) << text;
        const std::string sentence = text.substr(usual.size() + 1);
        // One sentence: a capital first, one full stop at the end, no line break.
        EXPECT_TRUE(sentence[0] >= 'A' && sentence[0] <= 'Z') << sentence;
        EXPECT_EQ(sentence.back(), '.') << sentence;
        EXPECT_EQ(sentence.find_first_of("\r\n"), std::string::npos) << sentence;
        for (const std::string& other : sentences) EXPECT_NE(sentence, other);
        sentences.push_back(sentence);
    }
    EXPECT_NE(StartFailureText(static_cast<std::uint32_t>(HookFailure::OtherCatching)).find("Another Vantrel"),
              std::string::npos);
    EXPECT_NE(StartFailureText(static_cast<std::uint32_t>(HookFailure::OtherCatching)).find("Stop"),
              std::string::npos);
    // A program with higher rights: the one sentence of every refusal by Windows.
    EXPECT_EQ(StartFailureText(static_cast<std::uint32_t>(HookFailure::NoEntry), true),
              usual + "\rWindows keeps Vantrel away from this window: its program runs with higher rights. Run "
                      "Vantrel as administrator to change it.");
    EXPECT_EQ(StartFailureText(static_cast<std::uint32_t>(HookFailure::NoWindow), true),
              StartFailureText(static_cast<std::uint32_t>(HookFailure::NoWindow)));
}

}  // namespace
