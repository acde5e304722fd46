#include "windowops/win32_property_list.h"

#include "platform/win32_clipboard.h"
#include "platform/win32_handles.h"

#include <commctrl.h>

#include <utility>

namespace vantrel::win32 {

ToggleStates FillPropertyList(HWND list, Desktop& desktop, Handle window, bool hexMode) {
    auto sheet = ReadProperties(desktop, window, hexMode);

    // The rows change out of sight, and show at once when all are there.
    const RedrawOff redrawOff(list);
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    int index = 0;
    for (const PropertyRow& row : sheet.rows) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<char*>(row.property.c_str());
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(row.value.c_str());
        ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        ++index;
    }
    return std::move(sheet.toggles);
}

void CopySelectedValue(HWND list, HWND owner) {
    const int row = static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return;
    char buffer[300] = {};
    LVITEMA item{};
    item.iSubItem = 1;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    PutClipboardText(owner, CopyValueText({"", buffer}));
}

}  // namespace vantrel::win32
