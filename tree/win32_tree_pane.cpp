#include "tree/win32_tree_pane.h"

#include "base/scope_exit.h"
#include "platform/win32_handles.h"
#include "platform/win32_text.h"
#include "tree/node_label.h"
#include "tree/window_walk.h"

namespace vantrel::win32 {

namespace {

constexpr const wchar_t* kPaneProperty = L"VantrelTreePane";

}  // namespace

HWND TreePane::Create(HWND parent, int id, HINSTANCE instance) {
    // Rows may be of odd height: the pictures at 150 % are 33 pixels high.
    tree_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                  TVS_SHOWSELALWAYS | TVS_NONEVENHEIGHT,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ::SetPropW(tree_, kPaneProperty, this);
    treeProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(tree_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreePane::TreeProc)));
    return tree_;
}

LRESULT CALLBACK TreePane::TreeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* pane = static_cast<TreePane*>(::GetPropW(hwnd, kPaneProperty));
    if (message == WM_SETFOCUS) {
        const auto taking = TemporarilySet(pane->takingFocus_, true);
        return ::CallWindowProcW(pane->treeProc_, hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) ::RemovePropW(hwnd, kPaneProperty);
    return ::CallWindowProcW(pane->treeProc_, hwnd, message, wParam, lParam);
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
        ::SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        nodes_.clear();
        CurrentNode = -1;

        const WalkResult walk = WalkDesktop(desktop, reference, selected, hexMode);

        nodes_.reserve(walk.nodes.size());
        TVINSERTSTRUCTW insert{};
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        for (const WalkNode& node : walk.nodes) {
            const std::wstring label = Wide(node.label);
            insert.hParent = node.parent < 0 ? TVI_ROOT : nodes_[static_cast<size_t>(node.parent)];
            insert.item.pszText = const_cast<wchar_t*>(label.c_str());
            insert.item.iImage = node.image;
            insert.item.iSelectedImage = node.image;
            insert.item.lParam = static_cast<LPARAM>(nodes_.size());  // absolute index, not the handle
            nodes_.push_back(reinterpret_cast<HTREEITEM>(
                ::SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
        }
        CurrentNode = walk.currentNode;
        if (onCounts) onCounts(walk.windowsCount, static_cast<int>(walk.nodes.size()));
    }
    if (CurrentNode >= 0) SelectNode(CurrentNode);
}

std::string TreePane::ItemText(HTREEITEM node) const {
    wchar_t buffer[260] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = 256;
    ::SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return Narrow(buffer);
}

std::string TreePane::NodeLabel(int index) const {
    if (index < 0 || index >= NodeCount()) return {};
    return ItemText(nodes_[static_cast<size_t>(index)]);
}

int TreePane::SelectedNode() const {
    auto selected = reinterpret_cast<HTREEITEM>(::SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!selected) return -1;
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = selected;
    ::SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<int>(item.lParam);
}

void TreePane::SelectNode(int index) {
    if (index < 0 || index >= NodeCount()) return;
    HTREEITEM node = nodes_[static_cast<size_t>(index)];
    ::SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    ::SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
}

bool TreePane::OnNotify(const NMHDR* header, LRESULT& result, bool hexMode) {
    if (header->hwndFrom != tree_) return false;
    // Getting the focus never selects a node: only the user or a command does.
    if (header->code == TVN_SELCHANGINGW) {
        result = takingFocus_ ? TRUE : FALSE;
        return true;
    }
    if (header->code == TVN_SELCHANGEDW) {
        result = 0;
        if (!changeHandlerAttached_) return true;
        HTREEITEM node = reinterpret_cast<const NMTREEVIEWW*>(header)->itemNew.hItem;
        if (!node) return true;
        if (const auto handle = HandleFromLabel(ItemText(node), hexMode); handle && onSelect) onSelect(*handle);
        return true;
    }
    return false;
}

}  // namespace vantrel::win32
