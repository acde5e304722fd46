// The integer conversion of the Set Style dialog and the spin field rules of
// the Edit / Move dialog, checked against small reference models of their own
// on a few million generated texts (fixed seed, so a failure repeats).
//
// The references work differently from the product on purpose: they cut the
// text into its parts first (blanks, sign or prefix, digits), drop leading
// zeros and compare digit strings by length and then by text, so a mistake in
// digit-by-digit accumulation or overflow checks cannot hide in both.

#include "base/error.h"
#include "windowops/int_conversion.h"
#include "windowops/spin_field.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace {

using vantrel::SpinRange;

bool AllOf(const std::string& text, bool (*test)(char)) {
    for (char c : text)
        if (!test(c)) return false;
    return true;
}
bool IsDec(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDec(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

std::string WithoutLeadingZeros(const std::string& digits) {
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

// Digit strings without leading zeros: a <= b.
bool NotAbove(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a <= b;
}

std::uint64_t DecValue(const std::string& digits) {  // at most 10 significant digits
    std::uint64_t v = 0;
    for (char c : WithoutLeadingZeros(digits)) v = v * 10 + static_cast<unsigned>(c - '0');
    return v;
}

// Reference of the conversion rule; nullopt is the conversion error.
std::optional<std::uint32_t> ReferenceConvert(const std::string& text) {
    const std::string body = text.substr(std::min(text.find_first_not_of(' '), text.size()));
    if (body.empty()) return std::nullopt;
    const char first = body[0];
    if (first == '+' || first == '-') {
        const std::string digits = body.substr(1);
        if (digits.empty() || !AllOf(digits, IsDec)) return std::nullopt;
        const std::string bare = WithoutLeadingZeros(digits);
        if (!NotAbove(bare, first == '-' ? "2147483648" : "4294967295")) return std::nullopt;
        const std::uint64_t v = DecValue(bare);
        return static_cast<std::uint32_t>(first == '-' ? (0x100000000ull - v) : v);
    }
    std::string hex;
    bool isHex = true;
    if (body.rfind("0x", 0) == 0 || body.rfind("0X", 0) == 0) hex = body.substr(2);
    else if (first == '$' || first == 'x' || first == 'X') hex = body.substr(1);
    else isHex = false;
    if (isHex) {
        if (hex.empty() || !AllOf(hex, IsHex)) return std::nullopt;
        const std::string bare = WithoutLeadingZeros(hex);
        if (bare.size() > 8) return std::nullopt;
        return static_cast<std::uint32_t>(std::stoul(bare, nullptr, 16));
    }
    if (!AllOf(body, IsDec)) return std::nullopt;
    const std::string bare = WithoutLeadingZeros(body);
    if (!NotAbove(bare, "4294967295")) return std::nullopt;
    return static_cast<std::uint32_t>(DecValue(bare));
}

// Reference of a spin field's reading: blanks, a sign, decimal digits, within
// the 32-bit signed integers; anything else is no integer.
std::optional<std::int64_t> ReferenceSpinInteger(const std::string& text) {
    std::string body = text.substr(std::min(text.find_first_not_of(' '), text.size()));
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.erase(0, 1);
    }
    if (body.empty() || !AllOf(body, IsDec)) return std::nullopt;
    const std::string bare = WithoutLeadingZeros(body);
    if (!NotAbove(bare, negative ? "2147483648" : "2147483647")) return std::nullopt;
    const auto v = static_cast<std::int64_t>(DecValue(bare));
    return negative ? -v : v;
}

std::int64_t ReferenceClamp(std::int64_t v, SpinRange r) {
    return v < r.minimum ? r.minimum : (v > r.maximum ? r.maximum : v);
}

// Texts near the rules' edges: blanks, signs, prefixes, runs of zeros, the
// limits of 32 bits and one step beyond, stray characters in every place.
class TextGenerator {
public:
    explicit TextGenerator(std::uint32_t seed) : random_(seed) {}

    std::string Next() {
        switch (Pick(6)) {
            case 0: return Noise();
            case 1: return Blanks() + Sign() + Digits("0123456789", 12) + Tail();
            case 2: return Blanks() + Prefix() + Digits("0123456789abcdefABCDEF", 11) + Tail();
            case 3: return Blanks() + Sign() + Edge() + Tail();
            case 4: return Blanks() + Prefix() + Zeros() + HexEdge() + Tail();
            default: return Mutate(Blanks() + Sign() + Zeros() + Edge());
        }
    }

private:
    int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }
    std::string Blanks() { return std::string(Pick(4) == 0 ? static_cast<size_t>(Pick(3) + 1) : 0u, ' '); }
    std::string Zeros() { return std::string(Pick(3) == 0 ? static_cast<size_t>(Pick(12)) : 0u, '0'); }
    std::string Sign() {
        static const char* signs[] = {"", "", "+", "-", "--", "+-"};
        return signs[Pick(6)];
    }
    std::string Prefix() {
        static const char* prefixes[] = {"$", "x", "X", "0x", "0X", "$$", "0", "x0x", "-$", "+0x", ""};
        return prefixes[Pick(11)];
    }
    std::string Digits(const char* alphabet, int maxLength) {
        const std::string set = alphabet;
        std::string out = Zeros();
        const int length = Pick(maxLength + 1);
        for (int i = 0; i < length; ++i) out += set[static_cast<size_t>(Pick(static_cast<int>(set.size())))];
        return out;
    }
    std::string Edge() {
        static const char* edges[] = {"0",          "1",          "4000",       "4001",       "3999",
                                      "2147483647", "2147483648", "2147483649", "4294967295", "4294967296",
                                      "9999999999", "10000000000", "18446744073709551616", "32000"};
        return edges[Pick(14)];
    }
    std::string HexEdge() {
        static const char* edges[] = {"FFFFFFFF", "ffffffff", "100000000", "80000000", "7FFFFFFF", "0", "1F",
                                      "123456789", "DeadBeef"};
        return edges[Pick(9)];
    }
    std::string Tail() {
        static const char* tails[] = {"", "", "", "", " ", "\t", "g", ".", "0", "x", "\0"};
        const int i = Pick(11);
        return i == 10 ? std::string(1, '\0') : tails[i];
    }
    std::string Noise() {
        static const std::string set = " +-$xX0123456789aAfFgG.,\t";
        std::string out;
        const int length = Pick(14);
        for (int i = 0; i < length; ++i) {
            out += Pick(20) == 0 ? static_cast<char>(random_() & 0xFF) : set[static_cast<size_t>(Pick(25))];
        }
        return out;
    }
    std::string Mutate(std::string text) {
        if (text.empty()) return text;
        const size_t at = static_cast<size_t>(Pick(static_cast<int>(text.size())));
        switch (Pick(3)) {
            case 0: text.erase(at, 1); break;
            case 1: text.insert(at, 1, "0 9-+$xFf"[Pick(9)]); break;
            default: text[at] = static_cast<char>(random_() & 0xFF); break;
        }
        return text;
    }

    std::mt19937 random_;
};

constexpr int kCases = 1'000'000;

TEST(NumberRulesProperty, ConversionAgreesWithTheReferenceOnAMillionTexts) {
    TextGenerator generator(20261208);
    int accepted = 0;
    for (int i = 0; i < kCases; ++i) {
        const std::string text = generator.Next();
        const std::optional<std::uint32_t> expected = ReferenceConvert(text);
        std::optional<std::uint32_t> actual;
        std::string message;
        try {
            actual = vantrel::ConvertToInt32(text);
        } catch (const vantrel::VantrelError& error) {
            message = error.what();
        }
        ASSERT_EQ(actual.has_value(), expected.has_value()) << "verdict for '" << text << "'";
        if (expected) {
            ASSERT_EQ(*actual, *expected) << "value of '" << text << "'";
            ++accepted;
        } else {
            // The report is a C string: a zero byte typed into the text ends it.
            ASSERT_EQ(message, std::string(("'" + text + "' is not a valid integer value").c_str()));
        }
    }
    // The generator must exercise both verdicts in earnest.
    EXPECT_GT(accepted, kCases / 10);
    EXPECT_LT(accepted, kCases * 4 / 5);
}

TEST(NumberRulesProperty, SpinFieldsAgreeWithTheReferenceOnAMillionTexts) {
    TextGenerator generator(4000);
    std::mt19937 random(7);
    const SpinRange ranges[] = {{-4000, 4000}, {0, 4000}};
    int integers = 0;
    for (int i = 0; i < kCases; ++i) {
        const std::string text = generator.Next();
        const SpinRange range = ranges[i % 2];
        const std::optional<std::int64_t> integer = ReferenceSpinInteger(text);
        if (integer) ++integers;

        const std::optional<int> parsed = vantrel::ParseSpinText(text);
        ASSERT_EQ(parsed.has_value(), integer.has_value()) << "'" << text << "'";
        if (integer) ASSERT_EQ(*parsed, *integer) << "'" << text << "'";

        // Reading: the integer, or the minimum for a text that is none (not clamped).
        const std::int64_t value = integer.value_or(range.minimum);
        ASSERT_EQ(vantrel::SpinValue(text, range), value) << "'" << text << "'";

        // An arrow step moves by one within the range.
        const int delta = (random() & 1) ? 1 : -1;
        ASSERT_EQ(vantrel::SpinStep(text, delta, range), ReferenceClamp(value + delta, range)) << "'" << text << "'";

        // Leaving the field brings a value outside the range into it.
        const std::optional<std::string> onLeave = vantrel::SpinTextOnFocusLoss(text, range);
        if (value < range.minimum || value > range.maximum) {
            ASSERT_TRUE(onLeave.has_value()) << "'" << text << "'";
            ASSERT_EQ(*onLeave, std::to_string(ReferenceClamp(value, range))) << "'" << text << "'";
        } else {
            ASSERT_FALSE(onLeave.has_value()) << "'" << text << "'";
        }

        // Setting any 64-bit value shows it brought into the range.
        const auto set = static_cast<std::int64_t>((static_cast<std::uint64_t>(random()) << 32) | random()) >>
                         (random() % 64);
        ASSERT_EQ(vantrel::SpinText(set, range), std::to_string(ReferenceClamp(set, range))) << set;

        // Typed characters: digits, signs and the decimal separator are taken,
        // every other printable character is refused.
        const char typed = text.empty() ? '5' : text[static_cast<size_t>(i) % text.size()];
        if (static_cast<unsigned char>(typed) >= 32) {
            const bool expected = IsDec(typed) || typed == '+' || typed == '-' || typed == ',';
            ASSERT_EQ(vantrel::IsSpinKeyAccepted(typed, ','), expected) << static_cast<int>(typed);
        }
    }
    EXPECT_GT(integers, kCases / 10);
    EXPECT_LT(integers, kCases * 4 / 5);
}

}  // namespace
