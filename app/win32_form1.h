#pragma once
// The main window TForm1: tool bar, window tree, status bar, splitter and the
// property list, and every command of the program as one handler. It composes
// the features: the tree pane (tree/), the property list and the window
// commands with their dialogs (windowops/), Find, Window from point and the
// markers (locate/) and the Catch Messages window (catch/). Each handler is a
// short forwarder into its feature, which sees the main window only through
// the narrow seam it is handed.

#include "locate/label_search.h"
#include "platform/desktop.h"
#include "shell/win32_form.h"
#include "tree/win32_tree_pane.h"
#include "windowops/command_host.h"
#include "windowops/property_rows.h"

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

namespace vantrel::win32 {

class TForm1 : public Form, private CommandHost, private TreeCursor {
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
    void CopyAll1Click();

    // Larger pieces of work.
    void TreeRefresh();
    void ShowProp(Handle window);
    void FindNext();

    HWND TreeView1 = nullptr;
    HWND ListView1 = nullptr;
    HWND StatusBar1 = nullptr;
    HWND ToolBar1 = nullptr;

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
    // The tree's selection-change handler: the selected node's window.
    void TreeView1Change(Handle window);
    // The status bar after a rebuild.
    void ShowCounts(int windows, int total);
    LRESULT OnNotify(NMHDR* header);
    void OnSplitterDrag(int x);
    // Toggle command states, as the property list last set them.
    void ApplyToggles(const ToggleStates& toggles);

    // What the window commands ask of the main window.
    Handle Selected() const override;
    bool IsToggleChecked(StateCommand command) const override;
    OwnWindow OwnWindowOf(Handle window) const override;
    void Refill(Handle window) override { ShowProp(window); }
    void Rebuild() override { TreeRefresh(); }
    void Report(const CommandOutcome& outcome) override;
    bool Confirm(std::string_view text, std::string_view caption) override;

    // The tree as the location tools move in it.
    NodeLabels Labels() const override;
    int SelectedNode() const override { return tree_.SelectedNode(); }
    void SelectNode(int node) override { tree_.SelectNode(node); }
    int& CurrentNode() override { return tree_.CurrentNode; }

    HWND Panel1 = nullptr;
    HWND Panel2 = nullptr;
    HWND Splitter1 = nullptr;
    TreePane tree_;
    MenuHandle mainMenu_;
    MenuHandle popupMenu_;
    AcceleratorHandle accelerators_;
    ImageListHandle imageList1_;
    ImageListHandle imageList2_;
    FontHandle listFont_;
    std::vector<BitmapHandle> menuBitmaps_;
    std::map<int, std::string> hints_;
    bool activatedOnce_ = false;
    // Commands that came while another one waited for a window's answer.
    std::vector<int> deferred_;
    // The property list's width in pixels: 188 at 96 pixels per inch, then
    // where the user drags the splitter.
    int rightWidth_ = 0;
};

}  // namespace vantrel::win32
