#include "shell/win32_about_dialog.h"

#include "shell/win32_form1.h"

namespace vantrel::win32 {

TForm3::TForm3() : Form("TForm3") {
    CreateFormWindow("Vantrel - About", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 0, 0, 304, 233);
}

void TForm1::About1Click() {}

}  // namespace vantrel::win32
