#include "app/win32_about_dialog.h"

#include "resources/resource_names.h"
#include "app/program_version.h"
#include "platform/win32_text.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace vantrel::win32 {

namespace {

// The black panel and the "< OK >" button panel, in client pixels.
constexpr RECT kPanel{8, 8, 8 + 281, 8 + 161};
constexpr RECT kOkPanel{110, 176, 110 + 79, 176 + 21};

constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kAqua = RGB(0, 255, 255);

// The version as the version resource of vantrel.exe gives it: the one place
// it is written, which the release archive is named after as well. Read
// straight from the program's own resource, so no library beyond the
// system's known ones is loaded for it.
std::string ProgramVersion() {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return ProductVersionOf(std::string_view(static_cast<const char*>(bytes), ::SizeofResource(nullptr, found)));
}

// Opens a link with the shell. A missing mail program or browser is no error
// of the dialog: the result is not examined and the dialog stays open.
void OpenLink(const std::string& file) {
    ::ShellExecuteW(ApplicationWindow(), nullptr, Wide(file).c_str(), nullptr, nullptr, SW_SHOWNOACTIVATE);
}

}  // namespace

TForm3::TForm3() : Form("TForm3") {
    CreateFormWindow("Vantrel - About", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
    SetClientSize(298, 204);
    // Any key closes the dialog, Escape and Enter included.
    swallowEscape_ = false;
    dialogKeys_ = false;

    black_.reset(::CreateSolidBrush(RGB(0, 0, 0)));
    ScaleArtwork();

    const int left = kPanel.left;
    const int top = kPanel.top;
    const int inner = kPanel.right - kPanel.left - 16;  // width between the panel's margins
    const LabelFont plain = LabelFont::Plain;
    AddLabel("Vantrel", left + 56, top + 8, 200, 30, kLime, LabelFont::Name);
    AddLabel(("Version " + ProgramVersion()).c_str(), left + 58, top + 40, 120, 16, kYellow, plain);
    AddLabel("Freeware: copy and share it freely.", left + 8, top + 64, inner, 16, kWhite, plain, SS_RIGHT);
    AddLabel("Written by Mara Lindqvist", left + 8, top + 82, inner, 16, kLime, plain, SS_RIGHT);
    AddLabel("E-Mail:", left + 12, top + 106, 48, 16, kLime, plain);
    LabelEmail = AddLabel(kAuthorEmail, left + 64, top + 106, 200, 16, kAqua, LabelFont::Link, SS_LEFT, true);
    AddLabel("WWW:", left + 12, top + 124, 48, 16, kLime, plain);
    LabelWww = AddLabel(kAuthorWeb, left + 64, top + 124, 200, 16, kAqua, LabelFont::Link, SS_LEFT, true);
    AddLabel("2026", left + 8, top + 142, inner, 16, kYellow, plain, SS_RIGHT);
    // The button panel: a label over the whole inside of the bevel, so a click
    // anywhere on it counts.
    PanelOk = AddLabel("< OK >", kOkPanel.left + 1, kOkPanel.top + 1, kOkPanel.right - kOkPanel.left - 2,
                       kOkPanel.bottom - kOkPanel.top - 2, kAqua, plain, SS_CENTER | SS_CENTERIMAGE, true);
}

HWND TForm3::AddLabel(const char* text, int x, int y, int width, int height, COLORREF colour, LabelFont font,
                      DWORD align, bool link) {
    HWND label = AddControl("STATIC", text, align | SS_NOPREFIX | (link ? SS_NOTIFY : 0), x, y, width, height, -1);
    if (font != LabelFont::Plain) {
        fonts_[label] = font;
        ::SendMessageW(label, WM_SETFONT,
                       reinterpret_cast<WPARAM>(font == LabelFont::Name ? nameFont_.get() : linkFont_.get()), FALSE);
    }
    colours_[label] = colour;
    return label;
}

void TForm3::ScaleArtwork() {
    // Arial, 25 pixels high at 96 pixels per inch; the links underlined in
    // the dialog's font.
    FontHandle oldName = std::move(nameFont_);
    FontHandle oldLink = std::move(linkFont_);
    nameFont_.reset(::CreateFontA(-Scale(25), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
    LOGFONTA underlined{};
    ::GetObjectA(DialogFont(), sizeof underlined, &underlined);
    underlined.lfUnderline = TRUE;
    linkFont_.reset(::CreateFontIndirectA(&underlined));
    for (const auto& [label, font] : fonts_)
        ::SendMessageW(label, WM_SETFONT,
                       reinterpret_cast<WPARAM>(font == LabelFont::Name ? nameFont_.get() : linkFont_.get()), FALSE);
    // The icon drawn for the size, where the icon has it.
    icon_.reset(static_cast<HICON>(
        ::LoadImageA(Instance(), resources::kMainIcon, IMAGE_ICON, Scale(32), Scale(32), 0)));
}

void TForm3::DpiChanged(int) { ScaleArtwork(); }

bool TForm3::PreTranslateMessage(MSG& msg) {
    // Any key pressed while the dialog has the focus closes it; the key itself
    // is not looked at.
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        SetModalResult(kResultOk);
        return true;
    }
    return Form::PreTranslateMessage(msg);
}

void TForm3::Paint() {
    PaintDC paint(hwnd());
    const HDC dc = paint.get();
    auto scaled = [this](const RECT& r) { return RECT{Scale(r.left), Scale(r.top), Scale(r.right), Scale(r.bottom)}; };
    auto inset = [](RECT r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; };
    // Each bevel is one pixel at 96 pixels per inch and as many as that
    // pixel scales to here, drawn as the system draws one, band by band.
    const int bevel = Scale(1);
    RECT panel = scaled(kPanel);
    ::FillRect(dc, &panel, black_.get());
    // Lowered outside, raised inside: the innermost pair last, so that each
    // band of the raised bevel lies inside all of the lowered one.
    for (int k = 0; k + 1 < bevel; ++k) {
        RECT band = inset(panel, k);
        ::DrawEdge(dc, &band, BDR_SUNKENOUTER, BF_RECT);
    }
    for (int k = bevel - 1; k >= 0; --k) {
        RECT band = inset(panel, bevel - 1 + k);
        ::DrawEdge(dc, &band, BDR_RAISEDINNER | BDR_SUNKENOUTER, BF_RECT);
    }
    RECT ok = scaled(kOkPanel);
    ::FillRect(dc, &ok, black_.get());
    for (int k = 0; k < bevel; ++k) {
        RECT band = inset(ok, k);
        ::DrawEdge(dc, &band, BDR_RAISEDINNER, BF_RECT);
    }
    if (icon_)
        ::DrawIconEx(dc, Scale(kPanel.left + 12), Scale(kPanel.top + 12), icon_.get(), Scale(32), Scale(32), 0, nullptr,
                     DI_NORMAL);
}

LRESULT TForm3::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_CTLCOLORSTATIC: {
        auto found = colours_.find(reinterpret_cast<HWND>(lParam));
        if (found == colours_.end()) break;
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, found->second);
        ::SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(black_.get());
    }
    case WM_SETCURSOR: {
        HWND over = reinterpret_cast<HWND>(wParam);
        if (over == LabelEmail || over == LabelWww) {
            ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == STN_CLICKED) {
            HWND from = reinterpret_cast<HWND>(lParam);
            if (from == LabelEmail) {
                OpenLink(std::string("mailto:") + kAuthorEmail + "?Subject=Vantrel");
                return 0;
            }
            if (from == LabelWww) {
                OpenLink(kAuthorWeb);
                return 0;
            }
            if (from == PanelOk) {
                SetModalResult(kResultOk);
                return 0;
            }
        }
        break;
    default:
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace vantrel::win32
