#pragma once
// Text helpers that several subsystems share: the same rule wherever a
// handle is written in hexadecimal or a label is compared without case.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// 8 upper-case hexadecimal digits with leading zeros (498 reads 000001F2).
std::string Hex8(std::uint32_t value);

// Upper-cases the letters a to z only; every other character, 8-bit letters
// included, stays as it is.
std::string LatinUpper(std::string_view text);

}  // namespace vantrel
