// Checks that the built vantrel.exe carries its resources in a usable form:
// the three image strips, each drawn for 100, 150 and 200 %, load with the
// sizes the image lists expect, their magenta background masks out, the
// corner arrows draw their tip into the right corner and nothing else of
// their square at every size, the icon has all its sizes and a transparent
// mask, the manifest asks for per-monitor screen scale awareness, and the
// version information is present.
//
// Usage: vantrel_resource_check <path of vantrel.exe>. Prints one line per
// failed check and exits with 1 if any failed.

#include "resources/resource_names.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int g_failures = 0;

void Check(bool ok, const std::string& what) {
    if (!ok) {
        std::printf("FAILED: %s\n", what.c_str());
        ++g_failures;
    }
}

constexpr COLORREF kBackground = RGB(0, 128, 0);  // a colour none of the pictures uses

// A 24-bit memory surface filled with kBackground, to draw on and read back.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    int w, h;
    Surface(int width, int height) : w(width), h(height) {
        HDC screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        bitmap = ::CreateCompatibleBitmap(screen, w, h);
        ::ReleaseDC(nullptr, screen);
        old = ::SelectObject(dc, bitmap);
        HBRUSH brush = ::CreateSolidBrush(kBackground);
        RECT r{0, 0, w, h};
        ::FillRect(dc, &r, brush);
        ::DeleteObject(brush);
    }
    ~Surface() {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y) & 0xFFFFFF; }
};

void CheckStrip(HMODULE exe, const char* name, int size, int count) {
    const std::string label = name;
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(exe, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    Check(bitmap != nullptr, label + " loads as a bitmap");
    if (!bitmap) return;
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    Check(info.bmWidth == size * count, label + " is " + std::to_string(count) + " images wide (" +
                                            std::to_string(info.bmWidth) + " pixels)");
    Check(info.bmHeight == size, label + " is one image high (" + std::to_string(info.bmHeight) + ")");
    Check(info.bmBitsPixel == 24, label + " has 24 bits a pixel");

    HIMAGELIST list = ::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, 0);
    ::ImageList_AddMasked(list, bitmap, RGB(vantrel::resources::kTransparentRed,
                                            vantrel::resources::kTransparentGreen,
                                            vantrel::resources::kTransparentBlue));
    Check(::ImageList_GetImageCount(list) == count, label + " gives " + std::to_string(count) + " list images");
    // Every image draws something, and no magenta survives the mask.
    for (int i = 0; i < count; ++i) {
        Surface s(size, size);
        ::ImageList_DrawEx(list, i, s.dc, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
        int drawn = 0, magenta = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                COLORREF c = s.At(x, y);
                if (c != kBackground) ++drawn;
                if (c == RGB(255, 0, 255)) ++magenta;
            }
        Check(drawn > size, label + " image " + std::to_string(i) + " draws a picture");
        Check(magenta == 0, label + " image " + std::to_string(i) + " masks out its magenta");
    }
    ::ImageList_Destroy(list);
    ::DeleteObject(bitmap);
}

