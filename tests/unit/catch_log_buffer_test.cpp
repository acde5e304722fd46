// The log pane's lines and text: what Save as and other programs read must be
// exactly the header and the appended lines joined by CR LF.

#include "catch/catch_log.h"
#include "catch/log_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

std::vector<std::string> AllLines(const LogBuffer& log) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < log.LineCount(); ++i) lines.emplace_back(log.Line(i));
    return lines;
}

TEST(LogBuffer, StartsWithTheHeaderAloneAndJoinsAppendedLinesWithCrLf) {
    LogBuffer log(kLogHeader);
    EXPECT_EQ(log.LineCount(), 1u);
    EXPECT_EQ(log.Text(), kLogHeader);
    EXPECT_EQ(log.LongestLine(), kLogHeader.size());

    log.Append("first");
    log.Append("");
    log.Append("third line");
    EXPECT_EQ(log.Text(), std::string(kLogHeader) + "\r\nfirst\r\n\r\nthird line");
    EXPECT_EQ(AllLines(log), (std::vector<std::string>{std::string(kLogHeader), "first", "", "third line"}));
    EXPECT_EQ(log.Line(4), "");  // past the end
    // The saved file is the same as it was from the text control: each line
    // ended by CR LF, the last included.
    EXPECT_EQ(LogFileBytes(log.Text()), std::string(kLogHeader) + "\r\nfirst\r\n\r\nthird line\r\n");
}

TEST(LogBuffer, ClearGoesBackToTheHeaderAndForgetsTheLongestLine) {
    LogBuffer log("head");
    log.Append(std::string(300, 'x'));
    log.Append("short");
    EXPECT_EQ(log.LongestLine(), 300u);
    log.Clear();
    EXPECT_EQ(log.LineCount(), 1u);
    EXPECT_EQ(log.Text(), "head");
    EXPECT_EQ(log.LongestLine(), 4u);
    log.Append("after");
    EXPECT_EQ(log.Text(), "head\r\nafter");
    EXPECT_EQ(log.LongestLine(), 5u);
}

TEST(LogBuffer, AssignSplitsAtCrLfOnlyAndAppendingGoesOnBelow) {
    LogBuffer log("head");
    log.Assign("a\r\nbb\nb\r\n\r\nccc\rc");
    EXPECT_EQ(AllLines(log), (std::vector<std::string>{"a", "bb\nb", "", "ccc\rc"}));
    EXPECT_EQ(log.LongestLine(), 5u);
    log.Append("d");
    EXPECT_EQ(log.Text(), "a\r\nbb\nb\r\n\r\nccc\rc\r\nd");

    // An empty text is one empty line; a text ending in CR LF ends in an empty line.
    log.Assign("");
    EXPECT_EQ(log.LineCount(), 1u);
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(log.LongestLine(), 0u);
    log.Assign("x\r\n");
    EXPECT_EQ(AllLines(log), (std::vector<std::string>{"x", ""}));
    log.Append("y");
    EXPECT_EQ(log.Text(), "x\r\n\r\ny");
}

TEST(LogBuffer, AnAppendedLineHoldingCrLfCountsAsSeveralLines) {
    LogBuffer log("head");
    log.Append("one\r\ntwo\r\n");
    EXPECT_EQ(AllLines(log), (std::vector<std::string>{"head", "one", "two", ""}));
    EXPECT_EQ(log.Text(), "head\r\none\r\ntwo\r\n");
}

TEST(LogBuffer, CopyTextTruncatesToTheCallersBufferLikeAWindowText) {
    LogBuffer log("head");
    log.Append("line");
    char buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(log.CopyText(buffer, 5), 4u);
    EXPECT_STREQ(buffer, "head");
    EXPECT_EQ(buffer[5], '#');
    EXPECT_EQ(log.CopyText(buffer, 1), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(log.CopyText(buffer, 0), 0u);
    EXPECT_EQ(log.CopyText(nullptr, 8), 0u);
    char whole[32];
    EXPECT_EQ(log.CopyText(whole, sizeof whole), 10u);
    EXPECT_STREQ(whole, "head\r\nline");
}

TEST(LogBuffer, ManyLinesKeepTheirPlacesAndTheTextItsLength) {
    LogBuffer log(kLogHeader);
    const std::string line =
        "01:02:03::004 |     1100 - WM_USER+256                |        1234 |       98765 | x=10 y=20";
    for (int i = 0; i < 20000; ++i) log.Append(i % 1000 == 0 ? line + std::to_string(i) : line);
    EXPECT_EQ(log.LineCount(), 20001u);
    EXPECT_EQ(log.Line(1), line + "0");
    EXPECT_EQ(log.Line(2), line);
    EXPECT_EQ(log.Line(19001), line + "19000");
    EXPECT_EQ(log.Line(20000), line);
    EXPECT_EQ(log.LongestLine(), line.size() + 5);
    // The numbers added: 0, nine of 4 digits, ten of 5.
    EXPECT_EQ(log.Text().size(), kLogHeader.size() + 20000 * (line.size() + 2) + 1 + 9 * 4 + 10 * 5);
}

}  // namespace
}  // namespace vantrel
