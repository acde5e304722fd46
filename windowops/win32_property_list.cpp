#include "windowops/win32_property_list.h"

#include "platform/win32_clipboard.h"
#include "platform/win32_handles.h"
#include "platform/win32_text.h"

#include <commctrl.h>

#include <utility>

namespace vantrel::win32 {

ToggleStates FillPropertyList(HWND list, Desktop& desktop, Handle window, bool hexMode) {
    auto sheet = ReadProperties(desktop, window, hexMode);

    // The rows change out of sight, and show at once when all are there.
    const RedrawOff redrawOff(list);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int index = 0;
    for (const PropertyRow& row : sheet.rows) {
        const std::wstring property = Wide(row.property);
        const std::wstring value = Wide(row.value);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(property.c_str());
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<wchar_t*>(value.c_str());
        ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        ++index;
    }
    return std::move(sheet.toggles);
}

void CopySelectedValue(HWND list, HWND owner) {
    const int row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return;
    // A value may be long (a program's path, a row of style names): the room
    // grows until the whole value fits.
    std::wstring buffer;
    for (std::size_t room = 512;; room *= 2) {
        buffer.assign(room, L'\0');
        LVITEMW item{};
        item.iSubItem = 1;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(room);
        const auto length =
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        if (static_cast<std::size_t>(length) + 1 < room || room >= (1u << 20)) {
            buffer.resize(static_cast<std::size_t>(length > 0 ? length : 0));
            break;
        }
    }
    PutClipboardText(owner, CopyValueText({"", Narrow(buffer)}));
}

}  // namespace vantrel::win32
