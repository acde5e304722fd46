#include "catch/named_values.h"

#include "base/text.h"

#include <algorithm>

namespace vantrel {

std::string_view SortedName(std::span<const Named> sorted, std::uint32_t number) {
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), number,
                                     [](const Named& entry, std::uint32_t n) { return entry.number < n; });
    return it != sorted.end() && it->number == number ? it->name : std::string_view();
}

std::string_view NameIn(std::span<const Named> table, std::uint32_t number) {
    for (const Named& entry : table)
        if (entry.number == number) return entry.name;
    return {};
}

std::string NameOrNumber(std::span<const Named> table, std::uint32_t number) {
    const std::string_view name = NameIn(table, number);
    return name.empty() ? std::to_string(static_cast<std::int32_t>(number)) : std::string(name);
}

std::string FlagsText(std::span<const Named> flags, std::uint32_t value) {
    if (value == 0) return "0";
    std::string text;
    std::uint32_t rest = value;
    for (const Named& flag : flags) {
        if (flag.number == 0 || (value & flag.number) != flag.number || (rest & flag.number) == 0) continue;
        if (!text.empty()) text += " | ";
        text += flag.name;
        rest &= ~flag.number;
    }
    if (rest != 0) {
        if (!text.empty()) text += " | ";
        text += Hex32(rest);
    }
    return text;
}

std::string Hex32(std::uint32_t value) { return "0x" + Hex8(value); }

std::string Hex64(std::uint64_t value) {
    if (value >> 32 == 0) return Hex32(static_cast<std::uint32_t>(value));
    return "0x" + Hex8(static_cast<std::uint32_t>(value >> 32)) + Hex8(static_cast<std::uint32_t>(value));
}

}  // namespace vantrel
