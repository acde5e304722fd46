#pragma once
// How 32-bit values read in the property list and the Set Style dialog.

#include <cstdint>
#include <string>

namespace vantrel {

// 8 upper-case hexadecimal digits without prefix in hexadecimal mode (498
// reads 000001F2), the unsigned decimal number otherwise (498).
std::string ValueText(std::uint32_t value, bool hexMode);

// The same 8 digits in hexadecimal mode, a signed decimal number otherwise
// (0x80000000 reads -2147483648): the "Parent real" row.
std::string SignedValueText(std::uint32_t value, bool hexMode);

}  // namespace vantrel
