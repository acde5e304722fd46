#pragma once
// An in-memory desktop for the unit tests: windows with texts, classes,
// owners, children in z-order, styles and placements, and a journal of every
// change a rule asked for, so tests can tell what was written and what not.

#include "platform/desktop.h"

#include <functional>
#include <map>
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
    Point cursor;
    std::map<std::pair<std::int32_t, std::int32_t>, Handle> pointMap;
    // Called before each query or walk step with the window concerned, so a
    // test can change the desktop in the middle of a walk.
    std::function<void(Handle)> beforeQuery;

    // Journal of changes: one line per change, such as "setText 5 abc".
    std::vector<std::string> journal;

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
    std::optional<Point> cursorPos() override { return cursor; }
    Handle windowFromPoint(Point point) override;
    void show(Handle window, ShowCommand command) override;
    void enable(Handle window, bool enabled) override;
    void setTopmost(Handle window, bool topmost) override;
    void requestClose(Handle window) override;
    void setText(Handle window, const std::string& text) override;
    void setPlacement(Handle window, const Placement& placement) override;
    void setWindowLong(Handle window, LongIndex index, std::uint32_t value) override;

private:
    FakeWindow* find(Handle h);
    const std::vector<Handle>& siblings(Handle h) const;
    std::map<Handle, FakeWindow> windows_;
    std::vector<Handle> topLevel_;  // z-order, topmost first
};

}  // namespace vantrel::testing
