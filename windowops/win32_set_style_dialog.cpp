#include "windowops/win32_set_style_dialog.h"

#include "platform/win32_desktop.h"
#include "platform/win32_text.h"
#include "shell/command_ids.h"

namespace vantrel::win32 {

namespace {

constexpr int kLabel = -1;

}  // namespace

TForm6::TForm6() : Form("TForm6") {
    CreateFormWindow("Set Style", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
    SetClientSize(225, 114);

    // Creation order is the tab order: Edit1, OK, Cancel, Edit2, Edit3.
    AddControl("STATIC", "Style:", SS_LEFT, 8, 12, 84, 13, kLabel);
    Edit1 = AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 96, 8, 121, 21, ctl::Edit1, WS_EX_CLIENTEDGE);
    AddControl("BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 34, 84, 75, 25, ctl::Button1);
    AddControl("BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 118, 84, 75, 25, ctl::Button2);
    AddControl("STATIC", "Extended Style:", SS_LEFT, 8, 35, 84, 13, kLabel);
    Edit2 = AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 96, 31, 121, 21, ctl::Edit2, WS_EX_CLIENTEDGE);
    AddControl("STATIC", "User Data:", SS_LEFT, 8, 58, 84, 13, kLabel);
    Edit3 = AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 96, 54, 121, 21, ctl::Edit3, WS_EX_CLIENTEDGE);
    for (HWND edit : {Edit1, Edit2, Edit3}) ::SendMessageW(edit, EM_LIMITTEXT, 256, 0);
}

void TForm6::Fill(const StyleTexts& texts) {
    SetOwnWindowText(Edit1, texts[0]);
    SetOwnWindowText(Edit2, texts[1]);
    SetOwnWindowText(Edit3, texts[2]);
}

StyleTexts TForm6::Texts() const {
    return {ControlText(ctl::Edit1), ControlText(ctl::Edit2), ControlText(ctl::Edit3)};
}

void TForm6::FormShow() { FocusWholeText(Edit1); }

void RunSetStyle(CommandHost& host, TForm6& dialog, bool hexMode) {
    Desktop& desktop = TheDesktop();
    const Handle window = host.Selected();
    const StyleValues read = ReadStyleValues(desktop, window);
    dialog.Fill(StyleFieldTexts(read, hexMode));
    if (dialog.ShowModal() != kResultOk) return;
    // A field that is no valid number raises the conversion error here; the
    // fields before it stay written and the list is not refilled.
    const CommandOutcome outcome =
        ApplySetStyle(desktop, window, read, dialog.Texts(), hexMode, host.OwnWindowOf(window));
    host.Refill(window);
    host.Report(outcome);
}

}  // namespace vantrel::win32
