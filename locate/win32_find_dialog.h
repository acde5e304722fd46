#pragma once
// The Find dialog TForm4.

#include "shell/win32_form.h"

namespace vantrel::win32 {

class TForm4 : public Form {
public:
    TForm4();
};

TForm4& Form4();

}  // namespace vantrel::win32
