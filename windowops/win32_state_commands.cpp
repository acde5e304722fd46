// The window state commands of the main window.

#include "shell/win32_form1.h"

namespace vantrel::win32 {

void TForm1::Show1Click() {}
void TForm1::Enable1Click() {}
void TForm1::Stayontop1Click() {}
void TForm1::Minimize1Click() {}
void TForm1::Restore1Click() {}
void TForm1::Maximize1Click() {}
void TForm1::Close1Click() {}

}  // namespace vantrel::win32
