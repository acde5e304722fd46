// Window from point and the position markers.

#include "locate/win32_locate_commands.h"

#include "locate/position_markers.h"
#include "locate/window_from_point.h"
#include "platform/win32_desktop.h"
#include "platform/win32_handles.h"
#include "platform/win32_text.h"
#include "shell/error_report.h"
#include "shell/win32_form.h"

#include <string>

namespace vantrel::win32 {

namespace {

// The system's own text for the last error, without its line end.
std::string LastErrorText(DWORD error) {
    wchar_t buffer[512] = {};
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                          0, buffer, 512, nullptr);
    std::string text = Narrow(std::wstring_view(buffer, length));
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (text.empty()) text = "System Error.  Code: " + std::to_string(error);
    return text;
}

}  // namespace

void WindowFromPointCommand(TreeCursor& tree, bool hexMode) {
    const FromPointOutcome outcome = LocateWindowFromPoint(TheDesktop(), tree.Labels(), hexMode);
    switch (outcome.kind) {
    case FromPointOutcome::Kind::NoPointer:
        // The pointer position cannot be read (no input desktop, say): a
        // system error for the general error report, and nothing else.
        throw VantrelError(LastErrorText(::GetLastError()));
    case FromPointOutcome::Kind::Select:
        tree.SelectNode(outcome.node);
        break;
    case FromPointOutcome::Kind::NotFound:
        // The tree is a snapshot: a window made since the last rebuild has no
        // node yet, and the message tells the user to refresh.
        MessageBoxFor(ApplicationWindow(), outcome.message, kWindowFromPointCaption, MB_OK | MB_ICONINFORMATION);
        break;
    }
}

void ShowPosition(HIMAGELIST images, Handle window) {
    // No rectangle (nothing selected yet, or the window has gone): there is no
    // place to mark, and the screen is left as it is. The arrows come from
    // the image set of the window's scale, each drawn just off its corner.
    int size = kMarkerSize;
    int height = kMarkerSize;
    ::ImageList_GetIconSize(images, &size, &height);
    const auto markers = MarkersFor(TheDesktop(), window, size);
    if (!markers) return;
    WindowDC screen(nullptr);
    if (!screen) return;
    for (const Marker& marker : *markers) {
        // The image's mask keeps everything but the arrow's own pixels off the
        // screen; drawn in its normal form it paints the same pixels each time.
        ::ImageList_DrawEx(images, marker.image, screen.get(), marker.topLeft.x, marker.topLeft.y, 0, 0, CLR_NONE,
                           CLR_DEFAULT, ILD_NORMAL);
    }
}

void ClearPointers() {
    // The arrows belong to no window: have every window of the desktop repaint.
    ::InvalidateRect(nullptr, nullptr, TRUE);
}

}  // namespace vantrel::win32
