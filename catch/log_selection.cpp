#include "catch/log_selection.h"

#include "base/unicode.h"

#include <algorithm>

namespace vantrel {

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

// A byte that continues a character begun before it.
bool Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::size_t ValidPosition(const LogBuffer& log, std::size_t position) {
    position = std::min(position, log.Size());
    const std::size_t line = log.LineOf(position);
    const std::size_t start = log.LineStart(line);
    position = std::min(position, start + log.LineLength(line));
    while (position > start && position < log.Size() && Continuation(log.Text()[position])) --position;
    return position;
}

std::size_t PositionAt(const LogBuffer& log, std::size_t line, std::size_t column) {
    line = std::min(line, log.LineCount() - 1);
    return log.LineStart(line) + CutToUtf16Units(log.Line(line), column).size();
}

std::size_t ColumnOf(const LogBuffer& log, std::size_t position) {
    position = ValidPosition(log, position);
    const std::size_t line = log.LineOf(position);
    return Utf16Length(log.Line(line).substr(0, position - log.LineStart(line)));
}

TextSpan WordAt(const LogBuffer& log, std::size_t position) {
    position = ValidPosition(log, position);
    const std::size_t line = log.LineOf(position);
    const std::size_t start = log.LineStart(line);
    const std::string_view text = log.Line(line);
    if (text.empty()) return {position, position};
    std::size_t column = std::min(position - start, text.size() - 1);
    const bool blank = Blank(text[column]);
    std::size_t begin = column, end = column + 1;
    while (begin > 0 && Blank(text[begin - 1]) == blank) --begin;
    while (end < text.size() && Blank(text[end]) == blank) ++end;
    return {start + begin, start + end};
}

std::size_t WordRightOf(const LogBuffer& log, std::size_t position) {
    position = ValidPosition(log, position);
    const std::size_t line = log.LineOf(position);
    const std::size_t start = log.LineStart(line);
    const std::string_view text = log.Line(line);
    std::size_t column = position - start;
    if (column >= text.size()) return line + 1 < log.LineCount() ? log.LineStart(line + 1) : position;
    while (column < text.size() && !Blank(text[column])) ++column;
    while (column < text.size() && Blank(text[column])) ++column;
    return start + column;
}

std::size_t WordLeftOf(const LogBuffer& log, std::size_t position) {
    position = ValidPosition(log, position);
    const std::size_t line = log.LineOf(position);
    const std::size_t start = log.LineStart(line);
    const std::string_view text = log.Line(line);
    std::size_t column = position - start;
    if (column == 0) return line > 0 ? log.LineStart(line - 1) + log.LineLength(line - 1) : position;
    while (column > 0 && Blank(text[column - 1])) --column;
    while (column > 0 && !Blank(text[column - 1])) --column;
    return start + column;
}

void LogSelection::Place(const LogBuffer& log, std::size_t position, bool extend) {
    caret_ = ValidPosition(log, position);
    if (!extend) anchor_ = caret_;
    goalColumn_.reset();
}

void LogSelection::Select(const LogBuffer& log, std::size_t anchor, std::size_t caret) {
    anchor_ = ValidPosition(log, anchor);
    caret_ = ValidPosition(log, caret);
    goalColumn_.reset();
}

void LogSelection::SelectAll(const LogBuffer& log) { Select(log, 0, log.Size()); }

void LogSelection::SelectWord(const LogBuffer& log, std::size_t position) {
    const TextSpan word = WordAt(log, position);
    Select(log, word.begin, word.end);
}

void LogSelection::Move(const LogBuffer& log, CaretMove move, bool extend, std::size_t pageLines) {
    anchor_ = ValidPosition(log, anchor_);
    caret_ = ValidPosition(log, caret_);
    const std::size_t line = log.LineOf(caret_);
    std::optional<std::size_t> goal;
    std::size_t to = caret_;
    auto vertical = [&](std::size_t target) {
        goal = goalColumn_ ? *goalColumn_ : ColumnOf(log, caret_);
        to = PositionAt(log, target, *goal);
    };
    const std::size_t last = log.LineCount() - 1;
    pageLines = std::max<std::size_t>(pageLines, 1);
    switch (move) {
        case CaretMove::CharLeft:
            if (!extend && !Empty()) to = Start();
            else if (caret_ > 0) to = caret_ == log.LineStart(line) ? caret_ - 2 : caret_ - 1;
            break;
        case CaretMove::CharRight:
            if (!extend && !Empty()) to = End();
            else if (caret_ < log.Size() && caret_ == log.LineStart(line) + log.LineLength(line))
                to = caret_ + 2;
            else if (caret_ < log.Size())
                // Past the whole character, however many bytes it takes.
                for (to = caret_ + 1; to < log.Size() && Continuation(log.Text()[to]);) ++to;
            break;
        case CaretMove::WordLeft: to = WordLeftOf(log, caret_); break;
        case CaretMove::WordRight: to = WordRightOf(log, caret_); break;
        case CaretMove::LineUp: vertical(line > 0 ? line - 1 : 0); break;
        case CaretMove::LineDown: vertical(std::min(line + 1, last)); break;
        case CaretMove::PageUp: vertical(line > pageLines ? line - pageLines : 0); break;
        case CaretMove::PageDown: vertical(std::min(line + pageLines, last)); break;
        case CaretMove::LineStart: to = log.LineStart(line); break;
        case CaretMove::LineEnd: to = log.LineStart(line) + log.LineLength(line); break;
        case CaretMove::TextStart: to = 0; break;
        case CaretMove::TextEnd: to = log.Size(); break;
    }
    caret_ = ValidPosition(log, to);
    if (!extend) anchor_ = caret_;
    goalColumn_ = goal;
}

void LogSelection::Shift(const LogBuffer::Trim& trim) {
    auto shift = [&](std::size_t& p) {
        if (p >= trim.position + trim.characters) p -= trim.characters;
        else if (p > trim.position) p = trim.position;
    };
    shift(anchor_);
    shift(caret_);
}

std::string_view LogSelection::Text(const LogBuffer& log) const {
    const std::size_t begin = std::min(Start(), log.Size());
    const std::size_t end = std::min(End(), log.Size());
    return std::string_view(log.Text()).substr(begin, end - begin);
}

namespace edit {

// The messages count UTF-16 units, as a Unicode text control does; the log's
// positions are bytes.
namespace {
std::int64_t Units(const LogBuffer& log, std::size_t position) {
    return static_cast<std::int64_t>(log.Utf16Offset(position));
}
std::size_t Bytes(const LogBuffer& log, std::int32_t units) {
    return log.ByteOffset(static_cast<std::size_t>(units));
}
}  // namespace

std::int64_t LineIndex(const LogBuffer& log, const LogSelection& selection, std::int32_t line) {
    if (line == -1) return Units(log, log.LineStart(log.LineOf(selection.Caret())));
    if (line < 0 || static_cast<std::size_t>(line) >= log.LineCount()) return -1;
    return Units(log, log.LineStart(static_cast<std::size_t>(line)));
}

std::int64_t LineLength(const LogBuffer& log, const LogSelection& selection, std::int32_t position) {
    if (position == -1) {
        const std::size_t first = log.LineOf(selection.Start());
        const std::size_t last = log.LineOf(selection.End());
        const std::size_t lastEnd = log.LineStart(last) + log.LineLength(last);
        const std::int64_t before = Units(log, selection.Start()) - Units(log, log.LineStart(first));
        const std::int64_t after = lastEnd > selection.End() ? Units(log, lastEnd) - Units(log, selection.End()) : 0;
        return before + after;
    }
    if (position < 0 || static_cast<std::size_t>(position) > log.Utf16Size()) return 0;
    return static_cast<std::int64_t>(Utf16Length(log.Line(log.LineOf(Bytes(log, position)))));
}

std::int64_t LineFromChar(const LogBuffer& log, const LogSelection& selection, std::int32_t position) {
    if (position == -1) return static_cast<std::int64_t>(log.LineOf(selection.Start()));
    if (position < 0) return static_cast<std::int64_t>(log.LineCount() - 1);
    return static_cast<std::int64_t>(log.LineOf(Bytes(log, position)));
}

void SetSel(const LogBuffer& log, LogSelection& selection, std::int32_t start, std::int32_t end) {
    if (start == -1) {
        selection.Place(log, selection.Caret(), false);
        return;
    }
    auto position = [&](std::int32_t value) { return value < 0 ? log.Size() : Bytes(log, value); };
    selection.Select(log, position(start), position(end));
}

std::pair<std::size_t, std::size_t> GetSel(const LogBuffer& log, const LogSelection& selection) {
    return {log.Utf16Offset(selection.Start()), log.Utf16Offset(selection.End())};
}

std::size_t GetLine(const LogBuffer& log, std::int32_t line, char16_t* out, std::size_t capacity) {
    if (!out || line < 0 || static_cast<std::size_t>(line) >= log.LineCount()) return 0;
    const std::u16string text = Utf8ToUtf16(log.Line(static_cast<std::size_t>(line)));
    const std::size_t n = std::min(text.size(), capacity);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), out);
    if (n < capacity) out[n] = u'\0';
    return n;
}

}  // namespace edit

}  // namespace vantrel
