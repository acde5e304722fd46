#include "windowops/win32_spin_edit.h"

#include "platform/win32_text.h"

#include <commctrl.h>

namespace vantrel::win32 {

namespace {

constexpr const wchar_t* kSpinEditProperty = L"VantrelSpinEdit";

wchar_t DecimalSeparator() {
    wchar_t buffer[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1) return buffer[0];
    return L'.';
}

// A typed character the field takes: a digit, a sign or the user's decimal
// separator, which may lie outside 7-bit ASCII.
bool IsKeyAccepted(wchar_t typed) {
    const wchar_t separator = DecimalSeparator();
    if (typed == separator) return true;
    return typed < 0x80 && IsSpinKeyAccepted(static_cast<char>(typed), separator < 0x80 ? static_cast<char>(separator) : '\0');
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
    arrows_ = form.AddControl("msctls_updown32", "", 0, x + width - kArrowsWidth, y, kArrowsWidth, height, 0);
    ::SendMessageW(arrows_, UDM_SETRANGE32, static_cast<WPARAM>(-10), 10);
    ::SendMessageW(arrows_, UDM_SETPOS32, 0, 0);
    ::SetPropW(edit_, kSpinEditProperty, this);
    editProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpinEdit::EditProc)));
}

std::string SpinEdit::Text() const {
    // Read whole: a pasted long run of digits must not be cut into a number.
    return OwnWindowText(edit_);
}

void SpinEdit::SetValue(std::int64_t value) { SetOwnWindowText(edit_, SpinText(value, range_)); }

int SpinEdit::Value() const { return SpinValue(Text(), range_); }

void SpinEdit::ClampText() {
    if (auto text = SpinTextOnFocusLoss(Text(), range_)) SetOwnWindowText(edit_, *text);
}

void SpinEdit::Step(int delta) {
    SetValue(SpinStep(Text(), delta, range_));
    ::SendMessageW(edit_, EM_SETSEL, 0, -1);
}

bool SpinEdit::HandleArrowClick(const NMHDR* header) {
    if (header->hwndFrom != arrows_ || header->code != static_cast<UINT>(UDN_DELTAPOS)) return false;
    const auto* change = reinterpret_cast<const NMUPDOWN*>(header);
    if (change->iDelta != 0) Step(change->iDelta > 0 ? 1 : -1);
    if (::GetFocus() != edit_) ::SetFocus(edit_);
    return true;
}

LRESULT CALLBACK SpinEdit::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<SpinEdit*>(::GetPropW(hwnd, kSpinEditProperty));
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CHAR:
        if (!IsKeyAccepted(static_cast<wchar_t>(wParam))) {
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
        const LRESULT result = ::CallWindowProcW(self->editProc_, hwnd, message, wParam, lParam);
        self->ClampText();
        return result;
    }
    case WM_NCDESTROY: {
        const WNDPROC original = self->editProc_;
        ::RemovePropW(hwnd, kSpinEditProperty);
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
    }
    default:
        break;
    }
    return ::CallWindowProcW(self->editProc_, hwnd, message, wParam, lParam);
}

}  // namespace vantrel::win32
