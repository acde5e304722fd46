#pragma once
// Finding a window in the tree by a piece of its node label: the search text,
// the case rule and the search over the labels in the tree's absolute order.
// The tree itself is seen only through its node count and a label reader, so
// the rules run the same on the tree control and on a list of labels.

#include "base/unicode.h"

#include <functional>
#include <string>
#include <string_view>

namespace vantrel {

// The longest search text kept, in UTF-16 units.
inline constexpr std::size_t kMaxSearchTextLength = 255;

// The search text made from what the user typed: upper-cased for the search
// (the Latin letters a to z and the letters of the other cased scripts) and
// cut to 255 UTF-16 units.
std::string MakeSearchText(std::string_view typed);

// True when the label, upper-cased like the search text, contains the search
// text anywhere. An empty search text matches nothing.
bool LabelMatches(std::string_view label, std::string_view searchText);

// The tree as the search sees it.
struct NodeLabels {
    int count = 0;
    std::function<std::string(int)> label;  // label of the node at an absolute index
};

// The tree as the location tools move in it: its labels, the selected node,
// selecting a node (like a click, so the tree's change handler runs) and the
// node where a search goes on. Nodes are absolute indexes, -1 for none.
class TreeCursor {
public:
    virtual ~TreeCursor() = default;
    virtual NodeLabels Labels() const = 0;
    virtual int SelectedNode() const = 0;
    virtual void SelectNode(int node) = 0;
    virtual int& CurrentNode() = 0;
};

// One search step: the first node after `current` (an absolute index; -1 means
// "before the first node", so node 0 is tested too) whose label matches.
// Never tests `current` itself and never wraps: -1 when nothing after it
// matches.
int FindAfter(const NodeLabels& nodes, int current, std::string_view searchText);

// What a search command does to the tree and the user.
struct SearchOutcome {
    enum class Kind {
        Nothing,   // empty search text: no selection, no message
        Select,    // select `node` and make it the place where searching goes on
        Finished,  // no (further) match: "Searching is finished", nothing else changes
    };
    Kind kind = Kind::Nothing;
    int node = -1;
};

// "Find window...", after the dialog closed with OK.
//  - From the beginning: the first node is tested itself, then the search goes
//    on after it.
//  - From the selection: exactly a "Find next" from the selected node; the
//    first node is not tested on its own, so a hit above the selection is not
//    picked when the user asked to search on from where they are.
//  - No start node (nothing selected): the search starts before the first
//    node, as from the beginning, so the user still finds the first match.
// A tree without nodes has nothing to find: "Searching is finished".
SearchOutcome FindWindowSearch(const NodeLabels& nodes, std::string_view searchText, bool fromBeginning,
                               int selectedNode);

// "Find next" from the selected node (-1: nothing selected, search from the top).
SearchOutcome FindNextSearch(const NodeLabels& nodes, std::string_view searchText, int selectedNode);

// Texts of the search's message box.
inline constexpr const char* kFindCaption = "Vantrel - Find";
inline constexpr const char* kSearchingFinishedText = "Searching is finished";

}  // namespace vantrel
