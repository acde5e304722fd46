// The Find dialog and the two search commands of the main window.

#include "locate/win32_find_dialog.h"

#include "shell/command_ids.h"

namespace vantrel::win32 {

namespace {

// The text being searched for: upper-cased, at most 255 characters. It
// changes only when the Find dialog closes with OK, so Cancel leaves "Find
// next" going on with the previous search.
std::string SearchText;

// A hit becomes the selection (like a click) and the place where searching
// goes on; the end of the search is told in a message box and changes nothing.
void ApplySearch(TreeCursor& tree, const SearchOutcome& outcome) {
    switch (outcome.kind) {
    case SearchOutcome::Kind::Nothing:
        break;
    case SearchOutcome::Kind::Select:
        tree.CurrentNode() = outcome.node;
        tree.SelectNode(outcome.node);
        break;
    case SearchOutcome::Kind::Finished:
        MessageBoxFor(ApplicationWindow(), kSearchingFinishedText, kFindCaption, MB_OK | MB_ICONINFORMATION);
        break;
    }
}

}  // namespace

TForm4::TForm4() : Form("TForm4") {
    // This dialog's measures are given for a screen of 120 pixels per inch:
    // at 96 its client area is 302 x 84, and its controls shrink with it.
    designDpi_ = 120;
    CreateFormWindow("Vantrel - Find", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
    SetClientSize(378, 105);
    // Controls are made in tab order: Edit1, CheckBox1, Button1, Button2.
    Label1 = AddControl("STATIC", "Find what:", SS_LEFT, 8, 8, 100, 16, -1);
    Edit1 = AddControl("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 120, 4, 249, 24, ctl::Edit1, WS_EX_CLIENTEDGE);
    ::SendMessageW(Edit1, EM_LIMITTEXT, kMaxSearchTextLength, 0);
    CheckBox1 = AddControl("BUTTON", "From the beginning:", BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_TABSTOP, 6, 32, 147,
                           17, ctl::CheckBox1);
    ::SendMessageW(CheckBox1, BM_SETCHECK, BST_CHECKED, 0);
    Button1 = AddControl("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 64, 64, 118, 28, ctl::Button1);
    Button2 = AddControl("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 200, 64, 118, 28, ctl::Button2);
}

std::string TForm4::Text() const { return ControlText(ctl::Edit1); }

bool TForm4::FromBeginning() const {
    return ::SendMessageW(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TForm4::FormShow() {
    // The whole previous text selected: typing replaces it, Enter confirms it.
    FocusWholeText(Edit1);
}

void FindWindowCommand(TreeCursor& tree, TForm4& dialog) {
    if (dialog.ShowModal() != kResultOk) return;
    const bool fromBeginning = dialog.FromBeginning();
    const int selected = tree.SelectedNode();
    const NodeLabels labels = tree.Labels();
    tree.CurrentNode() = fromBeginning ? (labels.count > 0 ? 0 : -1) : selected;
    SearchText = MakeSearchText(dialog.Text());
    ApplySearch(tree, FindWindowSearch(labels, SearchText, fromBeginning, selected));
}

void FindNextCommand(TreeCursor& tree) {
    tree.CurrentNode() = tree.SelectedNode();
    FindNext(tree);
}

void FindNext(TreeCursor& tree) {
    // CurrentNode -1 (nothing selected): the search starts at the first node.
    ApplySearch(tree, FindNextSearch(tree.Labels(), SearchText, tree.CurrentNode()));
}

}  // namespace vantrel::win32
