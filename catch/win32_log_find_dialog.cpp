#include "catch/win32_log_find_dialog.h"

#include "shell/command_ids.h"

namespace vantrel::win32 {

namespace {
constexpr int kLabel = -1;
constexpr int kLongestText = 1024;
}  // namespace

TFormLogFind::TFormLogFind() : Form("TFormLogFind") {
    CreateFormWindow("Find in the log", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
    SetClientSize(300, 72);
    // Creation order is the tab order: the field, OK, Cancel.
    AddControl("STATIC", "Find what:", SS_LEFT, 8, 12, 60, 13, kLabel);
    Edit1 = AddControl("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 72, 8, 220, 21, ctl::Edit1, WS_EX_CLIENTEDGE);
    ::SendMessageW(Edit1, EM_LIMITTEXT, kLongestText, 0);
    AddControl("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 136, 40, 75, 25, ctl::Button1);
    AddControl("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 217, 40, 75, 25, ctl::Button2);
}

std::string TFormLogFind::Text() const { return ControlText(ctl::Edit1); }

// The last text selected whole: typing replaces it, Enter searches for it again.
void TFormLogFind::FormShow() { FocusWholeText(Edit1); }

}  // namespace vantrel::win32
