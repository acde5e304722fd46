#pragma once
// The rules of a spin field: an integer held as text within a range, stepped
// by its arrows, refusing keys that cannot be part of a number.

#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

struct SpinRange {
    int minimum = 0;
    int maximum = 0;
};

// A value brought into the range: below the minimum becomes the minimum,
// above the maximum the maximum. Takes 64 bits so that values derived from a
// placement record (a width is a difference) never wrap before clamping.
int ClampToRange(std::int64_t value, SpinRange range);

// The integer written in the field: optional leading spaces, an optional
// sign and decimal digits that fit in 32 bits. Anything else is no integer.
std::optional<int> ParseSpinText(const std::string& text);

// The value the field holds: its integer, or the range's minimum when the
// text is not an integer. Not brought into the range.
int SpinValue(const std::string& text, SpinRange range);

// The text of a value set into the field, brought into the range first.
std::string SpinText(std::int64_t value, SpinRange range);

// The value after one arrow click or Up / Down key: the current value moved
// by delta, kept within the range.
int SpinStep(const std::string& text, int delta, SpinRange range);

// The new text of a field that loses the focus when its value lies outside
// the range; nothing when the text stays as it is (a text that is no integer
// reads as the minimum, which lies in the range, so it stays too).
std::optional<std::string> SpinTextOnFocusLoss(const std::string& text, SpinRange range);

// Whether a typed character is taken: digits, "+", "-", the decimal
// separator, and control characters (Backspace, the clipboard keys).
bool IsSpinKeyAccepted(char typed, char decimalSeparator);

}  // namespace vantrel
