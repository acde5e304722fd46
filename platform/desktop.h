#pragma once
// The one interface through which Vantrel's rules see the desktop: walking
// the windows, querying one window and changing it. The Win32 implementation
// (win32_desktop.h) is the only place that makes these calls on examined
// windows; the unit tests use an in-memory desktop.
//
// Every operation follows the platform's habit for a window that has vanished:
// empty texts, zero values, failed queries as std::nullopt, changes that do
// nothing. Nothing here throws.
//
// A change asked of a window of another thread waits for that thread only so
// long: a hung program must not freeze Vantrel. Each change tells whether the
// window answered.

#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

// A 32-bit window handle as the 32-bit platform stores it.
using Handle = std::uint32_t;

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The system's 44-byte placement record, member for member.
struct Placement {
    std::uint32_t length = 44;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = 0;
    Point minPosition;
    Point maxPosition;
    Rect normalPosition;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// Relations of GetWindow, with the platform's numbers.
enum class Relation : int { First = 0, Last = 1, Next = 2, Child = 5 };

// Indexes of GetWindowLong / SetWindowLong, with the platform's numbers.
enum class LongIndex : int { Style = -16, ExStyle = -20, UserData = -21, HwndParent = -8 };

// Show commands used on examined windows, with the platform's numbers.
enum class ShowCommand : int { Hide = 0, ShowMaximized = 3, Show = 5, Minimize = 6, Restore = 9 };

struct ThreadProcess {
    std::uint32_t thread = 0;
    std::uint32_t process = 0;
};

// What a window's class says of itself. Whether it has an icon, a small
// icon, a cursor and a background brush is nullopt where the system does not
// tell it for another program's window.
struct ClassInfo {
    std::uint32_t style = 0;  // CS_*
    std::uint32_t atom = 0;
    std::int32_t classExtraBytes = 0;
    std::int32_t windowExtraBytes = 0;
    std::optional<bool> icon;
    std::optional<bool> smallIcon;
    std::optional<bool> cursor;
    std::optional<bool> background;
    friend bool operator==(const ClassInfo&, const ClassInfo&) = default;
};

// How a window or a program is aware of the screen's scale.
enum class DpiAwareness { Unaware, UnawareGdiScaled, System, PerMonitor, PerMonitorV2 };

// The program that owns a window, read without changing it. A process that
// Vantrel may not open tells nothing else; one that has ended neither. Each
// other value is nullopt where the system does not tell it.
enum class ProcessAccess { Opened, Denied, Gone };
struct ProcessInfo {
    ProcessAccess access = ProcessAccess::Gone;
    std::optional<std::string> path;              // full path of its program file
    std::optional<int> bits;                      // 32 or 64
    std::optional<bool> elevated;                 // its token is elevated
    std::optional<std::uint32_t> integrityLevel;  // the level's number: 0x2000 medium, 0x3000 high...
    std::optional<DpiAwareness> dpiAwareness;
    friend bool operator==(const ProcessInfo&, const ProcessInfo&) = default;
};

// True when Windows keeps Vantrel away from a program: it runs at a higher
// integrity level than Vantrel (elevated, say), so its windows refuse
// Vantrel's changes and its threads Vantrel's hook. False where either level
// is unknown.
inline bool RunsWithHigherRights(const ProcessInfo& program, const ProcessInfo& own) {
    return program.integrityLevel && own.integrityLevel && *program.integrityLevel > *own.integrityLevel;
}

// What Vantrel tells the user when Windows refuses it for that reason.
inline constexpr const char* kHigherRightsText =
    "Windows keeps Vantrel away from this window: its program runs with higher rights. Run Vantrel as administrator "
    "to change it.";

// A window's pixels per inch and its awareness of the screen's scale, where
// the system tells them (Windows 10 1607 and later).
struct WindowScale {
    std::optional<int> dpi;
    std::optional<DpiAwareness> awareness;
    friend bool operator==(const WindowScale&, const WindowScale&) = default;
};

inline constexpr std::uint32_t kExTopmost = 0x8;    // WS_EX_TOPMOST
inline constexpr std::uint32_t kShowMinimized = 2;  // SW_SHOWMINIMIZED as a placement showCmd
inline constexpr std::uint32_t kShowMaximized = 3;  // SW_SHOWMAXIMIZED as a placement showCmd

// What became of a change asked of a window.
enum class Reply {
    Answered,     // done (for a vanished window: nothing to do)
    NotAnswered,  // its thread did not answer in time; the change may still take effect later
    Busy,         // an earlier change asked of its thread is still unanswered; this one was not asked
    Denied,       // Windows refused it: the window's program runs with higher rights than Vantrel
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Walking.
    virtual Handle activeWindow() = 0;
    virtual Handle related(Handle window, Relation relation) = 0;

    // Querying. text() answers at most 255 characters and never waits long
    // for a window whose thread does not answer: that reads as empty text.
    virtual std::string text(Handle window) = 0;
    virtual std::string className(Handle window) = 0;
    virtual std::uint32_t windowLong(Handle window, LongIndex index) = 0;
    virtual bool isVisible(Handle window) = 0;
    virtual bool isEnabled(Handle window) = 0;
    virtual std::optional<Placement> placement(Handle window) = 0;
    virtual std::optional<Rect> windowRect(Handle window) = 0;
    virtual Handle parent(Handle window) = 0;  // GetParent: parent or owner
    virtual ThreadProcess threadProcess(Handle window) = 0;
    virtual std::optional<ClassInfo> classInfo(Handle window) = 0;
    // The client area in screen coordinates: its origin on the screen and its size.
    virtual std::optional<Rect> clientRect(Handle window) = 0;
    virtual WindowScale windowScale(Handle window) = 0;
    virtual ProcessInfo processInfo(std::uint32_t processId) = 0;
    virtual std::uint32_t ownProcessId() = 0;  // Vantrel's own

    // Locating.
    virtual std::optional<Point> cursorPos() = 0;
    virtual Handle windowFromPoint(Point point) = 0;

    // Changing. requestClose waits for as long as the window's thread is
    // alive, since the window may ask its own user first; every other change
    // waits a short while only.
    virtual Reply show(Handle window, ShowCommand command) = 0;
    virtual Reply enable(Handle window, bool enabled) = 0;
    virtual Reply setTopmost(Handle window, bool topmost) = 0;  // no move, size or activation
    // Has the system take the window's frame from its style words again (a
    // border, caption or edge written by setWindowLong shows only then): no
    // move, size, z-order change or activation.
    virtual Reply frameChanged(Handle window) = 0;
    virtual Reply requestClose(Handle window) = 0;              // WM_SYSCOMMAND SC_CLOSE, sent
    virtual Reply setText(Handle window, const std::string& text) = 0;
    virtual Reply setPlacement(Handle window, const Placement& placement) = 0;
    virtual Reply setWindowLong(Handle window, LongIndex index, std::uint32_t value) = 0;
};

}  // namespace vantrel