void CheckArrows(HMODULE exe, const vantrel::resources::ImageStrip& strip) {
    using namespace vantrel::resources;
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(exe, strip.resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return;  // reported by CheckStrip
    const int n = strip.size;
    HIMAGELIST list = ::ImageList_Create(n, n, ILC_COLOR24 | ILC_MASK, strip.count, 0);
    ::ImageList_AddMasked(list, bitmap, RGB(kTransparentRed, kTransparentGreen, kTransparentBlue));
    struct Arrow {
        int index, tipX, tipY;
    };
    const int e = n - 1;
    const Arrow arrows[] = {{kArrowDownRight, e, e}, {kArrowDownLeft, 0, e}, {kArrowUpLeft, 0, 0}, {kArrowUpRight, e, 0}};
    for (const Arrow& a : arrows) {
        const std::string label = std::string(strip.resource) + " corner arrow " + std::to_string(a.index);
        Surface s(n, n);
        ::ImageList_DrawEx(list, a.index, s.dc, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
        Check(s.At(a.tipX, a.tipY) == RGB(0, 0, 0), label + " has its black tip in the corner pixel");
        Check(s.At(e - a.tipX, e - a.tipY) == kBackground, label + " leaves the opposite corner transparent");
        Check(s.At(e - a.tipX, a.tipY) == kBackground && s.At(a.tipX, e - a.tipY) == kBackground,
              label + " leaves the two side corners transparent");
        int white = 0, other = 0;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                COLORREF c = s.At(x, y);
                if (c == RGB(255, 255, 255)) ++white;
                else if (c != RGB(0, 0, 0) && c != kBackground) ++other;
            }
        Check(white > 20 * n * n / 256, label + " has a broad white body");
        Check(other == 0, label + " is drawn in black and white only");
    }
    ::ImageList_Destroy(list);
    ::DeleteObject(bitmap);
}

void CheckIcon(HMODULE exe) {
    for (int size : vantrel::resources::kMainIconSizes) {
        const std::string label = "MAINICON " + std::to_string(size);
        HICON icon = static_cast<HICON>(::LoadImageA(exe, vantrel::resources::kMainIcon, IMAGE_ICON, size, size, 0));
        Check(icon != nullptr, label + " loads");
        if (!icon) continue;
        ICONINFO info{};
        ::GetIconInfo(icon, &info);
        BITMAP colour{};
        if (info.hbmColor) ::GetObjectA(info.hbmColor, sizeof colour, &colour);
        Check(colour.bmWidth == size && colour.bmHeight == size, label + " has a colour image of that size");
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
        Surface s(size, size);
        ::DrawIconEx(s.dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        Check(s.At(size - 1, 0) == kBackground, label + " is transparent in its upper right corner");
        Check(s.At(size / 4, size / 2) != kBackground, label + " draws its picture");
        ::DestroyIcon(icon);
    }
}

void CheckManifest(HMODULE exe) {
    HRSRC found = ::FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    Check(found != nullptr, "manifest resource 1 exists");
    if (!found) return;
    const char* text = static_cast<const char*>(::LockResource(::LoadResource(exe, found)));
    std::string manifest(text, ::SizeofResource(exe, found));
    Check(manifest.find("Microsoft.Windows.Common-Controls") != std::string::npos &&
              manifest.find("6.0.0.0") != std::string::npos,
          "manifest asks for Common Controls 6");
    Check(manifest.find("asInvoker") != std::string::npos, "manifest runs as invoker");
    // Per-monitor scale awareness, version 2 first, then the older forms.
    Check(manifest.find(">PerMonitorV2, PerMonitor<") != std::string::npos,
          "manifest declares per-monitor awareness, version 2 first");
    Check(manifest.find(">true/pm<") != std::string::npos,
          "manifest falls back to per-monitor and system awareness on older systems");
}

std::string VersionString(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!::VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "";
    return std::string(value);
}

void CheckVersion(const char* path) {
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    Check(size != 0, "version information exists");
    if (!size) return;
    std::vector<char> block(size);
    ::GetFileVersionInfoA(path, 0, size, block.data());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length);
    Check(fixed && fixed->dwFileVersionMS == 0x00020002 && fixed->dwFileVersionLS == 0 &&
              fixed->dwProductVersionMS == 0x00020002 && fixed->dwProductVersionLS == 0,
          "file and product version are 2.2.0.0");
    Check(VersionString(block, "ProductName") == "Vantrel", "ProductName");
    Check(VersionString(block, "FileDescription") == "Vantrel - window tree, properties and message catcher",
          "FileDescription");
    Check(VersionString(block, "OriginalFilename") == "vantrel.exe", "OriginalFilename");
    Check(VersionString(block, "FileVersion") == "2.2.0.0", "FileVersion text");
    Check(VersionString(block, "ProductVersion") == "2.2.0.0", "ProductVersion text");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: vantrel_resource_check <vantrel.exe>\n");
        return 2;
    }
    std::string path = argv[1];
    // The build hands over a Unix path when the check runs under Wine; its
    // drive Z: is the Unix root.
    if (!path.empty() && path[0] == '/') path = "Z:" + path;

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    HMODULE exe = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!exe) {
        std::printf("FAILED: cannot open %s (error %lu)\n", path.c_str(), ::GetLastError());
        return 1;
    }
    using namespace vantrel::resources;
    for (const auto* strips : {&kToolStrips, &kTreeStrips, &kCatchStrips})
        for (const ImageStrip& strip : *strips) CheckStrip(exe, strip.resource, strip.size, strip.count);
    for (const ImageStrip& strip : kToolStrips) CheckArrows(exe, strip);
    CheckIcon(exe);
    CheckManifest(exe);
    ::FreeLibrary(exe);
    CheckVersion(path.c_str());
    if (g_failures) {
        std::printf("%d resource checks failed\n", g_failures);
        return 1;
    }
    std::printf("all resource checks passed\n");
    return 0;
}
