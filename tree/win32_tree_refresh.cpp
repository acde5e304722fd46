// The tree rebuild and the selection handler of the main window.

#include "base/scope_exit.h"
#include "platform/win32_desktop.h"
#include "platform/win32_handles.h"
#include "shell/program_state.h"
#include "shell/win32_form1.h"
#include "tree/node_label.h"
#include "tree/window_walk.h"

#include <commctrl.h>

namespace vantrel::win32 {

void TForm1::TreeRefresh() {
    rebuildGate_.Run([this] { RebuildTree(); });
}

void TForm1::RebuildTree() {
    {
        // Detached, so deleting and adding the nodes runs no property-list
        // work; the one selection at the end runs it once.
        const auto detached = TemporarilySet(changeHandlerAttached_, false);
        const RedrawOff redrawOff(TreeView1);
        ::SendMessageA(TreeView1, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        nodes_.clear();
        CurrentNode = -1;

        // Without an active window of the program (it is in the background
        // while a driver or another program asks for the rebuild) the main
        // window is the reference, so the tree still lists the desktop.
        HWND reference = ::GetActiveWindow();
        if (!reference) reference = hwnd();
        const WalkResult walk = WalkDesktop(TheDesktop(), ToHandle(reference), SelectedWindow, HexMode);

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
                ::SendMessageA(TreeView1, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert))));
        }
        CurrentNode = walk.currentNode;

        ::SendMessageA(StatusBar1, SB_SETTEXTA, 0,
                       reinterpret_cast<LPARAM>(WindowsCountText(walk.windowsCount).c_str()));
        ::SendMessageA(StatusBar1, SB_SETTEXTA, 1,
                       reinterpret_cast<LPARAM>(TotalCountText(static_cast<int>(walk.nodes.size())).c_str()));
        ::InvalidateRect(ListView1, nullptr, TRUE);
    }
    if (CurrentNode >= 0) SelectNode(CurrentNode);
}

void TForm1::TreeView1Change(HTREEITEM node) {
    if (!node) return;
    char buffer[260] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = 256;
    ::SendMessageA(TreeView1, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    const auto handle = HandleFromLabel(buffer, HexMode);
    if (!handle) return;
    SelectedWindow = *handle;
    ShowProp(SelectedWindow);
}

}  // namespace vantrel::win32
