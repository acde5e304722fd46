#include "shell/win32_command_bars.h"

#include "platform/win32_text.h"
#include "resources/resource_names.h"
#include "shell/win32_form.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace vantrel::win32 {

namespace {

constexpr COLORREF kTransparent = resources::kTransparentColour;

// Draws one image of the list into a 32-bit bitmap whose transparent pixels
// have alpha 0, the form menus draw with transparency.
HBITMAP MenuBitmap(HIMAGELIST images, int index) {
    int cx = 16;
    int cy = 16;
    ::ImageList_GetIconSize(images, &cx, &cy);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDC screen(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    HDC dc = ::CreateCompatibleDC(screen.get());
    {
        SelectObjectScope select(dc, bitmap);
        BrushHandle background(::CreateSolidBrush(kTransparent));
        RECT r{0, 0, cx, cy};
        ::FillRect(dc, &r, background.get());
        ::ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
        ::GdiFlush();
    }
    ::DeleteDC(dc);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < cx * cy; ++i) {
        const std::uint32_t rgb = pixels[i] & 0x00FFFFFF;
        pixels[i] = rgb == 0x00FF00FF ? 0 : (rgb | 0xFF000000);
    }
    return bitmap;
}

std::string MenuCaption(const MenuItemSpec& item) {
    std::string caption(item.caption);
    if (!item.shortcut.empty()) {
        caption += '\t';
        caption += item.shortcut;
    }
    return caption;
}

// The buttons of a table, their separators as wide as scale makes them.
std::vector<TBBUTTON> ToolButtons(const std::vector<ToolButtonSpec>& buttons, DpiScale scale) {
    std::vector<TBBUTTON> tb;
    for (const ToolButtonSpec& spec : buttons) {
        TBBUTTON b{};
        if (spec.kind == ToolKind::Separator) {
            b.iBitmap = scale(spec.width);  // a separator's width
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = spec.image;
            b.idCommand = spec.command;
            b.fsStyle = spec.kind == ToolKind::Check ? BTNS_CHECK : BTNS_BUTTON;
            b.fsState = static_cast<BYTE>((spec.disabled ? 0 : TBSTATE_ENABLED) |
                                          (spec.pressed ? TBSTATE_CHECKED : 0));
        }
        b.iString = -1;
        tb.push_back(b);
    }
    return tb;
}

void AppendItems(HMENU menu, const std::vector<MenuItemSpec>& items, HIMAGELIST images,
                 std::vector<BitmapHandle>& bitmaps) {
    for (const MenuItemSpec& item : items) {
        if (item.hidden) continue;  // a hidden item is not in the menu at all
        if (item.caption == "-") {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::string caption = MenuCaption(item);
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
        info.fType = item.radio ? MFT_RADIOCHECK : MFT_STRING;
        info.wID = static_cast<UINT>(item.command);
        info.dwTypeData = const_cast<char*>(caption.c_str());
        info.fState = (item.checked ? MFS_CHECKED : 0u) | (item.disabled ? MFS_DISABLED : 0u);
        if (item.image != kNoImage && images) {
            if (HBITMAP bitmap = MenuBitmap(images, item.image)) {
                bitmaps.emplace_back(bitmap);
                info.fMask |= MIIM_BITMAP;
                info.hbmpItem = bitmap;
            }
        }
        ::InsertMenuItemA(menu, static_cast<UINT>(::GetMenuItemCount(menu)), TRUE, &info);
    }
}

void AddAccelerator(std::vector<ACCEL>& table, const MenuItemSpec& item) {
    const auto shortcut = ParseShortcut(item.shortcut);
    if (!shortcut || item.command == 0) return;
    ACCEL accel{};
    accel.fVirt = FVIRTKEY | (shortcut->ctrl ? FCONTROL : 0) | (shortcut->shift ? FSHIFT : 0) |
                  (shortcut->alt ? FALT : 0);
    accel.key = static_cast<WORD>(shortcut->key);
    accel.cmd = static_cast<WORD>(item.command);
    table.push_back(accel);
}

}  // namespace

ImageListHandle LoadImageStrip(const char* resourceName, int size, int count) {
    ImageListHandle list(::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, 0));
    BitmapHandle strip(static_cast<HBITMAP>(
        ::LoadImageA(Instance(), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (strip) {
        ::ImageList_AddMasked(list.get(), strip.get(), kTransparent);
    }
    // Without the artwork, blank images keep every index valid.
    while (::ImageList_GetImageCount(list.get()) < count) {
        WindowDC screen(nullptr);
        BitmapHandle blank(::CreateCompatibleBitmap(screen.get(), size, size));
        ::ImageList_AddMasked(list.get(), blank.get(), RGB(0, 0, 0));
    }
    return list;
}

ImageListHandle LoadImageStrip(const resources::ImageStrip (&strips)[3], int dpi) {
    const resources::ImageStrip& strip = resources::StripAt(strips, NearestImageScale(dpi));
    return LoadImageStrip(strip.resource, strip.size, strip.count);
}

void ReplaceMenuBitmaps(HMENU menu, const std::vector<MenuSpec>& menus, const std::vector<MenuItemSpec>& popupItems,
                        HIMAGELIST images, std::vector<BitmapHandle>& fresh) {
    auto replace = [&](const MenuItemSpec& item) {
        if (item.hidden || item.image == kNoImage || item.command == 0) return;
        HBITMAP bitmap = MenuBitmap(images, item.image);
        if (!bitmap) return;
        fresh.emplace_back(bitmap);
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP;
        info.hbmpItem = bitmap;
        ::SetMenuItemInfoA(menu, static_cast<UINT>(item.command), FALSE, &info);
    };
    for (const MenuSpec& spec : menus)
        for (const MenuItemSpec& item : spec.items) replace(item);
    for (const MenuItemSpec& item : popupItems) replace(item);
}

MenuHandle BuildMenuBar(const std::vector<MenuSpec>& menus, HIMAGELIST images, std::vector<BitmapHandle>& bitmaps) {
    MenuHandle bar(::CreateMenu());
    for (const MenuSpec& spec : menus) {
        HMENU popup = ::CreatePopupMenu();
        AppendItems(popup, spec.items, images, bitmaps);
        ::AppendMenuA(bar.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                      std::string(spec.caption).c_str());
    }
    return bar;
}

MenuHandle BuildPopupMenu(const std::vector<MenuItemSpec>& items, HIMAGELIST images,
                          std::vector<BitmapHandle>& bitmaps) {
    MenuHandle popup(::CreatePopupMenu());
    AppendItems(popup.get(), items, images, bitmaps);
    return popup;
}

AcceleratorHandle BuildAccelerators(const std::vector<MenuSpec>& menus, const std::vector<MenuItemSpec>& popupItems) {
    std::vector<ACCEL> table;
    for (const MenuSpec& menu : menus)
        for (const MenuItemSpec& item : menu.items)
            if (!item.hidden) AddAccelerator(table, item);
    for (const MenuItemSpec& item : popupItems) AddAccelerator(table, item);
    if (table.empty()) return {};
    return AcceleratorHandle(::CreateAcceleratorTableA(table.data(), static_cast<int>(table.size())));
}

HWND BuildToolBar(HWND parent, int id, const std::vector<ToolButtonSpec>& buttons, HIMAGELIST images,
                  int buttonWidth, int buttonHeight, std::map<int, std::string>& hints, DpiScale scale) {
    HWND bar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                                     CCS_NORESIZE | CCS_NOPARENTALIGN,
                                 0, 0, 100, 29, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 Instance(), nullptr);
    ::SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    ::SendMessageW(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(scale(buttonWidth), scale(buttonHeight)));
    for (const ToolButtonSpec& spec : buttons)
        if (spec.kind != ToolKind::Separator && !spec.hint.empty()) hints[spec.command] = std::string(spec.hint);
    std::vector<TBBUTTON> tb = ToolButtons(buttons, scale);
    ::SendMessageW(bar, TB_ADDBUTTONSW, tb.size(), reinterpret_cast<LPARAM>(tb.data()));
    return bar;
}

void RescaleToolBar(HWND bar, const std::vector<ToolButtonSpec>& buttons, HIMAGELIST images, int buttonWidth,
                    int buttonHeight, DpiScale scale) {
    // The buttons go and come back with the separators' new widths; each
    // takes the state it had.
    std::vector<TBBUTTON> tb = ToolButtons(buttons, scale);
    for (TBBUTTON& b : tb) {
        if (b.fsStyle & BTNS_SEP) continue;
        const LRESULT state = ::SendMessageW(bar, TB_GETSTATE, static_cast<WPARAM>(b.idCommand), 0);
        if (state != -1) b.fsState = static_cast<BYTE>(state);
    }
    const RedrawOff redrawOff(bar);
    while (::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0) > 0) ::SendMessageW(bar, TB_DELETEBUTTON, 0, 0);
    ::SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    ::SendMessageW(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(scale(buttonWidth), scale(buttonHeight)));
    ::SendMessageW(bar, TB_ADDBUTTONSW, tb.size(), reinterpret_cast<LPARAM>(tb.data()));
}

bool AnswerToolTip(NMHDR* header, const std::map<int, std::string>& hints) {
    // A tool bar asks in the form its parent answers to WM_NOTIFYFORMAT: wide
    // for Vantrel's forms; the 8-bit form is answered as well.
    if (header->code != TTN_GETDISPINFOW && header->code != TTN_GETDISPINFOA) return false;
    auto it = hints.find(static_cast<int>(header->idFrom));
    const std::string hint = it == hints.end() ? std::string() : it->second;
    // The hint may change between two requests, so it is copied, not pointed at.
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        info->hinst = nullptr;
        const std::wstring text = Wide(CutToUtf16Units(hint, std::size(info->szText) - 1));
        std::copy(text.begin(), text.end(), info->szText);
        info->szText[text.size()] = L'\0';
        info->lpszText = info->szText;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        info->hinst = nullptr;
        const std::string text = ToAnsi(hint).substr(0, sizeof(info->szText) - 1);
        std::copy(text.begin(), text.end(), info->szText);
        info->szText[text.size()] = '\0';
        info->lpszText = info->szText;
    }
    return true;
}

void CheckMenuCommand(HMENU menu, int command, bool checked) {
    ::CheckMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool IsMenuCommandChecked(HMENU menu, int command) {
    return (::GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void EnableMenuCommand(HMENU menu, int command, bool enabled) {
    ::EnableMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace vantrel::win32
