#pragma once
// Texts in every script. Vantrel's rules keep one text type: UTF-8 in a
// std::string. The Win32 layer reads and writes windows' texts in UTF-16 and
// converts once, with these functions, where a text crosses into the rules.
// Limits that the system counts in UTF-16 units (a label's 255 characters, a
// field's length) are counted here the same way, and a cut never splits a
// character.

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// UTF-8 to UTF-16. A byte that starts no valid character reads as U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// UTF-16 to UTF-8. A surrogate without its partner reads as U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// How many UTF-16 units the text takes (2 for a character outside the basic
// plane, 1 for any other).
std::size_t Utf16Length(std::string_view utf8);

// The longest start of the text that takes at most maxUnits UTF-16 units and
// ends on a whole character: a surrogate pair is never cut in half.
std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits);

// Upper-cases a text for a search that ignores case: the Latin letters a to z
// become A to Z and no other Latin letter changes (accented ones included);
// the letters of the other scripts that have case (Greek, Cyrillic,
// Armenian, Glagolitic, Coptic, Cherokee, Deseret) become their capitals.
// Every other character stays as it is.
std::string UpperForSearch(std::string_view utf8);
// The same rule for one character. It never changes a character's length in
// UTF-8, so a match in the upper-cased text is a match of as many bytes in
// the original.
char32_t UpperForSearch(char32_t c);

// The character at utf8[pos], moving pos past it. A byte that starts no
// valid character reads as U+FFFD and moves pos one byte on.
char32_t NextCharacter(std::string_view utf8, std::size_t& pos);

// Appends a character (at most U+10FFFF, not a surrogate) in UTF-8.
void AppendUtf8(std::string& utf8, char32_t c);

// True when every character of the text is 7-bit ASCII.
bool IsAscii(std::string_view text);

}  // namespace vantrel
