#include "platform/win32_clipboard.h"

#include "platform/win32_handles.h"
#include "platform/win32_text.h"

#include <cstring>
#include <optional>
#include <string>

namespace vantrel::win32 {

namespace {
constexpr int kOpenAttempts = 20;
constexpr DWORD kOpenRetryMs = 10;
}  // namespace

namespace {

// The text with its terminating zero in global memory the clipboard can take.
template <typename Char>
GlobalMemory TextMemory(const std::basic_string<Char>& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(Char);
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return memory;
    void* target = ::GlobalLock(memory.get());
    if (!target) return {};
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory.get());
    return memory;
}

}  // namespace

bool PutClipboardText(HWND owner, std::string_view text) {
    // Unicode text for programs that read it, every character kept; and the
    // 8-bit ANSI form, as the system itself would make it, for those that
    // read only that.
    GlobalMemory unicode = TextMemory(Wide(text));
    GlobalMemory ansi = TextMemory(ToAnsi(text));
    if (!unicode || !ansi) return false;
    std::optional<OpenClipboard> clipboard;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        clipboard.emplace(owner);
        if (*clipboard) break;
        clipboard.reset();
        ::Sleep(kOpenRetryMs);
    }
    if (!clipboard) return false;
    ::EmptyClipboard();
    // The clipboard owns the memory once it has taken it.
    if (!::SetClipboardData(CF_UNICODETEXT, unicode.get())) return false;
    unicode.release();
    if (!::SetClipboardData(CF_TEXT, ansi.get())) return false;
    ansi.release();
    return true;
}

}  // namespace vantrel::win32
