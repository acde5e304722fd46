// Texts in every script: the one conversion between the rules' UTF-8 and the
// system's UTF-16, and limits counted in UTF-16 units.

#include "base/unicode.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// "Привет αβ 你好" and U+1F600 (a face, outside the basic plane), written
// as their code units so the test does not depend on the source's encoding.
const std::u16string kMixed16 = u"\u041F\u0440\u0438\u0432\u0435\u0442 \u03B1\u03B2 \u4F60\u597D \xD83D\xDE00";
const std::string kMixed8 =
    "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xCE\xB1\xCE\xB2 \xE4\xBD\xA0\xE5\xA5\xBD \xF0\x9F\x98\x80";

TEST(BaseUnicode, ConvertsEveryScriptBothWays) {
    EXPECT_EQ(Utf8ToUtf16(kMixed8), kMixed16);
    EXPECT_EQ(Utf16ToUtf8(kMixed16), kMixed8);
    EXPECT_EQ(Utf8ToUtf16("Edit"), u"Edit");
    EXPECT_EQ(Utf16ToUtf8(u""), "");
}

TEST(BaseUnicode, BrokenInputReadsAsReplacementCharacters) {
    // A stray continuation byte, a cut-off sequence, an overlong "/", an
    // encoded surrogate, and lone surrogates in UTF-16.
    EXPECT_EQ(Utf8ToUtf16("a\x80" "b"), u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("\xE4\xBD"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD83D}), "a\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00, u'b'}), "\xEF\xBF\xBD" "b");
}

TEST(BaseUnicode, LimitsCountUtf16UnitsAndNeverSplitACharacter) {
    EXPECT_EQ(Utf16Length(kMixed8), kMixed16.size());
    // The face takes two units: a limit that would end between them drops it.
    const std::string face = "\xF0\x9F\x98\x80";
    EXPECT_EQ(CutToUtf16Units("ab" + face, 3), "ab");
    EXPECT_EQ(CutToUtf16Units("ab" + face, 4), "ab" + face);
    EXPECT_EQ(CutToUtf16Units("\xD0\x9F\xD1\x80", 1), "\xD0\x9F");
    EXPECT_EQ(CutToUtf16Units("abc", 255), "abc");
    EXPECT_TRUE(IsAscii("Vantrel {Button}"));
    EXPECT_FALSE(IsAscii(kMixed8));
}

// Capitals written out as the scripts' tables give them, not derived.
TEST(BaseUnicode, UpperForSearchFoldsEveryCasedScriptButLatinBeyondAToZ) {
    const struct {
        const char* small;
        const char* capital;
    } cases[] = {
        {"abc xyz 09{}", "ABC XYZ 09{}"},
        {"\xC3\xA9t\xC3\xA9 \xC3\xBC", "\xC3\xA9T\xC3\xA9 \xC3\xBC"},      // accented Latin stays
        {"\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",                // привет
         "\xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2"},               // ПРИВЕТ
        {"\xD1\x91\xD1\x97", "\xD0\x81\xD0\x87"},                              // ё ї -> Ё Ї
        {"\xCE\xB1\xCE\xB2\xCF\x82\xCE\xAC", "\xCE\x91\xCE\x92\xCE\xA3\xCE\x86"},  // αβςά -> ΑΒΣΆ
        {"\xD5\xA1", "\xD4\xB1"},                                                  // Armenian ayb
        {"\xF0\x90\x90\xA8", "\xF0\x90\x90\x80"},                              // Deseret long i
        {"\xE4\xBD\xA0\xE5\xA5\xBD \xD8\xB3\xD9\x84\xD8\xA7\xD9\x85",      // no case: unchanged
         "\xE4\xBD\xA0\xE5\xA5\xBD \xD8\xB3\xD9\x84\xD8\xA7\xD9\x85"},
    };
    for (const auto& c : cases) EXPECT_EQ(UpperForSearch(c.small), c.capital) << c.small;
    EXPECT_EQ(UpperForSearch("\xD0\x9F\xD0\xA0"), "\xD0\x9F\xD0\xA0");  // capitals stay
    EXPECT_EQ(UpperForSearch("a\xFF" "b"), "A\xFF" "B");                     // a stray byte stays
}

}  // namespace
}  // namespace vantrel
