// The property list of the main window and its "Copy value" command.

#include "platform/win32_clipboard.h"
#include "platform/win32_desktop.h"
#include "platform/win32_handles.h"
#include "shell/command_ids.h"
#include "shell/program_state.h"
#include "shell/win32_form1.h"
#include "windowops/property_rows.h"

#include <commctrl.h>


namespace vantrel::win32 {

void TForm1::ShowProp(Handle window) {
    const PropertySheet sheet = ReadProperties(TheDesktop(), window, HexMode);

    {
        // The rows change out of sight, and show at once when all are there.
        const RedrawOff redrawOff(ListView1);
        ::SendMessageA(ListView1, LVM_DELETEALLITEMS, 0, 0);
        int index = 0;
        for (const PropertyRow& row : sheet.rows) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = index;
            item.pszText = const_cast<char*>(row.property.c_str());
            ::SendMessageA(ListView1, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            item.iSubItem = 1;
            item.pszText = const_cast<char*>(row.value.c_str());
            ::SendMessageA(ListView1, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
            ++index;
        }
    }

    // The toggle commands act on the state the list shows.
    const ToggleStates& t = sheet.toggles;
    const struct {
        int command;
        bool checked;
        const std::string* hint;
    } toggles[] = {
        {cmd::Show1, t.show, &t.showHint},
        {cmd::Enable1, t.enable, &t.enableHint},
        {cmd::Stayontop1, t.stayOnTop, &t.stayOnTopHint},
        {cmd::Minimize1, t.minimize, nullptr},
        {cmd::Restore1, t.restore, nullptr},
        {cmd::Maximize1, t.maximize, nullptr},
    };
    for (const auto& toggle : toggles) {
        SetMenuChecked(toggle.command, toggle.checked);
        SetToolPressed(toggle.command, toggle.checked);
        if (toggle.hint) SetHint(toggle.command, *toggle.hint);
    }
}

void TForm1::Copy1Click() {
    const int row = static_cast<int>(::SendMessageA(ListView1, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return;
    // Room for the longest value a row holds: a program's full path.
    std::string buffer(65536, '\0');
    LVITEMA item{};
    item.iSubItem = 1;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    ::SendMessageA(ListView1, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    buffer.resize(buffer.find('\0'));
    const std::string text = CopyValueText({"", buffer});

    PutClipboardText(hwnd(), text);
}

}  // namespace vantrel::win32
