#include "windowops/property_rows.h"

#include "windowops/value_text.h"

namespace vantrel {

namespace {

std::string YesNo(bool value) { return value ? "Yes" : "No"; }

std::string StateText(std::uint32_t showCmd) {
    if (showCmd == kShowMinimized) return "Minimized";
    if (showCmd == kShowMaximized) return "Maximized";
    return "Normal";
}

}  // namespace

PropertySheet ReadProperties(Desktop& desktop, Handle window, bool hexMode) {
    PropertySheet sheet;
    auto& rows = sheet.rows;
    auto& t = sheet.toggles;
    rows.reserve(18);
    rows.push_back({"Handle", ValueText(window, hexMode)});
    rows.push_back({"Text", desktop.text(window)});
    rows.push_back({"Class", desktop.className(window)});

    const bool visible = desktop.isVisible(window);
    t.show = visible;
    t.showHint = visible ? "Hide (now is visible)" : "Show (now is hidden)";
    rows.push_back({"Visible", YesNo(visible)});

    const bool enabled = desktop.isEnabled(window);
    t.enable = enabled;
    t.enableHint = enabled ? "Disable (now is enabled)" : "Enable (now is disabled)";
    rows.push_back({"Enabled", YesNo(enabled)});

    const bool topmost = (desktop.windowLong(window, LongIndex::ExStyle) & kExTopmost) != 0;
    t.stayOnTop = topmost;
    t.stayOnTopHint = topmost ? "Off (now is stay on top)" : "Stay on top (now is off)";
    rows.push_back({"Stay on top", topmost ? "On" : "Off"});

    // A placement that cannot be read shows as "Normal".
    const std::uint32_t showCmd = desktop.placement(window).value_or(Placement{}).showCmd;
    t.minimize = showCmd == kShowMinimized;
    t.maximize = showCmd == kShowMaximized;
    t.restore = !t.minimize && !t.maximize;
    rows.push_back({"State", StateText(showCmd)});

    // A rectangle that cannot be read shows as zeros.
    const Rect r = desktop.windowRect(window).value_or(Rect{});
    rows.push_back({"Left", std::to_string(r.left)});
    rows.push_back({"Top", std::to_string(r.top)});
    rows.push_back({"Width", std::to_string(static_cast<std::int64_t>(r.right) - r.left)});
    rows.push_back({"Height", std::to_string(static_cast<std::int64_t>(r.bottom) - r.top)});

    rows.push_back({"Parent window", ValueText(desktop.parent(window), hexMode)});
    rows.push_back({"Parent real", SignedValueText(desktop.windowLong(window, LongIndex::HwndParent), hexMode)});
    const ThreadProcess ids = desktop.threadProcess(window);
    rows.push_back({"Thread ID", ValueText(ids.thread, hexMode)});
    rows.push_back({"Process ID", ValueText(ids.process, hexMode)});
    rows.push_back({"Style", ValueText(desktop.windowLong(window, LongIndex::Style), hexMode)});
    rows.push_back({"Extended Style", ValueText(desktop.windowLong(window, LongIndex::ExStyle), hexMode)});
    rows.push_back({"User Data", ValueText(desktop.windowLong(window, LongIndex::UserData), hexMode)});
    return sheet;
}

std::string CopyValueText(const PropertyRow& row) { return row.value + "\r\n"; }

}  // namespace vantrel
