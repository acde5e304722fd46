#pragma once
// The Set Style dialog TForm6.

#include "shell/win32_form.h"

namespace vantrel::win32 {

class TForm6 : public Form {
public:
    TForm6();
};

TForm6& Form6();

}  // namespace vantrel::win32
