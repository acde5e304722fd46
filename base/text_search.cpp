#include "base/text_search.h"

#include "base/unicode.h"

namespace vantrel {

namespace {

// How rare a character looks in a log line: the search anchors on the
// rarest one of the text, so that fewer places need a closer look.
int Rarity(char32_t c) {
    if (c >= 0x80) return 3;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return 2;
    if ((c >= '0' && c <= '9') || c == ' ' || c == '|' || c == ':' || c == '-' || c == '=') return 0;
    return 1;
}

// Above this no small letter has a capital under the rule.
constexpr char32_t kLastCased = 0x1044F;

}  // namespace

CaselessFinder::CaselessFinder(std::string_view text) : upper_(UpperForSearch(text)) {
    if (upper_.empty()) return;
    int best = -1;
    char32_t anchor = 0;
    for (std::size_t pos = 0; pos < upper_.size();) {
        const std::size_t start = pos;
        const char32_t c = NextCharacter(upper_, pos);
        if (Rarity(c) > best) {
            best = Rarity(c);
            anchor_ = start;
            anchor = c;
        }
    }
    anchorLead_[static_cast<unsigned char>(upper_[anchor_])] = true;
    // Every character the rule turns into the anchor can begin it.
    if (anchor >= 'A' && anchor <= 'Z') {
        anchorLead_[static_cast<unsigned char>(anchor - 'A' + 'a')] = true;
    } else if (anchor >= 0x80 && anchor <= kLastCased) {
        std::string bytes;
        for (char32_t c = 0x80; c <= kLastCased; ++c) {
            if (c == anchor || (c >= 0xD800 && c <= 0xDFFF) || UpperForSearch(c) != anchor) continue;
            bytes.clear();
            AppendUtf8(bytes, c);
            anchorLead_[static_cast<unsigned char>(bytes[0])] = true;
        }
    }
}

bool CaselessFinder::MatchesAt(std::string_view text, std::size_t start) const {
    if (start > text.size() || text.size() - start < upper_.size()) return false;
    std::size_t p = start;
    std::size_t q = 0;
    std::string upper;
    while (q < upper_.size()) {
        const auto b = static_cast<unsigned char>(text[p]);
        if (b < 0x80) {
            if (static_cast<char>(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b) != upper_[q]) return false;
            ++p;
            ++q;
            continue;
        }
        const std::size_t from = p;
        const char32_t c = NextCharacter(text, p);
        upper.clear();
        if (c == 0xFFFD && p - from == 1) upper.push_back(text[from]);  // a stray byte stays what it was
        else AppendUtf8(upper, UpperForSearch(c));
        if (upper_.compare(q, upper.size(), upper) != 0) return false;
        q += upper.size();
    }
    return true;
}

std::size_t CaselessFinder::Find(std::string_view text, std::size_t from) const {
    if (upper_.empty() || text.size() < upper_.size()) return std::string_view::npos;
    const std::size_t last = text.size() - upper_.size();  // the last possible start
    for (std::size_t i = from + anchor_; i <= last + anchor_; ++i) {
        if (!anchorLead_[static_cast<unsigned char>(text[i])]) continue;
        if (MatchesAt(text, i - anchor_)) return i - anchor_;
    }
    return std::string_view::npos;
}

}  // namespace vantrel
