#include "tree/node_label.h"

#include "base/text.h"
#include "base/unicode.h"

namespace vantrel {

std::string HandleField(Handle window, bool hexMode) {
    if (hexMode) return Hex8(window);
    std::string digits = std::to_string(window);
    return std::string(10 - digits.size(), '0') + digits;
}

std::string NodeLabel(Handle window, std::string_view text, std::string_view className, bool hexMode) {
    std::string label = HandleField(window, hexMode);
    label.reserve(label.size() + text.size() + className.size() + 7);
    if (!text.empty()) {
        label += "  ";
        label += text;
    }
    label += "  {";
    label += className;
    label += '}';
    // The limit counts UTF-16 units, as the tree holds the label, and a cut
    // never leaves half a character.
    return CutToUtf16Units(label, kMaxLabelLength);
}

std::optional<Handle> HandleFromLabel(std::string_view label, bool hexMode) {
    const std::size_t width = hexMode ? 8 : 10;
    if (label.size() < width) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : label.substr(0, width)) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hexMode && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else if (hexMode && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else return std::nullopt;
        value = value * (hexMode ? 16 : 10) + static_cast<std::uint64_t>(digit);
    }
    if (value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<Handle>(value);
}

}  // namespace vantrel
