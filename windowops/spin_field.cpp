#include "windowops/spin_field.h"

#include <limits>

namespace vantrel {

int ClampToRange(std::int64_t value, SpinRange range) {
    if (value < range.minimum) return range.minimum;
    if (value > range.maximum) return range.maximum;
    return static_cast<int>(value);
}

std::optional<int> ParseSpinText(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                        : std::numeric_limits<int>::max();
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int SpinValue(const std::string& text, SpinRange range) { return ParseSpinText(text).value_or(range.minimum); }

std::string SpinText(std::int64_t value, SpinRange range) { return std::to_string(ClampToRange(value, range)); }

int SpinStep(const std::string& text, int delta, SpinRange range) {
    return ClampToRange(static_cast<std::int64_t>(SpinValue(text, range)) + delta, range);
}

std::optional<std::string> SpinTextOnFocusLoss(const std::string& text, SpinRange range) {
    const int value = SpinValue(text, range);
    if (ClampToRange(value, range) == value) return std::nullopt;
    return SpinText(value, range);
}

bool IsSpinKeyAccepted(char typed, char decimalSeparator) {
    if (typed >= '0' && typed <= '9') return true;
    if (typed == '+' || typed == '-' || typed == decimalSeparator) return true;
    const auto code = static_cast<unsigned char>(typed);
    return code < 32 && code != '\r';
}

}  // namespace vantrel
