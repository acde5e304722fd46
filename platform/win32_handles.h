#pragma once
// Small owners for the handles Vantrel takes from the system, so each is given
// back on every path out of the command that took it.

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace vantrel::win32 {

// Owns one handle of type T and gives it back with Close when it goes.
template <typename T, typename Close, T Empty = T{}>
class Owned {
public:
    Owned() = default;
    explicit Owned(T handle) : handle_(handle) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Empty)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Empty));
        return *this;
    }
    ~Owned() { reset(); }

    T get() const { return handle_; }
    explicit operator bool() const { return handle_ != Empty; }
    T release() { return std::exchange(handle_, Empty); }
    void reset(T handle = Empty) {
        if (handle_ != Empty) Close{}(handle_);
        handle_ = handle;
    }

private:
    T handle_ = Empty;
};

struct CloseKernelHandle { void operator()(HANDLE h) const { ::CloseHandle(h); } };
struct DeleteGdiObject { void operator()(HGDIOBJ h) const { ::DeleteObject(h); } };
struct DestroyMenuHandle { void operator()(HMENU h) const { ::DestroyMenu(h); } };
struct DestroyImageList { void operator()(HIMAGELIST h) const { ::ImageList_Destroy(h); } };
struct DestroyAccelerators { void operator()(HACCEL h) const { ::DestroyAcceleratorTable(h); } };
struct DestroyIconHandle { void operator()(HICON h) const { ::DestroyIcon(h); } };
struct UnmapView { void operator()(void* p) const { ::UnmapViewOfFile(p); } };
struct FreeGlobalMemory { void operator()(HGLOBAL h) const { ::GlobalFree(h); } };

using KernelHandle = Owned<HANDLE, CloseKernelHandle, nullptr>;
using FontHandle = Owned<HFONT, DeleteGdiObject, nullptr>;
using BitmapHandle = Owned<HBITMAP, DeleteGdiObject, nullptr>;
using BrushHandle = Owned<HBRUSH, DeleteGdiObject, nullptr>;
using MenuHandle = Owned<HMENU, DestroyMenuHandle, nullptr>;
using ImageListHandle = Owned<HIMAGELIST, DestroyImageList, nullptr>;
using AcceleratorHandle = Owned<HACCEL, DestroyAccelerators, nullptr>;
using IconHandle = Owned<HICON, DestroyIconHandle, nullptr>;
using MappedView = Owned<void*, UnmapView, nullptr>;
using GlobalMemory = Owned<HGLOBAL, FreeGlobalMemory, nullptr>;

// A file handle: the platform's "no handle" is INVALID_HANDLE_VALUE.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE h) : handle_(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { reset(); }
    HANDLE get() const { return handle_; }
    void reset() {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The device context of a window, or of the whole screen for a null window.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { if (dc_) ::ReleaseDC(window_, dc_); }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The painting of a window's invalid area, from BeginPaint to EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { ::EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }
    const RECT& area() const { return paint_.rcPaint; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A window's redrawing switched off for as long as this object lives; then it
// is switched on again and the whole window repainted.
class RedrawOff {
public:
    explicit RedrawOff(HWND window) : window_(window) { ::SendMessageA(window_, WM_SETREDRAW, FALSE, 0); }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;
    ~RedrawOff() {
        ::SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(window_, nullptr, TRUE);
    }

private:
    HWND window_;
};

// The clipboard, open for as long as this object lives.
class OpenClipboard {
public:
    explicit OpenClipboard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
    ~OpenClipboard() { if (open_) ::CloseClipboard(); }
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

// Selects a GDI object into a device context and puts the old one back.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    ~SelectObjectScope() { ::SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace vantrel::win32
