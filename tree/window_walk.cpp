#include "tree/window_walk.h"

#include "tree/class_picture.h"
#include "tree/node_label.h"

#include <unordered_map>
#include <unordered_set>

namespace vantrel {

namespace {

// One rebuild's walk. Owned top-level windows wait in `pending` until their
// owner's node is added; the ones whose owner never gets a node become root
// nodes at the end.
class Walk {
public:
    Walk(Desktop& desktop, Handle selected, bool hexMode)
        : desktop_(desktop), selected_(selected), hexMode_(hexMode) {}

    WalkResult Run(Handle reference) {
        const Handle last = desktop_.related(reference, Relation::Last);
        Handle current = desktop_.related(reference, Relation::First);
        std::unordered_set<Handle> walked;
        Visit(current);
        walked.insert(current);
        while (current != last) {
            current = desktop_.related(current, Relation::Next);
            // The z-order may change under the walk: a window met twice
            // would walk in a circle, so the walk ends there.
            if (current == 0 || !walked.insert(current).second) break;
            Visit(current);
        }
        for (Pending& entry : pending_) {
            if (entry.placed) continue;
            entry.placed = true;
            AddItem(-1, entry.window);
            ++result_.windowsCount;
        }
        return std::move(result_);
    }

private:
    struct Pending {
        Handle owner;
        Handle window;
        bool placed;
    };

    void Visit(Handle window) {
        const Handle owner = desktop_.windowLong(window, LongIndex::HwndParent);
        if (owner != 0) {
            byOwner_[owner].push_back(pending_.size());
            pending_.push_back({owner, window, false});
        } else {
            AddItem(-1, window);
            ++result_.windowsCount;
        }
    }

    void AddItem(int parent, Handle window) {
        // Each window gets one node: a window that already has one (met
        // again while the desktop changes) is not listed twice.
        if (!added_.insert(window).second) return;
        const std::string text = desktop_.text(window);
        const std::string className = desktop_.className(window);
        const int node = static_cast<int>(result_.nodes.size());
        result_.nodes.push_back({parent, NodeLabel(window, text, className, hexMode_),
                                 PictureForClass(className, parent < 0), window});
        if (window == selected_) result_.currentNode = node;

        // Owned windows met so far, in walk order. An entry is marked placed
        // before its node is added, so an owner cycle cannot recurse forever
        // and no window is listed both as a root and under its owner.
        if (auto it = byOwner_.find(window); it != byOwner_.end()) {
            const std::size_t count = pending_.size();
            const std::vector<std::size_t> entries = it->second;
            for (std::size_t index : entries) {
                if (index >= count || pending_[index].placed) continue;
                pending_[index].placed = true;
                AddItem(node, pending_[index].window);
            }
        }

        // Child windows in z-order, topmost first.
        Handle child = desktop_.related(window, Relation::Child);
        while (child != 0) {
            if (added_.count(child)) break;  // the sibling chain turned in a circle
            AddItem(node, child);
            child = desktop_.related(child, Relation::Next);
        }
    }

    Desktop& desktop_;
    Handle selected_;
    bool hexMode_;
    WalkResult result_;
    std::vector<Pending> pending_;
    std::unordered_map<Handle, std::vector<std::size_t>> byOwner_;
    std::unordered_set<Handle> added_;
};

}  // namespace

WalkResult WalkDesktop(Desktop& desktop, Handle reference, Handle selected, bool hexMode) {
    return Walk(desktop, selected, hexMode).Run(reference);
}

std::string WindowsCountText(int windowsCount) { return " Windows: " + std::to_string(windowsCount); }

std::string TotalCountText(int totalCount) { return " Total: " + std::to_string(totalCount); }

}  // namespace vantrel
