#pragma once
// Putting text on the clipboard, as "Copy value" and the log pane's Copy do.

#include <windows.h>

#include <string_view>

namespace vantrel::win32 {

// Puts text (UTF-8) on the clipboard as CF_UNICODETEXT and as CF_TEXT in the
// ANSI code page, owned by owner. Another program may
// hold the clipboard open for a moment (one that reads what was just copied,
// say), so opening it is tried again for a little while. False when the
// clipboard could not be opened or the text not handed over.
bool PutClipboardText(HWND owner, std::string_view text);

}  // namespace vantrel::win32
