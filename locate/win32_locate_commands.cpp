// Window from point and the position markers.

#include "shell/win32_form1.h"

namespace vantrel::win32 {

void TForm1::Windowfrompoint1Click() {}
void TForm1::Showposition1Click() {}
void TForm1::Clearpointers1Click() {}

}  // namespace vantrel::win32
