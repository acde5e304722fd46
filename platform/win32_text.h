#pragma once
// Texts crossing between Vantrel's rules (UTF-8) and the system (UTF-16 in
// the wide-character calls, or the 8-bit ANSI code page where a file or a
// clipboard format asks for it). Every text Vantrel reads from or writes to a
// window goes through the wide calls and these conversions, so no character
// is lost on the way.

#include "base/unicode.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace vantrel::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's wide characters are UTF-16 units");

inline std::wstring Wide(std::string_view utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

inline std::string Narrow(std::wstring_view utf16) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

// The text in the system's ANSI code page. With exact set, a character the
// code page cannot hold becomes "?" and lost tells so; without, the system's
// own conversion applies (the one that makes CF_TEXT of Unicode text, which
// may write a near letter instead).
std::string ToAnsi(std::string_view utf8, bool exact = false, bool* lost = nullptr);

// The text of a window of Vantrel's own (a control, a form), as UTF-8.
std::string OwnWindowText(HWND window);
// Sets the text of a window of Vantrel's own.
void SetOwnWindowText(HWND window, std::string_view text);

}  // namespace vantrel::win32
