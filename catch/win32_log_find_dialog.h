#pragma once
// Find in the log's dialog: asks for the text to search the log for. Its
// field keeps the last text from one showing to the next.

#include "shell/win32_form.h"

#include <string>

namespace vantrel::win32 {

class TFormLogFind : public Form {
public:
    TFormLogFind();

    // The text as typed.
    std::string Text() const;

    HWND Edit1 = nullptr;

protected:
    void FormShow() override;
};

}  // namespace vantrel::win32
