#pragma once
// Which messages carry a payload in the message details, and when the hook
// library takes it: what a parameter points to is copied inside the watched
// program while the message is live, either before the window procedure runs
// (what the sender handed over: WM_SETTEXT's text, a CREATESTRUCT, a
// WINDOWPOS) or when it returns (what the procedure filled in: WM_GETTEXT's
// text, MINMAXINFO as the procedure left it, the rectangles NCCALCSIZE
// computed), or both where the procedure may change what it was given.
//
// Control messages share numbers between classes (WM_USER + 1 is
// TB_ENABLEBUTTON for a tool bar and SB_SETTEXTA for a status bar), so a
// control message carries a payload only when the window's class says which
// control it is.
//
// How texts are taken: through a read that fails instead of faulting, at most
// kDetailTextUnits units (DetailText's own bound for shorter fields), plus one
// to learn whether the text went on. A zero-ended text ends at its zero; a
// text the procedure returned ends at the count it returned (WM_GETTEXT,
// LB_GETTEXT, EM_GETLINE), never beyond the buffer the sender gave. An ANSI
// text is converted from the watched program's ANSI code page before it is
// stored. A copy that stops early is marked kTextCut; an address that cannot
// be read gives PayloadKind::Unreadable (kTextUnreadable inside a structure).
//
// Header-only and portable: the library of either bitness and the program's
// unit tests compile the same rule.

#include "hooklib/hook_channel.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace vantrel::hook {

// ---- The controls whose messages and notifications have names -------------

enum class ControlFamily : std::uint8_t {
    None,
    Edit,
    RichEdit,
    Button,
    ListBox,
    ComboBox,
    Static,
    ScrollBar,
    TreeView,
    ListView,
    Tab,
    ToolBar,
    StatusBar,
    Header,
    Progress,
    TrackBar,
    UpDown,
    ToolTips,
};

