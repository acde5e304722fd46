#pragma once
// Numbers with names, as the platform's headers define them: a value shown
// as one name among several (a size type, a hit-test code) or as the names of
// its set flags (SWP_*, MK_*), with what no name covers left as a number.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

struct Named {
    std::uint32_t number;
    std::string_view name;
};

// The name of a number in a table sorted by number ("" when it has none).
std::string_view SortedName(std::span<const Named> sorted, std::uint32_t number);
// The name of a number in a short table in any order ("" when it has none).
std::string_view NameIn(std::span<const Named> table, std::uint32_t number);
// The name of a number in a short table, or the number in decimal (signed).
std::string NameOrNumber(std::span<const Named> table, std::uint32_t number);
// The names of the table's flags that are set in a value, in the table's
// order, joined by " | ", with a hexadecimal remainder ("0x..") for bits no
// name covers; "0" for no bits at all. A table entry may cover several bits:
// it is named when all of them are set, and takes them out of the remainder.
std::string FlagsText(std::span<const Named> flags, std::uint32_t value);

// "0x" and 8 upper-case hexadecimal digits.
std::string Hex32(std::uint32_t value);
// "0x" and 8 digits, or 16 when the value does not fit 32 bits.
std::string Hex64(std::uint64_t value);

}  // namespace vantrel
