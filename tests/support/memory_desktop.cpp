#include "tests/support/memory_desktop.h"

#include "base/unicode.h"

#include <algorithm>

namespace vantrel::testing {

FakeWindow& MemoryDesktop::addTopLevel(Handle h, std::string text, std::string className, Handle owner) {
    FakeWindow& w = windows_[h];
    w.text = std::move(text);
    w.className = std::move(className);
    w.owner = owner;
    topLevel_.push_back(h);
    return w;
}

FakeWindow& MemoryDesktop::addChild(Handle parent, Handle h, std::string text, std::string className) {
    FakeWindow& w = windows_[h];
    w.text = std::move(text);
    w.className = std::move(className);
    w.parent = parent;
    windows_.at(parent).children.push_back(h);
    return w;
}

void MemoryDesktop::destroy(Handle h) {
    FakeWindow* w = find(h);
    if (!w) return;
    for (Handle c : std::vector<Handle>(w->children)) destroy(c);
    if (w->parent) {
        auto& list = windows_.at(w->parent).children;
        list.erase(std::remove(list.begin(), list.end(), h), list.end());
    } else {
        topLevel_.erase(std::remove(topLevel_.begin(), topLevel_.end(), h), topLevel_.end());
    }
    windows_.erase(h);
}

FakeWindow* MemoryDesktop::find(Handle h) {
    if (beforeQuery) beforeQuery(h);
    auto it = windows_.find(h);
    return it == windows_.end() ? nullptr : &it->second;
}

const std::vector<Handle>& MemoryDesktop::siblings(Handle h) const {
    const FakeWindow& w = windows_.at(h);
    return w.parent ? windows_.at(w.parent).children : topLevel_;
}

Handle MemoryDesktop::related(Handle window, Relation relation) {
    FakeWindow* w = find(window);
    if (!w) return 0;
    const auto& list = siblings(window);
    switch (relation) {
    case Relation::First: return list.empty() ? 0 : list.front();
    case Relation::Last: return list.empty() ? 0 : list.back();
    case Relation::Next: {
        auto it = std::find(list.begin(), list.end(), window);
        return (it == list.end() || it + 1 == list.end()) ? 0 : *(it + 1);
    }
    case Relation::Child: return w->children.empty() ? 0 : w->children.front();
    }
    return 0;
}

bool MemoryDesktop::isHung(Handle h) const {
    const auto it = windows_.find(h);
    return it != windows_.end() && hung_.count(it->second.ids.thread) != 0;
}

void MemoryDesktop::release(std::uint32_t thread) {
    hung_.erase(thread);
    if (auto it = waiting_.find(thread); it != waiting_.end()) {
        const std::function<void()> apply = std::move(it->second);
        waiting_.erase(it);
        apply();
    }
}

Reply MemoryDesktop::change(Handle window, std::string entry, std::function<void()> apply) {
    if (const FakeWindow* w = find(window); w && higherRights_.count(w->ids.process)) return Reply::Denied;
    if (isHung(window)) {
        const std::uint32_t thread = windows_.at(window).ids.thread;
        if (waiting_.count(thread)) return Reply::Busy;
        journal.push_back(std::move(entry));
        waiting_[thread] = [this, window, apply] {
            if (windows_.count(window)) apply();
        };
        return Reply::NotAnswered;
    }
    journal.push_back(std::move(entry));
    apply();
    return Reply::Answered;
}

std::string MemoryDesktop::text(Handle window) {
    FakeWindow* w = find(window);
    return w && !isHung(window) ? CutToUtf16Units(w->text, 255) : std::string();
}

std::string MemoryDesktop::className(Handle window) {
    FakeWindow* w = find(window);
    return w ? w->className.substr(0, 255) : std::string();
}

std::uint32_t MemoryDesktop::windowLong(Handle window, LongIndex index) {
    FakeWindow* w = find(window);
    if (!w) return 0;
    switch (index) {
    case LongIndex::Style: return w->style;
    case LongIndex::ExStyle: return w->exStyle;
    case LongIndex::UserData: return w->userData;
    case LongIndex::HwndParent: return w->parent ? w->parent : w->owner;
    }
    return 0;
}

bool MemoryDesktop::isVisible(Handle window) {
    FakeWindow* w = find(window);
    return w && w->visible;
}

bool MemoryDesktop::isEnabled(Handle window) {
    FakeWindow* w = find(window);
    return w && w->enabled;
}

std::optional<Placement> MemoryDesktop::placement(Handle window) {
    FakeWindow* w = find(window);
    if (!w) return std::nullopt;
    return w->placement;
}

std::optional<Rect> MemoryDesktop::windowRect(Handle window) {
    FakeWindow* w = find(window);
    if (!w) return std::nullopt;
    return w->rect;
}

Handle MemoryDesktop::parent(Handle window) {
    FakeWindow* w = find(window);
    return w ? (w->parent ? w->parent : w->owner) : 0;
}

ThreadProcess MemoryDesktop::threadProcess(Handle window) {
    FakeWindow* w = find(window);
    return w ? w->ids : ThreadProcess{};
}

std::optional<ClassInfo> MemoryDesktop::classInfo(Handle window) {
    FakeWindow* w = find(window);
    if (!w) return std::nullopt;
    return w->classInfo;
}

std::optional<Rect> MemoryDesktop::clientRect(Handle window) {
    FakeWindow* w = find(window);
    if (!w) return std::nullopt;
    return w->client;
}

WindowScale MemoryDesktop::windowScale(Handle window) {
    FakeWindow* w = find(window);
    return w ? w->scale : WindowScale{};
}

ProcessInfo MemoryDesktop::processInfo(std::uint32_t processId) {
    const auto it = processes.find(processId);
    return it == processes.end() ? ProcessInfo{} : it->second;
}

Handle MemoryDesktop::windowFromPoint(Point point) {
    auto it = pointMap.find({point.x, point.y});
    return it == pointMap.end() ? 0 : it->second;
}

Reply MemoryDesktop::show(Handle window, ShowCommand command) {
    return change(window, "show " + std::to_string(window) + " " + std::to_string(static_cast<int>(command)), [=, this] {
        FakeWindow* w = find(window);
        if (!w) return;
        switch (command) {
        case ShowCommand::Hide: w->visible = false; break;
        case ShowCommand::Show: w->visible = true; break;
        case ShowCommand::Minimize: w->visible = true; w->placement.showCmd = kShowMinimized; break;
        case ShowCommand::ShowMaximized: w->visible = true; w->placement.showCmd = kShowMaximized; break;
        case ShowCommand::Restore: w->visible = true; w->placement.showCmd = 1; break;
        }
    });
}

Reply MemoryDesktop::enable(Handle window, bool enabled) {
    return change(window, "enable " + std::to_string(window) + " " + (enabled ? "1" : "0"), [=, this] {
        if (FakeWindow* w = find(window)) w->enabled = enabled;
    });
}

Reply MemoryDesktop::setTopmost(Handle window, bool topmost) {
    return change(window, "topmost " + std::to_string(window) + " " + (topmost ? "1" : "0"), [=, this] {
        if (FakeWindow* w = find(window))
            w->exStyle = topmost ? (w->exStyle | kExTopmost) : (w->exStyle & ~kExTopmost);
    });
}

Reply MemoryDesktop::frameChanged(Handle window) {
    return change(window, "frameChanged " + std::to_string(window), [] {});
}

Reply MemoryDesktop::requestClose(Handle window) {
    return change(window, "close " + std::to_string(window), [=, this] { destroy(window); });
}

Reply MemoryDesktop::setText(Handle window, const std::string& text) {
    return change(window, "setText " + std::to_string(window) + " " + text, [=, this] {
        if (FakeWindow* w = find(window)) w->text = text;
    });
}

Reply MemoryDesktop::setPlacement(Handle window, const Placement& placement) {
    return change(window, "setPlacement " + std::to_string(window), [=, this] {
        if (FakeWindow* w = find(window)) w->placement = placement;
    });
}

Reply MemoryDesktop::setWindowLong(Handle window, LongIndex index, std::uint32_t value) {
    return change(window,
                  "setWindowLong " + std::to_string(window) + " " + std::to_string(static_cast<int>(index)) + " " +
                      std::to_string(value),
                  [=, this] {
                      FakeWindow* w = find(window);
                      if (!w) return;
                      switch (index) {
                      case LongIndex::Style: w->style = value; break;
                      case LongIndex::ExStyle: w->exStyle = value; break;
                      case LongIndex::UserData: w->userData = value; break;
                      case LongIndex::HwndParent: w->owner = value; break;
                      }
                  });
}

}  // namespace vantrel::testing
