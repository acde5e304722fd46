#include "windowops/win32_property_list.h"

#include "platform/win32_clipboard.h"
#include "platform/win32_handles.h"
#include "platform/win32_text.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

namespace vantrel::win32 {

std::optional<ToggleStates> FillPropertyList(HWND list, Desktop& desktop, Handle window, bool hexMode) {
    // Counts the fills begun (the program has one list), so that one that
    // began inside this one's reading is known when the reading ends.
    static unsigned begun = 0;
    const unsigned fill = ++begun;
    auto sheet = ReadProperties(desktop, window, hexMode);
    if (fill != begun) return std::nullopt;

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

namespace {

// The text of a row's caption (0) or value (1). A value may be long (a
// program's path, a row of style names): the room grows until it all fits.
std::string ItemText(HWND list, int row, int column) {
    std::wstring buffer;
    for (std::size_t room = 512;; room *= 2) {
        buffer.assign(room, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(room);
        const auto length =
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        if (static_cast<std::size_t>(length) + 1 < room || room >= (1u << 20)) {
            buffer.resize(static_cast<std::size_t>(length > 0 ? length : 0));
            return Narrow(buffer);
        }
    }
}

}  // namespace

void CopySelectedValue(HWND list, HWND owner) {
    const int row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return;
    PutClipboardText(owner, CopyValueText({"", ItemText(list, row, 1)}));
}

void CopyAllRows(HWND list, HWND owner) {
    std::vector<PropertyRow> rows;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) rows.push_back({ItemText(list, row, 0), ItemText(list, row, 1)});
    if (!rows.empty()) PutClipboardText(owner, CopyAllText(rows));
}

}  // namespace vantrel::win32
