// The log pane's lines and text: what Save as and other programs read must be
// exactly the header and the appended lines joined by CR LF; the line limit;
// the caret and selection over the text and the text control's answers.

#include "catch/catch_log.h"
#include "catch/log_buffer.h"
#include "catch/log_selection.h"

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
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(log.CopyText(buffer, 5), 4u);
    EXPECT_EQ(std::u16string(buffer), u"head");
    EXPECT_EQ(buffer[5], u'#');
    EXPECT_EQ(log.CopyText(buffer, 1), 0u);
    EXPECT_EQ(std::u16string(buffer), u"");
    EXPECT_EQ(log.CopyText(buffer, 0), 0u);
    EXPECT_EQ(log.CopyText(nullptr, 8), 0u);
    char16_t whole[32];
    EXPECT_EQ(log.CopyText(whole, std::size(whole)), 10u);
    EXPECT_EQ(std::u16string(whole), u"head\r\nline");
}

// A line in another script (a decoded text, say): positions in the text stay
// bytes, a text control counts UTF-16 units, and the copy never ends inside
// a surrogate pair.
TEST(LogBuffer, CountsUtf16UnitsForTextControlsOnceALineLeavesSevenBits) {
    LogBuffer log("head");
    EXPECT_TRUE(log.Ascii());
    // "\xCE\xB1" is one unit, "\xF0\x9F\x98\x80" two.
    log.Append("\xCE\xB1=\xF0\x9F\x98\x80");
    EXPECT_FALSE(log.Ascii());
    EXPECT_EQ(log.Size(), 6u + 7u);
    EXPECT_EQ(log.Utf16Size(), 6u + 4u);
    EXPECT_EQ(log.Utf16Offset(6 + 2), 7u);       // after the alpha
    EXPECT_EQ(log.ByteOffset(7), 8u);
    EXPECT_EQ(log.ByteOffset(9), 9u);            // inside the pair: its start
    char16_t cut[10];
    EXPECT_EQ(log.CopyText(cut, 10), 8u);        // the pair does not fit whole
    EXPECT_EQ(std::u16string(cut), u"head\r\n\u03B1=");
    log.Clear();
    EXPECT_TRUE(log.Ascii());
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

TEST(LogBuffer, PositionsCountCrLfAsTwoAndBelongToTheirLine) {
    LogBuffer log("head");
    log.Append("ab");
    log.Append("");
    log.Append("cde");
    // "head\r\nab\r\n\r\ncde": lines begin at 0, 6, 10, 12.
    EXPECT_EQ(log.Size(), 15u);
    EXPECT_EQ(log.LineStart(1), 6u);
    EXPECT_EQ(log.LineStart(3), 12u);
    EXPECT_EQ(log.LineStart(4), 15u);
    EXPECT_EQ(log.LineOf(0), 0u);
    EXPECT_EQ(log.LineOf(4), 0u);  // before the CR
    EXPECT_EQ(log.LineOf(5), 0u);  // between CR and LF
    EXPECT_EQ(log.LineOf(6), 1u);
    EXPECT_EQ(log.LineOf(10), 2u);
    EXPECT_EQ(log.LineOf(15), 3u);
    EXPECT_EQ(log.LineOf(99), 3u);
    EXPECT_EQ(vantrel::ValidPosition(log, 5), 4u);
    EXPECT_EQ(vantrel::ValidPosition(log, 11), 10u);
    EXPECT_EQ(vantrel::ValidPosition(log, 99), 15u);
    EXPECT_EQ(vantrel::PositionAt(log, 1, 1), 7u);
    EXPECT_EQ(vantrel::PositionAt(log, 1, 50), 8u);  // the column clamps to the line
    EXPECT_EQ(vantrel::PositionAt(log, 9, 1), 13u);  // and the line to the last
    EXPECT_EQ(vantrel::ColumnOf(log, 14), 2u);
}

TEST(LogBuffer, PastItsLimitTheOldestLinesGoInChunksAndTheHeaderStays) {
    LogBuffer log("head");
    log.SetLineLimit(20);
    for (int i = 1; i <= 20; ++i) EXPECT_EQ(log.Append("line " + std::to_string(i)).lines, 0u);
    EXPECT_FALSE(log.LimitReached());
    EXPECT_EQ(log.LineCount(), 21u);

    // The 21st line drops a tenth of the limit: lines 1 and 2 with their breaks.
    const LogBuffer::Trim trim = log.Append("line 21");
    EXPECT_TRUE(log.LimitReached());
    EXPECT_EQ(trim.lines, 2u);
    EXPECT_EQ(trim.position, 6u);
    EXPECT_EQ(trim.characters, std::string("line 1\r\nline 2\r\n").size());
    EXPECT_EQ(log.LineCount(), 20u);
    EXPECT_EQ(log.Line(0), "head");
    EXPECT_EQ(log.Line(1), "line 3");
    EXPECT_EQ(log.Line(19), "line 21");
    // From then on two lines go every second line.
    std::vector<int> drops;
    for (int i = 22; i <= 100; ++i) {
        const LogBuffer::Trim t = log.Append("line " + std::to_string(i));
        if (t.lines) drops.push_back(i);
        EXPECT_TRUE(t.lines == 0 || t.lines == 2u);
        EXPECT_LE(log.LineCount(), 21u);
    }
    ASSERT_EQ(drops.size(), 39u);
    EXPECT_EQ(drops.front(), 23);
    EXPECT_EQ(drops.back(), 99);
    // The text is still the lines joined, the newest last, in order.
    std::string expected = "head";
    for (std::size_t i = 1; i < log.LineCount(); ++i) expected += "\r\n" + std::string(log.Line(i));
    EXPECT_EQ(log.Text(), expected);
    EXPECT_EQ(log.Line(log.LineCount() - 1), "line 100");
    EXPECT_EQ(log.Line(1), "line " + std::to_string(100 - log.LineCount() + 2));

    // The longest line is forgotten with it.
    log.Append(std::string(200, 'x'));
    EXPECT_EQ(log.LongestLine(), 200u);
    for (int i = 0; i < 20; ++i) log.Append("y");
    EXPECT_EQ(log.LongestLine(), 4u);  // the header's

    log.Clear();
    EXPECT_FALSE(log.LimitReached());
    EXPECT_EQ(log.Text(), "head");
    // A text assigned beyond the limit keeps its first line and its newest ones.
    log.SetLineLimit(3);
    log.Assign("first\r\na\r\nb\r\nc\r\nd\r\ne");
    EXPECT_TRUE(log.LimitReached());
    EXPECT_EQ(log.Text(), "first\r\nc\r\nd\r\ne");
    log.SetLineLimit(1);
    EXPECT_EQ(log.Text(), "first\r\ne");
    log.Append("f");
    EXPECT_EQ(log.Text(), "first\r\nf");
}

TEST(LogBuffer, EachLineKeepsItsTagThroughDropsAndAssignedLinesHaveNone) {
    constexpr std::uint32_t none = LogBuffer::kNoTag;
    LogBuffer log("head");
    log.SetLineLimit(10);
    log.Append("untagged");
    log.Append("pair\r\npiece", 0x0F);
    for (std::uint32_t i = 3; i <= 9; ++i) log.Append("line", i);
    EXPECT_EQ(log.Tag(0), none);
    EXPECT_EQ(log.Tag(1), none);
    EXPECT_EQ(log.Tag(2), 0x0Fu);
    EXPECT_EQ(log.Tag(3), 0x0Fu);
    EXPECT_EQ(log.Tag(10), 9u);
    EXPECT_EQ(log.Tag(11), none);  // past the end
    // The 11th line drops the first: every tag moves with its line.
    ASSERT_EQ(log.Append("last", 0).lines, 1u);
    std::vector<std::uint32_t> tags;
    for (std::size_t i = 0; i < log.LineCount(); ++i) tags.push_back(log.Tag(i));
    EXPECT_EQ(tags, (std::vector<std::uint32_t>{none, 0x0F, 0x0F, 3, 4, 5, 6, 7, 8, 9, 0}));
    EXPECT_EQ(log.Line(2), "piece");
    log.Assign("a\r\nb");
    EXPECT_EQ(log.Tag(1), none);
    log.Append("c", 7);
    log.Clear();
    EXPECT_EQ(log.Tag(1), none);
}

// "head\r\none two  three\r\n\r\nx\tyz": lines at 0, 6, 22 (empty) and 24; 28 long.
LogBuffer SampleLog() {
    LogBuffer log("head");
    log.Append("one two  three");
    log.Append("");
    log.Append("x\tyz");
    return log;
}

TEST(LogSelection, KeysMoveTheCaretOverLinesAndLineBreaksAndShiftExtends) {
    using vantrel::CaretMove;
    const LogBuffer log = SampleLog();
    ASSERT_EQ(log.Size(), 28u);
    vantrel::LogSelection sel;
    auto move = [&](CaretMove m, bool extend = false, std::size_t page = 1) {
        sel.Move(log, m, extend, page);
        return sel.Caret();
    };
    EXPECT_EQ(move(CaretMove::CharLeft), 0u);  // nothing before the start
    sel.Place(log, 4, false);
    EXPECT_EQ(move(CaretMove::CharRight), 6u);  // over the CR LF in one step
    EXPECT_EQ(move(CaretMove::CharLeft), 4u);
    EXPECT_EQ(move(CaretMove::LineEnd), 4u);
    EXPECT_EQ(move(CaretMove::TextEnd), 28u);
    EXPECT_EQ(move(CaretMove::CharRight), 28u);  // nothing after the end
    EXPECT_EQ(move(CaretMove::LineStart), 24u);
    EXPECT_EQ(move(CaretMove::TextStart), 0u);

    // Up, Down and the pages keep the column they came from across shorter lines.
    sel.Place(log, 6 + 12, false);  // line 1, column 12
    EXPECT_EQ(move(CaretMove::LineDown), 22u);  // the empty line
    EXPECT_EQ(move(CaretMove::LineDown), 28u);  // "x\tyz" is 4 long
    EXPECT_EQ(move(CaretMove::LineDown), 28u);  // the last line
    EXPECT_EQ(move(CaretMove::LineUp), 22u);
    EXPECT_EQ(move(CaretMove::LineUp), 18u);  // column 12 again
    EXPECT_EQ(move(CaretMove::LineUp), 4u);   // "head" is 4 long
    EXPECT_EQ(move(CaretMove::LineUp), 4u);
    EXPECT_EQ(move(CaretMove::PageDown, false, 2), 22u);
    EXPECT_EQ(move(CaretMove::PageDown, false, 2), 28u);
    EXPECT_EQ(move(CaretMove::PageUp, false, 2), 18u);
    // Any other move forgets the column.
    move(CaretMove::LineDown);
    move(CaretMove::LineDown);
    EXPECT_EQ(move(CaretMove::CharLeft), 27u);
    move(CaretMove::LineUp);
    EXPECT_EQ(move(CaretMove::LineUp), 9u);

    // Shift: the anchor stays where the selection began.
    sel.Place(log, 8, false);
    move(CaretMove::LineDown, true);
    move(CaretMove::LineEnd, true);
    EXPECT_EQ(sel.Anchor(), 8u);
    EXPECT_EQ(sel.Caret(), 22u);
    EXPECT_EQ(sel.Text(log), "e two  three\r\n");
    // Without Shift, Left and Right first collapse the selection to its ends.
    EXPECT_EQ(move(CaretMove::CharLeft), 8u);
    EXPECT_TRUE(sel.Empty());
    sel.Select(log, 20, 8);
    EXPECT_EQ(move(CaretMove::CharRight), 20u);
    sel.Select(log, 20, 8);
    EXPECT_EQ(move(CaretMove::LineDown), 22u);  // the others move from the caret
    EXPECT_TRUE(sel.Empty());
    // Backwards selections read the same text.
    sel.Select(log, 28, 6);
    EXPECT_EQ(sel.Text(log), "one two  three\r\n\r\nx\tyz");
    sel.SelectAll(log);
    EXPECT_EQ(sel.Text(log), log.Text());
    EXPECT_EQ(sel.Caret(), 28u);
}

// Characters of other scripts take several bytes: the caret steps over
// them whole, columns count UTF-16 units, and the messages speak in units.
TEST(LogSelection, TheCaretStepsOverWholeCharactersInAnyScript) {
    LogBuffer log("h");
    log.Append("\xCE\xB1\xF0\x9F\x98\x80z");  // alpha (2 bytes), a face (4 bytes, 2 units), z
    LogSelection sel;
    sel.Place(log, 3, false);
    EXPECT_EQ(sel.Caret(), 3u);
    sel.Move(log, CaretMove::CharRight, false, 1);
    EXPECT_EQ(sel.Caret(), 5u);
    sel.Move(log, CaretMove::CharRight, false, 1);
    EXPECT_EQ(sel.Caret(), 9u);
    sel.Move(log, CaretMove::CharLeft, false, 1);
    EXPECT_EQ(sel.Caret(), 5u);
    EXPECT_EQ(vantrel::ValidPosition(log, 7), 5u);   // inside the face: its start
    EXPECT_EQ(vantrel::ColumnOf(log, 9), 3u);
    EXPECT_EQ(vantrel::PositionAt(log, 1, 2), 5u);   // the middle of the pair: its start
    EXPECT_EQ(vantrel::PositionAt(log, 1, 3), 9u);
    sel.Select(log, 5, 9);
    EXPECT_EQ(edit::GetSel(log, sel), (std::pair<std::size_t, std::size_t>{4, 6}));
    EXPECT_EQ(edit::LineLength(log, sel, 3), 4);
    edit::SetSel(log, sel, 6, 7);
    EXPECT_EQ(sel.Text(log), "z");
}

TEST(LogSelection, WordsAreRunsOfNonBlanksAndDoubleClickSelectsOne) {
    const LogBuffer log = SampleLog();
    auto word = [&](std::size_t p) {
        const vantrel::TextSpan w = vantrel::WordAt(log, p);
        return std::string(log.Text().substr(w.begin, w.end - w.begin));
    };
    EXPECT_EQ(word(6), "one");
    EXPECT_EQ(word(8), "one");
    EXPECT_EQ(word(9), " ");
    EXPECT_EQ(word(14), "  ");
    EXPECT_EQ(word(20), "three");  // the line's end takes the word before it
    EXPECT_EQ(word(5), "head");    // between CR and LF: the line's end
    EXPECT_EQ(word(22), "");       // an empty line
    EXPECT_EQ(word(25), "\t");
    EXPECT_EQ(word(2), "head");
    // Ctrl+Right and Ctrl+Left, across lines at their ends and starts.
    using vantrel::WordLeftOf;
    using vantrel::WordRightOf;
    EXPECT_EQ(WordRightOf(log, 6), 10u);
    EXPECT_EQ(WordRightOf(log, 10), 15u);
    EXPECT_EQ(WordRightOf(log, 15), 20u);
    EXPECT_EQ(WordRightOf(log, 20), 22u);
    EXPECT_EQ(WordRightOf(log, 22), 24u);
    EXPECT_EQ(WordRightOf(log, 28), 28u);
    EXPECT_EQ(WordLeftOf(log, 20), 15u);
    EXPECT_EQ(WordLeftOf(log, 15), 10u);
    EXPECT_EQ(WordLeftOf(log, 11), 10u);
    EXPECT_EQ(WordLeftOf(log, 6), 4u);
    EXPECT_EQ(WordLeftOf(log, 0), 0u);
    vantrel::LogSelection sel;
    sel.SelectWord(log, 16);
    EXPECT_EQ(sel.Text(log), "three");
}

TEST(LogSelection, DroppedLinesMoveTheSelectionBackOrToWhereTheyWere) {
    LogBuffer log("head");
    log.SetLineLimit(10);
    for (int i = 0; i < 10; ++i) log.Append("line " + std::to_string(i));
    vantrel::LogSelection sel;
    const std::size_t line5 = log.LineStart(6);
    sel.Select(log, log.LineStart(2) + 1, line5 + 3);  // from inside "line 1" into "line 5"
    const LogBuffer::Trim trim = log.Append("new");  // drops "line 0"
    ASSERT_EQ(trim.lines, 1u);
    sel.Shift(trim);
    EXPECT_EQ(sel.Text(log), "ine 1\r\nline 2\r\nline 3\r\nline 4\r\nlin");
    const LogBuffer::Trim more{6, log.LineStart(3) - 6, 2};
    sel.Shift(more);
    EXPECT_EQ(sel.Anchor(), 6u);  // inside what went: where it was
    EXPECT_EQ(sel.Caret(), line5 + 3 - trim.characters - more.characters);
}

TEST(LogSelection, TextControlMessagesAnswerAsTheControlDoes) {
    namespace edit = vantrel::edit;
    const LogBuffer log = SampleLog();
    vantrel::LogSelection sel;
    sel.Select(log, 8, 26);  // from "one"'s "e" to after "x\t"
    // EM_LINEINDEX
    EXPECT_EQ(edit::LineIndex(log, sel, 0), 0);
    EXPECT_EQ(edit::LineIndex(log, sel, 3), 24);
    EXPECT_EQ(edit::LineIndex(log, sel, 4), -1);
    EXPECT_EQ(edit::LineIndex(log, sel, -1), 24);  // the caret's line
    // EM_LINELENGTH: -1 counts what the selection leaves of its lines.
    EXPECT_EQ(edit::LineLength(log, sel, 7), 14);
    EXPECT_EQ(edit::LineLength(log, sel, 21), 14);  // the line break belongs to its line
    EXPECT_EQ(edit::LineLength(log, sel, 22), 0);
    EXPECT_EQ(edit::LineLength(log, sel, 28), 4);
    EXPECT_EQ(edit::LineLength(log, sel, 29), 0);
    EXPECT_EQ(edit::LineLength(log, sel, -1), 2 + 2);
    // EM_LINEFROMCHAR: -1 is the selection's start.
    EXPECT_EQ(edit::LineFromChar(log, sel, 0), 0);
    EXPECT_EQ(edit::LineFromChar(log, sel, 5), 0);
    EXPECT_EQ(edit::LineFromChar(log, sel, 22), 2);
    EXPECT_EQ(edit::LineFromChar(log, sel, 1000), 3);
    EXPECT_EQ(edit::LineFromChar(log, sel, -1), 1);
    // EM_SETSEL: the caret goes to the end given, either way round.
    edit::SetSel(log, sel, 20, 6);
    EXPECT_EQ(sel.Anchor(), 20u);
    EXPECT_EQ(sel.Caret(), 6u);
    EXPECT_EQ(edit::LineLength(log, sel, -1), 0);
    edit::SetSel(log, sel, -1, 3);  // deselects, the caret stays
    EXPECT_EQ(sel.Anchor(), 6u);
    EXPECT_EQ(sel.Caret(), 6u);
    EXPECT_EQ(edit::LineLength(log, sel, -1), 14);
    edit::SetSel(log, sel, 0, -1);
    EXPECT_EQ(sel.Text(log), log.Text());
    edit::SetSel(log, sel, 5, 1000);  // between CR and LF: the line's end
    EXPECT_EQ(sel.Anchor(), 4u);
    EXPECT_EQ(sel.Caret(), 28u);
    edit::SetSel(log, sel, -7, 2);
    EXPECT_EQ(sel.Anchor(), 28u);
    EXPECT_EQ(sel.Caret(), 2u);
    // EM_GETLINE: no terminating zero unless there is room for it.
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(edit::GetLine(log, 1, buffer, 3), 3u);
    EXPECT_EQ(std::u16string(buffer, 4), u"one#");
    EXPECT_EQ(edit::GetLine(log, 3, buffer, std::size(buffer)), 4u);
    EXPECT_EQ(std::u16string(buffer), u"x\tyz");
    EXPECT_EQ(edit::GetLine(log, 2, buffer, std::size(buffer)), 0u);
    EXPECT_EQ(edit::GetLine(log, 4, buffer, std::size(buffer)), 0u);
    EXPECT_EQ(edit::GetLine(log, -1, buffer, std::size(buffer)), 0u);
}

}  // namespace
}  // namespace vantrel
