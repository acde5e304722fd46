#pragma once
// The main window TForm1: tool bar, window tree, status bar, splitter and the
// property list, and every command of the program as one handler. Handlers
// live beside the rules they run: tree/ (TreeRefresh, TreeView1Change),
// windowops/ (ShowProp, Copy1Click, the window commands and their dialogs),
// locate/ (Find, Window from point, markers), catch/ (Catch messages) and
// shell/ (start-up, display mode, About).

#include "platform/desktop.h"
#include "shell/win32_form.h"
#include "tree/rebuild_gate.h"
#include "tree/window_walk.h"
#include "windowops/window_requests.h"

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

namespace vantrel::win32 {

class TForm1 : public Form {
public:
    TForm1();
    ~TForm1() override;

    // Commands (menu items, tool buttons, accelerators).
    void Refresh1Click();
    void Exit1Click();
    void DecimalClick();
    void HexadecimalClick();
    void FindWindow1Click();
    void Findnext1Click();
    void Windowfrompoint1Click();
    void Showposition1Click();
    void Clearpointers1Click();
    void Show1Click();
    void Enable1Click();
    void Stayontop1Click();
    void EditMove1Click();
    void SetStyle1Click();
    void Catchmessages1Click();
    void Minimize1Click();
    void Restore1Click();
    void Maximize1Click();
    void Close1Click();
    void About1Click();
    void Copy1Click();

    // Larger pieces of work.
    void TreeRefresh();
    void ShowProp(Handle window);
    void FindNext();

    // The tree, as the location tools see it: nodes in the tree's absolute
    // order (depth first, collapsed nodes included).
    int NodeCount() const { return static_cast<int>(nodes_.size()); }
    std::string NodeLabel(int index) const;
    int SelectedNode() const;      // absolute index, -1 when none
    void SelectNode(int index);    // like a click: ancestors expanded, change handler runs
    // Text of the selected node ("" when none): the Catch Messages caption.
    std::string SelectedNodeText() const;

    // Which of Vantrel's own windows a window is, for the window commands.
    OwnWindow OwnWindowOf(Handle window) const;
    // Tells the user, in one box, why a window command stopped: a refusal on
    // Vantrel's own window or a window that did not answer.
    static void ReportOutcome(const CommandOutcome& outcome);

    // The node where a search goes on: an absolute index, -1 for none.
    int CurrentNode = -1;

    HWND TreeView1 = nullptr;
    HWND ListView1 = nullptr;
    HWND StatusBar1 = nullptr;
    HWND ToolBar1 = nullptr;
    HIMAGELIST ImageList1() const { return imageList1_.get(); }

    // Toggle command states, as the property list last set them.
    bool IsMenuChecked(int command) const;
    void SetMenuChecked(int command, bool checked);
    void SetToolPressed(int command, bool pressed);
    void SetHint(int command, const std::string& hint);

    bool PreTranslateMessage(MSG& msg) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged(int oldDpi) override;

private:
    void FormCreate();
    void FormActivate();
    void BuildControls();
    // Fonts, images and sizes of the controls for the form's pixels per inch.
    void ScaleControls();
    void LayoutControls();
    void RunCommand(int command);
    void RebuildTree();
    void TreeView1Change(HTREEITEM node);
    LRESULT OnNotify(NMHDR* header);
    void OnSplitterDrag(int x);

    HWND Panel1 = nullptr;
    HWND Panel2 = nullptr;
    HWND Splitter1 = nullptr;
    MenuHandle mainMenu_;
    MenuHandle popupMenu_;
    AcceleratorHandle accelerators_;
    ImageListHandle imageList1_;
    ImageListHandle imageList2_;
    FontHandle listFont_;
    std::vector<BitmapHandle> menuBitmaps_;
    std::map<int, std::string> hints_;
    std::vector<HTREEITEM> nodes_;  // absolute order
    bool changeHandlerAttached_ = true;
    RebuildGate rebuildGate_;
    bool activatedOnce_ = false;
    // The property list's width in pixels: 188 at 96 pixels per inch, then
    // where the user drags the splitter.
    int rightWidth_ = 0;
};

// The main window, created first at start-up.
TForm1& Form1();

}  // namespace vantrel::win32
