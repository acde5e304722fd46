#pragma once
// The Set Style dialog TForm6.

#include "shell/win32_form.h"
#include "windowops/command_host.h"
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

// "Set style...": fills the dialog with the selected window's three values in
// the given notation, shows it and writes back the fields the user changed,
// then refills the property list through the host.
void RunSetStyle(CommandHost& host, TForm6& dialog, bool hexMode);

}  // namespace vantrel::win32
