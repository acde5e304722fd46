#pragma once
// The About dialog TForm3.

#include "shell/win32_form.h"

namespace vantrel::win32 {

class TForm3 : public Form {
public:
    TForm3();
};

TForm3& Form3();

}  // namespace vantrel::win32
