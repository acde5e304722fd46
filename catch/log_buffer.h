#pragma once
// The lines of the message log as the log pane holds them: the header line
// first, then one line per logged message. The whole text (lines joined by
// CR LF, none after the last) is kept ready, so reading it from another
// program or saving it never has to join 200,000 lines first, and appending
// costs the same however long the log has grown.
//
// The text is UTF-8. Positions in it are byte offsets, each CR LF between two
// lines counting two; a position never stands inside a character. A text
// control counts in UTF-16 units instead: Utf16Offset and ByteOffset turn one
// into the other, at no cost while the log holds 7-bit characters only (as
// every line of the log's own columns does).
//
// The log keeps at most a limit of lines after its first (header) line. Once
// the limit is passed the oldest lines go, a tenth of the limit at a time, so
// the cost of dropping them stays small per appended line.
//
// Each line carries a tag: a number its owner gives it when appending it
// (what the line stands for, as the message a log line logs), kept with the
// line and dropped with it. Lines that came otherwise have none.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class LogBuffer {
public:
    // A log holding only its header line.
    explicit LogBuffer(std::string_view header);

    // What a drop of the oldest lines removed from the text: the characters
    // from position on (whole lines with their line breaks); every position
    // after them moved back by that many.
    struct Trim {
        std::size_t position = 0;
        std::size_t characters = 0;
        std::size_t lines = 0;
    };

    // The tag of a line that was given none.
    static constexpr std::uint32_t kNoTag = 0xFFFFFFFF;

    // Adds a line at the end, with its tag. A line that itself holds CR LF
    // pairs adds one line per piece, as the joined text then reads, each
    // with the tag. Beyond the limit the oldest lines after the first are
    // dropped. On failure (memory) the log is left as it was and the error
    // goes on to the caller.
    Trim Append(std::string_view line, std::uint32_t tag = kNoTag);
    // Back to the header line alone.
    void Clear();
    // Replaces the whole log with a text whose lines are separated by CR LF
    // (what a new window text holds); an empty text is one empty line. Its
    // first line stands in for the header when the limit drops lines.
    void Assign(std::string_view text);

    // Lines kept after the first line at most; 0 keeps every line.
    void SetLineLimit(std::size_t limit);
    std::size_t LineLimit() const { return limit_; }
    // True once lines were dropped for the limit, until Clear or Assign.
    bool LimitReached() const { return limitReached_; }

    std::size_t LineCount() const { return starts_.size(); }
    // Line i without its line break; empty past the last line.
    std::string_view Line(std::size_t i) const;
    std::size_t LineLength(std::size_t i) const { return Line(i).size(); }
    // Line i's tag; kNoTag past the last line.
    std::uint32_t Tag(std::size_t i) const { return i < tags_.size() ? tags_[i] : kNoTag; }
    // Where line i begins in the text; the text's length past the last line.
    std::size_t LineStart(std::size_t i) const { return i < starts_.size() ? starts_[i] : text_.size(); }
    // The line that holds a position; its line break belongs to it, and a
    // position past the end belongs to the last line.
    std::size_t LineOf(std::size_t position) const;
    // The length of the longest line, in characters.
    std::size_t LongestLine() const { return longest_; }

    // The lines joined by CR LF, with no line break after the last.
    const std::string& Text() const { return text_; }
    std::size_t Size() const { return text_.size(); }
    // Copies at most capacity - 1 UTF-16 units of the text and a terminating
    // zero, as a window hands out its text (never half a surrogate pair);
    // returns the units copied.
    std::size_t CopyText(char16_t* out, std::size_t capacity) const;
    // True while every line holds 7-bit characters only.
    bool Ascii() const { return nonAsciiLines_ == 0; }
    // A byte position as UTF-16 units from the text's start, and back (a
    // unit inside a character goes to the character's start).
    std::size_t Utf16Offset(std::size_t position) const;
    std::size_t ByteOffset(std::size_t utf16Position) const;
    // The text's length in UTF-16 units.
    std::size_t Utf16Size() const { return Ascii() ? text_.size() : Utf16Offset(text_.size()); }

private:
    void AddLines(std::string_view text, std::uint32_t tag);
    Trim Enforce();
    void Recount();

    std::string header_;
    std::string text_;
    std::vector<std::size_t> starts_;  // where each line begins in text_
    std::vector<std::uint32_t> tags_;  // each line's tag
    std::size_t longest_ = 0;
    std::size_t nonAsciiLines_ = 0;
    std::size_t limit_ = 0;
    bool limitReached_ = false;
};

}  // namespace vantrel
