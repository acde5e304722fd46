#include "tree/win32_tree_pane.h"

#include "base/scope_exit.h"
#include "platform/win32_handles.h"
#include "tree/node_label.h"
#include "tree/window_walk.h"

namespace vantrel::win32 {

namespace {

constexpr const char* kPaneProperty = "VantrelTreePane";

}  // namespace

HWND TreePane::Create(HWND parent, int id, HINSTANCE instance) {
    // Rows may be of odd height: the pictures at 150 % are 33 pixels high.
    tree_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                  TVS_SHOWSELALWAYS | TVS_NONEVENHEIGHT,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ::SetPropA(tree_, kPaneProperty, this);
    treeProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(tree_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreePane::TreeProc)));
    return tree_;
}

LRESULT CALLBACK TreePane::TreeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* pane = static_cast<TreePane*>(::GetPropA(hwnd, kPaneProperty));
    if (message == WM_SETFOCUS) {
        const auto taking = TemporarilySet(pane->takingFocus_, true);
        return ::CallWindowProcA(pane->treeProc_, hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) ::RemovePropA(hwnd, kPaneProperty);
    return ::CallWindowProcA(pane->treeProc_, hwnd, message, wParam, lParam);
}

void TreePane::Refresh(Desktop& desktop, Handle reference, Handle selected, bool hexMode) {
    rebuildGate_.Run([&] { Rebuild(desktop, reference, selected, hexMode); });
}

void TreePane::Rebuild(Desktop& desktop, Handle reference, Handle selected, bool hexMode) {
    {
        // Detached, so deleting and adding the nodes runs no property-list
        // work; the one selection at the end runs it once.
        const auto detached = TemporarilySet(changeHandlerAttached_, false);
        const RedrawOff redrawOff(tree_);
        ::SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        nodes_.clear();
        CurrentNode = -1;

        const WalkResult walk = WalkDesktop(desktop, reference, selected, hexMode);

        nodes_.reserve(walk.nodes.size());
        TVINSERTSTRUCTA insert{};
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        for (const WalkNode& node : walk.nodes) {
            insert.hParent = node.parent < 0 ? TVI_ROOT : nodes_[static_cast<size_t>(node.parent)];
            insert.item.pszText = const_cast<char*>(node.label.c_str());
            insert.item.iImage = node.image;
            insert.item.iSelectedImage = node.image;
            insert.item.lParam = static_cast<LPARAM>(nodes_.size());  // absolute index, not the handle
            nodes_.push_back(reinterpret_cast<HTREEITEM>(
                ::SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert))));
        }
        CurrentNode = walk.currentNode;
        if (onCounts) onCounts(walk.windowsCount, static_cast<int>(walk.nodes.size()));
    }
    if (CurrentNode >= 0) SelectNode(CurrentNode);
}

std::string TreePane::ItemText(HTREEITEM node) const {
    char buffer[260] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = 256;
    ::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::string TreePane::NodeLabel(int index) const {
    if (index < 0 || index >= NodeCount()) return {};
    return ItemText(nodes_[static_cast<size_t>(index)]);
}

int TreePane::SelectedNode() const {
    auto selected = reinterpret_cast<HTREEITEM>(::SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!selected) return -1;
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = selected;
    ::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<int>(item.lParam);
}

void TreePane::SelectNode(int index) {
    if (index < 0 || index >= NodeCount()) return;
    HTREEITEM node = nodes_[static_cast<size_t>(index)];
    ::SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    ::SendMessageA(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
}

bool TreePane::OnNotify(const NMHDR* header, LRESULT& result, bool hexMode) {
    if (header->hwndFrom != tree_) return false;
    // Getting the focus never selects a node: only the user or a command does.
    if (header->code == TVN_SELCHANGINGA) {
        result = takingFocus_ ? TRUE : FALSE;
        return true;
    }
    if (header->code == TVN_SELCHANGEDA) {
        result = 0;
        if (!changeHandlerAttached_) return true;
        HTREEITEM node = reinterpret_cast<const NMTREEVIEWA*>(header)->itemNew.hItem;
        if (!node) return true;
        if (const auto handle = HandleFromLabel(ItemText(node), hexMode); handle && onSelect) onSelect(*handle);
        return true;
    }
    return false;
}

}  // namespace vantrel::win32
