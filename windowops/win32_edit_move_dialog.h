#pragma once
// The Edit / Move dialog TForm2.

#include "shell/win32_form.h"
#include "windowops/command_host.h"
#include "windowops/edit_move.h"
#include "windowops/win32_spin_edit.h"

#include <array>
#include <string>

namespace vantrel::win32 {

class TForm2 : public Form {
public:
    TForm2();

    // Fills the fields; each value is brought into its field's range.
    void Fill(const std::string& text, const EditMoveDerived& values);
    std::string Text() const;
    EditMoveValues Values() const;

    HWND Edit1 = nullptr;
    std::array<SpinEdit, kEditMoveFieldCount> SpinEdits;  // SpinEdit1 .. SpinEdit8

protected:
    void FormShow() override;
    void FormClose() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// "Edit / Move...": fills the dialog from the selected window, shows it and
// writes back what the user changed, then refreshes through the host.
void RunEditMove(CommandHost& host, TForm2& dialog);

}  // namespace vantrel::win32
