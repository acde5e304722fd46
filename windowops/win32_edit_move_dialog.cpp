#include "windowops/win32_edit_move_dialog.h"

#include "shell/win32_form1.h"

namespace vantrel::win32 {

TForm2::TForm2() : Form("TForm2") {
    CreateFormWindow("Edit / Move window", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 0, 0, 312, 287);
}

void TForm1::EditMove1Click() {}

}  // namespace vantrel::win32
