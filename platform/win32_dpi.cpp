#include "platform/win32_dpi.h"

#include "base/dpi.h"
#include "platform/win32_handles.h"

namespace vantrel::win32 {

namespace {

template <typename Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(L"user32.dll", name)));
}

// The awareness a context stands for; nullopt for one the system does not know.
std::optional<DpiAwareness> AwarenessOf(DPI_AWARENESS_CONTEXT context) {
    using EqualFunction = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
    using AwarenessFunction = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
    static const auto equal = User32Function<EqualFunction>("AreDpiAwarenessContextsEqual");
    static const auto awareness = User32Function<AwarenessFunction>("GetAwarenessFromDpiAwarenessContext");
    if (!context || !equal || !awareness) return std::nullopt;
    // Both are refinements the plain awareness does not tell apart.
    if (equal(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return DpiAwareness::PerMonitorV2;
    if (equal(context, DPI_AWARENESS_CONTEXT_UNAWARE_GDISCALED)) return DpiAwareness::UnawareGdiScaled;
    switch (awareness(context)) {
    case DPI_AWARENESS_UNAWARE: return DpiAwareness::Unaware;
    case DPI_AWARENESS_SYSTEM_AWARE: return DpiAwareness::System;
    case DPI_AWARENESS_PER_MONITOR_AWARE: return DpiAwareness::PerMonitor;
    default: return std::nullopt;
    }
}

}  // namespace

FARPROC SystemFunction(const wchar_t* library, const char* name) {
    wchar_t path[MAX_PATH + 32] = {};
    const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    path[length] = L'\\';
    ::lstrcpynW(path + length + 1, library, 30);
    // Loaded for good: the functions found are kept for the program's life.
    HMODULE module = ::GetModuleHandleW(path);
    if (!module) module = ::LoadLibraryW(path);
    return module ? ::GetProcAddress(module, name) : nullptr;
}

WindowScale ScaleOfWindow(HWND window) {
    using DpiFunction = UINT(WINAPI*)(HWND);
    using ContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<DpiFunction>("GetDpiForWindow");
    static const auto getContext = User32Function<ContextFunction>("GetWindowDpiAwarenessContext");
    WindowScale scale;
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) scale.dpi = static_cast<int>(dpi);
    }
    if (getContext) scale.awareness = AwarenessOf(getContext(window));
    return scale;
}

std::optional<DpiAwareness> ProcessDpiAwareness(HANDLE process) {
    using ContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(HANDLE);
    static const auto getContext = User32Function<ContextFunction>("GetDpiAwarenessContextForProcess");
    if (getContext) return AwarenessOf(getContext(process));
    // Before Windows 10 1903 the scaling library tells the three plain kinds.
    using AwarenessFunction = HRESULT(WINAPI*)(HANDLE, int*);
    static const auto getAwareness = reinterpret_cast<AwarenessFunction>(
        reinterpret_cast<void*>(SystemFunction(L"shcore.dll", "GetProcessDpiAwareness")));
    int value = -1;
    if (!getAwareness || FAILED(getAwareness(process, &value))) return std::nullopt;
    switch (value) {
    case 0: return DpiAwareness::Unaware;
    case 1: return DpiAwareness::System;
    case 2: return DpiAwareness::PerMonitor;
    default: return std::nullopt;
    }
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    WindowDC dc(window);
    const int dpi = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : kDefaultDpi;
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustFunction>("AdjustWindowRectExForDpi");
    if (adjustForDpi && adjustForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi))) return;
    ::AdjustWindowRectEx(&rect, style, menu, exStyle);
}

}  // namespace vantrel::win32
