#pragma once
// The window tree as a pane of its own: the tree control, its nodes in the
// tree's absolute order, the rebuild and the selection handler. Its owner
// creates it, hands it the control's notifications, and hears about a
// selection and the counts of a rebuild through callbacks; it never reaches
// into the window that holds it.

#include "platform/desktop.h"
#include "tree/rebuild_gate.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace vantrel::win32 {

class TreePane {
public:
    // The window of a selected node (its handle read back from the label).
    // Runs on every change of the selection while the handler is attached: a
    // click, the arrow keys, or a selection made by the program.
    std::function<void(Handle)> onSelect;
    // The counts of a finished rebuild: root nodes and all nodes. Runs before
    // the node of the selected window is selected again.
    std::function<void(int windows, int total)> onCounts;

    // Makes the tree control as a child of parent.
    HWND Create(HWND parent, int id, HINSTANCE instance);
    HWND Control() const { return tree_; }

    // Rebuilds the whole tree from the desktop, walked from the reference
    // window, and selects the node of the selected window when there is one.
    // A rebuild asked for during one runs once after it.
    void Refresh(Desktop& desktop, Handle reference, Handle selected, bool hexMode);

    // The nodes in the tree's absolute order (depth first, collapsed nodes
    // included).
    int NodeCount() const { return static_cast<int>(nodes_.size()); }
    std::string NodeLabel(int index) const;
    int SelectedNode() const;    // absolute index, -1 when none
    void SelectNode(int index);  // like a click: ancestors expanded, onSelect runs
    // The selected node's label ("" when none).
    std::string SelectedNodeText() const { return NodeLabel(SelectedNode()); }

    // The node where a search goes on: an absolute index, -1 for none. A
    // rebuild sets it to the node of the selected window.
    int CurrentNode = -1;

    // A notification of the tree control. True when the pane answered it,
    // with its result in result.
    bool OnNotify(const NMHDR* header, LRESULT& result, bool hexMode);

private:
    void Rebuild(Desktop& desktop, Handle reference, Handle selected, bool hexMode);
    std::string ItemText(HTREEITEM node) const;
    static LRESULT CALLBACK TreeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND tree_ = nullptr;
    WNDPROC treeProc_ = nullptr;
    std::vector<HTREEITEM> nodes_;  // absolute order
    bool changeHandlerAttached_ = true;
    // Wine's tree view selects its first node by itself when it gets the
    // focus without a selection, which would change the selected window
    // behind the user's back: while it takes the focus, no node is selected.
    bool takingFocus_ = false;
    RebuildGate rebuildGate_;
};

}  // namespace vantrel::win32
