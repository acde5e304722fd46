#include "base/error.h"
#include "shell/error_report.h"
#include "windowops/int_conversion.h"

#include <gtest/gtest.h>

#include <string>

using vantrel::ConvertToInt32;
using vantrel::VantrelError;

namespace {

// The message of the error raised for text, or "" when none was raised.
std::string ErrorFor(const std::string& text) {
    try {
        ConvertToInt32(text);
    } catch (const VantrelError& error) {
        return error.what();
    }
    return "";
}

TEST(IntConversion, DecimalCoversTheWhole32BitPatternRange) {
    EXPECT_EQ(ConvertToInt32("0"), 0u);
    EXPECT_EQ(ConvertToInt32("498"), 498u);
    EXPECT_EQ(ConvertToInt32("+498"), 498u);
    EXPECT_EQ(ConvertToInt32("2147483647"), 0x7FFFFFFFu);
    // Shown for a style with WS_POPUP: must convert back to the same value.
    EXPECT_EQ(ConvertToInt32("2147483648"), 0x80000000u);
    EXPECT_EQ(ConvertToInt32("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(ConvertToInt32("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ConvertToInt32("-2147483648"), 0x80000000u);
    EXPECT_EQ(ConvertToInt32("-0"), 0u);
    EXPECT_EQ(ConvertToInt32("0000000000012"), 12u);
}

TEST(IntConversion, DecimalOutside32BitsIsRefused) {
    EXPECT_EQ(ErrorFor("4294967296"), "'4294967296' is not a valid integer value");
    EXPECT_NE(ErrorFor("-2147483649"), "");
    // Would wrap to a small value if the digits were gathered in 32 bits.
    EXPECT_NE(ErrorFor("18446744073709551617"), "");
    EXPECT_NE(ErrorFor("+4294967296"), "");
}

TEST(IntConversion, HexadecimalPrefixesSelectHexadecimalWithoutSign) {
    EXPECT_EQ(ConvertToInt32("$1F"), 31u);
    EXPECT_EQ(ConvertToInt32("0x1F"), 31u);
    EXPECT_EQ(ConvertToInt32("0X1f"), 31u);
    EXPECT_EQ(ConvertToInt32("x1F"), 31u);
    EXPECT_EQ(ConvertToInt32("X1F"), 31u);
    EXPECT_EQ(ConvertToInt32("$FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ConvertToInt32("$16CF0000"), 0x16CF0000u);
    EXPECT_EQ(ConvertToInt32("$000000000001F"), 31u);  // leading zeros are not significant
    EXPECT_EQ(ConvertToInt32("$00000000"), 0u);
    EXPECT_NE(ErrorFor("$100000000"), "");              // nine significant digits
    EXPECT_NE(ErrorFor("-$1F"), "");                    // a sign takes decimal digits only
    EXPECT_NE(ErrorFor("+0x1F"), "");
    EXPECT_NE(ErrorFor("1F"), "");                      // hexadecimal digits need the prefix
}

TEST(IntConversion, OnlyLeadingSpacesAreSkippedAndNothingMayFollow) {
    EXPECT_EQ(ConvertToInt32("   42"), 42u);
    EXPECT_EQ(ConvertToInt32("  $1F"), 31u);
    EXPECT_EQ(ErrorFor("$ 1F"), "'$ 1F' is not a valid integer value");  // the "$" before the space
    EXPECT_NE(ErrorFor("42 "), "");
    EXPECT_NE(ErrorFor("\t42"), "");
    EXPECT_NE(ErrorFor("- 1"), "");
    EXPECT_NE(ErrorFor("1.0"), "");
    EXPECT_NE(ErrorFor("$1F "), "");
}

TEST(IntConversion, EmptyTextsAndBarePrefixesAreErrorsQuotingTheWholeText) {
    EXPECT_EQ(ErrorFor(""), "'' is not a valid integer value");
    EXPECT_EQ(ErrorFor("$$1F"), "'$$1F' is not a valid integer value");
    for (const char* text : {" ", "+", "-", "$", "x", "0x", "0X", "  $"}) EXPECT_NE(ErrorFor(text), "") << text;
    // "0" alone is a decimal zero, not an unfinished "0x".
    EXPECT_EQ(ConvertToInt32("0"), 0u);
}

TEST(IntConversion, TheErrorReportAddsAFullStop) {
    EXPECT_EQ(vantrel::ErrorReportText(ErrorFor("$$1F")), "'$$1F' is not a valid integer value.");
}

}  // namespace
