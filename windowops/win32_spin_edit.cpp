#include "windowops/win32_spin_edit.h"

#include <commctrl.h>

namespace vantrel::win32 {

namespace {

constexpr const char* kSpinEditProperty = "VantrelSpinEdit";

char DecimalSeparator() {
    char buffer[8] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) > 1) return buffer[0];
    return '.';
}

}  // namespace

void SpinEdit::Create(Form& form, int id, int x, int y, int width, int height, SpinRange range) {
    range_ = range;
    constexpr int kArrowsWidth = 15;
    edit_ = form.AddControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, x, y, width - kArrowsWidth, height, id,
                            WS_EX_CLIENTEDGE);
    // The arrows are not tied to the edit as its buddy: the field keeps its
    // own text and steps it itself, so the arrows' own position never moves
    // (every click is refused in HandleArrowClick) and stays clear of its
    // limits.
    arrows_ = form.AddControl(UPDOWN_CLASSA, "", 0, x + width - kArrowsWidth, y, kArrowsWidth, height, 0);
    ::SendMessageA(arrows_, UDM_SETRANGE32, static_cast<WPARAM>(-10), 10);
    ::SendMessageA(arrows_, UDM_SETPOS32, 0, 0);
    ::SetPropA(edit_, kSpinEditProperty, this);
    editProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpinEdit::EditProc)));
}

std::string SpinEdit::Text() const {
    // Read whole: a pasted long run of digits must not be cut into a number.
    const int length = ::GetWindowTextLengthA(edit_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(edit_, text.data(), length + 1)));
    return text;
}

void SpinEdit::SetValue(std::int64_t value) { ::SetWindowTextA(edit_, SpinText(value, range_).c_str()); }

int SpinEdit::Value() const { return SpinValue(Text(), range_); }

void SpinEdit::ClampText() {
    if (auto text = SpinTextOnFocusLoss(Text(), range_)) ::SetWindowTextA(edit_, text->c_str());
}

void SpinEdit::Step(int delta) {
    SetValue(SpinStep(Text(), delta, range_));
    ::SendMessageA(edit_, EM_SETSEL, 0, -1);
}

bool SpinEdit::HandleArrowClick(const NMHDR* header) {
    if (header->hwndFrom != arrows_ || header->code != static_cast<UINT>(UDN_DELTAPOS)) return false;
    const auto* change = reinterpret_cast<const NMUPDOWN*>(header);
    if (change->iDelta != 0) Step(change->iDelta > 0 ? 1 : -1);
    if (::GetFocus() != edit_) ::SetFocus(edit_);
    return true;
}

LRESULT CALLBACK SpinEdit::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<SpinEdit*>(::GetPropA(hwnd, kSpinEditProperty));
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CHAR:
        if (!IsSpinKeyAccepted(static_cast<char>(wParam), DecimalSeparator())) {
            ::MessageBeep(0);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            self->Step(wParam == VK_UP ? 1 : -1);
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = ::CallWindowProcA(self->editProc_, hwnd, message, wParam, lParam);
        self->ClampText();
        return result;
    }
    case WM_NCDESTROY: {
        const WNDPROC original = self->editProc_;
        ::RemovePropA(hwnd, kSpinEditProperty);
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        return ::CallWindowProcA(original, hwnd, message, wParam, lParam);
    }
    default:
        break;
    }
    return ::CallWindowProcA(self->editProc_, hwnd, message, wParam, lParam);
}

}  // namespace vantrel::win32
