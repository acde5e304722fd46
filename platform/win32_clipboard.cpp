#include "platform/win32_clipboard.h"

#include "platform/win32_handles.h"

#include <cstring>
#include <optional>

namespace vantrel::win32 {

namespace {
constexpr int kOpenAttempts = 20;
constexpr DWORD kOpenRetryMs = 10;
}  // namespace

bool PutClipboardText(HWND owner, std::string_view text) {
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!memory) return false;
    {
        void* bytes = ::GlobalLock(memory.get());
        if (!bytes) return false;
        std::memcpy(bytes, text.data(), text.size());
        static_cast<char*>(bytes)[text.size()] = '\0';
        ::GlobalUnlock(memory.get());
    }
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
    if (!::SetClipboardData(CF_TEXT, memory.get())) return false;
    memory.release();
    return true;
}

}  // namespace vantrel::win32
