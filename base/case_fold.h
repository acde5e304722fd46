#pragma once
// Comparing texts without regard to case, the same way wherever the user
// searches (the message log, the window tree): a simple folding, one
// character to one character, of the letters of the scripts that have case
// and that the system's own upper- and lower-casing covers: Latin (with its
// accented letters), Greek, Cyrillic and Armenian, and the full-width Latin
// letters. Folding never changes a character's length in UTF-8, so a match
// in the folded text is a match of the same bytes in the original.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The folded (lower-case) form of a character; the character itself when it
// has no case.
char32_t FoldCase(char32_t c);

// The folded form of a UTF-8 text, of the same length in bytes. Bytes that
// start no valid character stay as they are.
std::string FoldCase(std::string_view utf8);

// A text to look for, folded once and searched for in many texts.
class FoldedFinder {
public:
    explicit FoldedFinder(std::string_view text);

    bool Empty() const { return folded_.empty(); }
    // The byte offset of the first match at or after from, or npos.
    std::size_t Find(std::string_view text, std::size_t from = 0) const;
    // True when the text matches at offset start.
    bool MatchesAt(std::string_view text, std::size_t start) const;

private:
    std::string folded_;
    // The search looks for one character of the text (the rarest-looking)
    // and checks the whole text around it: where it sits in the folded text,
    // and which bytes can begin it in any case.
    std::size_t anchor_ = 0;
    std::array<bool, 256> anchorLead_{};
};

}  // namespace vantrel
