#include "catch/win32_filter_dialog.h"

#include "base/scope_exit.h"
#include "platform/win32_text.h"
#include "shell/command_ids.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace vantrel::win32 {

namespace {

constexpr int kLabel = -1;
constexpr int kUnchecked = 1, kChecked = 2;  // state images of a list view's check boxes
constexpr int kNumberColumnWidth = 110;      // at 96 pixels per inch

std::string RowNumberText(const FilterRow& row) {
    if (!row.message) {
        const auto& messages = FilterGroups()[static_cast<std::size_t>(row.category)].messages;
        return std::to_string(messages.size()) + (messages.size() == 1 ? " message" : " messages");
    }
    char text[32];
    std::snprintf(text, sizeof text, "0x%04X (%u)", static_cast<unsigned>(*row.message),
                  static_cast<unsigned>(*row.message));
    return text;
}

}  // namespace

TFormMessageFilter::TFormMessageFilter() : Form("TFormMessageFilter") {
    CreateFormWindow("Message filter", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
    SetClientSize(360, 441);
    // Creation order is the tab order: the list, the field, Show all, OK, Cancel.
    AddControl("STATIC", "Messages logged (a heading ticks its category):", SS_LEFT,
               8, 8, 344, 13, kLabel);
    FilterList = AddControl("SysListView32", "", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 8, 24,
                            344, 300, ctl::FilterList, WS_EX_CLIENTEDGE);
    ::SendMessageW(FilterList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                   LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    int column = 0;
    for (const wchar_t* title : {L"Message", L"Number"}) {
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT;
        header.pszText = const_cast<wchar_t*>(title);
        ::SendMessageW(FilterList, LVM_INSERTCOLUMNW, column++, reinterpret_cast<LPARAM>(&header));
    }
    const auto& rows = FilterRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::wstring name = Wide(rows[i].text), number = Wide(RowNumberText(rows[i]));
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = name.data();
        ::SendMessageW(FilterList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = number.data();
        ::SendMessageW(FilterList, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    }
    FitColumns();

    AddControl("STATIC", "Also hide (e.g. 0x400-0x4FF, 49152, WM_TIMER):", SS_LEFT,
               8, 332, 344, 13, kLabel);
    FilterText = AddControl("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 8, 348, 344, 21, ctl::FilterText,
                            WS_EX_CLIENTEDGE);
    FilterError = AddControl("STATIC", "", SS_LEFT, 8, 373, 344, 28, ctl::FilterError);
    AddControl("BUTTON", "&Show all", BS_PUSHBUTTON | WS_TABSTOP, 8, 408, 75, 25, ctl::FilterShowAll);
    AddControl("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 196, 408, 75, 25, ctl::Button1);
    AddControl("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 277, 408, 75, 25, ctl::Button2);
}

bool TFormMessageFilter::Edit(MessageFilter& filter) {
    filter_ = filter;
    ticked_.assign(FilterRows().size(), false);
    {
        const auto syncing = TemporarilySet(syncing_, true);
        SetOwnWindowText(FilterText, filter_.HiddenText());
        SetOwnWindowText(FilterError, "");
        // Every box set afresh: the list may show another filter's ticks.
        for (std::size_t i = 0; i < ticked_.size(); ++i) {
            LVITEMW item{};
            item.stateMask = LVIS_STATEIMAGEMASK;
            item.state = INDEXTOSTATEIMAGEMASK(kUnchecked);
            ::SendMessageW(FilterList, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
        }
    }
    ShowTicks();
    ::SendMessageW(FilterList, LVM_ENSUREVISIBLE, 0, FALSE);
    if (ShowModal() != kResultOk) return false;
    filter = filter_;
    return true;
}

void TFormMessageFilter::FormShow() { ::SetFocus(FilterList); }

void TFormMessageFilter::ShowTicks() {
    const auto syncing = TemporarilySet(syncing_, true);
    const auto& rows = FilterRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool shown = RowShown(filter_, rows[i]);
        if (shown == ticked_[i]) continue;
        ticked_[i] = shown;
        LVITEMW item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(shown ? kChecked : kUnchecked);
        ::SendMessageW(FilterList, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
    }
}

void TFormMessageFilter::OnTick(int row, bool ticked) {
    const auto& rows = FilterRows();
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
    ticked_[static_cast<std::size_t>(row)] = ticked;
    SetRowShown(filter_, rows[static_cast<std::size_t>(row)], ticked);
    // The same message under another heading, and the headings, follow.
    ShowTicks();
}

bool TFormMessageFilter::CheckTyped() {
    const std::optional<std::string> error = filter_.SetHiddenText(OwnWindowText(FilterText));
    SetOwnWindowText(FilterError, error.value_or(""));
    return !error;
}

void TFormMessageFilter::ShowAll() {
    filter_.ShowAll();
    {
        const auto syncing = TemporarilySet(syncing_, true);
        SetOwnWindowText(FilterText, "");
        SetOwnWindowText(FilterError, "");
    }
    ShowTicks();
}

LRESULT TFormMessageFilter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == IDOK && (!lParam || HIWORD(wParam) == BN_CLICKED)) {
            // A typed entry that is not understood keeps the dialog open,
            // with what is wrong under the field.
            if (CheckTyped()) SetModalResult(kResultOk);
            else FocusWholeText(FilterText);
            return 0;
        }
        if (id == ctl::FilterShowAll && HIWORD(wParam) == BN_CLICKED) {
            ShowAll();
            return 0;
        }
        if (id == ctl::FilterText && HIWORD(wParam) == EN_CHANGE && !syncing_) {
            CheckTyped();
            return 0;
        }
    } else if (message == WM_NOTIFY && !syncing_) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (change->hdr.hwndFrom == FilterList && change->hdr.code == LVN_ITEMCHANGED &&
            (change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) {
            OnTick(change->iItem, (change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(kChecked));
            return 0;
        }
    }
    return Form::HandleMessage(message, wParam, lParam);
}

void TFormMessageFilter::DpiChanged(int) { FitColumns(); }

void TFormMessageFilter::FitColumns() {
    RECT client;
    ::GetClientRect(FilterList, &client);
    const int number = Scale(kNumberColumnWidth);
    ::SendMessageW(FilterList, LVM_SETCOLUMNWIDTH, 0, client.right - number);
    ::SendMessageW(FilterList, LVM_SETCOLUMNWIDTH, 1, number);
}

}  // namespace vantrel::win32
