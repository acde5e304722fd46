#include "windowops/value_text.h"

namespace vantrel {

std::string Hex8(std::uint32_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = digits[value & 0xF];
    return text;
}

std::string ValueText(std::uint32_t value, bool hexMode) {
    return hexMode ? Hex8(value) : std::to_string(value);
}

std::string SignedValueText(std::uint32_t value, bool hexMode) {
    return hexMode ? Hex8(value) : std::to_string(static_cast<std::int32_t>(value));
}

}  // namespace vantrel
