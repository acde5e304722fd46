#pragma once
// A spin field: a one-line edit with an up-down control beside it, holding an
// integer within a range. Keys that cannot be part of a number are refused
// with a beep, the arrows and the Up / Down keys step by 1 within the range,
// and a value outside the range is brought into it when the field loses the
// focus.

#include "shell/win32_form.h"
#include "windowops/spin_field.h"

#include <windows.h>

#include <string>

namespace vantrel::win32 {

class SpinEdit {
public:
    SpinEdit() = default;
    SpinEdit(const SpinEdit&) = delete;
    SpinEdit& operator=(const SpinEdit&) = delete;

    // Creates the edit (with identifier id, a tab stop) and then its arrows.
    void Create(Form& form, int id, int x, int y, int width, int height, SpinRange range);

    HWND Edit() const { return edit_; }
    HWND Arrows() const { return arrows_; }
    SpinRange Range() const { return range_; }

    // The value, brought into the range first.
    void SetValue(std::int64_t value);
    // The integer written in the field; the minimum for a text that is none.
    int Value() const;
    // Brings a value outside the range into it, as when the focus leaves.
    void ClampText();

    // The up-down control's notification that an arrow was clicked. True when
    // it was this field's, which then has stepped itself.
    bool HandleArrowClick(const NMHDR* header);

private:
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    std::string Text() const;
    void Step(int delta);

    HWND edit_ = nullptr;
    HWND arrows_ = nullptr;
    WNDPROC editProc_ = nullptr;
    SpinRange range_;
};

}  // namespace vantrel::win32
