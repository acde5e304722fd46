#pragma once
// An in-memory desktop for the unit tests: windows with texts, classes,
// owners, children in z-order, styles and placements, and a journal of every
// change a rule asked for, so tests can tell what was written and what not.

#include "platform/desktop.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vantrel::testing {

struct FakeWindow {
    std::string text;
    std::string className;
    Handle owner = 0;   // top-level windows only
    Handle parent = 0;  // child windows only
    std::vector<Handle> children;  // z-order, topmost first
    bool visible = true;
    bool enabled = true;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t userData = 0;
    Placement placement;
    Rect rect;
    ThreadProcess ids;
    ClassInfo classInfo;
    Rect client;  // in screen coordinates
    WindowScale scale;
};

class MemoryDesktop : public Desktop {
public:
    // Adds a top-level window at the bottom of the z-order.
    FakeWindow& addTopLevel(Handle h, std::string text, std::string className, Handle owner = 0);
    // Adds a child window at the bottom of its parent's children.
    FakeWindow& addChild(Handle parent, Handle h, std::string text, std::string className);
    FakeWindow& window(Handle h) { return windows_.at(h); }
    // Removes a window and its children, as if it had been destroyed.
    void destroy(Handle h);
    bool exists(Handle h) const { return windows_.count(h) != 0; }

    Handle active = 0;
    // The programs by process id; any other reads as ended.
    std::map<std::uint32_t, ProcessInfo> processes;
    std::uint32_t ownProcess = 0;
    Point cursor;
    std::map<std::pair<std::int32_t, std::int32_t>, Handle> pointMap;
    // Called before each query or walk step with the window concerned, so a
    // test can change the desktop in the middle of a walk.
    std::function<void(Handle)> beforeQuery;

    // Journal of changes asked: one line per change, such as "setText 5 abc".
    // A change refused as Busy was never asked and is not journaled.
    std::vector<std::string> journal;

    // Plays a hung program: the windows of a hung thread read as empty text;
    // the first change asked of one is not answered and waits, every later one
    // is refused as Busy; release() lets the waiting change take effect.
    void hang(std::uint32_t thread) { hung_.insert(thread); }
    // Plays a program that runs with higher rights: Windows refuses every
    // change asked of its windows (nothing is journaled).
    void runWithHigherRights(std::uint32_t process) { higherRights_.insert(process); }
    void release(std::uint32_t thread);

    Handle activeWindow() override { return active; }
    Handle related(Handle window, Relation relation) override;
    std::string text(Handle window) override;
    std::string className(Handle window) override;
    std::uint32_t windowLong(Handle window, LongIndex index) override;
    bool isVisible(Handle window) override;
    bool isEnabled(Handle window) override;
    std::optional<Placement> placement(Handle window) override;
    std::optional<Rect> windowRect(Handle window) override;
    Handle parent(Handle window) override;
    ThreadProcess threadProcess(Handle window) override;
    std::optional<ClassInfo> classInfo(Handle window) override;
    std::optional<Rect> clientRect(Handle window) override;
    WindowScale windowScale(Handle window) override;
    ProcessInfo processInfo(std::uint32_t processId) override;
    std::uint32_t ownProcessId() override { return ownProcess; }
    std::optional<Point> cursorPos() override { return cursor; }
    Handle windowFromPoint(Point point) override;
    Reply show(Handle window, ShowCommand command) override;
    Reply enable(Handle window, bool enabled) override;
    Reply setTopmost(Handle window, bool topmost) override;
    Reply frameChanged(Handle window) override;
    Reply requestClose(Handle window) override;
    Reply setText(Handle window, const std::string& text) override;
    Reply setPlacement(Handle window, const Placement& placement) override;
    Reply setWindowLong(Handle window, LongIndex index, std::uint32_t value) override;

private:
    FakeWindow* find(Handle h);
    bool isHung(Handle h) const;
    // Journals a change and makes it, or leaves it waiting on a hung thread.
    Reply change(Handle window, std::string entry, std::function<void()> apply);
    const std::vector<Handle>& siblings(Handle h) const;
    std::map<Handle, FakeWindow> windows_;
    std::vector<Handle> topLevel_;  // z-order, topmost first
    std::set<std::uint32_t> hung_;
    std::set<std::uint32_t> higherRights_;
    std::map<std::uint32_t, std::function<void()>> waiting_;  // by thread
};

}  // namespace vantrel::testing
