// The helpers every subsystem shares.

#include "base/text.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

TEST(BaseText, Hex8WritesEightUpperCaseDigits) {
    EXPECT_EQ(Hex8(0), "00000000");
    EXPECT_EQ(Hex8(498), "000001F2");
    EXPECT_EQ(Hex8(0xABCDEF01u), "ABCDEF01");
    EXPECT_EQ(Hex8(0xFFFFFFFFu), "FFFFFFFF");
}

TEST(BaseText, LatinUpperChangesTheLettersAToZOnly) {
    EXPECT_EQ(LatinUpper("abcxyz ABC 09 {}[]`@"), "ABCXYZ ABC 09 {}[]`@");
    // Accented and other 8-bit letters stay as they are (Latin-1 bytes).
    EXPECT_EQ(LatinUpper("\xE9t\xE9 \xFC\xDF\xE0"), "\xE9T\xE9 \xFC\xDF\xE0");
    // Bytes above 127 are negative chars on most compilers: none may change.
    std::string all;
    for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
    const std::string upper = LatinUpper(all);
    for (int c = 1; c < 256; ++c) {
        const char expected = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : static_cast<char>(c);
        EXPECT_EQ(upper[static_cast<size_t>(c - 1)], expected) << "character " << c;
    }
}

}  // namespace
}  // namespace vantrel
