#include "windowops/win32_set_style_dialog.h"

#include "shell/win32_form1.h"

namespace vantrel::win32 {

TForm6::TForm6() : Form("TForm6") {
    CreateFormWindow("Set Style", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 0, 0, 231, 143);
}

void TForm1::SetStyle1Click() {}

}  // namespace vantrel::win32
