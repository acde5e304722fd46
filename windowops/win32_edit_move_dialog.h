#pragma once
// The Edit / Move dialog TForm2.

#include "shell/win32_form.h"

namespace vantrel::win32 {

class TForm2 : public Form {
public:
    TForm2();
};

TForm2& Form2();

}  // namespace vantrel::win32
