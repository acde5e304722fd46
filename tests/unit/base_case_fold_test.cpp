// Comparing without regard to case: the folding of each script that has case,
// written as the Unicode charts pair the letters, and the search built on it.

#include "base/case_fold.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CaseFold, EachScriptsCapitalsFoldToTheirSmallLetters) {
    const char32_t pairs[][2] = {
        {U'A', U'a'}, {U'Z', U'z'}, {U'\u00C0', U'\u00E0'}, {U'\u00DE', U'\u00FE'}, {U'\u0178', U'\u00FF'},
        {U'\u0100', U'\u0101'}, {U'\u0139', U'\u013A'}, {U'\u017D', U'\u017E'}, {U'\u01CD', U'\u01CE'},
        {U'\u0391', U'\u03B1'}, {U'\u03A3', U'\u03C3'}, {U'\u03C2', U'\u03C3'}, {U'\u0386', U'\u03AC'},
        {U'\u038F', U'\u03CE'}, {U'\u0401', U'\u0451'}, {U'\u0416', U'\u0436'}, {U'\u042F', U'\u044F'},
        {U'\u0460', U'\u0461'}, {U'\u04C0', U'\u04CF'}, {U'\u04C1', U'\u04C2'}, {U'\u0531', U'\u0561'},
        {U'\u1E94', U'\u1E95'}, {U'\u1EA0', U'\u1EA1'}, {U'\uFF21', U'\uFF41'},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(vantrel::FoldCase(p[0]), p[1]) << std::hex << static_cast<unsigned>(p[0]);
        EXPECT_EQ(vantrel::FoldCase(p[1]), p[1]);
    }
    // No case, or a folding that would change a character's length: unchanged.
    for (char32_t c : {U'1', U'_', U'\u00D7', U'\u00DF', U'\u0130', U'\u017F', U'\u212A', U'\u65E5', U'\U0001F600'})
        EXPECT_EQ(vantrel::FoldCase(c), c);
    const std::string text = "Stra\xC3\x9F" "e \xD0\x96\xD0\x96 \xCE\xA3\xCE\xA3 \xFF OK";  // a stray byte kept
    EXPECT_EQ(vantrel::FoldCase(text), "stra\xC3\x9F" "e \xD0\xB6\xD0\xB6 \xCF\x83\xCF\x83 \xFF ok");
}

TEST(CaseFold, FinderMatchesInAnyCaseWhereverTheTextLies) {
    const std::string haystack = "00:00:01::002 | 15 - WM_PAINT | \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 |";
    struct Case {
        std::string needle;
        std::size_t at;
    } cases[] = {
        {"wm_paint", 21}, {"WM_Paint", 21}, {"PAINT |", 24}, {"0", 0}, {"::0", 8},
        {"\xD0\xBF\xD0\xA0\xD0\x98", 32},  // Cyrillic: "пРИ" in "Привет"
        {"| \xD0\xBF", 30},
        {"WM_PAINTS", std::string::npos}, {"\xD0\xB6", std::string::npos}, {"|", 14},
    };
    for (const Case& c : cases) EXPECT_EQ(vantrel::FoldedFinder(c.needle).Find(haystack), c.at) << c.needle;
    const vantrel::FoldedFinder finder("wm_");
    EXPECT_EQ(finder.Find(haystack, 22), std::string::npos);
    EXPECT_TRUE(finder.MatchesAt(haystack, 21));
    EXPECT_FALSE(finder.MatchesAt(haystack, 22));
    EXPECT_TRUE(vantrel::FoldedFinder("").Empty());
    EXPECT_EQ(vantrel::FoldedFinder("").Find(haystack), std::string::npos);
    EXPECT_EQ(vantrel::FoldedFinder("\xFF" "a").Find("x\xFF" "A"), 1u);  // bytes that are no character match as they are
}

}  // namespace
