#include "platform/win32_text.h"

namespace vantrel::win32 {

std::string ToAnsi(std::string_view utf8, bool exact, bool* lost) {
    const std::wstring wide = Wide(utf8);
    if (lost) *lost = false;
    if (wide.empty()) return {};
    const DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
    const int length = static_cast<int>(wide.size());
    const int size = ::WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    BOOL usedDefault = FALSE;
    ::WideCharToMultiByte(CP_ACP, flags, wide.data(), length, ansi.data(), size, exact ? "?" : nullptr,
                          exact ? &usedDefault : nullptr);
    if (lost) *lost = usedDefault != FALSE;
    return ansi;
}

std::string OwnWindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return Narrow(text);
}

void SetOwnWindowText(HWND window, std::string_view text) { ::SetWindowTextW(window, Wide(text).c_str()); }

}  // namespace vantrel::win32
