#pragma once
// The window walk: every top-level window of the desktop in z-order as a root
// node, with its owned windows and then its child windows below it, down to
// the last level. The result is the tree in its absolute order (depth first),
// ready to be inserted into the tree control node by node.

#include "platform/desktop.h"

#include <string>
#include <vector>

namespace vantrel {

struct WalkNode {
    int parent = -1;  // index of the parent node, -1 for a root node
    std::string label;
    int image = 0;
    Handle window = 0;  // only for the walk's own bookkeeping and tests
};

struct WalkResult {
    std::vector<WalkNode> nodes;  // absolute tree order
    int windowsCount = 0;         // root nodes
    int currentNode = -1;         // last node whose window is the selected one
};

// Walks the desktop from the reference window (the program's active window).
WalkResult WalkDesktop(Desktop& desktop, Handle reference, Handle selected, bool hexMode);

// Status bar texts of a walk.
std::string WindowsCountText(int windowsCount);  // " Windows: 12"
std::string TotalCountText(int totalCount);      // " Total: 345"

}  // namespace vantrel
