#pragma once
// The lines of the message log as the log pane holds them: the header line
// first, then one line per logged message. The whole text (lines joined by
// CR LF, none after the last) is kept ready, so reading it from another
// program or saving it never has to join 200,000 lines first, and appending
// costs the same however long the log has grown.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class LogBuffer {
public:
    // A log holding only its header line.
    explicit LogBuffer(std::string_view header);

    // Adds a line at the end. A line that itself holds CR LF pairs adds one
    // line per piece, as the joined text then reads.
    void Append(std::string_view line);
    // Back to the header line alone.
    void Clear();
    // Replaces the whole log with a text whose lines are separated by CR LF
    // (what a new window text holds); an empty text is one empty line.
    void Assign(std::string_view text);

    std::size_t LineCount() const { return starts_.size(); }
    // Line i without its line break; empty past the last line.
    std::string_view Line(std::size_t i) const;
    // The length of the longest line, in characters.
    std::size_t LongestLine() const { return longest_; }

    // The lines joined by CR LF, with no line break after the last.
    const std::string& Text() const { return text_; }
    // Copies at most capacity - 1 characters of the text and a terminating
    // zero, as a window hands out its text; returns the characters copied.
    std::size_t CopyText(char* out, std::size_t capacity) const;

private:
    void AddLines(std::string_view text);

    std::string header_;
    std::string text_;
    std::vector<std::size_t> starts_;  // where each line begins in text_
    std::size_t longest_ = 0;
};

}  // namespace vantrel
