// The details column's decoding of parameters and results: message by
// message for the ones a developer meets every day, under the names the
// platform's headers give their values.

#include "catch/details_parts.h"

#include "catch/int2msg.h"
#include "base/window_styles.h"
#include "catch/named_values.h"

namespace vantrel::details {

namespace {

constexpr Named kVirtualKeys[] = {
    {0x01, "VK_LBUTTON"}, {0x02, "VK_RBUTTON"}, {0x03, "VK_CANCEL"}, {0x04, "VK_MBUTTON"}, {0x05, "VK_XBUTTON1"},
    {0x06, "VK_XBUTTON2"}, {0x08, "VK_BACK"}, {0x09, "VK_TAB"}, {0x0C, "VK_CLEAR"}, {0x0D, "VK_RETURN"},
    {0x10, "VK_SHIFT"}, {0x11, "VK_CONTROL"}, {0x12, "VK_MENU"}, {0x13, "VK_PAUSE"}, {0x14, "VK_CAPITAL"},
    {0x15, "VK_KANA"}, {0x16, "VK_IME_ON"}, {0x17, "VK_JUNJA"}, {0x18, "VK_FINAL"}, {0x19, "VK_HANJA"},
    {0x1A, "VK_IME_OFF"}, {0x1B, "VK_ESCAPE"}, {0x1C, "VK_CONVERT"}, {0x1D, "VK_NONCONVERT"}, {0x1E, "VK_ACCEPT"},
    {0x1F, "VK_MODECHANGE"}, {0x20, "VK_SPACE"}, {0x21, "VK_PRIOR"}, {0x22, "VK_NEXT"}, {0x23, "VK_END"},
    {0x24, "VK_HOME"}, {0x25, "VK_LEFT"}, {0x26, "VK_UP"}, {0x27, "VK_RIGHT"}, {0x28, "VK_DOWN"}, {0x29, "VK_SELECT"},
    {0x2A, "VK_PRINT"}, {0x2B, "VK_EXECUTE"}, {0x2C, "VK_SNAPSHOT"}, {0x2D, "VK_INSERT"}, {0x2E, "VK_DELETE"},
    {0x2F, "VK_HELP"}, {0x5B, "VK_LWIN"}, {0x5C, "VK_RWIN"}, {0x5D, "VK_APPS"}, {0x5F, "VK_SLEEP"},
    {0x60, "VK_NUMPAD0"}, {0x61, "VK_NUMPAD1"}, {0x62, "VK_NUMPAD2"}, {0x63, "VK_NUMPAD3"}, {0x64, "VK_NUMPAD4"},
    {0x65, "VK_NUMPAD5"}, {0x66, "VK_NUMPAD6"}, {0x67, "VK_NUMPAD7"}, {0x68, "VK_NUMPAD8"}, {0x69, "VK_NUMPAD9"},
    {0x6A, "VK_MULTIPLY"}, {0x6B, "VK_ADD"}, {0x6C, "VK_SEPARATOR"}, {0x6D, "VK_SUBTRACT"}, {0x6E, "VK_DECIMAL"},
    {0x6F, "VK_DIVIDE"}, {0x70, "VK_F1"}, {0x71, "VK_F2"}, {0x72, "VK_F3"}, {0x73, "VK_F4"}, {0x74, "VK_F5"},
    {0x75, "VK_F6"}, {0x76, "VK_F7"}, {0x77, "VK_F8"}, {0x78, "VK_F9"}, {0x79, "VK_F10"}, {0x7A, "VK_F11"},
    {0x7B, "VK_F12"}, {0x7C, "VK_F13"}, {0x7D, "VK_F14"}, {0x7E, "VK_F15"}, {0x7F, "VK_F16"}, {0x80, "VK_F17"},
    {0x81, "VK_F18"}, {0x82, "VK_F19"}, {0x83, "VK_F20"}, {0x84, "VK_F21"}, {0x85, "VK_F22"}, {0x86, "VK_F23"},
    {0x87, "VK_F24"}, {0x90, "VK_NUMLOCK"}, {0x91, "VK_SCROLL"}, {0xA0, "VK_LSHIFT"}, {0xA1, "VK_RSHIFT"},
    {0xA2, "VK_LCONTROL"}, {0xA3, "VK_RCONTROL"}, {0xA4, "VK_LMENU"}, {0xA5, "VK_RMENU"}, {0xA6, "VK_BROWSER_BACK"},
    {0xA7, "VK_BROWSER_FORWARD"}, {0xA8, "VK_BROWSER_REFRESH"}, {0xA9, "VK_BROWSER_STOP"},
    {0xAA, "VK_BROWSER_SEARCH"}, {0xAB, "VK_BROWSER_FAVORITES"}, {0xAC, "VK_BROWSER_HOME"}, {0xAD, "VK_VOLUME_MUTE"},
    {0xAE, "VK_VOLUME_DOWN"}, {0xAF, "VK_VOLUME_UP"}, {0xB0, "VK_MEDIA_NEXT_TRACK"}, {0xB1, "VK_MEDIA_PREV_TRACK"},
    {0xB2, "VK_MEDIA_STOP"}, {0xB3, "VK_MEDIA_PLAY_PAUSE"}, {0xB4, "VK_LAUNCH_MAIL"},
    {0xB5, "VK_LAUNCH_MEDIA_SELECT"}, {0xB6, "VK_LAUNCH_APP1"}, {0xB7, "VK_LAUNCH_APP2"}, {0xBA, "VK_OEM_1"},
    {0xBB, "VK_OEM_PLUS"}, {0xBC, "VK_OEM_COMMA"}, {0xBD, "VK_OEM_MINUS"}, {0xBE, "VK_OEM_PERIOD"},
    {0xBF, "VK_OEM_2"}, {0xC0, "VK_OEM_3"}, {0xDB, "VK_OEM_4"}, {0xDC, "VK_OEM_5"}, {0xDD, "VK_OEM_6"},
    {0xDE, "VK_OEM_7"}, {0xDF, "VK_OEM_8"}, {0xE1, "VK_OEM_AX"}, {0xE2, "VK_OEM_102"}, {0xE3, "VK_ICO_HELP"},
    {0xE4, "VK_ICO_00"}, {0xE5, "VK_PROCESSKEY"}, {0xE6, "VK_ICO_CLEAR"}, {0xE7, "VK_PACKET"}, {0xE9, "VK_OEM_RESET"},
    {0xEA, "VK_OEM_JUMP"}, {0xEB, "VK_OEM_PA1"}, {0xEC, "VK_OEM_PA2"}, {0xED, "VK_OEM_PA3"}, {0xEE, "VK_OEM_WSCTRL"},
    {0xEF, "VK_OEM_CUSEL"}, {0xF0, "VK_OEM_ATTN"}, {0xF1, "VK_OEM_FINISH"}, {0xF2, "VK_OEM_COPY"},
    {0xF3, "VK_OEM_AUTO"}, {0xF4, "VK_OEM_ENLW"}, {0xF5, "VK_OEM_BACKTAB"}, {0xF6, "VK_ATTN"}, {0xF7, "VK_CRSEL"},
    {0xF8, "VK_EXSEL"}, {0xF9, "VK_EREOF"}, {0xFA, "VK_PLAY"}, {0xFB, "VK_ZOOM"}, {0xFC, "VK_NONAME"},
    {0xFD, "VK_PA1"}, {0xFE, "VK_OEM_CLEAR"},
};

constexpr Named kHitTests[] = {
    {0xFFFFFFFE, "HTERROR"}, {0xFFFFFFFF, "HTTRANSPARENT"}, {0, "HTNOWHERE"}, {1, "HTCLIENT"}, {2, "HTCAPTION"},
    {3, "HTSYSMENU"}, {4, "HTGROWBOX"}, {5, "HTMENU"}, {6, "HTHSCROLL"}, {7, "HTVSCROLL"}, {8, "HTMINBUTTON"},
    {9, "HTMAXBUTTON"}, {10, "HTLEFT"}, {11, "HTRIGHT"}, {12, "HTTOP"}, {13, "HTTOPLEFT"}, {14, "HTTOPRIGHT"},
    {15, "HTBOTTOM"}, {16, "HTBOTTOMLEFT"}, {17, "HTBOTTOMRIGHT"}, {18, "HTBORDER"}, {19, "HTOBJECT"},
    {20, "HTCLOSE"}, {21, "HTHELP"},
};
constexpr Named kSizeTypes[] = {
    {0, "SIZE_RESTORED"}, {1, "SIZE_MINIMIZED"}, {2, "SIZE_MAXIMIZED"}, {3, "SIZE_MAXSHOW"}, {4, "SIZE_MAXHIDE"},
};
constexpr Named kActivations[] = {{0, "WA_INACTIVE"}, {1, "WA_ACTIVE"}, {2, "WA_CLICKACTIVE"}};
constexpr Named kShowStatus[] = {
    {1, "SW_PARENTCLOSING"}, {2, "SW_OTHERZOOM"}, {3, "SW_PARENTOPENING"}, {4, "SW_OTHERUNZOOM"},
};
constexpr Named kSysCommands[] = {
    {0xF000, "SC_SIZE"}, {0xF010, "SC_MOVE"}, {0xF020, "SC_MINIMIZE"}, {0xF030, "SC_MAXIMIZE"},
    {0xF040, "SC_NEXTWINDOW"}, {0xF050, "SC_PREVWINDOW"}, {0xF060, "SC_CLOSE"}, {0xF070, "SC_VSCROLL"},
    {0xF080, "SC_HSCROLL"}, {0xF090, "SC_MOUSEMENU"}, {0xF100, "SC_KEYMENU"}, {0xF110, "SC_ARRANGE"},
    {0xF120, "SC_RESTORE"}, {0xF130, "SC_TASKLIST"}, {0xF140, "SC_SCREENSAVE"}, {0xF150, "SC_HOTKEY"},
    {0xF160, "SC_DEFAULT"}, {0xF170, "SC_MONITORPOWER"}, {0xF180, "SC_CONTEXTHELP"},
};
constexpr Named kMouseKeys[] = {
    {0x01, "MK_LBUTTON"}, {0x02, "MK_RBUTTON"}, {0x04, "MK_SHIFT"}, {0x08, "MK_CONTROL"},
    {0x10, "MK_MBUTTON"}, {0x20, "MK_XBUTTON1"}, {0x40, "MK_XBUTTON2"},
};
constexpr Named kXButtons[] = {{1, "XBUTTON1"}, {2, "XBUTTON2"}};
constexpr Named kKeyFlags[] = {
    {0x0100, "KF_EXTENDED"}, {0x0800, "KF_DLGMODE"}, {0x1000, "KF_MENUMODE"}, {0x2000, "KF_ALTDOWN"},
    {0x4000, "KF_REPEAT"}, {0x8000, "KF_UP"},
};
constexpr Named kVerticalScroll[] = {
    {0, "SB_LINEUP"}, {1, "SB_LINEDOWN"}, {2, "SB_PAGEUP"}, {3, "SB_PAGEDOWN"}, {4, "SB_THUMBPOSITION"},
    {5, "SB_THUMBTRACK"}, {6, "SB_TOP"}, {7, "SB_BOTTOM"}, {8, "SB_ENDSCROLL"},
};
constexpr Named kHorizontalScroll[] = {
    {0, "SB_LINELEFT"}, {1, "SB_LINERIGHT"}, {2, "SB_PAGELEFT"}, {3, "SB_PAGERIGHT"}, {4, "SB_THUMBPOSITION"},
    {5, "SB_THUMBTRACK"}, {6, "SB_LEFT"}, {7, "SB_RIGHT"}, {8, "SB_ENDSCROLL"},
};
constexpr Named kTrackBarScroll[] = {
    {0, "TB_LINEUP"}, {1, "TB_LINEDOWN"}, {2, "TB_PAGEUP"}, {3, "TB_PAGEDOWN"}, {4, "TB_THUMBPOSITION"},
    {5, "TB_THUMBTRACK"}, {6, "TB_TOP"}, {7, "TB_BOTTOM"}, {8, "TB_ENDTRACK"},
};
constexpr Named kSizingEdges[] = {
    {1, "WMSZ_LEFT"}, {2, "WMSZ_RIGHT"}, {3, "WMSZ_TOP"}, {4, "WMSZ_TOPLEFT"}, {5, "WMSZ_TOPRIGHT"},
    {6, "WMSZ_BOTTOM"}, {7, "WMSZ_BOTTOMLEFT"}, {8, "WMSZ_BOTTOMRIGHT"},
};
constexpr Named kIconTypes[] = {{0, "ICON_SMALL"}, {1, "ICON_BIG"}, {2, "ICON_SMALL2"}};
constexpr Named kDialogCodes[] = {
    {0x0001, "DLGC_WANTARROWS"}, {0x0002, "DLGC_WANTTAB"}, {0x0004, "DLGC_WANTALLKEYS"},
    {0x0008, "DLGC_HASSETSEL"}, {0x0010, "DLGC_DEFPUSHBUTTON"}, {0x0020, "DLGC_UNDEFPUSHBUTTON"},
    {0x0040, "DLGC_RADIOBUTTON"}, {0x0080, "DLGC_WANTCHARS"}, {0x0100, "DLGC_STATIC"}, {0x2000, "DLGC_BUTTON"},
};
constexpr Named kMouseActivations[] = {
    {1, "MA_ACTIVATE"}, {2, "MA_ACTIVATEANDEAT"}, {3, "MA_NOACTIVATE"}, {4, "MA_NOACTIVATEANDEAT"},
};
constexpr Named kPrintFlags[] = {
    {0x01, "PRF_CHECKVISIBLE"}, {0x02, "PRF_NONCLIENT"}, {0x04, "PRF_CLIENT"}, {0x08, "PRF_ERASEBKGND"},
    {0x10, "PRF_CHILDREN"}, {0x20, "PRF_OWNED"},
};
constexpr Named kHotKeyModifiers[] = {
    {0x1, "MOD_ALT"}, {0x2, "MOD_CONTROL"}, {0x4, "MOD_SHIFT"}, {0x8, "MOD_WIN"}, {0x4000, "MOD_NOREPEAT"},
};
constexpr Named kValidRects[] = {
    {0x010, "WVR_ALIGNTOP"}, {0x020, "WVR_ALIGNLEFT"}, {0x040, "WVR_ALIGNBOTTOM"}, {0x080, "WVR_ALIGNRIGHT"},
    {0x300, "WVR_REDRAW"}, {0x100, "WVR_HREDRAW"}, {0x200, "WVR_VREDRAW"}, {0x400, "WVR_VALIDRECTS"},
};
constexpr Named kEndSession[] = {
    {0x00000001, "ENDSESSION_CLOSEAPP"}, {0x40000000, "ENDSESSION_CRITICAL"}, {0x80000000, "ENDSESSION_LOGOFF"},
};
constexpr Named kMenuFlags[] = {
    {0x0001, "MF_GRAYED"}, {0x0002, "MF_DISABLED"}, {0x0004, "MF_BITMAP"}, {0x0008, "MF_CHECKED"},
    {0x0010, "MF_POPUP"}, {0x0080, "MF_HILITE"}, {0x0100, "MF_OWNERDRAW"}, {0x2000, "MF_SYSMENU"},
    {0x8000, "MF_MOUSESELECT"},
};
constexpr Named kMenuChar[] = {{0, "MNC_IGNORE"}, {1, "MNC_CLOSE"}, {2, "MNC_EXECUTE"}, {3, "MNC_SELECT"}};
constexpr Named kIdleSources[] = {{0, "MSGF_DIALOGBOX"}, {2, "MSGF_MENU"}};
constexpr Named kLongIndexes[] = {{0xFFFFFFF0, "GWL_STYLE"}, {0xFFFFFFEC, "GWL_EXSTYLE"}};
constexpr Named kObjectIds[] = {
    {0, "OBJID_WINDOW"}, {0xFFFFFFFF, "OBJID_SYSMENU"}, {0xFFFFFFFE, "OBJID_TITLEBAR"}, {0xFFFFFFFD, "OBJID_MENU"},
    {0xFFFFFFFC, "OBJID_CLIENT"}, {0xFFFFFFFB, "OBJID_VSCROLL"}, {0xFFFFFFFA, "OBJID_HSCROLL"},
    {0xFFFFFFF9, "OBJID_SIZEGRIP"}, {0xFFFFFFF8, "OBJID_CARET"}, {0xFFFFFFF7, "OBJID_CURSOR"},
    {0xFFFFFFF6, "OBJID_ALERT"}, {0xFFFFFFF5, "OBJID_SOUND"}, {0xFFFFFFF4, "OBJID_QUERYCLASSNAMEIDX"},
    {0xFFFFFFF0, "OBJID_NATIVEOM"},
};
constexpr Named kUiStateActions[] = {{1, "UIS_SET"}, {2, "UIS_CLEAR"}, {3, "UIS_INITIALIZE"}};
constexpr Named kUiStateFlags[] = {{1, "UISF_HIDEFOCUS"}, {2, "UISF_HIDEACCEL"}, {4, "UISF_ACTIVE"}};
constexpr Named kNotifyFormats[] = {{1, "NFR_ANSI"}, {2, "NFR_UNICODE"}, {3, "NF_QUERY"}, {4, "NF_REQUERY"}};
constexpr Named kButtonChecks[] = {{0, "BST_UNCHECKED"}, {1, "BST_CHECKED"}, {2, "BST_INDETERMINATE"}};
constexpr Named kButtonStates[] = {
    {0x001, "BST_CHECKED"}, {0x002, "BST_INDETERMINATE"}, {0x004, "BST_PUSHED"}, {0x008, "BST_FOCUS"},
    {0x200, "BST_HOT"}, {0x400, "BST_DROPDOWNPUSHED"},
};
constexpr Named kImageTypes[] = {{0, "IMAGE_BITMAP"}, {1, "IMAGE_ICON"}, {2, "IMAGE_CURSOR"}, {3, "IMAGE_ENHMETAFILE"}};
constexpr Named kTreeExpand[] = {
    {0x0003, "TVE_TOGGLE"}, {0x0001, "TVE_COLLAPSE"}, {0x0002, "TVE_EXPAND"}, {0x4000, "TVE_EXPANDPARTIAL"},
    {0x8000, "TVE_COLLAPSERESET"},
};
constexpr Named kTreeNext[] = {
    {0, "TVGN_ROOT"}, {1, "TVGN_NEXT"}, {2, "TVGN_PREVIOUS"}, {3, "TVGN_PARENT"}, {4, "TVGN_CHILD"},
    {5, "TVGN_FIRSTVISIBLE"}, {6, "TVGN_NEXTVISIBLE"}, {7, "TVGN_PREVIOUSVISIBLE"}, {8, "TVGN_DROPHILITE"},
    {9, "TVGN_CARET"}, {10, "TVGN_LASTVISIBLE"}, {11, "TVGN_NEXTSELECTED"},
};
constexpr Named kListNext[] = {
    {0x001, "LVNI_FOCUSED"}, {0x002, "LVNI_SELECTED"}, {0x004, "LVNI_CUT"}, {0x008, "LVNI_DROPHILITED"},
    {0x010, "LVNI_VISIBLEORDER"}, {0x020, "LVNI_PREVIOUS"}, {0x040, "LVNI_VISIBLEONLY"},
    {0x080, "LVNI_SAMEGROUPONLY"}, {0x100, "LVNI_ABOVE"}, {0x200, "LVNI_BELOW"}, {0x400, "LVNI_TOLEFT"},
    {0x800, "LVNI_TORIGHT"},
};
constexpr Named kStatusTextFlags[] = {
    {0x0100, "SBT_NOBORDERS"}, {0x0200, "SBT_POPOUT"}, {0x0400, "SBT_RTLREADING"}, {0x0800, "SBT_NOTABPARSING"},
    {0x1000, "SBT_OWNERDRAW"},
};
constexpr Named kProgressStates[] = {{1, "PBST_NORMAL"}, {2, "PBST_ERROR"}, {3, "PBST_PAUSED"}};
constexpr Named kEditMargins[] = {{0xFFFF, "EC_USEFONTINFO"}, {1, "EC_LEFTMARGIN"}, {2, "EC_RIGHTMARGIN"}};
constexpr Named kCustomDrawResults[] = {
    {0x002, "CDRF_NEWFONT"}, {0x004, "CDRF_SKIPDEFAULT"}, {0x008, "CDRF_DOERASE"}, {0x010, "CDRF_NOTIFYPOSTPAINT"},
    {0x020, "CDRF_NOTIFYITEMDRAW"}, {0x040, "CDRF_NOTIFYPOSTERASE"}, {0x100, "CDRF_SKIPPOSTPAINT"},
};

constexpr std::uint32_t kWmUser = 0x400;

std::string Coords(int x, int y) { return "x=" + Decimal(x) + " y=" + Decimal(y); }

std::string Signed(std::uint32_t value) { return Decimal(static_cast<std::int32_t>(value)); }

// A virtual-key code: its name, the letter or digit it stands for, or its number.
std::string KeyName(std::uint32_t vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return Enclosed("'", std::string(1, static_cast<char>(vk)), "'");
    const std::string_view name = SortedName(kVirtualKeys, vk);
    return name.empty() ? "VK " + Hex32(vk) : std::string(name);
}

// The keystroke flags of a key or character message's lParam.
void AddKeyFlags(std::uint32_t lParam, Parts& parts) {
    parts.Add("repeat", Decimal(Lo16(lParam)));
    parts.Add("scan", "0x" + std::string(1, "0123456789ABCDEF"[(lParam >> 20) & 0xF]) +
                          std::string(1, "0123456789ABCDEF"[(lParam >> 16) & 0xF]));
    const std::uint32_t flags = Hi16(lParam) & 0xFF00;
    if (flags) parts.Add(FlagsText(kKeyFlags, flags));
}

void AddMouse(const Decoded& m, Parts& parts) {
    if (Lo16(m.W())) parts.Add(FlagsText(kMouseKeys, Lo16(m.W())));
    parts.Add(Coords(SignedLo16(m.L()), SignedHi16(m.L())));
}

void AddWindow(std::string_view name, std::uint64_t window, Parts& parts) {
    if (window) parts.Add(name, Handle(window));
}

// The parameters of the standard controls' and common controls' messages.
void AddControlParameters(const Decoded& m, Parts& parts) {
    const std::uint32_t w = m.W(), l = m.L();
    const auto index = [&] { parts.Add("index", Signed(w)); };
    switch (m.family) {
        case ControlFamily::Edit:
        case ControlFamily::RichEdit:
            switch (m.message) {
                case 0x00B1: parts.Add("start", Signed(w)); parts.Add("end", Signed(l)); break;  // EM_SETSEL
                case 0x00B6: parts.Add("columns", Signed(w)); parts.Add("lines", Signed(l)); break;  // EM_LINESCROLL
                case 0x00B9: case 0x00CF: parts.Add(Bool(w)); break;  // EM_SETMODIFY, EM_SETREADONLY
                // EM_LINEINDEX, EM_LINELENGTH, EM_LINEFROMCHAR, EM_GETLINE
                case 0x00BB: case 0x00C1: case 0x00C9: case 0x00C4:
                    parts.Add(m.message == 0x00C1 || m.message == 0x00C9 ? "char" : "line", Signed(w));
                    break;
                case 0x00C2: parts.Add("undo", Bool(w)); break;  // EM_REPLACESEL
                case 0x00C5: parts.Add("max", Decimal(w)); break;  // EM_LIMITTEXT
                case 0x00D3:  // EM_SETMARGINS
                    parts.Add(FlagsText(kEditMargins, w));
                    parts.Add("left", Decimal(Lo16(l)));
                    parts.Add("right", Decimal(Hi16(l)));
                    break;
                default: break;
            }
            break;
        case ControlFamily::Button:
            if (m.message == 0x00F1) parts.Add(NameOrNumber(kButtonChecks, w));  // BM_SETCHECK
            if (m.message == 0x00F3) parts.Add(Bool(w));                         // BM_SETSTATE
            if (m.message == 0x00F4) {                                           // BM_SETSTYLE
                parts.Add(StyleFlagsText(m.windowClass, w));
                parts.Add("redraw", Bool(l));
            }
            if (m.message == 0x00F7) {  // BM_SETIMAGE
                parts.Add(NameOrNumber(kImageTypes, w));
                parts.Add("image", Handle(m.lParam));
            }
            break;
        case ControlFamily::ListBox:
            switch (m.message) {
                case 0x0181: case 0x0182: case 0x0186: case 0x0189: case 0x018A: case 0x0197:
                case 0x0199: case 0x019E:  // LB_INSERTSTRING ... LB_SETCARETINDEX
                    index();
                    break;
                case 0x019A: index(); parts.Add("data", Handle(m.lParam)); break;  // LB_SETITEMDATA
                case 0x0185: parts.Add(Bool(w)); parts.Add("index", Signed(l)); break;  // LB_SETSEL
                // LB_SELECTSTRING, LB_FINDSTRING(EXACT)
                case 0x018C: case 0x018F: case 0x01A2: parts.Add("start", Signed(w)); break;
                default: break;
            }
            break;
        case ControlFamily::ComboBox:
            switch (m.message) {
                // CB_DELETESTRING ... CB_GETITEMDATA
                case 0x0144: case 0x0148: case 0x0149: case 0x014A: case 0x014E: case 0x0150:
                    index();
                    break;
                case 0x0151: index(); parts.Add("data", Handle(m.lParam)); break;  // CB_SETITEMDATA
                case 0x014F: parts.Add(Bool(w)); break;                            // CB_SHOWDROPDOWN
                case 0x0141: parts.Add("max", Decimal(w)); break;                  // CB_LIMITTEXT
                // CB_SETEDITSEL
                case 0x0142:
                    parts.Add("start", Decimal(SignedLo16(l)));
                    parts.Add("end", Decimal(SignedHi16(l)));
                    break;
                // CB_FINDSTRING, CB_SELECTSTRING, CB_FINDSTRINGEXACT
                case 0x014C: case 0x014D: case 0x0158: parts.Add("start", Signed(w)); break;
                default: break;
            }
            break;
        case ControlFamily::Static:
            if (m.message == 0x0172) {  // STM_SETIMAGE
                parts.Add(NameOrNumber(kImageTypes, w));
                parts.Add("image", Handle(m.lParam));
            }
            if (m.message == 0x0170) parts.Add("icon", Handle(m.wParam));  // STM_SETICON
            break;
        case ControlFamily::ScrollBar:
            if (m.message == 0x00E0) {  // SBM_SETPOS
                parts.Add("pos", Signed(w));
                parts.Add("redraw", Bool(l));
            }
            if (m.message == 0x00E2 || m.message == 0x00E6) {  // SBM_SETRANGE, SBM_SETRANGEREDRAW
                parts.Add("min", Signed(w));
                parts.Add("max", Signed(l));
            }
            break;
        case ControlFamily::TreeView:
            switch (m.message) {
                // TVM_EXPAND
                case 0x1102: parts.Add(FlagsText(kTreeExpand, w)); parts.Add("item", Handle(m.lParam)); break;
                case 0x110A: case 0x110B:  // TVM_GETNEXTITEM, TVM_SELECTITEM
                    parts.Add(NameOrNumber(kTreeNext, w & 0xFF));
                    AddWindow("item", m.lParam, parts);
                    break;
                // TVM_DELETEITEM, TVM_SORTCHILDREN, TVM_ENSUREVISIBLE
                case 0x1101: case 0x1113: case 0x1114:
                    parts.Add("item", Handle(m.lParam));
                    break;
                case 0x1127:  // TVM_GETITEMSTATE
                    parts.Add("item", Handle(m.wParam));
                    parts.Add("mask", Hex32(l));
                    break;
                default: break;
            }
            break;
        case ControlFamily::ListView:
            switch (m.message) {
                // LVM_GETNEXTITEM
                case 0x100C: parts.Add("start", Signed(w)); parts.Add(FlagsText(kListNext, Lo16(l))); break;
                case 0x1008: case 0x102A: case 0x102B: case 0x102C: case 0x102D: case 0x102E:
                case 0x1073: case 0x1074:  // LVM_DELETEITEM, LVM_UPDATE, LVM_(S|G)ETITEMSTATE, LVM_(G|S)ETITEMTEXT
                    index();
                    break;
                case 0x1013: index(); parts.Add("partial", Bool(l)); break;  // LVM_ENSUREVISIBLE
                case 0x1015: parts.Add("first", Signed(w)); parts.Add("last", Signed(l)); break;  // LVM_REDRAWITEMS
                // LVM_SETCOLUMNWIDTH
                case 0x101E: parts.Add("column", Signed(w)); parts.Add("width", Decimal(SignedLo16(l))); break;
                case 0x102F: parts.Add("count", Decimal(w)); break;  // LVM_SETITEMCOUNT
                case 0x1014: parts.Add("dx", Signed(w)); parts.Add("dy", Signed(l)); break;  // LVM_SCROLL
                default: break;
            }
            break;
        case ControlFamily::Tab:
            if (m.message == 0x130C || m.message == 0x1308 || m.message == 0x130A || m.message == 0x1330) index();
            break;
        case ControlFamily::ToolBar:
            if (m.message >= 0x0401 && m.message <= 0x0406) {  // TB_ENABLEBUTTON ... TB_MARKBUTTON
                parts.Add("id", Decimal(w));
                parts.Add(Bool(Lo16(l)));
            } else if ((m.message >= 0x0409 && m.message <= 0x040E) || m.message == 0x0412 || m.message == 0x0419) {
                parts.Add("id", Decimal(w));  // TB_ISBUTTON*, TB_GETSTATE, TB_COMMANDTOINDEX
            } else if (m.message == 0x0416 || m.message == 0x0417 || m.message == 0x041D) {
                index();  // TB_DELETEBUTTON, TB_GETBUTTON, TB_GETITEMRECT
            }
            break;
        case ControlFamily::StatusBar:
            if (m.message == 0x0401 || m.message == 0x040B) {  // SB_SETTEXTA, SB_SETTEXTW
                parts.Add("part", Decimal(w & 0xFF));
                if (w & 0xFF00) parts.Add(FlagsText(kStatusTextFlags, w & 0xFF00));
            } else if (m.message == 0x0402 || m.message == 0x0403 || m.message == 0x040A || m.message == 0x040C ||
                       m.message == 0x040D || m.message == 0x040F) {
                parts.Add("part", Signed(w));  // SB_GETTEXT*, SB_GETRECT, SB_SETICON
            } else if (m.message == 0x0404) {
                parts.Add("parts", Decimal(w));  // SB_SETPARTS
            } else if (m.message == 0x0409) {
                parts.Add(Bool(w));  // SB_SIMPLE
            }
            break;
        case ControlFamily::Header:
            if ((m.message >= 0x1201 && m.message <= 0x1204) || m.message == 0x1207 ||
                (m.message >= 0x120A && m.message <= 0x120C))
                index();  // HDM_(INSERT|DELETE|GET|SET)ITEM*, HDM_GETITEMRECT
            break;
        case ControlFamily::Progress:
            switch (m.message) {
                // PBM_SETRANGE
                case 0x0401: parts.Add("min", Decimal(Lo16(l))); parts.Add("max", Decimal(Hi16(l))); break;
                case 0x0402: parts.Add("pos", Signed(w)); break;  // PBM_SETPOS
                case 0x0403: parts.Add("delta", Signed(w)); break;  // PBM_DELTAPOS
                case 0x0404: parts.Add("step", Signed(w)); break;  // PBM_SETSTEP
                case 0x0406: parts.Add("min", Signed(w)); parts.Add("max", Signed(l)); break;  // PBM_SETRANGE32
                case 0x040A: parts.Add(Bool(w)); parts.Add("ms", Decimal(l)); break;  // PBM_SETMARQUEE
                case 0x0410: parts.Add(NameOrNumber(kProgressStates, w)); break;  // PBM_SETSTATE
                default: break;
            }
            break;
        case ControlFamily::TrackBar:
            switch (m.message) {
                case 0x0405: case 0x0407: case 0x0408:  // TBM_SETPOS, TBM_SETRANGEMIN, TBM_SETRANGEMAX
                    parts.Add("redraw", Bool(w));
                    parts.Add(m.message == 0x0405 ? "pos" : m.message == 0x0407 ? "min" : "max", Signed(l));
                    break;
                case 0x0406:  // TBM_SETRANGE
                    parts.Add("redraw", Bool(w));
                    parts.Add("min", Decimal(SignedLo16(l)));
                    parts.Add("max", Decimal(SignedHi16(l)));
                    break;
                case 0x0404: parts.Add("pos", Signed(l)); break;  // TBM_SETTIC
                case 0x0414: parts.Add("frequency", Signed(w)); break;  // TBM_SETTICFREQ
                case 0x0415: case 0x0417: parts.Add("size", Signed(l)); break;  // TBM_SETPAGESIZE, TBM_SETLINESIZE
                default: break;
            }
            break;
        case ControlFamily::UpDown:
            switch (m.message) {
                // UDM_SETRANGE
                case 0x0465: parts.Add("min", Decimal(SignedHi16(l))); parts.Add("max", Decimal(SignedLo16(l))); break;
                case 0x0467: parts.Add("pos", Decimal(SignedLo16(l))); break;  // UDM_SETPOS
                case 0x046F: parts.Add("min", Signed(w)); parts.Add("max", Signed(l)); break;  // UDM_SETRANGE32
                case 0x0471: parts.Add("pos", Signed(l)); break;  // UDM_SETPOS32
                case 0x0469: parts.Add("buddy", Handle(m.wParam)); break;  // UDM_SETBUDDY
                case 0x046D: parts.Add("base", Decimal(w)); break;  // UDM_SETBASE
                default: break;
            }
            break;
        case ControlFamily::ToolTips:
            if (m.message == 0x0401 || m.message == 0x0411) parts.Add(Bool(w));  // TTM_ACTIVATE, TTM_TRACKACTIVATE
            if (m.message == 0x0412) parts.Add(Coords(SignedLo16(l), SignedHi16(l)));  // TTM_TRACKPOSITION
            if (m.message == 0x0418) parts.Add("width", Signed(l));  // TTM_SETMAXTIPWIDTH
            break;
        case ControlFamily::None:
            break;
    }
}

}  // namespace

void AddParameters(const Decoded& m, Parts& parts) {
    const std::uint32_t w = m.W(), l = m.L();
    switch (m.message) {
        case 0x0003: parts.Add(Coords(SignedLo16(l), SignedHi16(l))); break;  // WM_MOVE
        case 0x0005: parts.Add(NameOrNumber(kSizeTypes, w)); parts.Add(Size(Lo16(l), Hi16(l))); break;  // WM_SIZE
        case 0x0006:  // WM_ACTIVATE
            parts.Add(NameOrNumber(kActivations, Lo16(w)));
            if (Hi16(w)) parts.Add("minimized");
            AddWindow("other", m.lParam, parts);
            break;
        case 0x0007: case 0x0008: AddWindow("other", m.wParam, parts); break;  // WM_SETFOCUS, WM_KILLFOCUS
        // WM_ENABLE, WM_SETREDRAW, WM_NCACTIVATE, WM_(ENTER|EXIT)MENULOOP
        case 0x000A: case 0x000B: case 0x0086: case 0x0211: case 0x0212:
            parts.Add(Bool(w));
            break;
        case 0x000D: parts.Add("max", Decimal(w)); break;  // WM_GETTEXT
        case 0x0012: parts.Add("exit code", Signed(w)); break;  // WM_QUIT
        case 0x0011: case 0x0016:  // WM_QUERYENDSESSION, WM_ENDSESSION
            if (m.message == 0x0016) parts.Add(Bool(w));
            if (l) parts.Add(FlagsText(kEndSession, l));
            break;
        case 0x0014: case 0x0318: case 0x0317:  // WM_ERASEBKGND, WM_PRINTCLIENT, WM_PRINT
            parts.Add("dc", Handle(m.wParam));
            if (m.message != 0x0014) parts.Add(FlagsText(kPrintFlags, l));
            break;
        case 0x0018:  // WM_SHOWWINDOW
            parts.Add(Bool(w));
            if (l) parts.Add(NameOrNumber(kShowStatus, l));
            break;
        case 0x001A: if (w) parts.Add("flag", Decimal(w)); break;  // WM_SETTINGCHANGE
        case 0x001C: parts.Add(Bool(w)); parts.Add("thread", Decimal(l)); break;  // WM_ACTIVATEAPP
        case 0x0020: case 0x0021:  // WM_SETCURSOR, WM_MOUSEACTIVATE
            AddWindow("window", m.wParam, parts);
            parts.Add(NameOrNumber(kHitTests, static_cast<std::uint32_t>(SignedLo16(l))));
            if (Hi16(l)) parts.Add(MessageName(static_cast<std::int32_t>(Hi16(l))));
            break;
        case 0x0028:  // WM_NEXTDLGCTL
            if (Lo16(l)) parts.Add("control", Handle(m.wParam));
            else parts.Add(w ? "previous" : "next");
            break;
        case 0x002B: case 0x002C: case 0x002D: case 0x0039: parts.Add("id", Decimal(w)); break;  // WM_DRAWITEM ...
        case 0x002E: case 0x002F:  // WM_VKEYTOITEM, WM_CHARTOITEM
            parts.Add(m.message == 0x002E ? KeyName(Lo16(w)) : CharText(Lo16(w)));
            parts.Add("caret", Decimal(Hi16(w)));
            AddWindow("list", m.lParam, parts);
            break;
        case 0x0030: parts.Add("font", Handle(m.wParam)); parts.Add("redraw", Bool(Lo16(l))); break;  // WM_SETFONT
        case 0x003D: parts.Add("flags", Hex32(w)); parts.Add(NameOrNumber(kObjectIds, l)); break;  // WM_GETOBJECT
        case 0x004A: AddWindow("from", m.wParam, parts); break;  // WM_COPYDATA
        case 0x004E:  // WM_NOTIFY: its identifier, unless the notification itself was copied
            if (m.payloadKind < PayloadKind::NotifyHeader)
                parts.Add("id", Decimal(static_cast<std::int64_t>(m.wParam)));
            break;
        case 0x0050: case 0x0051:  // WM_INPUTLANGCHANGEREQUEST, WM_INPUTLANGCHANGE
            parts.Add(m.message == 0x0050 ? "flags" : "charset", Decimal(w));
            parts.Add("layout", Handle(m.lParam));
            break;
        // WM_NOTIFYFORMAT
        case 0x0055: AddWindow("from", m.wParam, parts); parts.Add(NameOrNumber(kNotifyFormats, l)); break;
        case 0x007B:  // WM_CONTEXTMENU
            AddWindow("window", m.wParam, parts);
            if (l == 0xFFFFFFFF) parts.Add("from the keyboard");
            else parts.Add(Coords(SignedLo16(l), SignedHi16(l)));
            break;
        case 0x007C: case 0x007D: parts.Add(NameOrNumber(kLongIndexes, w)); break;  // WM_STYLECHANG(ING|ED)
        case 0x007E: parts.Add("bits", Decimal(w)); parts.Add(Size(Lo16(l), Hi16(l))); break;  // WM_DISPLAYCHANGE
        case 0x007F: parts.Add(NameOrNumber(kIconTypes, w)); if (l) parts.Add("dpi", Decimal(l)); break;  // WM_GETICON
        case 0x0080: parts.Add(NameOrNumber(kIconTypes, w)); parts.Add("icon", Handle(m.lParam)); break;  // WM_SETICON
        case 0x0083: parts.Add(Bool(w)); break;  // WM_NCCALCSIZE
        case 0x0084: parts.Add(Coords(SignedLo16(l), SignedHi16(l))); break;  // WM_NCHITTEST
        case 0x0085: parts.Add("region", Handle(m.wParam)); break;  // WM_NCPAINT
        case 0x0087: if (w) parts.Add(KeyName(w)); break;  // WM_GETDLGCODE
        case 0x00A0: case 0x00A1: case 0x00A2: case 0x00A3: case 0x00A4: case 0x00A5: case 0x00A6: case 0x00A7:
        case 0x00A8: case 0x00A9: case 0x00AB: case 0x00AC: case 0x00AD:  // WM_NC* mouse
            parts.Add(NameOrNumber(kHitTests, w));
            parts.Add(Coords(SignedLo16(l), SignedHi16(l)));
            break;
        case 0x0100: case 0x0101: case 0x0104: case 0x0105:  // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP
            parts.Add(KeyName(w));
            AddKeyFlags(l, parts);
            break;
        case 0x0102: case 0x0103: case 0x0106: case 0x0107:  // WM_CHAR, WM_DEADCHAR, WM_SYSCHAR, WM_SYSDEADCHAR
            parts.Add(CharText(w));
            AddKeyFlags(l, parts);
            break;
        case 0x0109: parts.Add(w == 0xFFFF ? std::string("UNICODE_NOCHAR") : CharText(w)); break;  // WM_UNICHAR
        case 0x0286: parts.Add(CharText(w)); break;  // WM_IME_CHAR
        case 0x0110: AddWindow("focus", m.wParam, parts); parts.Add("param", Handle(m.lParam)); break;  // WM_INITDIALOG
        case 0x0111:  // WM_COMMAND
            if (m.lParam == 0) {
                parts.Add(Hi16(w) == 1 ? "accelerator" : Hi16(w) == 0 ? "menu" : "code=" + Decimal(Hi16(w)));
                parts.Add("id", Decimal(Lo16(w)));
            } else {
                const std::string_view code = CommandCodeName(m.senderFamily, Hi16(w));
                parts.Add(code.empty() ? "code=" + Decimal(Hi16(w)) : std::string(code));
                parts.Add("id", Decimal(Lo16(w)));
                parts.Add("from", Handle(m.lParam));
                if (!m.senderClass.empty()) parts.Add("{" + m.senderClass + "}");
            }
            break;
        case 0x0112:  // WM_SYSCOMMAND
            parts.Add(NameOrNumber(kSysCommands, w & 0xFFF0));
            if (w & 0xF) parts.Add("low", Hex32(w & 0xF));
            if ((w & 0xFFF0) == 0xF100) {
                if (l) parts.Add(CharText(l));
            } else if (l) {
                parts.Add(Coords(SignedLo16(l), SignedHi16(l)));
            }
            break;
        // WM_TIMER
        case 0x0113:
            parts.Add("id", Decimal(static_cast<std::int64_t>(m.wParam)));
            if (m.lParam) parts.Add("callback", Handle(m.lParam));
            break;
        case 0x0114: case 0x0115: {  // WM_HSCROLL, WM_VSCROLL
            const auto& codes = m.senderFamily == ControlFamily::TrackBar ? kTrackBarScroll
                                : m.message == 0x0114                    ? kHorizontalScroll
                                                                         : kVerticalScroll;
            parts.Add(NameOrNumber(codes, Lo16(w)));
            if (Lo16(w) == 4 || Lo16(w) == 5) parts.Add("pos", Decimal(Hi16(w)));
            AddWindow("from", m.lParam, parts);
            if (m.lParam && !m.senderClass.empty()) parts.Add("{" + m.senderClass + "}");
            break;
        }
        case 0x0116: parts.Add("menu", Handle(m.wParam)); break;  // WM_INITMENU
        case 0x0117:  // WM_INITMENUPOPUP
            parts.Add("menu", Handle(m.wParam));
            parts.Add("index", Decimal(Lo16(l)));
            if (Hi16(l)) parts.Add("system menu");
            break;
        case 0x011F:  // WM_MENUSELECT
            if (Hi16(w) == 0xFFFF && m.lParam == 0) {
                parts.Add("menu closed");
                break;
            }
            parts.Add("item", Decimal(Lo16(w)));
            if (Hi16(w)) parts.Add(FlagsText(kMenuFlags, Hi16(w)));
            parts.Add("menu", Handle(m.lParam));
            break;
        case 0x0120:  // WM_MENUCHAR
            parts.Add(CharText(Lo16(w)));
            if (Hi16(w)) parts.Add(FlagsText(kMenuFlags, Hi16(w)));
            parts.Add("menu", Handle(m.lParam));
            break;
        // WM_ENTERIDLE
        case 0x0121: parts.Add(NameOrNumber(kIdleSources, w)); AddWindow("window", m.lParam, parts); break;
        case 0x0127: case 0x0128:  // WM_CHANGEUISTATE, WM_UPDATEUISTATE
            parts.Add(NameOrNumber(kUiStateActions, Lo16(w)));
            parts.Add(FlagsText(kUiStateFlags, Hi16(w)));
            break;
        case 0x0132: case 0x0133: case 0x0134: case 0x0135: case 0x0136: case 0x0137: case 0x0138:  // WM_CTLCOLOR*
            parts.Add("dc", Handle(m.wParam));
            AddWindow("control", m.lParam, parts);
            break;
        case 0x0200: case 0x0201: case 0x0202: case 0x0203: case 0x0204: case 0x0205: case 0x0206: case 0x0207:
        case 0x0208: case 0x0209: case 0x02A1:  // client-area mouse, WM_MOUSEHOVER
            AddMouse(m, parts);
            break;
        case 0x020B: case 0x020C: case 0x020D:  // WM_XBUTTON*
            parts.Add(NameOrNumber(kXButtons, Hi16(w)));
            AddMouse(m, parts);
            break;
        case 0x020A: case 0x020E:  // WM_MOUSEWHEEL, WM_MOUSEHWHEEL
            parts.Add("delta", Decimal(SignedHi16(w)));
            AddMouse(m, parts);
            break;
        case 0x0210: {  // WM_PARENTNOTIFY
            const std::uint32_t event = Lo16(w);
            parts.Add(MessageName(static_cast<std::int32_t>(event)));
            if (event == 0x0001 || event == 0x0002) {
                parts.Add("id", Decimal(Hi16(w)));
                parts.Add("child", Handle(m.lParam));
            } else {
                parts.Add(Coords(SignedLo16(l), SignedHi16(l)));
            }
            break;
        }
        case 0x0214: parts.Add(NameOrNumber(kSizingEdges, w)); break;  // WM_SIZING
        case 0x0215: AddWindow("new", m.lParam, parts); break;  // WM_CAPTURECHANGED
        case 0x0219: parts.Add("event", Hex32(w)); break;  // WM_DEVICECHANGE
        case 0x0233: parts.Add("drop", Handle(m.wParam)); break;  // WM_DROPFILES
        case 0x02E0: parts.Add("dpi", Decimal(Lo16(w)) + " x " + Decimal(Hi16(w))); break;  // WM_DPICHANGED
        case 0x0312:  // WM_HOTKEY
            parts.Add("id", Signed(w));
            if (Lo16(l)) parts.Add(FlagsText(kHotKeyModifiers, Lo16(l)));
            parts.Add(KeyName(Hi16(l)));
            break;
        default:
            if (m.message >= 0x00B0 && m.family != ControlFamily::None) AddControlParameters(m, parts);
            break;
    }
}

std::string ResultText(const Decoded& m) {
    const auto r = static_cast<std::uint32_t>(m.result);
    const bool error = r == 0xFFFFFFFF || r == 0xFFFFFFFE;
    switch (m.message) {
        case 0x0084: return NameOrNumber(kHitTests, r);            // WM_NCHITTEST
        case 0x0087: return FlagsText(kDialogCodes, r);            // WM_GETDLGCODE
        case 0x0021: return NameOrNumber(kMouseActivations, r);    // WM_MOUSEACTIVATE
        case 0x0083: if (m.W()) return FlagsText(kValidRects, r); break;  // WM_NCCALCSIZE
        case 0x0120: return NameOrNumber(kMenuChar, Hi16(r)) + " item=" + Decimal(Lo16(r));  // WM_MENUCHAR
        case 0x0020: case 0x0086: case 0x0011: case 0x0014: case 0x0081: case 0x0013: case 0x004A: case 0x0053:
            return Bool(r);  // answers TRUE or FALSE
        case 0x0031: case 0x007F: case 0x0037: case 0x0132: case 0x0133: case 0x0134: case 0x0135: case 0x0136:
        case 0x0137: case 0x0138:
            return Handle(m.result);  // a font, icon or brush
        case 0x004E:  // WM_NOTIFY
            if (m.payloadKind == PayloadKind::NotifyCustomDraw) return FlagsText(kCustomDrawResults, r);
            break;
        default: break;
    }
    if (m.message >= 0x00B0 && m.message < kWmUser && !ControlMessageName(m.family, m.message).empty()) {
        if (m.family == ControlFamily::ListBox && error) return r == 0xFFFFFFFF ? "LB_ERR" : "LB_ERRSPACE";
        if (m.family == ControlFamily::ComboBox && error) return r == 0xFFFFFFFF ? "CB_ERR" : "CB_ERRSPACE";
        if (m.family == ControlFamily::Button && m.message == 0x00F0) return NameOrNumber(kButtonChecks, r);
        if (m.family == ControlFamily::Button && m.message == 0x00F2) return FlagsText(kButtonStates, r);
        if (m.message == 0x00B0) return "start=" + Decimal(Lo16(r)) + " end=" + Decimal(Hi16(r));  // EM_GETSEL
    }
    if (m.family == ControlFamily::TreeView && (m.message == 0x110A || m.message == 0x1100 || m.message == 0x1132))
        return Handle(m.result);  // TVM_GETNEXTITEM, TVM_INSERTITEM: an item
    return m.wide ? Decimal(static_cast<std::int64_t>(m.result)) : Signed(r);
}

}  // namespace vantrel::details
