#pragma once
// The Message filter dialog: every named message with a check box, under
// the heading of each category that lists it (ticking a heading ticks its
// whole group), and a field for numbers, ranges and names to hide, with
// what is wrong with them shown under it. It works on a copy of the log's
// filter, which OK hands back.

#include "catch/message_filter.h"
#include "shell/win32_form.h"

#include <vector>

namespace vantrel::win32 {

class TFormMessageFilter : public Form {
public:
    TFormMessageFilter();

    // Shows the dialog for a filter; on OK, filter becomes what was ticked
    // and typed. True on OK.
    bool Edit(MessageFilter& filter);

    HWND FilterList = nullptr;
    HWND FilterText = nullptr;
    HWND FilterError = nullptr;

protected:
    void FormShow() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged(int oldDpi) override;

private:
    // Brings the check boxes in line with the filter being edited.
    void ShowTicks();
    void OnTick(int row, bool ticked);
    // The typed entries' error under the field; true when there is none.
    bool CheckTyped();
    void ShowAll();
    void FitColumns();

    MessageFilter filter_;
    std::vector<bool> ticked_;  // what each row's box shows
    // Set while the dialog itself changes the list or the field, whose
    // notifications are then no user's doing.
    bool syncing_ = false;
};

}  // namespace vantrel::win32
