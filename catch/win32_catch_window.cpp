#include "catch/win32_catch_window.h"

#include "shell/win32_form1.h"

namespace vantrel::win32 {

TForm5ForHook::TForm5ForHook() : Form("TForm5ForHook") {
    CreateFormWindow("Catch Messages", WS_OVERLAPPEDWINDOW, 0, 0, 0, 703, 403);
}

void TForm1::Catchmessages1Click() {}

}  // namespace vantrel::win32
