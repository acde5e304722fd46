// Find in the message log: the next line holding a text in any case, going
// round from the end to the first logged line with a mark, never the header.

#include "catch/log_find.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using vantrel::LogFindResult;

std::optional<std::pair<std::size_t, bool>> Find(const vantrel::LogBuffer& log, const std::string& text,
                                                  std::size_t after) {
    const auto found = vantrel::FindInLog(log, text, after);
    if (!found) return std::nullopt;
    return std::make_pair(found->line, found->wrapped);
}

TEST(LogFind, NextLineAfterTheCurrentOneInAnyCaseGoingRound) {
    vantrel::LogBuffer log("  Time | Message");
    for (const char* line : {"1 WM_PAINT", "2 WM_TIMER", "3 wm_paint", "4 WM_SIZE \xD0\x96", "5 WM_TIMER"}) log.Append(line);
    using R = std::pair<std::size_t, bool>;
    EXPECT_EQ(Find(log, "WM_Paint", 0), R(1, false));
    EXPECT_EQ(Find(log, "WM_Paint", 1), R(3, false));
    EXPECT_EQ(Find(log, "WM_Paint", 3), R(1, true));   // past the last line: on from the first
    EXPECT_EQ(Find(log, "size \xD0\xB6", 0), R(4, false));
    EXPECT_EQ(Find(log, "wm_size", 4), R(4, true));    // the current line itself, last
    EXPECT_EQ(Find(log, "5 wm_timer", 0), R(5, false));  // the last line
    EXPECT_EQ(Find(log, "5 wm_timer", 5), R(5, true));
    EXPECT_EQ(Find(log, "5 wm_timer", 99), R(5, true));  // after a line that is gone
    EXPECT_EQ(Find(log, "message", 0), std::nullopt);   // the header is not searched
    EXPECT_EQ(Find(log, "WM_MOVE", 2), std::nullopt);
    EXPECT_EQ(Find(log, "", 0), std::nullopt);
    EXPECT_EQ(Find(log, "PAINT\r\n2", 0), std::nullopt);  // no line holds a line break
    EXPECT_EQ(Find(vantrel::LogBuffer("header"), "header", 0), std::nullopt);
}

TEST(LogFind, AMatchLiesWithinOneLine) {
    vantrel::LogBuffer log("header");
    log.Append("ends with AB");
    log.Append("CD starts");
    using R = std::pair<std::size_t, bool>;
    EXPECT_EQ(Find(log, "ABCD", 0), std::nullopt);
    EXPECT_EQ(Find(log, "b", 1), R(1, true));
    EXPECT_EQ(Find(log, "cd", 0), R(2, false));
}

TEST(LogFind, ANoticeTellsTheLineFoundTheWrapAndATextFoundNowhere) {
    EXPECT_EQ(vantrel::FindNotice("WM_SIZE", LogFindResult{12, false}), "Found \"WM_SIZE\" in line 12.");
    EXPECT_EQ(vantrel::FindNotice("wm_paint", LogFindResult{3, true}),
              "Passed the end of the log and went on from the top: found \"wm_paint\" in line 3.");
    EXPECT_EQ(vantrel::FindNotice("WM_MOVE", std::nullopt), "\"WM_MOVE\" is not in the log.");
}

}  // namespace
