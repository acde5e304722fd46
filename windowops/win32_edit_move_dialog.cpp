#include "windowops/win32_edit_move_dialog.h"

#include "platform/win32_desktop.h"
#include "platform/win32_text.h"
#include "shell/command_ids.h"

namespace vantrel::win32 {

namespace {

constexpr int kGroupBox = -1;  // identifier of static frames and labels

}  // namespace

TForm2::TForm2() : Form("TForm2") {
    CreateFormWindow("Edit / Move window", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
    SetClientSize(306, 258);

    // Creation order is the tab order: Edit1, the Position group (Normal,
    // Minimized, Maximized; Left before Top), the Size group, OK, Cancel.
    AddControl("STATIC", "Text:", SS_LEFT, 8, 12, 30, 13, kGroupBox);
    Edit1 = AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 40, 8, 258, 21, ctl::Edit1, WS_EX_CLIENTEDGE);
    ::SendMessageW(Edit1, EM_LIMITTEXT, 256, 0);

    AddControl("BUTTON", "Position", BS_GROUPBOX, 8, 34, 290, 144, kGroupBox);
    const char* rows[] = {"Normal", "Minimized", "Maximized"};
    for (int row = 0; row < 3; ++row) {
        const int y = 50 + row * 42;
        AddControl("BUTTON", rows[row], BS_GROUPBOX, 16, y, 274, 38, kGroupBox);
        AddControl("STATIC", "Left:", SS_LEFT, 28, y + 16, 30, 13, kGroupBox);
        SpinEdits[static_cast<size_t>(row * 2)].Create(*this, ctl::SpinEdit1 + row * 2, 64, y + 12, 80, 21,
                                                        kEditMoveRanges[static_cast<size_t>(row * 2)]);
        AddControl("STATIC", "Top:", SS_LEFT, 160, y + 16, 30, 13, kGroupBox);
        SpinEdits[static_cast<size_t>(row * 2 + 1)].Create(*this, ctl::SpinEdit1 + row * 2 + 1, 196, y + 12, 80, 21,
                                                            kEditMoveRanges[static_cast<size_t>(row * 2 + 1)]);
    }

    AddControl("BUTTON", "Size", BS_GROUPBOX, 8, 182, 290, 42, kGroupBox);
    AddControl("STATIC", "Width:", SS_LEFT, 20, 200, 40, 13, kGroupBox);
    SpinEdits[6].Create(*this, ctl::SpinEdit1 + 6, 64, 196, 80, 21, kEditMoveRanges[6]);
    AddControl("STATIC", "Height:", SS_LEFT, 152, 200, 40, 13, kGroupBox);
    SpinEdits[7].Create(*this, ctl::SpinEdit1 + 7, 196, 196, 80, 21, kEditMoveRanges[7]);

    AddControl("BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 72, 229, 75, 25, ctl::Button1);
    AddControl("BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 160, 229, 75, 25, ctl::Button2);
}

void TForm2::Fill(const std::string& text, const EditMoveDerived& values) {
    SetOwnWindowText(Edit1, text);
    for (size_t i = 0; i < SpinEdits.size(); ++i) SpinEdits[i].SetValue(values[i]);
}

std::string TForm2::Text() const { return ControlText(ctl::Edit1); }

EditMoveValues TForm2::Values() const {
    EditMoveValues values{};
    for (size_t i = 0; i < SpinEdits.size(); ++i) values[i] = SpinEdits[i].Value();
    return values;
}

void TForm2::FormShow() { FocusWholeText(Edit1); }

void TForm2::FormClose() {
    // OK by Enter leaves the focus in the field being typed in; it must be
    // held to its range as if the focus had left it, like every other field.
    for (SpinEdit& spin : SpinEdits) spin.ClampText();
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        for (SpinEdit& spin : SpinEdits)
            if (spin.HandleArrowClick(header)) return TRUE;  // the field stepped itself
    }
    return Form::HandleMessage(message, wParam, lParam);
}

void RunEditMove(CommandHost& host, TForm2& dialog) {
    Desktop& desktop = TheDesktop();
    const Handle window = host.Selected();
    const EditMoveRead read = ReadForEditMove(desktop, window);
    dialog.Fill(read.text, DerivedValues(read.placement));
    if (dialog.ShowModal() != kResultOk) return;
    const EditMoveOutcome outcome = ApplyEditMove(desktop, window, read, dialog.Text(), dialog.Values());
    if (outcome.refresh == EditMoveRefresh::Tree)
        host.Rebuild();
    else
        host.Refill(window);
    host.Report(CommandOutcome{outcome.reply, {}});
}

}  // namespace vantrel::win32
