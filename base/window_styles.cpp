#include "base/window_styles.h"

#include "base/text.h"

#include <initializer_list>
#include <span>

namespace vantrel {

namespace {

using Flags = std::span<const StyleFlag>;

// An independent flag, a choice of the field mask, and either of them named
// only where the style's bits in whenMask hold whenValue.
constexpr StyleFlag Bit(std::string_view name, std::uint32_t bits) { return {name, bits, bits}; }
constexpr StyleFlag Choice(std::string_view name, std::uint32_t mask, std::uint32_t value) {
    return {name, mask, value};
}
constexpr StyleFlag BitWhen(std::string_view name, std::uint32_t bits, std::uint32_t whenMask,
                            std::uint32_t whenValue) {
    return {name, bits, bits, whenMask, whenValue};
}

constexpr std::uint32_t kChild = 0x40000000;
constexpr std::uint32_t kSysMenu = 0x00080000;

constexpr StyleFlag kWindowCombined[] = {
    Bit("WS_OVERLAPPEDWINDOW", 0x00CF0000),
    Bit("WS_CAPTION", 0x00C00000),
    Bit("WS_POPUPWINDOW", 0x80880000),
};

// 0x00020000 and 0x00010000 are a control's group and tab stop, and the
// minimize and maximize boxes of a window with a frame: a child without a
// system menu is a control.
constexpr StyleFlag kWindowFlags[] = {
    Bit("WS_POPUP", 0x80000000),
    Bit("WS_CHILD", kChild),
    Bit("WS_MINIMIZE", 0x20000000),
    Bit("WS_VISIBLE", 0x10000000),
    Bit("WS_DISABLED", 0x08000000),
    Bit("WS_CLIPSIBLINGS", 0x04000000),
    Bit("WS_CLIPCHILDREN", 0x02000000),
    Bit("WS_MAXIMIZE", 0x01000000),
    Bit("WS_BORDER", 0x00800000),
    Bit("WS_DLGFRAME", 0x00400000),
    Bit("WS_VSCROLL", 0x00200000),
    Bit("WS_HSCROLL", 0x00100000),
    Bit("WS_SYSMENU", kSysMenu),
    Bit("WS_THICKFRAME", 0x00040000),
    BitWhen("WS_GROUP", 0x00020000, kChild | kSysMenu, kChild),
    BitWhen("WS_TABSTOP", 0x00010000, kChild | kSysMenu, kChild),
    Bit("WS_MINIMIZEBOX", 0x00020000),
    Bit("WS_MAXIMIZEBOX", 0x00010000),
};

constexpr StyleFlag kExCombined[] = {
    Bit("WS_EX_OVERLAPPEDWINDOW", 0x00000300),
    Bit("WS_EX_PALETTEWINDOW", 0x00000188),
};

constexpr StyleFlag kExFlags[] = {
    Bit("WS_EX_DLGMODALFRAME", 0x00000001),
    Bit("WS_EX_NOPARENTNOTIFY", 0x00000004),
    Bit("WS_EX_TOPMOST", 0x00000008),
    Bit("WS_EX_ACCEPTFILES", 0x00000010),
    Bit("WS_EX_TRANSPARENT", 0x00000020),
    Bit("WS_EX_MDICHILD", 0x00000040),
    Bit("WS_EX_TOOLWINDOW", 0x00000080),
    Bit("WS_EX_WINDOWEDGE", 0x00000100),
    Bit("WS_EX_CLIENTEDGE", 0x00000200),
    Bit("WS_EX_CONTEXTHELP", 0x00000400),
    Bit("WS_EX_RIGHT", 0x00001000),
    Bit("WS_EX_RTLREADING", 0x00002000),
    Bit("WS_EX_LEFTSCROLLBAR", 0x00004000),
    Bit("WS_EX_CONTROLPARENT", 0x00010000),
    Bit("WS_EX_STATICEDGE", 0x00020000),
    Bit("WS_EX_APPWINDOW", 0x00040000),
    Bit("WS_EX_LAYERED", 0x00080000),
    Bit("WS_EX_NOINHERITLAYOUT", 0x00100000),
    Bit("WS_EX_NOREDIRECTIONBITMAP", 0x00200000),
    Bit("WS_EX_LAYOUTRTL", 0x00400000),
    Bit("WS_EX_COMPOSITED", 0x02000000),
    Bit("WS_EX_NOACTIVATE", 0x08000000),
};

constexpr StyleFlag kClassFlags[] = {
    Bit("CS_VREDRAW", 0x0001),      Bit("CS_HREDRAW", 0x0002),         Bit("CS_DBLCLKS", 0x0008),
    Bit("CS_OWNDC", 0x0020),        Bit("CS_CLASSDC", 0x0040),         Bit("CS_PARENTDC", 0x0080),
    Bit("CS_NOCLOSE", 0x0200),      Bit("CS_SAVEBITS", 0x0800),        Bit("CS_BYTEALIGNCLIENT", 0x1000),
    Bit("CS_BYTEALIGNWINDOW", 0x2000), Bit("CS_GLOBALCLASS", 0x4000),  Bit("CS_IME", 0x00010000),
    Bit("CS_DROPSHADOW", 0x00020000),
};

constexpr std::uint32_t kButtonType = 0x000F;
constexpr std::uint32_t kButtonHorizontal = 0x0300;
constexpr std::uint32_t kButtonVertical = 0x0C00;
constexpr StyleFlag kButton[] = {
    Choice("BS_PUSHBUTTON", kButtonType, 0x0),
    Choice("BS_DEFPUSHBUTTON", kButtonType, 0x1),
    Choice("BS_CHECKBOX", kButtonType, 0x2),
    Choice("BS_AUTOCHECKBOX", kButtonType, 0x3),
    Choice("BS_RADIOBUTTON", kButtonType, 0x4),
    Choice("BS_3STATE", kButtonType, 0x5),
    Choice("BS_AUTO3STATE", kButtonType, 0x6),
    Choice("BS_GROUPBOX", kButtonType, 0x7),
    Choice("BS_USERBUTTON", kButtonType, 0x8),
    Choice("BS_AUTORADIOBUTTON", kButtonType, 0x9),
    Choice("BS_PUSHBOX", kButtonType, 0xA),
    Choice("BS_OWNERDRAW", kButtonType, 0xB),
    Choice("BS_SPLITBUTTON", kButtonType, 0xC),
    Choice("BS_DEFSPLITBUTTON", kButtonType, 0xD),
    Choice("BS_COMMANDLINK", kButtonType, 0xE),
    Choice("BS_DEFCOMMANDLINK", kButtonType, 0xF),
    Bit("BS_LEFTTEXT", 0x0020),
    Bit("BS_ICON", 0x0040),
    Bit("BS_BITMAP", 0x0080),
    Choice("BS_LEFT", kButtonHorizontal, 0x0100),
    Choice("BS_RIGHT", kButtonHorizontal, 0x0200),
    Choice("BS_CENTER", kButtonHorizontal, 0x0300),
    Choice("BS_TOP", kButtonVertical, 0x0400),
    Choice("BS_BOTTOM", kButtonVertical, 0x0800),
    Choice("BS_VCENTER", kButtonVertical, 0x0C00),
    Bit("BS_PUSHLIKE", 0x1000),
    Bit("BS_MULTILINE", 0x2000),
    Bit("BS_NOTIFY", 0x4000),
    Bit("BS_FLAT", 0x8000),
};

constexpr std::uint32_t kEditAlign = 0x0003;
constexpr StyleFlag kEdit[] = {
    Choice("ES_LEFT", kEditAlign, 0x0),
    Choice("ES_CENTER", kEditAlign, 0x1),
    Choice("ES_RIGHT", kEditAlign, 0x2),
    Bit("ES_MULTILINE", 0x0004),
    Bit("ES_UPPERCASE", 0x0008),
    Bit("ES_LOWERCASE", 0x0010),
    Bit("ES_PASSWORD", 0x0020),
    Bit("ES_AUTOVSCROLL", 0x0040),
    Bit("ES_AUTOHSCROLL", 0x0080),
    Bit("ES_NOHIDESEL", 0x0100),
    Bit("ES_OEMCONVERT", 0x0400),
    Bit("ES_READONLY", 0x0800),
    Bit("ES_WANTRETURN", 0x1000),
    Bit("ES_NUMBER", 0x2000),
};

// A rich edit control gives some of the plain edit's bits other meanings.
constexpr StyleFlag kRichEdit[] = {
    Choice("ES_LEFT", kEditAlign, 0x0),
    Choice("ES_CENTER", kEditAlign, 0x1),
    Choice("ES_RIGHT", kEditAlign, 0x2),
    Bit("ES_MULTILINE", 0x0004),
    Bit("ES_NOOLEDRAGDROP", 0x0008),
    Bit("ES_PASSWORD", 0x0020),
    Bit("ES_AUTOVSCROLL", 0x0040),
    Bit("ES_AUTOHSCROLL", 0x0080),
    Bit("ES_NOHIDESEL", 0x0100),
    Bit("ES_READONLY", 0x0800),
    Bit("ES_WANTRETURN", 0x1000),
    Bit("ES_DISABLENOSCROLL", 0x2000),
    Bit("ES_SUNKEN", 0x4000),
    Bit("ES_SAVESEL", 0x8000),
};

constexpr std::uint32_t kStaticType = 0x001F;
constexpr std::uint32_t kStaticEllipsis = 0xC000;
constexpr StyleFlag kStatic[] = {
    Choice("SS_LEFT", kStaticType, 0x00),
    Choice("SS_CENTER", kStaticType, 0x01),
    Choice("SS_RIGHT", kStaticType, 0x02),
    Choice("SS_ICON", kStaticType, 0x03),
    Choice("SS_BLACKRECT", kStaticType, 0x04),
    Choice("SS_GRAYRECT", kStaticType, 0x05),
    Choice("SS_WHITERECT", kStaticType, 0x06),
    Choice("SS_BLACKFRAME", kStaticType, 0x07),
    Choice("SS_GRAYFRAME", kStaticType, 0x08),
    Choice("SS_WHITEFRAME", kStaticType, 0x09),
    Choice("SS_USERITEM", kStaticType, 0x0A),
    Choice("SS_SIMPLE", kStaticType, 0x0B),
    Choice("SS_LEFTNOWORDWRAP", kStaticType, 0x0C),
    Choice("SS_OWNERDRAW", kStaticType, 0x0D),
    Choice("SS_BITMAP", kStaticType, 0x0E),
    Choice("SS_ENHMETAFILE", kStaticType, 0x0F),
    Choice("SS_ETCHEDHORZ", kStaticType, 0x10),
    Choice("SS_ETCHEDVERT", kStaticType, 0x11),
    Choice("SS_ETCHEDFRAME", kStaticType, 0x12),
    Bit("SS_REALSIZECONTROL", 0x0040),
    Bit("SS_NOPREFIX", 0x0080),
    Bit("SS_NOTIFY", 0x0100),
    Bit("SS_CENTERIMAGE", 0x0200),
    Bit("SS_RIGHTJUST", 0x0400),
    Bit("SS_REALSIZEIMAGE", 0x0800),
    Bit("SS_SUNKEN", 0x1000),
    Bit("SS_EDITCONTROL", 0x2000),
    Choice("SS_ENDELLIPSIS", kStaticEllipsis, 0x4000),
    Choice("SS_PATHELLIPSIS", kStaticEllipsis, 0x8000),
    Choice("SS_WORDELLIPSIS", kStaticEllipsis, 0xC000),
};

constexpr StyleFlag kListBox[] = {
    Bit("LBS_NOTIFY", 0x0001),           Bit("LBS_SORT", 0x0002),
    Bit("LBS_NOREDRAW", 0x0004),         Bit("LBS_MULTIPLESEL", 0x0008),
    Bit("LBS_OWNERDRAWFIXED", 0x0010),   Bit("LBS_OWNERDRAWVARIABLE", 0x0020),
    Bit("LBS_HASSTRINGS", 0x0040),       Bit("LBS_USETABSTOPS", 0x0080),
    Bit("LBS_NOINTEGRALHEIGHT", 0x0100), Bit("LBS_MULTICOLUMN", 0x0200),
    Bit("LBS_WANTKEYBOARDINPUT", 0x0400), Bit("LBS_EXTENDEDSEL", 0x0800),
    Bit("LBS_DISABLENOSCROLL", 0x1000),  Bit("LBS_NODATA", 0x2000),
    Bit("LBS_NOSEL", 0x4000),            Bit("LBS_COMBOBOX", 0x8000),
};

constexpr std::uint32_t kComboType = 0x0003;
constexpr StyleFlag kComboBox[] = {
    Choice("CBS_SIMPLE", kComboType, 0x1),
    Choice("CBS_DROPDOWN", kComboType, 0x2),
    Choice("CBS_DROPDOWNLIST", kComboType, 0x3),
    Bit("CBS_OWNERDRAWFIXED", 0x0010),
    Bit("CBS_OWNERDRAWVARIABLE", 0x0020),
    Bit("CBS_AUTOHSCROLL", 0x0040),
    Bit("CBS_OEMCONVERT", 0x0080),
    Bit("CBS_SORT", 0x0100),
    Bit("CBS_HASSTRINGS", 0x0200),
    Bit("CBS_NOINTEGRALHEIGHT", 0x0400),
    Bit("CBS_DISABLENOSCROLL", 0x0800),
    Bit("CBS_UPPERCASE", 0x2000),
    Bit("CBS_LOWERCASE", 0x4000),
};

constexpr StyleFlag kTreeView[] = {
    Bit("TVS_HASBUTTONS", 0x0001),      Bit("TVS_HASLINES", 0x0002),     Bit("TVS_LINESATROOT", 0x0004),
    Bit("TVS_EDITLABELS", 0x0008),      Bit("TVS_DISABLEDRAGDROP", 0x0010), Bit("TVS_SHOWSELALWAYS", 0x0020),
    Bit("TVS_RTLREADING", 0x0040),      Bit("TVS_NOTOOLTIPS", 0x0080),   Bit("TVS_CHECKBOXES", 0x0100),
    Bit("TVS_TRACKSELECT", 0x0200),     Bit("TVS_SINGLEEXPAND", 0x0400), Bit("TVS_INFOTIP", 0x0800),
    Bit("TVS_FULLROWSELECT", 0x1000),   Bit("TVS_NOSCROLL", 0x2000),     Bit("TVS_NONEVENHEIGHT", 0x4000),
    Bit("TVS_NOHSCROLL", 0x8000),
};

constexpr std::uint32_t kListViewType = 0x0003;
constexpr StyleFlag kListView[] = {
    Choice("LVS_ICON", kListViewType, 0x0),
    Choice("LVS_REPORT", kListViewType, 0x1),
    Choice("LVS_SMALLICON", kListViewType, 0x2),
    Choice("LVS_LIST", kListViewType, 0x3),
    Bit("LVS_SINGLESEL", 0x0004),
    Bit("LVS_SHOWSELALWAYS", 0x0008),
    Bit("LVS_SORTASCENDING", 0x0010),
    Bit("LVS_SORTDESCENDING", 0x0020),
    Bit("LVS_SHAREIMAGELISTS", 0x0040),
    Bit("LVS_NOLABELWRAP", 0x0080),
    Bit("LVS_AUTOARRANGE", 0x0100),
    Bit("LVS_EDITLABELS", 0x0200),
    Bit("LVS_OWNERDRAWFIXED", 0x0400),
    Bit("LVS_ALIGNLEFT", 0x0800),
    Bit("LVS_OWNERDATA", 0x1000),
    Bit("LVS_NOSCROLL", 0x2000),
    Bit("LVS_NOCOLUMNHEADER", 0x4000),
    Bit("LVS_NOSORTHEADER", 0x8000),
};

// The placement bits of the common controls that dock to a side of their
// parent (tool bar, status bar, rebar).
constexpr std::uint32_t kDock = 0x0083;
constexpr StyleFlag kCommonControl[] = {
    Choice("CCS_TOP", kDock, 0x01),
    Choice("CCS_NOMOVEY", kDock, 0x02),
    Choice("CCS_BOTTOM", kDock, 0x03),
    Choice("CCS_VERT", kDock, 0x80),
    Choice("CCS_LEFT", kDock, 0x81),
    Choice("CCS_NOMOVEX", kDock, 0x82),
    Choice("CCS_RIGHT", kDock, 0x83),
    Bit("CCS_NORESIZE", 0x0004),
    Bit("CCS_NOPARENTALIGN", 0x0008),
    Bit("CCS_ADJUSTABLE", 0x0020),
    Bit("CCS_NODIVIDER", 0x0040),
};

constexpr StyleFlag kToolBar[] = {
    Bit("TBSTYLE_TOOLTIPS", 0x0100),     Bit("TBSTYLE_WRAPABLE", 0x0200),    Bit("TBSTYLE_ALTDRAG", 0x0400),
    Bit("TBSTYLE_FLAT", 0x0800),         Bit("TBSTYLE_LIST", 0x1000),        Bit("TBSTYLE_CUSTOMERASE", 0x2000),
    Bit("TBSTYLE_REGISTERDROP", 0x4000), Bit("TBSTYLE_TRANSPARENT", 0x8000),
};

constexpr StyleFlag kStatusBar[] = {
    Bit("SBARS_SIZEGRIP", 0x0100),
    Bit("SBARS_TOOLTIPS", 0x0800),
};

constexpr StyleFlag kReBar[] = {
    Bit("RBS_TOOLTIPS", 0x0100),       Bit("RBS_VARHEIGHT", 0x0200),   Bit("RBS_BANDBORDERS", 0x0400),
    Bit("RBS_FIXEDORDER", 0x0800),     Bit("RBS_REGISTERDROP", 0x1000), Bit("RBS_AUTOSIZE", 0x2000),
    Bit("RBS_VERTICALGRIPPER", 0x4000), Bit("RBS_DBLCLKTOGGLE", 0x8000),
};

constexpr StyleFlag kHeader[] = {
    Bit("HDS_BUTTONS", 0x0002),    Bit("HDS_HOTTRACK", 0x0004),   Bit("HDS_HIDDEN", 0x0008),
    Bit("HDS_DRAGDROP", 0x0040),   Bit("HDS_FULLDRAG", 0x0080),   Bit("HDS_FILTERBAR", 0x0100),
    Bit("HDS_FLAT", 0x0200),       Bit("HDS_CHECKBOXES", 0x0400), Bit("HDS_NOSIZING", 0x0800),
    Bit("HDS_OVERFLOW", 0x1000),
};

constexpr StyleFlag kProgress[] = {
    Bit("PBS_SMOOTH", 0x0001),
    Bit("PBS_VERTICAL", 0x0004),
    Bit("PBS_MARQUEE", 0x0008),
    Bit("PBS_SMOOTHREVERSE", 0x0010),
};

// 0x0004 puts the ticks above a horizontal track bar and left of a vertical one.
constexpr std::uint32_t kTrackVertical = 0x0002;
constexpr StyleFlag kTrackBar[] = {
    Bit("TBS_AUTOTICKS", 0x0001),
    Bit("TBS_VERT", kTrackVertical),
    BitWhen("TBS_LEFT", 0x0004, kTrackVertical, kTrackVertical),
    BitWhen("TBS_TOP", 0x0004, kTrackVertical, 0),
    Bit("TBS_BOTH", 0x0008),
    Bit("TBS_NOTICKS", 0x0010),
    Bit("TBS_ENABLESELRANGE", 0x0020),
    Bit("TBS_FIXEDLENGTH", 0x0040),
    Bit("TBS_NOTHUMB", 0x0080),
    Bit("TBS_TOOLTIPS", 0x0100),
    Bit("TBS_REVERSED", 0x0200),
    Bit("TBS_DOWNISLEFT", 0x0400),
    Bit("TBS_NOTIFYBEFOREMOVE", 0x0800),
    Bit("TBS_TRANSPARENTBKGND", 0x1000),
};

constexpr StyleFlag kUpDown[] = {
    Bit("UDS_WRAP", 0x0001),      Bit("UDS_SETBUDDYINT", 0x0002), Bit("UDS_ALIGNRIGHT", 0x0004),
    Bit("UDS_ALIGNLEFT", 0x0008), Bit("UDS_AUTOBUDDY", 0x0010),   Bit("UDS_ARROWKEYS", 0x0020),
    Bit("UDS_HORZ", 0x0040),      Bit("UDS_NOTHOUSANDS", 0x0080), Bit("UDS_HOTTRACK", 0x0100),
};

// 0x0002 puts the tabs at the bottom of a horizontal tab control and at the
// right of a vertical one.
constexpr std::uint32_t kTabVertical = 0x0080;
constexpr StyleFlag kTab[] = {
    Bit("TCS_SCROLLOPPOSITE", 0x0001),
    BitWhen("TCS_RIGHT", 0x0002, kTabVertical, kTabVertical),
    BitWhen("TCS_BOTTOM", 0x0002, kTabVertical, 0),
    Bit("TCS_MULTISELECT", 0x0004),
    Bit("TCS_FLATBUTTONS", 0x0008),
    Bit("TCS_FORCEICONLEFT", 0x0010),
    Bit("TCS_FORCELABELLEFT", 0x0020),
    Bit("TCS_HOTTRACK", 0x0040),
    Bit("TCS_VERTICAL", kTabVertical),
    Bit("TCS_BUTTONS", 0x0100),
    Bit("TCS_MULTILINE", 0x0200),
    Bit("TCS_FIXEDWIDTH", 0x0400),
    Bit("TCS_RAGGEDRIGHT", 0x0800),
    Bit("TCS_FOCUSONBUTTONDOWN", 0x1000),
    Bit("TCS_OWNERDRAWFIXED", 0x2000),
    Bit("TCS_TOOLTIPS", 0x4000),
    Bit("TCS_FOCUSNEVER", 0x8000),
};

constexpr StyleFlag kToolTip[] = {
    Bit("TTS_ALWAYSTIP", 0x0001), Bit("TTS_NOPREFIX", 0x0002), Bit("TTS_NOANIMATE", 0x0010),
    Bit("TTS_NOFADE", 0x0020),    Bit("TTS_BALLOON", 0x0040),  Bit("TTS_CLOSE", 0x0080),
    Bit("TTS_USEVISUALSTYLE", 0x0100),
};

constexpr StyleFlag kDialogCombined[] = {
    Bit("DS_SHELLFONT", 0x0048),
};

constexpr StyleFlag kDialog[] = {
    Bit("DS_ABSALIGN", 0x0001),    Bit("DS_SYSMODAL", 0x0002),      Bit("DS_3DLOOK", 0x0004),
    Bit("DS_FIXEDSYS", 0x0008),    Bit("DS_NOFAILCREATE", 0x0010),  Bit("DS_LOCALEDIT", 0x0020),
    Bit("DS_SETFONT", 0x0040),     Bit("DS_MODALFRAME", 0x0080),    Bit("DS_NOIDLEMSG", 0x0100),
    Bit("DS_SETFOREGROUND", 0x0200), Bit("DS_CONTROL", 0x0400),     Bit("DS_CENTER", 0x0800),
    Bit("DS_CENTERMOUSE", 0x1000), Bit("DS_CONTEXTHELP", 0x2000),   Bit("DS_USEPIXELS", 0x8000),
};

// The low 16 bits' names of one class (upper case), combined names first.
struct ClassFlags {
    std::string_view upperName;
    Flags combined;
    Flags first;
    Flags second;
};

const ClassFlags kClasses[] = {
    {"BUTTON", {}, kButton, {}},
    {"EDIT", {}, kEdit, {}},
    {"STATIC", {}, kStatic, {}},
    {"LISTBOX", {}, kListBox, {}},
    {"COMBOLBOX", {}, kListBox, {}},
    {"COMBOBOX", {}, kComboBox, {}},
    {"SYSTREEVIEW32", {}, kTreeView, {}},
    {"SYSLISTVIEW32", {}, kListView, {}},
    {"TOOLBARWINDOW32", {}, kCommonControl, kToolBar},
    {"MSCTLS_STATUSBAR32", {}, kCommonControl, kStatusBar},
    {"REBARWINDOW32", {}, kCommonControl, kReBar},
    {"SYSHEADER32", {}, kHeader, {}},
    {"MSCTLS_PROGRESS32", {}, kProgress, {}},
    {"MSCTLS_TRACKBAR32", {}, kTrackBar, {}},
    {"MSCTLS_UPDOWN32", {}, kUpDown, {}},
    {"SYSTABCONTROL32", {}, kTab, {}},
    {"TOOLTIPS_CLASS32", {}, kToolTip, {}},
    {"#32770", kDialogCombined, kDialog, {}},
};

// Every rich edit class (RichEdit, RichEdit20A, RichEdit20W, RICHEDIT50W...)
// starts with this.
constexpr std::string_view kRichEditPrefix = "RICHEDIT";
const ClassFlags kRichEditClass{kRichEditPrefix, {}, kRichEdit, {}};

const ClassFlags* ClassFlagsOf(std::string_view className) {
    const std::string upper = LatinUpper(className);
    for (const ClassFlags& c : kClasses)
        if (upper == c.upperName) return &c;
    if (upper.starts_with(kRichEditPrefix)) return &kRichEditClass;
    return nullptr;
}

bool Applies(const StyleFlag& flag, std::uint32_t word) { return (word & flag.whenMask) == flag.whenValue; }

// Names the flags of the tables in order: each name takes the bits it covers,
// and a later name is given only bits that no earlier one took.
std::string NamesText(std::initializer_list<Flags> tables, std::uint32_t word) {
    std::string text;
    std::uint32_t left = word;
    const auto add = [&text](std::string_view name) {
        if (!text.empty()) text += " | ";
        text += name;
    };
    for (Flags table : tables) {
        for (const StyleFlag& flag : table) {
            if (!Applies(flag, word) || (word & flag.mask) != flag.value || (left & flag.mask) != flag.value) continue;
            add(flag.name);
            left &= ~flag.mask;
        }
    }
    if (left != 0) {
        const std::string digits = Hex8(left);
        add("0x" + digits.substr(digits.find_first_not_of('0')));
    }
    return text.empty() ? "0" : text;
}

// The flags of the tables that apply to word, each bit pattern once.
std::vector<StyleFlag> TickFlags(std::initializer_list<Flags> tables, std::uint32_t word) {
    std::vector<StyleFlag> flags;
    for (Flags table : tables) {
        for (const StyleFlag& flag : table) {
            if (!Applies(flag, word)) continue;
            bool offered = false;
            for (const StyleFlag& f : flags) offered = offered || (f.mask == flag.mask && f.value == flag.value);
            if (!offered) flags.push_back(flag);
        }
    }
    return flags;
}

}  // namespace

std::string StyleFlagsText(std::string_view className, std::uint32_t style) {
    const ClassFlags* c = ClassFlagsOf(className);
    if (!c) return NamesText({kWindowCombined, kWindowFlags}, style);
    return NamesText({kWindowCombined, kWindowFlags, c->combined, c->first, c->second}, style);
}

std::string ExStyleFlagsText(std::uint32_t exStyle) { return NamesText({kExCombined, kExFlags}, exStyle); }

std::string ClassStyleFlagsText(std::uint32_t classStyle) { return NamesText({kClassFlags}, classStyle); }

std::vector<StyleFlag> StyleTickFlags(std::string_view className, std::uint32_t style) {
    const ClassFlags* c = ClassFlagsOf(className);
    if (!c) return TickFlags({kWindowFlags}, style);
    return TickFlags({kWindowFlags, c->first, c->second}, style);
}

std::vector<StyleFlag> ExStyleTickFlags() { return TickFlags({kExFlags}, 0); }

std::vector<StyleFlag> ClassStyleTickFlags() { return TickFlags({kClassFlags}, 0); }

bool IsTicked(const StyleFlag& flag, std::uint32_t number) { return (number & flag.mask) == flag.value; }

std::uint32_t WithTick(std::uint32_t number, const StyleFlag& flag, bool ticked) {
    if (ticked) return (number & ~flag.mask) | flag.value;
    return IsTicked(flag, number) ? number & ~flag.mask : number;
}

}  // namespace vantrel
