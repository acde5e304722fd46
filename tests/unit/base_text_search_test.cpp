// A text found without regard to case: wherever it lies, by the one rule of a
// search (checked against upper-casing both texts whole), in every cased script.

#include "base/text_search.h"
#include "base/unicode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextSearch, FindsTheTextInAnyCaseWhereverItLies) {
    const std::string haystack =
        "00:00:01::002 | 15 - WM_PAINT | \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xCE\xB1\xCE\xB2 Caf\xC3\xA9 |";
    struct Case {
        std::string needle;
        std::size_t at;
    } cases[] = {
        {"wm_paint", 21}, {"WM_Paint", 21}, {"PAINT |", 24}, {"0", 0}, {"::0", 8}, {"|", 14},
        {"\xD0\xBF\xD0\xA0\xD0\x98", 32},              // Cyrillic "пРИ" in "Привет"
        {"| \xD0\xBF", 30},
        {"\xCE\x91\xCE\x92", 45},                       // Greek capitals find "αβ"
        {"CAF\xC3\xA9", 50},                            // a to z fold, the accented letter matches itself
        {"caf\xC3\x89", std::string::npos},             // no other Latin letter folds
        {"WM_PAINTS", std::string::npos}, {"\xD0\xB6", std::string::npos},
    };
    for (const Case& c : cases) {
        const vantrel::CaselessFinder finder(c.needle);
        EXPECT_EQ(finder.Find(haystack), c.at) << c.needle;
        // The same answer as upper-casing both whole.
        EXPECT_EQ(vantrel::UpperForSearch(haystack).find(vantrel::UpperForSearch(c.needle)), c.at) << c.needle;
    }
    const vantrel::CaselessFinder finder("wm_");
    EXPECT_EQ(finder.Find(haystack, 22), std::string::npos);
    EXPECT_TRUE(finder.MatchesAt(haystack, 21));
    EXPECT_FALSE(finder.MatchesAt(haystack, 22));
    EXPECT_FALSE(finder.MatchesAt(haystack, haystack.size() - 1));
    EXPECT_TRUE(vantrel::CaselessFinder("").Empty());
    EXPECT_EQ(vantrel::CaselessFinder("").Find(haystack), std::string::npos);
    EXPECT_EQ(vantrel::CaselessFinder("\xFF" "a").Find("x\xFF" "A"), 1u);  // a stray byte matches itself
    EXPECT_EQ(vantrel::CaselessFinder("\xF0\x90\x90\x80").Find("x\xF0\x90\x90\xA8"), 1u);  // Deseret, 4 bytes
}

}  // namespace
