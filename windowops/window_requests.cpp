#include "windowops/window_requests.h"

namespace vantrel {

namespace {

constexpr std::uint32_t kVisibleStyle = 0x10000000;   // WS_VISIBLE
constexpr std::uint32_t kDisabledStyle = 0x08000000;  // WS_DISABLED

}  // namespace

std::string RefusalFor(OwnWindow window, Change change) {
    switch (window) {
    case OwnWindow::MainWindow:
        if (change == Change::Hide) return "Vantrel does not hide its main window: there would be no way to show it again.";
        if (change == Change::Disable)
            return "Vantrel does not disable its main window: there would be no way to enable it again.";
        break;
    case OwnWindow::MainWindowControl:
        if (change == Change::Hide)
            return "Vantrel does not hide a control of its main window: there would be no way to show it again.";
        [[fallthrough]];
    case OwnWindow::FormControl:
    case OwnWindow::Other:
        if (change == Change::Close)
            return "Vantrel does not close this window of its own: it could not be brought back.";
        break;
    case OwnWindow::None:
    case OwnWindow::ApplicationWindow:
    case OwnWindow::Form:
        break;
    }
    return {};
}

Change StyleChange(std::uint32_t oldStyle, std::uint32_t newStyle) {
    if ((oldStyle & kVisibleStyle) && !(newStyle & kVisibleStyle)) return Change::Hide;
    if (!(oldStyle & kDisabledStyle) && (newStyle & kDisabledStyle)) return Change::Disable;
    return Change::Long;
}

std::string CommandOutcome::Report() const {
    if (!refusal.empty()) return refusal;
    switch (reply) {
    case Reply::NotAnswered: return kNotAnsweredText;
    case Reply::Busy: return kBusyText;
    case Reply::Denied: return kHigherRightsText;
    case Reply::Answered: break;
    }
    return {};
}

}  // namespace vantrel
