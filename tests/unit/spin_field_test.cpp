#include "windowops/spin_field.h"

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

constexpr SpinRange kPosition{-4000, 4000};
constexpr SpinRange kSize{0, 4000};

TEST(SpinField, SetValuesAreBroughtIntoRange) {
    EXPECT_EQ(SpinText(-32000, kPosition), "-4000");  // a minimized window's parking place
    EXPECT_EQ(SpinText(5000, kSize), "4000");
    EXPECT_EQ(SpinText(-1, kSize), "0");
    EXPECT_EQ(SpinText(123, kPosition), "123");
    // A width derived from an extreme rectangle is wider than 32 bits.
    EXPECT_EQ(ClampToRange(4294967295LL, kSize), 4000);
    EXPECT_EQ(ClampToRange(-4294967295LL, kPosition), -4000);
}

TEST(SpinField, TextThatIsNoIntegerReadsAsTheMinimum) {
    EXPECT_EQ(SpinValue("", kPosition), -4000);
    EXPECT_EQ(SpinValue("", kSize), 0);
    EXPECT_EQ(SpinValue("-", kPosition), -4000);
    EXPECT_EQ(SpinValue("12.5", kSize), 0);
    EXPECT_EQ(SpinValue("1-2", kSize), 0);
    EXPECT_EQ(SpinValue("99999999999", kSize), 0);
    EXPECT_EQ(SpinValue("640", kSize), 640);
    EXPECT_EQ(SpinValue("+640", kSize), 640);
    EXPECT_EQ(SpinValue("-8", kPosition), -8);
    // Reading does not clamp: that happens when the field loses the focus.
    EXPECT_EQ(SpinValue("5000", kSize), 5000);
}

TEST(SpinField, StepsStayWithinTheRange) {
    EXPECT_EQ(SpinStep("10", 1, kSize), 11);
    EXPECT_EQ(SpinStep("10", -1, kSize), 9);
    EXPECT_EQ(SpinStep("4000", 1, kSize), 4000);
    EXPECT_EQ(SpinStep("0", -1, kSize), 0);
    EXPECT_EQ(SpinStep("", 1, kPosition), -3999);  // from the minimum
    EXPECT_EQ(SpinStep("9000", -1, kSize), 4000);
    EXPECT_EQ(SpinStep("2147483647", 1, kPosition), 4000);
}

TEST(SpinField, FocusLossClampsOnlyOutOfRangeIntegers) {
    EXPECT_EQ(SpinTextOnFocusLoss("5000", kSize), std::optional<std::string>("4000"));
    EXPECT_EQ(SpinTextOnFocusLoss("-5000", kPosition), std::optional<std::string>("-4000"));
    EXPECT_EQ(SpinTextOnFocusLoss("-1", kSize), std::optional<std::string>("0"));
    EXPECT_EQ(SpinTextOnFocusLoss("4000", kSize), std::nullopt);
    EXPECT_EQ(SpinTextOnFocusLoss("", kSize), std::nullopt);
    EXPECT_EQ(SpinTextOnFocusLoss("abc", kSize), std::nullopt);
}

TEST(SpinField, TypedKeysOfANumberAreTakenOthersRefused) {
    for (char c : std::string("0123456789+-.")) EXPECT_TRUE(IsSpinKeyAccepted(c, '.')) << c;
    EXPECT_TRUE(IsSpinKeyAccepted(',', ','));
    EXPECT_FALSE(IsSpinKeyAccepted(',', '.'));
    for (char c : std::string("aZx$ e/")) EXPECT_FALSE(IsSpinKeyAccepted(c, '.')) << c;
    EXPECT_TRUE(IsSpinKeyAccepted('\b', '.'));    // Backspace edits
    EXPECT_TRUE(IsSpinKeyAccepted('\x16', '.'));  // Ctrl+V
    EXPECT_FALSE(IsSpinKeyAccepted('\r', '.'));
}

}  // namespace
