#include "locate/win32_find_dialog.h"

#include "shell/win32_form1.h"

namespace vantrel::win32 {

TForm4::TForm4() : Form("TForm4") {
    CreateFormWindow("Vantrel - Find", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 0, 0, 384, 134);
}

void TForm1::FindWindow1Click() {}
void TForm1::Findnext1Click() {}
void TForm1::FindNext() {}

}  // namespace vantrel::win32
