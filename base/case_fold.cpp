#include "base/case_fold.h"

#include "base/unicode.h"

namespace vantrel {

namespace {

// Upper-case letters whose lower case follows at the next code point, in
// ranges where they alternate (the upper case on the even or the odd points).
struct Alternating {
    char32_t first, last;
};
constexpr Alternating kEvenUpper[] = {
    {0x0100, 0x012F}, {0x0132, 0x0137}, {0x014A, 0x0177}, {0x01DE, 0x01EF}, {0x01F8, 0x021F},
    {0x0222, 0x0233}, {0x03D8, 0x03EF}, {0x0460, 0x0481}, {0x048A, 0x04BF}, {0x04D0, 0x052F},
    {0x1E00, 0x1E95}, {0x1EA0, 0x1EFF},
};
constexpr Alternating kOddUpper[] = {{0x0139, 0x0148}, {0x0179, 0x017E}, {0x01CD, 0x01DC}, {0x04C1, 0x04CE}};

// Upper-case letters whose lower case lies a fixed distance away.
struct Shifted {
    char32_t first, last;
    char32_t distance;
};
constexpr Shifted kShifted[] = {
    {U'A', U'Z', 32},        {0x00C0, 0x00D6, 32},   {0x00D8, 0x00DE, 32}, {0x0388, 0x038A, 37},
    {0x038E, 0x038F, 63},    {0x0391, 0x03A1, 32},   {0x03A3, 0x03AB, 32}, {0x0400, 0x040F, 80},
    {0x0410, 0x042F, 32},    {0x0531, 0x0556, 48},   {0xFF21, 0xFF3A, 32},
};

// Single letters.
struct Pair {
    char32_t upper, lower;
};
constexpr Pair kPairs[] = {
    {0x0178, 0x00FF}, {0x0386, 0x03AC}, {0x038C, 0x03CC}, {0x03C2, 0x03C3}, {0x04C0, 0x04CF},
};

// How rare a character looks in a log line: the search anchors on the
// rarest one of the text, so that fewer places need a closer look.
int Rarity(char32_t c) {
    if (c >= 0x80) return 3;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return 2;
    if ((c >= '0' && c <= '9') || c == ' ' || c == '|' || c == ':' || c == '-' || c == '=') return 0;
    return 1;
}

constexpr char32_t kLastFolded = 0xFF3A;

}  // namespace

char32_t FoldCase(char32_t c) {
    if (c < 0x80) return c >= U'A' && c <= U'Z' ? c + 32 : c;
    if (c > kLastFolded) return c;
    for (const Shifted& s : kShifted)
        if (c >= s.first && c <= s.last) return c + s.distance;
    for (const Alternating& a : kEvenUpper)
        if (c >= a.first && c <= a.last) return (c % 2 == 0) ? c + 1 : c;
    for (const Alternating& a : kOddUpper)
        if (c >= a.first && c <= a.last) return (c % 2 == 1) ? c + 1 : c;
    for (const Pair& p : kPairs)
        if (c == p.upper) return p.lower;
    return c;
}

std::string FoldCase(std::string_view utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t c = NextCharacter(utf8, pos);
        if (c == 0xFFFD && !(pos - start == 3 && utf8.compare(start, 3, "\xEF\xBF\xBD") == 0))
            folded.append(utf8.substr(start, pos - start));  // not a character: kept as it is
        else
            AppendUtf8(folded, FoldCase(c));
    }
    return folded;
}

FoldedFinder::FoldedFinder(std::string_view text) : folded_(FoldCase(text)) {
    int best = -1;
    char32_t anchor = 0;
    for (std::size_t pos = 0; pos < folded_.size();) {
        const std::size_t start = pos;
        const char32_t c = NextCharacter(folded_, pos);
        if (Rarity(c) > best) {
            best = Rarity(c);
            anchor_ = start;
            anchor = c;
        }
    }
    if (folded_.empty()) return;
    anchorLead_[static_cast<unsigned char>(folded_[anchor_])] = true;
    // Every character that folds to the anchor can begin it.
    if (anchor >= 'a' && anchor <= 'z') {
        anchorLead_[static_cast<unsigned char>(anchor - 32)] = true;
    } else if (anchor >= 0x80) {
        for (char32_t c = 0x80; c <= kLastFolded; ++c) {
            if (c == anchor || FoldCase(c) != anchor) continue;
            std::string bytes;
            AppendUtf8(bytes, c);
            anchorLead_[static_cast<unsigned char>(bytes[0])] = true;
        }
    }
}

bool FoldedFinder::MatchesAt(std::string_view text, std::size_t start) const {
    if (start > text.size() || text.size() - start < folded_.size()) return false;
    std::size_t p = start;
    std::size_t q = 0;
    std::string folded;
    while (q < folded_.size()) {
        const auto b = static_cast<unsigned char>(text[p]);
        if (b < 0x80) {
            if (static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b) != folded_[q]) return false;
            ++p;
            ++q;
            continue;
        }
        const std::size_t from = p;
        const char32_t c = NextCharacter(text, p);
        folded.clear();
        if (c == 0xFFFD && p - from == 1) folded.push_back(text[from]);
        else AppendUtf8(folded, FoldCase(c));
        if (folded_.compare(q, folded.size(), folded) != 0) return false;
        q += folded.size();
    }
    return true;
}

std::size_t FoldedFinder::Find(std::string_view text, std::size_t from) const {
    if (folded_.empty() || text.size() < folded_.size()) return std::string_view::npos;
    const std::size_t last = text.size() - folded_.size();  // the last possible start
    for (std::size_t i = from + anchor_; i <= last + anchor_; ++i) {
        if (!anchorLead_[static_cast<unsigned char>(text[i])]) continue;
        if (MatchesAt(text, i - anchor_)) return i - anchor_;
    }
    return std::string_view::npos;
}

}  // namespace vantrel
