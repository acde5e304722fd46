#include "windowops/property_rows.h"

#include "base/path.h"

#include "base/window_styles.h"
#include "windowops/value_text.h"

namespace vantrel {

namespace {

std::string YesNo(bool value) { return value ? "Yes" : "No"; }

std::string StateText(std::uint32_t showCmd) {
    if (showCmd == kShowMinimized) return "Minimized";
    if (showCmd == kShowMaximized) return "Maximized";
    return "Normal";
}

const std::string kNotAvailable = "(not available)";
const std::string kAccessDenied = "(access denied)";

// A value that may not have been read: its text, or the mark that says so.
template <typename T, typename Text>
std::string Known(const std::optional<T>& value, Text text) {
    return value ? text(*value) : kNotAvailable;
}

std::string Decimal(std::int64_t value) { return std::to_string(value); }

std::string AwarenessText(DpiAwareness awareness) {
    switch (awareness) {
    case DpiAwareness::Unaware: return "Unaware";
    case DpiAwareness::UnawareGdiScaled: return "Unaware (GDI scaled)";
    case DpiAwareness::System: return "System aware";
    case DpiAwareness::PerMonitor: return "Per monitor aware";
    case DpiAwareness::PerMonitorV2: return "Per monitor aware v2";
    }
    return kNotAvailable;
}

// Higher rights than Vantrel's: an elevated token where Vantrel's is not, or
// a higher integrity level. "No" only where both were read for both.
std::string HigherRightsText(const ProcessInfo& program, const ProcessInfo& own) {
    const bool elevationKnown = program.elevated && own.elevated;
    const bool levelKnown = program.integrityLevel && own.integrityLevel;
    const bool elevated = elevationKnown && *program.elevated && !*own.elevated;
    const bool higherLevel = levelKnown && *program.integrityLevel > *own.integrityLevel;
    if (elevated && higherLevel) return "Yes (elevated, higher integrity level)";
    if (elevated) return "Yes (elevated)";
    if (higherLevel) return "Yes (higher integrity level)";
    return elevationKnown && levelKnown ? "No" : kNotAvailable;
}

// The rows after the eighteen: the style words by name, the class, the
// program, the client area and the screen scale.
void AddMoreRows(Desktop& desktop, Handle window, bool hexMode, const std::string& className, std::uint32_t style,
                 std::uint32_t exStyle, std::uint32_t processId, std::vector<PropertyRow>& rows) {
    // Every window has a class: without its name the window has gone, and
    // its style words read as zeros that are none of its own.
    const bool exists = !className.empty();
    rows.push_back({"Style flags", exists ? StyleFlagsText(className, style) : kNotAvailable});
    rows.push_back({"Extended style flags", exists ? ExStyleFlagsText(exStyle) : kNotAvailable});

    const std::optional<ClassInfo> c = desktop.classInfo(window);
    const auto fromClass = [&c](auto text) { return c ? text(*c) : kNotAvailable; };
    rows.push_back({"Class style", fromClass([=](const ClassInfo& i) { return ValueText(i.style, hexMode); })});
    rows.push_back({"Class style flags", fromClass([](const ClassInfo& i) { return ClassStyleFlagsText(i.style); })});
    rows.push_back({"Class atom", fromClass([=](const ClassInfo& i) { return ValueText(i.atom, hexMode); })});
    rows.push_back({"Class extra bytes", fromClass([](const ClassInfo& i) { return Decimal(i.classExtraBytes); })});
    rows.push_back({"Window extra bytes", fromClass([](const ClassInfo& i) { return Decimal(i.windowExtraBytes); })});
    rows.push_back({"Class icon", fromClass([](const ClassInfo& i) { return Known(i.icon, YesNo); })});
    rows.push_back({"Class small icon", fromClass([](const ClassInfo& i) { return Known(i.smallIcon, YesNo); })});
    rows.push_back({"Class cursor", fromClass([](const ClassInfo& i) { return Known(i.cursor, YesNo); })});
    rows.push_back({"Class background brush",
                    fromClass([](const ClassInfo& i) { return Known(i.background, YesNo); })});

    const ProcessInfo program = processId ? desktop.processInfo(processId) : ProcessInfo{};
    const auto programValue = [&program](std::string text) {
        if (program.access == ProcessAccess::Denied) return kAccessDenied;
        return program.access == ProcessAccess::Opened ? text : kNotAvailable;
    };
    rows.push_back({"Program", programValue(Known(program.path, FileNameOf))});
    rows.push_back({"Program path", programValue(Known(program.path, [](const std::string& p) { return p; }))});
    rows.push_back({"Program bitness",
                    programValue(Known(program.bits, [](int bits) { return std::to_string(bits) + "-bit"; }))});
    const ProcessInfo own = desktop.processInfo(desktop.ownProcessId());
    rows.push_back({"Higher rights", programValue(HigherRightsText(program, own))});

    const std::optional<Rect> client = desktop.clientRect(window);
    const auto clientValue = [&client](auto measure) {
        return client ? Decimal(measure(*client)) : kNotAvailable;
    };
    rows.push_back({"Client left", clientValue([](const Rect& r) { return r.left; })});
    rows.push_back({"Client top", clientValue([](const Rect& r) { return r.top; })});
    rows.push_back({"Client width",
                    clientValue([](const Rect& r) { return static_cast<std::int64_t>(r.right) - r.left; })});
    rows.push_back({"Client height",
                    clientValue([](const Rect& r) { return static_cast<std::int64_t>(r.bottom) - r.top; })});

    const WindowScale scale = desktop.windowScale(window);
    rows.push_back({"DPI", Known(scale.dpi, Decimal)});
    rows.push_back({"DPI awareness", Known(scale.awareness, AwarenessText)});
    rows.push_back({"Program DPI awareness", programValue(Known(program.dpiAwareness, AwarenessText))});
}

}  // namespace

PropertySheet ReadProperties(Desktop& desktop, Handle window, bool hexMode) {
    PropertySheet sheet;
    auto& rows = sheet.rows;
    auto& t = sheet.toggles;
    rows.reserve(40);
    rows.push_back({"Handle", ValueText(window, hexMode)});
    rows.push_back({"Text", desktop.text(window)});
    const std::string className = desktop.className(window);
    rows.push_back({"Class", className});

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
    const std::uint32_t style = desktop.windowLong(window, LongIndex::Style);
    rows.push_back({"Style", ValueText(style, hexMode)});
    const std::uint32_t exStyle = desktop.windowLong(window, LongIndex::ExStyle);
    rows.push_back({"Extended Style", ValueText(exStyle, hexMode)});
    rows.push_back({"User Data", ValueText(desktop.windowLong(window, LongIndex::UserData), hexMode)});

    AddMoreRows(desktop, window, hexMode, className, style, exStyle, ids.process, rows);
    return sheet;
}

std::string CopyValueText(const PropertyRow& row) { return row.value + "\r\n"; }

std::string CopyAllText(const std::vector<PropertyRow>& rows) {
    std::string text;
    for (const PropertyRow& row : rows) text += row.property + ": " + row.value + "\r\n";
    return text;
}

}  // namespace vantrel
