#pragma once
// The Set Style dialog TForm6.

#include "shell/win32_form.h"
#include "windowops/command_host.h"
#include "windowops/set_style.h"

#include <array>
#include <optional>
#include <vector>

namespace vantrel::win32 {

class TForm6 : public Form {
public:
    TForm6();

    // The three fields' texts, and the tick lists as ticks holds them.
    void Fill(const StyleTexts& texts, StyleTicks ticks);
    StyleTexts Texts() const;
    // The bits the user last set by ticking since Fill.
    TickedBits Ticked() const;

    HWND Edit1 = nullptr;  // "Style:"
    HWND Edit2 = nullptr;  // "Extended Style:"
    HWND Edit3 = nullptr;  // "User Data:"
    // The named flags with check boxes, beside the two style fields.
    HWND StyleFlagList = nullptr;
    HWND ExStyleFlagList = nullptr;

protected:
    void FormShow() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged(int oldDpi) override;

private:
    HWND ListOf(TickList list) const { return list == TickList::Style ? StyleFlagList : ExStyleFlagList; }
    HWND FieldOf(TickList list) const { return list == TickList::Style ? Edit1 : Edit2; }
    // Brings a list's names and check boxes in line with the ticks.
    void ShowTicks(TickList list);
    // The user typed into a field, or ticked a flag of a list.
    void OnFieldChanged(TickList list);
    void OnTick(TickList list, int item, bool ticked);
    // The one column as wide as the list's client area.
    void FitColumn(HWND list) const;

    std::optional<StyleTicks> ticks_;
    std::array<std::vector<StyleFlag>, 2> shown_;  // the flags each list shows, in its order
    // Set while the dialog itself changes a list or a field, whose
    // notifications are then no user's doing.
    bool syncing_ = false;
};

// "Set style...": fills the dialog with the selected window's three values in
// the given notation and its class's flags, shows it and writes back the
// fields the user changed (with what ticking asks beyond the writes), then
// refills the property list through the host.
void RunSetStyle(CommandHost& host, TForm6& dialog, bool hexMode);

}  // namespace vantrel::win32
