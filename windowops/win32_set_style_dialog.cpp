#include "windowops/win32_set_style_dialog.h"

#include "base/scope_exit.h"
#include "platform/win32_desktop.h"
#include "platform/win32_handles.h"
#include "platform/win32_text.h"
#include "shell/command_ids.h"

#include <commctrl.h>

#include <string>

namespace vantrel::win32 {

namespace {

constexpr int kLabel = -1;
constexpr int kUnchecked = 1, kChecked = 2;  // state images of a list view's check boxes

}  // namespace

TForm6::TForm6() : Form("TForm6") {
    CreateFormWindow("Set Style", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
    SetClientSize(671, 250);

    // Creation order is the tab order: Edit1, OK, Cancel, Edit2, Edit3, then
    // the two lists of flags.
    AddControl("STATIC", "Style:", SS_LEFT, 8, 12, 84, 13, kLabel);
    Edit1 = AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 96, 8, 121, 21, ctl::Edit1, WS_EX_CLIENTEDGE);
    AddControl("BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 34, 84, 75, 25, ctl::Button1);
    AddControl("BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 118, 84, 75, 25, ctl::Button2);
    AddControl("STATIC", "Extended Style:", SS_LEFT, 8, 35, 84, 13, kLabel);
    Edit2 = AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 96, 31, 121, 21, ctl::Edit2, WS_EX_CLIENTEDGE);
    AddControl("STATIC", "User Data:", SS_LEFT, 8, 58, 84, 13, kLabel);
    Edit3 = AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 96, 54, 121, 21, ctl::Edit3, WS_EX_CLIENTEDGE);
    for (HWND edit : {Edit1, Edit2, Edit3}) ::SendMessageW(edit, EM_LIMITTEXT, 256, 0);

    const DWORD listStyle = WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
    AddControl("STATIC", "Style flags:", SS_LEFT, 225, 8, 215, 13, kLabel);
    StyleFlagList = AddControl("SysListView32", "", listStyle, 225, 24, 215, 218, ctl::StyleFlagList,
                               WS_EX_CLIENTEDGE);
    AddControl("STATIC", "Extended style flags:", SS_LEFT, 448, 8, 215, 13, kLabel);
    ExStyleFlagList = AddControl("SysListView32", "", listStyle, 448, 24, 215, 218, ctl::ExStyleFlagList,
                                 WS_EX_CLIENTEDGE);
    for (HWND list : {StyleFlagList, ExStyleFlagList}) {
        ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                       LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        FitColumn(list);
    }
}

void TForm6::Fill(const StyleTexts& texts, StyleTicks ticks) {
    ticks_.emplace(std::move(ticks));
    {
        const auto syncing = TemporarilySet(syncing_, true);
        SetOwnWindowText(Edit1, texts[0]);
        SetOwnWindowText(Edit2, texts[1]);
        SetOwnWindowText(Edit3, texts[2]);
    }
    for (TickList list : {TickList::Style, TickList::ExStyle}) {
        ShowTicks(list);
        ::SendMessageW(ListOf(list), LVM_ENSUREVISIBLE, 0, FALSE);
    }
}

StyleTexts TForm6::Texts() const {
    return {ControlText(ctl::Edit1), ControlText(ctl::Edit2), ControlText(ctl::Edit3)};
}

TickedBits TForm6::Ticked() const { return ticks_ ? ticks_->Ticked() : TickedBits{}; }

void TForm6::FormShow() { FocusWholeText(Edit1); }

void TForm6::ShowTicks(TickList list) {
    const HWND view = ListOf(list);
    const std::vector<StyleFlag> flags = ticks_->Flags(list);
    const std::vector<bool> ticked = ticks_->Ticks(list);
    std::vector<StyleFlag>& shown = shown_[static_cast<size_t>(list)];
    const auto syncing = TemporarilySet(syncing_, true);
    // Names change in place (the shared bits of a style are named by the
    // style), so the list keeps where the user scrolled it.
    for (size_t i = 0; i < flags.size(); ++i) {
        if (i < shown.size() && shown[i].name == flags[i].name) continue;
        std::wstring name = Wide(flags[i].name);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = name.data();
        if (i < shown.size())
            ::SendMessageW(view, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        else
            ::SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    for (size_t i = shown.size(); i-- > flags.size();) ::SendMessageW(view, LVM_DELETEITEM, i, 0);
    shown = flags;
    for (size_t i = 0; i < flags.size(); ++i) {
        LVITEMW item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(ticked[i] ? kChecked : kUnchecked);
        ::SendMessageW(view, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
    }
    FitColumn(view);
}

void TForm6::OnFieldChanged(TickList list) {
    if (ticks_->Typed(list, OwnWindowText(FieldOf(list)))) ShowTicks(list);
}

void TForm6::OnTick(TickList list, int item, bool ticked) {
    const std::vector<StyleFlag>& shown = shown_[static_cast<size_t>(list)];
    if (item < 0 || static_cast<size_t>(item) >= shown.size()) return;
    const std::string text = ticks_->Tick(list, shown[static_cast<size_t>(item)], ticked);
    {
        const auto syncing = TemporarilySet(syncing_, true);
        SetOwnWindowText(FieldOf(list), text);
    }
    // A choice unticks the other choices of its field, and a choice of
    // value 0 cannot be unticked: the list shows what the number holds.
    ShowTicks(list);
}

LRESULT TForm6::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (ticks_ && !syncing_) {
        if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
            const HWND field = reinterpret_cast<HWND>(lParam);
            if (field == Edit1 || field == Edit2) OnFieldChanged(field == Edit1 ? TickList::Style : TickList::ExStyle);
        } else if (message == WM_NOTIFY) {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            const HWND from = change->hdr.hwndFrom;
            if ((from == StyleFlagList || from == ExStyleFlagList) && change->hdr.code == LVN_ITEMCHANGED &&
                (change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) {
                const bool ticked = (change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(kChecked);
                OnTick(from == StyleFlagList ? TickList::Style : TickList::ExStyle, change->iItem, ticked);
                return 0;
            }
        }
    }
    return Form::HandleMessage(message, wParam, lParam);
}

void TForm6::DpiChanged(int) {
    FitColumn(StyleFlagList);
    FitColumn(ExStyleFlagList);
}

void TForm6::FitColumn(HWND list) const {
    RECT client;
    ::GetClientRect(list, &client);
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, client.right);
}

void RunSetStyle(CommandHost& host, TForm6& dialog, bool hexMode) {
    Desktop& desktop = TheDesktop();
    const Handle window = host.Selected();
    const StyleValues read = ReadStyleValues(desktop, window);
    dialog.Fill(StyleFieldTexts(read, hexMode), StyleTicks(desktop.className(window), read, hexMode));
    if (dialog.ShowModal() != kResultOk) return;
    // A field that is no valid number raises the conversion error here; the
    // fields before it stay written and the list is not refilled.
    const CommandOutcome outcome = ApplySetStyle(desktop, window, read, dialog.Texts(), hexMode,
                                                 host.OwnWindowOf(window), dialog.Ticked());
    host.Refill(window);
    host.Report(outcome);
}

}  // namespace vantrel::win32
