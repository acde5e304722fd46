#pragma once
// The conversion of a typed number into a 32-bit value, as the Set Style
// dialog reads its fields.

#include <cstdint>
#include <string>

namespace vantrel {

// Converts text to a 32-bit value:
// - leading space characters are skipped (no other blank is);
// - "+" or "-" followed by decimal digits; a decimal value lies in
//   -2147483648 .. 4294967295 and is stored as its 32-bit pattern (-1 is
//   FFFFFFFF), so every number the dialog shows converts back to itself;
// - without a sign, "$", "x", "X", "0x" or "0X" selects hexadecimal: digits
//   0-9, A-F, a-f, leading zeros allowed, at most 8 significant digits;
// - nothing may follow the digits, not even a space.
// Anything else raises VantrelError "'<text>' is not a valid integer value".
std::uint32_t ConvertToInt32(const std::string& text);

// The message of the conversion error for text.
std::string NotAnIntegerMessage(const std::string& text);

}  // namespace vantrel