// The control a window class is, compared without case on the Latin
// letters: the system's classes ("Edit", "ComboLBox" is a list box) and the
// common controls' ("SysTreeView32", ...). Char is char (UTF-8, as the
// program holds names) or char16_t (as the library reads them).
template <class Char>
ControlFamily FamilyOfClass(std::basic_string_view<Char> name) {
    struct Entry {
        std::string_view name;
        ControlFamily family;
    };
    static constexpr Entry kClasses[] = {
        {"Edit", ControlFamily::Edit},
        {"RichEdit", ControlFamily::RichEdit},
        {"RichEdit20A", ControlFamily::RichEdit},
        {"RichEdit20W", ControlFamily::RichEdit},
        {"RICHEDIT50W", ControlFamily::RichEdit},
        {"Button", ControlFamily::Button},
        {"ListBox", ControlFamily::ListBox},
        {"ComboLBox", ControlFamily::ListBox},
        {"ComboBox", ControlFamily::ComboBox},
        {"Static", ControlFamily::Static},
        {"ScrollBar", ControlFamily::ScrollBar},
        {"SysTreeView32", ControlFamily::TreeView},
        {"SysListView32", ControlFamily::ListView},
        {"SysTabControl32", ControlFamily::Tab},
        {"ToolbarWindow32", ControlFamily::ToolBar},
        {"msctls_statusbar32", ControlFamily::StatusBar},
        {"SysHeader32", ControlFamily::Header},
        {"msctls_progress32", ControlFamily::Progress},
        {"msctls_trackbar32", ControlFamily::TrackBar},
        {"msctls_updown32", ControlFamily::UpDown},
        {"tooltips_class32", ControlFamily::ToolTips},
    };
    const auto lower = [](char32_t c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    for (const Entry& entry : kClasses) {
        if (entry.name.size() != name.size()) continue;
        std::size_t i = 0;
        while (i < name.size() &&
               lower(static_cast<char32_t>(static_cast<std::make_unsigned_t<Char>>(name[i]))) ==
                   lower(static_cast<char32_t>(static_cast<unsigned char>(entry.name[i]))))
            ++i;
        if (i == name.size()) return entry.family;
    }
    return ControlFamily::None;
}

// ---- When and where a payload is taken --------------------------------------

inline constexpr std::uint8_t kPayloadBefore = 0x01;    // before the window procedure runs
inline constexpr std::uint8_t kPayloadOnReturn = 0x02;  // when it returns (on the Returned report)

enum class PayloadParam : std::uint8_t { LParam, WParam };

enum class TextEnd : std::uint8_t {
    Zero,    // a zero-ended text
    Result,  // the procedure's result counts the units it wrote (an error result: no text)
};

enum class TextCharset : std::uint8_t {
    OfHook,  // as the library's hook procedure sees the message (ANSI for an ANSI hook)
    Ansi,    // an ANSI message of a pair (SB_SETTEXTA)
    Wide,    // always UTF-16 (SB_SETTEXTW, EM_SETCUEBANNER)
};

struct PayloadRule {
    PayloadKind kind = PayloadKind::None;
    std::uint8_t when = 0;  // kPayload* bits; 0: no payload
    PayloadParam pointer = PayloadParam::LParam;
    TextEnd end = TextEnd::Zero;
    TextCharset charset = TextCharset::OfHook;
};

namespace payload_detail {

inline constexpr PayloadRule Before(PayloadKind kind) { return {kind, kPayloadBefore}; }
inline constexpr PayloadRule OnReturn(PayloadKind kind) { return {kind, kPayloadOnReturn}; }
inline constexpr PayloadRule Both(PayloadKind kind) { return {kind, kPayloadBefore | kPayloadOnReturn}; }
inline constexpr PayloadRule TextBefore(TextCharset charset = TextCharset::OfHook) {
    return {PayloadKind::Text, kPayloadBefore, PayloadParam::LParam, TextEnd::Zero, charset};
}
inline constexpr PayloadRule TextReturned() {
    return {PayloadKind::Text, kPayloadOnReturn, PayloadParam::LParam, TextEnd::Result, TextCharset::OfHook};
}

// A list box or combo box holds texts unless it is owner-drawn without the
// has-strings style; otherwise its "strings" are the owner's item data.
inline constexpr bool HoldsTexts(std::uint32_t style, std::uint32_t hasStrings) {
    constexpr std::uint32_t kOwnerDrawn = 0x0010 | 0x0020;  // *_OWNERDRAWFIXED | *_OWNERDRAWVARIABLE
    return (style & hasStrings) != 0 || (style & kOwnerDrawn) == 0;
}

}  // namespace payload_detail

// The payload of a message to a window of the given control family and
// style; WM_NOTIFY's is decided by NotifyPayloadRule once its NMHDR is read.
inline PayloadRule PayloadRuleFor(std::uint32_t message, ControlFamily family, std::uint32_t style) {
    using namespace payload_detail;
    switch (message) {
        case 0x000C: return TextBefore();                                  // WM_SETTEXT
        case 0x000D: return TextReturned();                                // WM_GETTEXT
        case 0x001A:                                                       // WM_SETTINGCHANGE (its section)
        case 0x001B: return TextBefore();                                  // WM_DEVMODECHANGE
        case 0x0001:                                                       // WM_CREATE
        case 0x0081: return Before(PayloadKind::CreateStruct);             // WM_NCCREATE
        case 0x0046: return Both(PayloadKind::WindowPos);                  // WM_WINDOWPOSCHANGING
        case 0x0047: return Before(PayloadKind::WindowPos);                // WM_WINDOWPOSCHANGED
        case 0x0024: return OnReturn(PayloadKind::MinMaxInfo);             // WM_GETMINMAXINFO
        case 0x0083: return Both(PayloadKind::NcCalcSize);                 // WM_NCCALCSIZE
        case 0x007C: return Both(PayloadKind::StyleStruct);                // WM_STYLECHANGING
        case 0x007D: return Before(PayloadKind::StyleStruct);              // WM_STYLECHANGED
        case 0x002B: return Before(PayloadKind::DrawItem);                 // WM_DRAWITEM
        case 0x002C: return OnReturn(PayloadKind::MeasureItem);            // WM_MEASUREITEM
        case 0x004A: return Before(PayloadKind::CopyData);                 // WM_COPYDATA
        case 0x0053: return Before(PayloadKind::HelpInfo);                 // WM_HELP
        case 0x0214:                                                       // WM_SIZING
        case 0x0216: return Both(PayloadKind::Rect);                       // WM_MOVING
        case 0x02E0: return Before(PayloadKind::Rect);                     // WM_DPICHANGED
        case 0x004E: return Both(PayloadKind::NotifyHeader);               // WM_NOTIFY (see NotifyPayloadRule)
        default: break;
    }
    switch (family) {
        case ControlFamily::Edit:
        case ControlFamily::RichEdit:
            if (message == 0x00C2) return TextBefore();                    // EM_REPLACESEL
            if (message == 0x00C4) return TextReturned();                  // EM_GETLINE
            if (message == 0x1501 && family == ControlFamily::Edit)        // EM_SETCUEBANNER
                return TextBefore(TextCharset::Wide);
            break;
        case ControlFamily::ListBox:
            if (!HoldsTexts(style, 0x0040)) break;                         // LBS_HASSTRINGS
            switch (message) {
                // LB_ADDSTRING, LB_INSERTSTRING, LB_SELECTSTRING, LB_DIR, LB_FINDSTRING,
                // LB_ADDFILE, LB_FINDSTRINGEXACT
                case 0x0180: case 0x0181: case 0x018C: case 0x018D: case 0x018F: case 0x0196: case 0x01A2:
                    return TextBefore();
                case 0x0189: return TextReturned();                        // LB_GETTEXT
                default: break;
            }
            break;
        case ControlFamily::ComboBox:
            if (message == 0x1703) return TextBefore(TextCharset::Wide);   // CB_SETCUEBANNER
            if (!HoldsTexts(style, 0x0200)) break;                         // CBS_HASSTRINGS
            switch (message) {
                // CB_ADDSTRING, CB_DIR, CB_INSERTSTRING, CB_FINDSTRING, CB_SELECTSTRING,
                // CB_FINDSTRINGEXACT
                case 0x0143: case 0x0145: case 0x014A: case 0x014C: case 0x014D: case 0x0158:
                    return TextBefore();
                case 0x0148: return TextReturned();                        // CB_GETLBTEXT
                default: break;
            }
            break;
        case ControlFamily::Button:
            if (message == 0x1609) return TextBefore(TextCharset::Wide);   // BCM_SETNOTE
            break;
        case ControlFamily::StatusBar:
            if (message == 0x0401) return TextBefore(TextCharset::Ansi);   // SB_SETTEXTA
            if (message == 0x040B) return TextBefore(TextCharset::Wide);   // SB_SETTEXTW
            break;
        default:
            break;
    }
    return {};
}

// The form a WM_NOTIFY's structure has, from its code and the sending
// control's family (NM_CLICK carries an NMITEMACTIVATE from a list view, an
// NMMOUSE from a tool or status bar, a bare NMHDR from the others). A
// notification is copied before the call and again on return, so the
// returned line names its code and shows what the procedure changed; the
// item text of a display-information code (GETDISPINFO) only on return, when
// the procedure has filled it in.
inline PayloadRule NotifyPayloadRule(std::uint32_t code, ControlFamily sender) {
    using namespace payload_detail;
    const auto in = [code](std::int32_t first, std::int32_t last) {
        const auto c = static_cast<std::int32_t>(code);
        return c <= first && c >= last;  // notification ranges count downwards
    };
    const std::int32_t c = static_cast<std::int32_t>(code);
    switch (c) {
        case -12: return Both(PayloadKind::NotifyCustomDraw);            // NM_CUSTOMDRAW
        case -15: return Both(PayloadKind::NotifyKeyDown);               // NM_KEYDOWN
        case -18: return Both(PayloadKind::NotifyChar);                  // NM_CHAR
        case -2: case -3: case -5: case -6:                                // NM_CLICK, NM_DBLCLK, NM_RCLICK, NM_RDBLCLK
            if (sender == ControlFamily::ListView) return Both(PayloadKind::NotifyListView);
            if (sender == ControlFamily::ToolBar || sender == ControlFamily::StatusBar)
                return Both(PayloadKind::NotifyMouse);
            return Both(PayloadKind::NotifyHeader);
        default: break;
    }
    switch (sender) {
        case ControlFamily::ListView:
            if (c == -155) return Both(PayloadKind::NotifyKeyDown);      // LVN_KEYDOWN
            if (c == -150 || c == -177) return Both(PayloadKind::NotifyListViewItem);  // LVN_GETDISPINFOA/W
            if (c == -151 || c == -178 || c == -105 || c == -106 || c == -175 || c == -176)
                return Both(PayloadKind::NotifyListViewItem);            // LVN_SETDISPINFO, LVN_(BEGIN|END)LABELEDIT
            switch (c) {
                // LVN_ITEMCHANGING ... LVN_DELETEALLITEMS, LVN_COLUMNCLICK, LVN_BEGIN(R)DRAG,
                // LVN_ITEMACTIVATE, LVN_HOTTRACK
                case -100: case -101: case -102: case -103: case -104:
                case -108: case -109: case -111: case -114: case -121:
                    return Both(PayloadKind::NotifyListView);
                default: break;
            }
            break;
        case ControlFamily::TreeView:
            if (c == -412) return Both(PayloadKind::NotifyKeyDown);      // TVN_KEYDOWN
            if (c == -403 || c == -452) return Both(PayloadKind::NotifyTreeViewItem);  // TVN_GETDISPINFOA/W
            if (c == -404 || c == -453 || c == -410 || c == -411 || c == -459 || c == -460)
                return Both(PayloadKind::NotifyTreeViewItem);            // TVN_SETDISPINFO, TVN_(BEGIN|END)LABELEDIT
            if (in(-401, -409) || in(-450, -458)) return Both(PayloadKind::NotifyTreeView);
            break;
        case ControlFamily::Tab:
            if (c == -550) return Both(PayloadKind::NotifyKeyDown);      // TCN_KEYDOWN
            break;
        case ControlFamily::Header:
            if (in(-300, -399)) return Both(PayloadKind::NotifyHeaderItem);
            break;
        case ControlFamily::ToolBar:
            switch (c) {
                // TBN_GETBUTTONINFOA, TBN_BEGINDRAG, TBN_ENDDRAG, TBN_QUERYINSERT, TBN_QUERYDELETE,
                // TBN_DROPDOWN, TBN_DELETINGBUTTON, TBN_GETBUTTONINFOW
                case -700: case -701: case -702: case -706: case -707: case -710: case -715: case -720:
                    return Both(PayloadKind::NotifyToolBar);
                default: break;
            }
            break;
        case ControlFamily::UpDown:
            if (c == -722) return Both(PayloadKind::NotifyUpDown);       // UDN_DELTAPOS
            break;
        default:
            break;
    }
    return Both(PayloadKind::NotifyHeader);
}

// Stores a text in a DetailText: at most Units units, ending before a
// surrogate pair that does not fit whole; marked cut when the source had more
// (wentOn: the reader stopped before the source's end).
template <std::uint16_t Units>
void StoreText(DetailText<Units>& out, std::u16string_view text, bool wentOn) {
    std::size_t n = text.size() < Units ? text.size() : Units;
    if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    for (std::size_t i = 0; i < n; ++i) out.units[i] = text[i];
    out.length = static_cast<std::uint16_t>(n);
    out.flags = (n < text.size() || wentOn) ? kTextCut : 0;
}

}  // namespace vantrel::hook
