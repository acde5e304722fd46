#pragma once
// A text looked for in many others without regard to case, by the one rule
// of a search (UpperForSearch, base/unicode.h), fast enough for a log of a
// million lines: the text is upper-cased once, and each place is compared
// character by character, without upper-casing the whole text searched.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

class CaselessFinder {
public:
    explicit CaselessFinder(std::string_view text);

    bool Empty() const { return upper_.empty(); }
    // The byte offset of the first match at or after from, or npos.
    std::size_t Find(std::string_view text, std::size_t from = 0) const;
    // True when the text matches at byte offset start.
    bool MatchesAt(std::string_view text, std::size_t start) const;

private:
    std::string upper_;
    // The search looks for one character of the text (the rarest-looking in
    // a log line) and compares the whole text around it: where it sits, and
    // which bytes can begin it in any case.
    std::size_t anchor_ = 0;
    std::array<bool, 256> anchorLead_{};
};

}  // namespace vantrel
