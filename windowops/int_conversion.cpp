#include "windowops/int_conversion.h"

#include "base/error.h"

namespace vantrel {

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string NotAnIntegerMessage(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

std::uint32_t ConvertToInt32(const std::string& text) {
    const auto fail = [&text]() -> std::uint32_t { throw VantrelError(NotAnIntegerMessage(text)); };

    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;

    bool negative = false;
    bool sign = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        sign = true;
        ++i;
    }

    if (!sign) {
        size_t digitsAt = 0;
        if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
            digitsAt = i + 1;
        } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            digitsAt = i + 2;
        }
        if (digitsAt != 0) {
            if (digitsAt == text.size()) return fail();
            std::uint32_t value = 0;
            int significant = 0;
            for (size_t k = digitsAt; k < text.size(); ++k) {
                const int digit = HexDigitValue(text[k]);
                if (digit < 0) return fail();
                if (significant > 0 || digit != 0) ++significant;
                if (significant > 8) return fail();
                value = (value << 4) | static_cast<std::uint32_t>(digit);
            }
            return value;
        }
    }

    if (i == text.size()) return fail();
    // Accumulated in 64 bits and checked digit by digit, so a long run of
    // digits cannot wrap around into an accepted value.
    constexpr std::uint64_t kLargestPositive = 4294967295u;
    constexpr std::uint64_t kLargestNegative = 2147483648u;
    const std::uint64_t limit = negative ? kLargestNegative : kLargestPositive;
    std::uint64_t magnitude = 0;
    for (size_t k = i; k < text.size(); ++k) {
        if (!IsDecimalDigit(text[k])) return fail();
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(text[k] - '0');
        if (magnitude > limit) return fail();
    }
    const auto pattern = static_cast<std::uint32_t>(magnitude);
    return negative ? static_cast<std::uint32_t>(0u - pattern) : pattern;
}

}  // namespace vantrel
