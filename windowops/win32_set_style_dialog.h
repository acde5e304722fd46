#pragma once
// The Set Style dialog TForm6.

#include "shell/win32_form.h"
#include "windowops/set_style.h"

namespace vantrel::win32 {

class TForm6 : public Form {
public:
    TForm6();

    void Fill(const StyleTexts& texts);
    StyleTexts Texts() const;

    HWND Edit1 = nullptr;  // "Style:"
    HWND Edit2 = nullptr;  // "Extended Style:"
    HWND Edit3 = nullptr;  // "User Data:"

protected:
    void FormShow() override;
};

TForm6& Form6();

}  // namespace vantrel::win32
