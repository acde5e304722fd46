#pragma once
// The Catch Messages window TForm5ForHook.

#include "shell/win32_form.h"

namespace vantrel::win32 {

class TForm5ForHook : public Form {
public:
    TForm5ForHook();
};

TForm5ForHook& Form5ForHook();

}  // namespace vantrel::win32
