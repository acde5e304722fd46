#pragma once
// The About dialog TForm3: the product name and version on a black panel,
// with links to the author's e-mail address and web page.

#include "shell/win32_form.h"

#include <map>

namespace vantrel::win32 {

class TForm3 : public Form {
public:
    TForm3();

    bool PreTranslateMessage(MSG& msg) override;

    HWND LabelEmail = nullptr;  // the e-mail link
    HWND LabelWww = nullptr;    // the web page link
    HWND PanelOk = nullptr;     // "< OK >"

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged(int oldDpi) override;

private:
    enum class LabelFont { Plain, Name, Link };
    HWND AddLabel(const char* text, int x, int y, int width, int height, COLORREF colour, LabelFont font,
                  DWORD align = SS_LEFT, bool link = false);
    // The product name's and the links' fonts and the icon for the dialog's
    // pixels per inch, given to the labels that use them.
    void ScaleArtwork();
    void Paint();

    std::map<HWND, COLORREF> colours_;
    std::map<HWND, LabelFont> fonts_;
    FontHandle nameFont_;
    FontHandle linkFont_;
    BrushHandle black_;
    IconHandle icon_;
};

// The author's addresses behind the two links.
inline constexpr const char* kAuthorEmail = "mara.lindqvist@example.org";
inline constexpr const char* kAuthorWeb = "https://www.example.org/vantrel/";

}  // namespace vantrel::win32
