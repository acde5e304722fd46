// The details column, family by family: each case gives the message as the
// hook library hands it over and the text a developer reads, written from
// the SDK's definitions of the values (MAKELPARAM halves, the KF_* bits of a
// keystroke's lParam, the MK_* bits, the structures' fields).

#include "catch/message_details.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

namespace {

using vantrel::DetailMark;
using vantrel::MessageDetails;
using vantrel::PayloadKind;

constexpr std::uint32_t MakeLong(int low, int high) {
    return (static_cast<std::uint32_t>(high) << 16) | (static_cast<std::uint32_t>(low) & 0xFFFF);
}

void SetClass(char16_t (&field)[vantrel::kDetailClassUnits], std::u16string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) field[i] = name[i];
}

MessageDetails Details(std::uint32_t message, std::uint64_t w, std::uint64_t l, std::u16string_view windowClass = u"",
                       std::u16string_view senderClass = u"", DetailMark mark = DetailMark::Sent) {
    MessageDetails d{};
    d.window = 0x00010020;
    d.message = message;
    d.wParam = w;
    d.lParam = l;
    d.mark = static_cast<std::uint8_t>(mark);
    SetClass(d.windowClass, windowClass);
    SetClass(d.senderClass, senderClass);
    return d;
}

MessageDetails Returned(std::uint32_t message, std::uint64_t w, std::uint64_t l, std::uint64_t result,
                        std::u16string_view windowClass = u"") {
    MessageDetails d = Details(message, w, l, windowClass, u"", DetailMark::Returned);
    d.result = result;
    return d;
}

template <class T>
MessageDetails With(MessageDetails d, PayloadKind kind, const T& value) {
    d.payloadKind = static_cast<std::uint16_t>(kind);
    std::memcpy(d.payload, &value, sizeof value);
    return d;
}

template <std::uint16_t Units>
vantrel::DetailText<Units> Text(std::u16string_view text, std::uint16_t flags = 0) {
    vantrel::DetailText<Units> t{};
    for (std::size_t i = 0; i < text.size(); ++i) t.units[i] = text[i];
    t.length = static_cast<std::uint16_t>(text.size());
    t.flags = flags;
    return t;
}

// The column after a mark of "sent" (the mark's own width, then the text).
std::string SentText(const MessageDetails& d, std::string_view registered = "") {
    const std::string text = vantrel::DetailsText(d, registered);
    EXPECT_EQ(text.substr(0, 9), text.size() > 4 ? "sent     " : "sent");
    return text.size() > 9 ? text.substr(9) : "";
}

struct Case {
    MessageDetails details;
    std::string_view text;
};


template <std::size_t N>
void ExpectAll(const Case (&cases)[N]) {
    for (const Case& c : cases) EXPECT_EQ(SentText(c.details), c.text) << std::hex << c.details.message;
}

TEST(MessageDetails, WindowStateGeometryAndSystemCommands) {
    const Case cases[] = {
        {Details(0x0003, 0, MakeLong(-20, 35)), "x=-20 y=35"},                          // WM_MOVE
        {Details(0x0005, 2, MakeLong(400, 300)), "SIZE_MAXIMIZED 400 x 300"},            // WM_SIZE
        {Details(0x0006, MakeLong(2, 1), 0x00030044), "WA_CLICKACTIVE minimized other=0x00030044"},  // WM_ACTIVATE
        {Details(0x0007, 0, 0), ""},                                                     // WM_SETFOCUS from nowhere
        {Details(0x0018, 0, 1), "FALSE SW_PARENTCLOSING"},                               // WM_SHOWWINDOW
        {Details(0x001C, 1, 77), "TRUE thread=77"},                                      // WM_ACTIVATEAPP
        {Details(0x007D, static_cast<std::uint32_t>(-20), 0), "GWL_EXSTYLE"},            // WM_STYLECHANGED
        {Details(0x007E, 32, MakeLong(1920, 1080)), "bits=32 1920 x 1080"},             // WM_DISPLAYCHANGE
        {Details(0x007B, 0x00030044, 0xFFFFFFFF), "window=0x00030044 from the keyboard"},  // WM_CONTEXTMENU
        {Details(0x007F, 1, 96), "ICON_BIG dpi=96"},                                     // WM_GETICON
        {Details(0x0112, 0xF060, 0), "SC_CLOSE"},                                         // WM_SYSCOMMAND
        {Details(0x0112, 0xF012, MakeLong(5, 6)), "SC_MOVE low=0x00000002 x=5 y=6"},      // SC_MOVE from a drag
        {Details(0x0112, 0xF100, 'f'), "SC_KEYMENU 'f' U+0066"},                          // Alt+F
        {Details(0x02E0, MakeLong(144, 144), 0), "dpi=144 x 144"},                       // WM_DPICHANGED
        {Details(0x0012, 3, 0), "exit code=3"},                                           // WM_QUIT
        {Details(0x0016, 1, 0x80000000), "TRUE ENDSESSION_LOGOFF"},                      // WM_ENDSESSION
        {Details(0x0317, 0x1234, 0x16), "dc=0x00001234 PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN"},  // WM_PRINT
        {Details(0x0128, MakeLong(2, 3), 0), "UIS_CLEAR UISF_HIDEFOCUS | UISF_HIDEACCEL"},  // WM_UPDATEUISTATE
    };
    ExpectAll(cases);
}

TEST(MessageDetails, KeysAndCharacters) {
    const Case cases[] = {
        // lParam: repeat count in bits 0-15, scan code 16-23, then KF_* in the high word.
        {Details(0x0100, 0x0D, MakeLong(1, 0x1C)), "VK_RETURN repeat=1 scan=0x1C"},
        {Details(0x0100, 0x25, MakeLong(3, 0x014B)), "VK_LEFT repeat=3 scan=0x4B KF_EXTENDED"},
        {Details(0x0101, 'A', MakeLong(1, 0xC01E)), "'A' repeat=1 scan=0x1E KF_REPEAT | KF_UP"},
        {Details(0x0104, 0x12, MakeLong(1, 0x2038)), "VK_MENU repeat=1 scan=0x38 KF_ALTDOWN"},
        {Details(0x0100, 0xE8, 0), "VK 0x000000E8 repeat=0 scan=0x00"},
        {Details(0x0102, 0x0416, MakeLong(1, 0x21)), "'\xD0\x96' U+0416 repeat=1 scan=0x21"},  // Cyrillic Zhe
        {Details(0x0102, 0x0D, MakeLong(1, 0x1C)), "'\\r' U+000D repeat=1 scan=0x1C"},
        {Details(0x0102, 0x1B, 0), "U+001B repeat=0 scan=0x00"},
        {Details(0x0102, 0xD83D, 1), "U+D83D (high surrogate) repeat=1 scan=0x00"},
        {Details(0x0109, 0x1F600, 0), "'\xF0\x9F\x98\x80' U+1F600"},                    // WM_UNICHAR
        {Details(0x0109, 0xFFFF, 0), "UNICODE_NOCHAR"},
        {Details(0x0312, 7, MakeLong(0x6, 'K')), "id=7 MOD_CONTROL | MOD_SHIFT 'K'"},    // WM_HOTKEY
        {Details(0x0087, 0x09, 0), "VK_TAB"},                                            // WM_GETDLGCODE
    };
    ExpectAll(cases);
}

TEST(MessageDetails, MouseAndHitTests) {
    const Case cases[] = {
        {Details(0x0201, 0x05, MakeLong(16, 20)), "MK_LBUTTON | MK_SHIFT x=16 y=20"},   // WM_LBUTTONDOWN
        {Details(0x0200, 0, MakeLong(-3, -4)), "x=-3 y=-4"},                             // WM_MOUSEMOVE
        {Details(0x020A, MakeLong(0x08, -120), MakeLong(300, 200)), "delta=-120 MK_CONTROL x=300 y=200"},
        {Details(0x020B, MakeLong(0x40, 2), MakeLong(1, 2)), "XBUTTON2 MK_XBUTTON2 x=1 y=2"},
        {Details(0x00A1, 2, MakeLong(100, 10)), "HTCAPTION x=100 y=10"},                 // WM_NCLBUTTONDOWN
        {Details(0x0084, 0, MakeLong(100, 10)), "x=100 y=10"},                           // WM_NCHITTEST
        {Details(0x0020, 0x00010020, MakeLong(1, 0x0200)), "window=0x00010020 HTCLIENT WM_MOUSEMOVE"},
        {Details(0x0020, 0x00010020, MakeLong(-2, 0x0201)), "window=0x00010020 HTERROR WM_LBUTTONDOWN"},
        {Details(0x0210, MakeLong(0x0001, 1001), 0x00030044), "WM_CREATE id=1001 child=0x00030044"},  // WM_PARENTNOTIFY
        {Details(0x0210, 0x0201, MakeLong(7, 8)), "WM_LBUTTONDOWN x=7 y=8"},
        {Details(0x0215, 0, 0x00030044), "new=0x00030044"},                              // WM_CAPTURECHANGED
    };
    ExpectAll(cases);
}

TEST(MessageDetails, CommandsMenusTimersAndScrolling) {
    const Case cases[] = {
        {Details(0x0111, 40001, 0), "menu id=40001"},
        {Details(0x0111, MakeLong(40002, 1), 0), "accelerator id=40002"},
        {Details(0x0111, MakeLong(1001, 0x0300), 0x00030044, u"#32770", u"Edit"),
         "EN_CHANGE id=1001 from=0x00030044 {Edit}"},
        {Details(0x0111, MakeLong(1002, 0), 0x00030046, u"#32770", u"Button"), "BN_CLICKED id=1002 from=0x00030046 {Button}"},
        {Details(0x0111, MakeLong(1003, 1), 0x00030048, u"#32770", u"ComboBox"),
         "CBN_SELCHANGE id=1003 from=0x00030048 {ComboBox}"},
        {Details(0x0111, MakeLong(1004, 0x0300), 0x0003004A, u"#32770", u"TMyEdit"), "code=768 id=1004 from=0x0003004A {TMyEdit}"},
        {Details(0x0113, 1, 0), "id=1"},                                                 // WM_TIMER
        {Details(0x0114, MakeLong(5, 250), 0), "SB_THUMBTRACK pos=250"},                 // WM_HSCROLL of the window's own bar
        {Details(0x0115, 1, 0), "SB_LINEDOWN"},                                          // WM_VSCROLL
        {Details(0x0114, 8, 0x0003004C, u"", u"msctls_trackbar32"), "TB_ENDTRACK from=0x0003004C {msctls_trackbar32}"},
        {Details(0x011F, MakeLong(3, 0x0090), 0x00050001), "item=3 MF_POPUP | MF_HILITE menu=0x00050001"},  // WM_MENUSELECT
        {Details(0x011F, 0xFFFF0000, 0), "menu closed"},
        {Details(0x0117, 0x00050001, MakeLong(2, 1)), "menu=0x00050001 index=2 system menu"},  // WM_INITMENUPOPUP
        {Details(0x0121, 2, 0x00010020), "MSGF_MENU window=0x00010020"},                // WM_ENTERIDLE
        {Details(0x0133, 0x0101, 0x00030044), "dc=0x00000101 control=0x00030044"},      // WM_CTLCOLOREDIT
    };
    ExpectAll(cases);
}

TEST(MessageDetails, ControlMessagesNamedByTheWindowsClassWithTheirParameters) {
    const Case cases[] = {
        {Details(0x00B1, 2, static_cast<std::uint32_t>(-1), u"Edit"), "EM_SETSEL start=2 end=-1"},
        {Details(0x00C5, 80, 0, u"Edit"), "EM_LIMITTEXT max=80"},
        {Details(0x00F1, 1, 0, u"Button"), "BM_SETCHECK BST_CHECKED"},
        {Details(0x00F4, 0x0003, 1, u"Button"), "BM_SETSTYLE BS_AUTOCHECKBOX redraw=TRUE"},
        {Details(0x0186, 4, 0, u"ListBox"), "LB_SETCURSEL index=4"},
        {Details(0x0185, 1, static_cast<std::uint32_t>(-1), u"ListBox"), "LB_SETSEL TRUE index=-1"},
        {Details(0x014F, 1, 0, u"ComboBox"), "CB_SHOWDROPDOWN TRUE"},
        {Details(0x1102, 2, 0x00A0B0C0, u"SysTreeView32"), "TVM_EXPAND TVE_EXPAND item=0x00A0B0C0"},
        {Details(0x110A, 4, 0x00A0B0C0, u"SysTreeView32"), "TVM_GETNEXTITEM TVGN_CHILD item=0x00A0B0C0"},
        {Details(0x110A, 0, 0, u"SysTreeView32"), "TVM_GETNEXTITEM TVGN_ROOT"},
        {Details(0x1132, 0, 0x00A0B0C0, u"SysTreeView32"), "TVM_INSERTITEMW"},
        {Details(0x1127, 0x00A0B0C0, 0xF022, u"SysTreeView32"), "TVM_GETITEMSTATE item=0x00A0B0C0 mask=0x0000F022"},
        {Details(0x100C, static_cast<std::uint32_t>(-1), 2, u"SysListView32"), "LVM_GETNEXTITEM start=-1 LVNI_SELECTED"},
        {Details(0x101E, 1, MakeLong(-2, 0), u"SysListView32"), "LVM_SETCOLUMNWIDTH column=1 width=-2"},
        {Details(0x040B, 0x0102, 0x1000, u"msctls_statusbar32"), "SB_SETTEXTW part=2 SBT_NOBORDERS"},
        {Details(0x0401, 0, MakeLong(0, 100), u"msctls_progress32"), "PBM_SETRANGE min=0 max=100"},
        {Details(0x0465, 0, MakeLong(100, -5), u"msctls_updown32"), "UDM_SETRANGE min=-5 max=100"},
        {Details(0x0405, 1, 30, u"msctls_trackbar32"), "TBM_SETPOS redraw=TRUE pos=30"},
        {Details(0x0401, 1005, MakeLong(1, 0), u"ToolbarWindow32"), "TB_ENABLEBUTTON id=1005 TRUE"},
        {Details(0x130C, 1, 0, u"SysTabControl32"), "TCM_SETCURSEL index=1"},
        {Details(0x2007, 6, 0, u"SysHeader32"), "CCM_SETVERSION"},
        // The same numbers sent to a window of no known control class name nothing.
        {Details(0x0401, 1005, 1, u"MyWindow"), ""},
        {Details(0x00B1, 2, 3, u""), ""},
    };
    ExpectAll(cases);
    // Registered messages by the name the program found for them.
    EXPECT_EQ(SentText(Details(0xC0F1, 1, 2), "TaskbarCreated"), "TaskbarCreated");
    EXPECT_EQ(SentText(Details(0xC0F1, 1, 2), ""), "");
}

TEST(MessageDetails, ReturnedLinesShowTheResultDecodedAndRaw) {
    struct ResultCase {
        MessageDetails details;
        std::string_view text;
    } cases[] = {
        {Returned(0x0084, 0, 0, 2), "result=HTCAPTION (0x00000002)"},
        {Returned(0x0084, 0, 0, static_cast<std::uint32_t>(-1)), "result=HTTRANSPARENT (0xFFFFFFFF)"},
        {Returned(0x0087, 0, 0, 0x2081), "result=DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_BUTTON (0x00002081)"},
        {Returned(0x0021, 0, 0, 3), "result=MA_NOACTIVATE (0x00000003)"},
        {Returned(0x0083, 1, 0, 0x0300), "result=WVR_REDRAW (0x00000300)"},
        {Returned(0x0083, 0, 0, 0), "result=0 (0x00000000)"},
        {Returned(0x0020, 0, 0, 1), "result=TRUE (0x00000001)"},
        {Returned(0x0120, 0, 0, MakeLong(4, 2)), "result=MNC_EXECUTE item=4 (0x00020004)"},
        {Returned(0x0188, 0, 0, static_cast<std::uint32_t>(-1), u"ListBox"), "LB_GETCURSEL result=LB_ERR (0xFFFFFFFF)"},
        {Returned(0x0143, 0, 0, static_cast<std::uint32_t>(-2), u"ComboBox"), "CB_ADDSTRING result=CB_ERRSPACE (0xFFFFFFFE)"},
        {Returned(0x0147, 0, 0, 3, u"ComboBox"), "CB_GETCURSEL result=3 (0x00000003)"},
        {Returned(0x00F0, 0, 0, 2, u"Button"), "BM_GETCHECK result=BST_INDETERMINATE (0x00000002)"},
        {Returned(0x00B0, 0, 0, MakeLong(2, 5), u"Edit"), "EM_GETSEL result=start=2 end=5 (0x00050002)"},
        {Returned(0x110A, 1, 0, 0x00A0B0C0, u"SysTreeView32"), "TVM_GETNEXTITEM result=0x00A0B0C0 (0x00A0B0C0)"},
        {Returned(0x0031, 0, 0, 0x0A0B), "result=0x00000A0B (0x00000A0B)"},            // WM_GETFONT
        {Returned(0x000E, 0, 0, 11), "result=11 (0x0000000B)"},                          // WM_GETTEXTLENGTH
        {With(Returned(0x000D, 260, 0x1000, 5), PayloadKind::Text, Text<256>(u"Hello")),
         "result=5 (0x00000005) \"Hello\""},                                              // WM_GETTEXT
    };
    for (const ResultCase& c : cases) {
        const std::string text = vantrel::DetailsText(c.details, "");
        EXPECT_EQ(text.substr(0, 9), "returned ");
        EXPECT_EQ(text.substr(9), c.text);
    }
}

TEST(MessageDetails, StructuresTheParametersPointedTo) {
    vantrel::DetailCreateStruct create{};
    create.createParams = 0x77;
    create.instance = 0x00400000;
    create.menu = 1001;
    create.parent = 0x00010020;
    create.x = 10, create.y = 20, create.cx = 300, create.cy = 200;
    create.style = 0x50010000;
    create.exStyle = 0x00000200;
    create.name = Text<128>(u"OK");
    create.className = Text<64>(u"Button");
    vantrel::DetailCreateStruct byAtom = create;
    byAtom.classAtom = 0xC01A;
    byAtom.name = Text<128>(u"", vantrel::kTextUnreadable);

    const vantrel::DetailWindowPos topmost{0x00010020, 0xFFFFFFFF, 0, 0, 640, 480, 0x0013, 0};
    const vantrel::DetailWindowPos noZorder{0x00010020, 0, 5, 6, 7, 8, 0x0004 | 0x0020 | 0x8000, 0};
    vantrel::DetailMinMaxInfo minMax{{0, 0}, {1282, 1026}, {-1, -1}, {112, 27}, {1292, 1036}};
    vantrel::DetailNcCalcSize calc{};
    calc.rects[0] = {0, 0, 400, 300};
    calc.rects[1] = {1, 2, 3, 4};
    calc.rects[2] = {5, 6, 7, 8};
    calc.rectCount = 3;
    calc.hasWindowPos = 1;
    calc.windowPos = {0x00010020, 0, 0, 0, 400, 300, 0x0004, 0};
    vantrel::DetailNcCalcSize oneRect{};
    oneRect.rects[0] = {10, 20, 30, 40};
    oneRect.rectCount = 1;
    const vantrel::DetailDrawItem draw{4, 1001, 0, 1, 0x0011, 0x00030044, 0x0101, {0, 0, 75, 23}, 0};
    const vantrel::DetailMeasureItem measure{2, 1002, 3, 0, 16, 0, 0x55};
    vantrel::DetailCopyData copy{7, 3, 3, {}};
    std::memcpy(copy.bytes, "Hi!", 3);
    vantrel::DetailCopyData longCopy{0, 100, 2, {}};
    longCopy.bytes[0] = 0xAB, longCopy.bytes[1] = 0x01;
    const vantrel::DetailHelpInfo help{40, 1, 1001, 0, 0x00030044, 0, 50, 60};

    const Case cases[] = {
        {With(Details(0x0001, 0, 0x1000, u"Button"), PayloadKind::CreateStruct, create),
         "CREATESTRUCT (10,20) 300 x 200 style=WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON "
         "exStyle=WS_EX_CLIENTEDGE name=\"OK\" class=\"Button\" "
         "parent=0x00010020 menu=0x000003E9 instance=0x00400000 params=0x00000077"},
        {With(Details(0x0081, 0, 0x1000), PayloadKind::CreateStruct, byAtom),
         "CREATESTRUCT (10,20) 300 x 200 style=WS_CHILD | WS_VISIBLE | WS_TABSTOP exStyle=WS_EX_CLIENTEDGE "
         "name=(address not readable) class=#49178 "
         "parent=0x00010020 menu=0x000003E9 instance=0x00400000 params=0x00000077"},
        {With(Details(0x0046, 0, 0x1000), PayloadKind::WindowPos, topmost),
         "WINDOWPOS after=HWND_TOPMOST (0,0) 640 x 480 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE"},
        {With(Details(0x0047, 0, 0x1000), PayloadKind::WindowPos, noZorder),
         "WINDOWPOS (5,6) 7 x 8 SWP_NOZORDER | SWP_FRAMECHANGED | 0x00008000"},
        {With(Details(0x0024, 0, 0x1000), PayloadKind::MinMaxInfo, minMax),
         "MINMAXINFO maxSize=1282 x 1026 maxPosition=(-1,-1) minTrackSize=112 x 27 maxTrackSize=1292 x 1036"},
        {With(Details(0x0083, 1, 0x1000), PayloadKind::NcCalcSize, calc),
         "TRUE NCCALCSIZE_PARAMS rgrc[0]=(0,0)-(400,300) rgrc[1]=(1,2)-(3,4) rgrc[2]=(5,6)-(7,8) "
         "WINDOWPOS (0,0) 400 x 300 SWP_NOZORDER"},
        {With(Details(0x0083, 0, 0x1000), PayloadKind::NcCalcSize, oneRect), "FALSE RECT (10,20)-(30,40)"},
        {With(Details(0x0214, 8, 0x1000), PayloadKind::Rect, vantrel::DetailRect{1, 2, 3, 4}),
         "WMSZ_BOTTOMRIGHT RECT (1,2)-(3,4)"},
        {With(Details(0x007C, static_cast<std::uint32_t>(-16), 0x1000), PayloadKind::StyleStruct,
              vantrel::DetailStyleStruct{0x10000000, 0x10010000}),
         "GWL_STYLE old=WS_VISIBLE new=WS_VISIBLE | WS_MAXIMIZEBOX"},
        {With(Details(0x007D, static_cast<std::uint32_t>(-20), 0x1000), PayloadKind::StyleStruct,
              vantrel::DetailStyleStruct{0x00000008, 0x00000000}),
         "GWL_EXSTYLE old=WS_EX_TOPMOST new=0"},
        {With(Details(0x002B, 1001, 0x1000), PayloadKind::DrawItem, draw),
         "id=1001 DRAWITEMSTRUCT ODT_BUTTON id=1001 item=0 ODA_DRAWENTIRE ODS_SELECTED | ODS_FOCUS window=0x00030044 "
         "dc=0x00000101 (0,0)-(75,23)"},
        {With(Details(0x002C, 1002, 0x1000), PayloadKind::MeasureItem, measure),
         "id=1002 MEASUREITEMSTRUCT ODT_LISTBOX id=1002 item=3 0 x 16 data=0x00000055"},
        {With(Details(0x004A, 0x00030044, 0x1000), PayloadKind::CopyData, copy),
         "from=0x00030044 COPYDATASTRUCT data=0x00000007 size=3 bytes=48 69 21"},
        {With(Details(0x004A, 0, 0x1000), PayloadKind::CopyData, longCopy),
         "COPYDATASTRUCT data=0x00000000 size=100 bytes=AB 01 (address not readable)"},
        {With(Details(0x0053, 0, 0x1000), PayloadKind::HelpInfo, help),
         "HELPINFO HELPINFO_WINDOW id=1001 item=0x00030044 context=0x00000000 (50,60)"},
        {With(Details(0x0001, 0, 0x1000), PayloadKind::Unreadable, 0), "(address not readable)"},
        {With(Details(0x0001, 0, 0x1000), static_cast<PayloadKind>(99), 0), ""},  // a kind this program does not know
    };
    ExpectAll(cases);
}

TEST(MessageDetails, TextsQuotedEscapedAndMarkedWhenCut) {
    const auto setText = [](vantrel::DetailText<256> text) {
        return With(Details(0x000C, 0, 0x1000), PayloadKind::Text, text);
    };
    EXPECT_EQ(SentText(setText(Text<256>(u"Caf\u00E9 \u65E5\u672C"))), "\"Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC\"");
    EXPECT_EQ(SentText(setText(Text<256>(u"a\"b\\c\r\n\t\x01"))), "\"a\\\"b\\\\c\\r\\n\\t\\x01\"");
    EXPECT_EQ(SentText(setText(Text<256>(u"long", vantrel::kTextCut))), "\"long\" (cut)");
    EXPECT_EQ(SentText(setText(Text<256>(u"", vantrel::kTextResource))), "#0");
    EXPECT_EQ(SentText(setText(Text<256>(u""))), "\"\"");
    // A length beyond the field is read as the whole field, never beyond it.
    vantrel::DetailText<256> full = Text<256>(std::u16string(256, u'x'));
    full.length = 0xFFFF;
    EXPECT_EQ(SentText(setText(full)), "\"" + std::string(256, 'x') + "\"");
    // EM_REPLACESEL with its text; LB_ADDSTRING with its string.
    EXPECT_EQ(SentText(With(Details(0x00C2, 1, 0x1000, u"Edit"), PayloadKind::Text, Text<256>(u"new"))),
              "EM_REPLACESEL undo=TRUE \"new\"");
    EXPECT_EQ(SentText(With(Details(0x0180, 0, 0x1000, u"ListBox"), PayloadKind::Text, Text<256>(u"item"))),
              "LB_ADDSTRING \"item\"");
}

TEST(MessageDetails, NotificationsNamedByTheirSenderWithTheirStructures) {
    const auto code = [](int first, int offset) { return static_cast<std::uint32_t>(first - offset); };
    const auto notify = [](std::u16string_view sender, auto value, PayloadKind kind) {
        return With(Details(0x004E, 1001, 0x1000, u"#32770", sender), kind, value);
    };
    vantrel::DetailNotifyListView changed{{1001, 0x00030044, code(-100, 1)}, 3, 0, 0x3, 0, 0x8, 0, 0, 0, 0};
    vantrel::DetailNotifyListView clicked{{1001, 0x00030044, code(0, 2)}, 2, 1, 0, 0, 0, 40, 12, 0x2, 0x99};
    vantrel::DetailNotifyTreeView selected{};
    selected.hdr = {1002, 0x00030046, code(-400, 51)};
    selected.action = 1;
    selected.oldItem.item = 0x00A0;
    selected.newItem = {0x00B0, 0, 0x8, 0x22, 0, 0};
    vantrel::DetailNotifyTreeView expanding{};
    expanding.hdr = {1002, 0x00030046, code(-400, 54)};
    expanding.action = 2;
    expanding.newItem.item = 0x00B0;
    vantrel::DetailNotifyCustomDraw paint{{1003, 0x00030048, code(0, 12)}, 0x10001, 0, 0x0101, {0, 0, 50, 16}, 4, 0};
    const vantrel::DetailNotifyMouse click{{1004, 0x0003004A, code(0, 2)}, 40001, 0, 5, 6, 0};
    const vantrel::DetailNotifyPair delta{{1005, 0x0003004C, code(-721, 1)}, 10, -1};
    const vantrel::DetailNotifyPair headerClick{{1006, 0x0003004E, code(-300, 22)}, 2, 0};
    const vantrel::DetailNotifyChar typed{{1007, 0x00030050, code(0, 18)}, 'q', 0, 0, 0};
    const vantrel::DetailNotifyKeyDown key{{1008, 0x00030052, code(-550, 0)}, 0x27, 0};
    vantrel::DetailNotifyItem edited{};
    edited.hdr = {1009, 0x00030044, code(-100, 76)};
    edited.mask = 0x1;
    edited.item = 4;
    edited.text = Text<64>(u"renamed");
    const vantrel::DetailNmhdr plain{1010, 0x00030054, code(-550, 1)};

    const Case cases[] = {
        {notify(u"SysListView32", changed, PayloadKind::NotifyListView),
         "LVN_ITEMCHANGED id=1001 from=0x00030044 {SysListView32} item=3 changed=LVIF_STATE "
         "new=LVIS_FOCUSED | LVIS_SELECTED old=0"},
        {notify(u"SysListView32", clicked, PayloadKind::NotifyListView),
         "NM_CLICK id=1001 from=0x00030044 {SysListView32} item=2 subItem=1 (40,12) LVKF_CONTROL lParam=0x00000099"},
        {notify(u"SysTreeView32", selected, PayloadKind::NotifyTreeView),
         "TVN_SELCHANGEDW id=1002 from=0x00030046 {SysTreeView32} TVC_BYMOUSE old=0x000000A0 item=0x000000B0 "
         "state=TVIS_SELECTED | TVIS_EXPANDED"},
        {notify(u"SysTreeView32", expanding, PayloadKind::NotifyTreeView),
         "TVN_ITEMEXPANDINGW id=1002 from=0x00030046 {SysTreeView32} TVE_EXPAND item=0x000000B0"},
        {notify(u"SysListView32", paint, PayloadKind::NotifyCustomDraw),
         "NM_CUSTOMDRAW id=1003 from=0x00030048 {SysListView32} CDDS_ITEMPREPAINT item=4 (0,0)-(50,16)"},
        {notify(u"ToolbarWindow32", click, PayloadKind::NotifyMouse),
         "NM_CLICK id=1004 from=0x0003004A {ToolbarWindow32} item=40001 (5,6)"},
        {notify(u"msctls_updown32", delta, PayloadKind::NotifyUpDown),
         "UDN_DELTAPOS id=1005 from=0x0003004C {msctls_updown32} pos=10 delta=-1"},
        {notify(u"SysHeader32", headerClick, PayloadKind::NotifyHeaderItem),
         "HDN_ITEMCLICKW id=1006 from=0x0003004E {SysHeader32} item=2 button=0"},
        {notify(u"ToolbarWindow32", typed, PayloadKind::NotifyChar),
         "NM_CHAR id=1007 from=0x00030050 {ToolbarWindow32} 'q' U+0071"},
        {notify(u"SysTabControl32", key, PayloadKind::NotifyKeyDown),
         "TCN_KEYDOWN id=1008 from=0x00030052 {SysTabControl32} vk=0x00000027"},
        {notify(u"SysListView32", edited, PayloadKind::NotifyListViewItem),
         "LVN_ENDLABELEDITW id=1009 from=0x00030044 {SysListView32} LVIF_TEXT item=4 \"renamed\""},
        {notify(u"SysTabControl32", plain, PayloadKind::NotifyHeader),
         "TCN_SELCHANGE id=1010 from=0x00030054 {SysTabControl32}"},
        {Details(0x004E, 1011, 0x1000), "id=1011"},  // no structure copied
    };
    ExpectAll(cases);
    // The returned custom draw names what the procedure asked for.
    MessageDetails answer = notify(u"SysListView32", paint, PayloadKind::NotifyCustomDraw);
    answer.mark = static_cast<std::uint8_t>(DetailMark::Returned);
    answer.result = 0x20;
    EXPECT_EQ(vantrel::DetailsText(answer, ""),
              "returned result=CDRF_NOTIFYITEMDRAW (0x00000020) NM_CUSTOMDRAW id=1003 from=0x00030048 "
              "{SysListView32} CDDS_ITEMPREPAINT item=4 (0,0)-(50,16)");
}

TEST(MessageDetails, MarksIndentNestedSendsAndShowWhole64BitValues) {
    MessageDetails posted = Details(0x0100, 0x0D, MakeLong(1, 0x1C), u"", u"", DetailMark::Posted);
    EXPECT_EQ(vantrel::DetailsText(posted, ""), "posted   VK_RETURN repeat=1 scan=0x1C");
    MessageDetails nested = Details(0x000E, 0, 0);
    nested.depth = 2;
    EXPECT_EQ(vantrel::DetailsText(nested, ""), "sent");
    nested.message = 0x0005;
    EXPECT_EQ(vantrel::DetailsText(nested, ""), "sent         SIZE_RESTORED 0 x 0");
    MessageDetails back = Returned(0x000E, 0, 0, 4);
    back.depth = 1;
    EXPECT_EQ(vantrel::DetailsText(back, ""), "returned   result=4 (0x00000004)");
    back.depth = 255;  // the indentation stops growing
    EXPECT_EQ(vantrel::DetailsText(back, ""), "returned " + std::string(64, ' ') + "result=4 (0x00000004)");

    // A 64-bit program: values beyond 32 bits are shown whole; a value its
    // low 32 bits stand for (sign-extended) is not repeated.
    MessageDetails wide = Details(0x0401, 0x100000002, 0x00007FF612340000);
    wide.flags = vantrel::kDetailsWriter64;
    EXPECT_EQ(SentText(wide), "wParam=0x0000000100000002 lParam=0x00007FF612340000");
    wide.wParam = 0xFFFFFFFFFFFFFFFF;
    wide.lParam = 0xFFFFFFFF80000000;
    EXPECT_EQ(SentText(wide), "");
    MessageDetails wideResult = Returned(0x0401, 0, 0, 0x123456789);
    wideResult.flags = vantrel::kDetailsWriter64;
    EXPECT_EQ(vantrel::DetailsText(wideResult, ""), "returned result=4886718345 (0x0000000123456789)");
    // A 32-bit program's values are their low 32 bits, whatever the rest holds.
    MessageDetails narrow = Returned(0x0401, 0x100000002, 0, 0x123456789);
    EXPECT_EQ(vantrel::DetailsText(narrow, ""), "returned result=591751049 (0x23456789)");
}

TEST(MessageDetails, WithoutDetailsTheRecordAloneIsDecodedAndTheTargetNamed) {
    vantrel::HookRecord record{};
    record.hwnd = 0x00010020;
    record.message = 0x0005;
    record.wParam = 1;
    record.lParam = MakeLong(0, 0);
    const MessageDetails fromRecord = vantrel::DetailsFromRecord(record);
    EXPECT_TRUE(vantrel::DetailsMatch(record, fromRecord));
    EXPECT_EQ(vantrel::DetailsText(fromRecord, ""), "SIZE_MINIMIZED 0 x 0");
    EXPECT_EQ(vantrel::TargetWindowText(fromRecord), "0x00010020");
    MessageDetails other = Details(0x0005, 1, 0, u"Edit");
    EXPECT_EQ(vantrel::TargetWindowText(other), "0x00010020 {Edit}");
    other.message = 0x0006;
    EXPECT_FALSE(vantrel::DetailsMatch(record, other));
    other.message = 0x0005;
    other.window = 0x00010022;
    EXPECT_FALSE(vantrel::DetailsMatch(record, other));
    // A class name that fills its whole field has no terminating zero.
    SetClass(other.windowClass, std::u16string(vantrel::kDetailClassUnits, u'W'));
    EXPECT_EQ(vantrel::ClassNameText(other.windowClass), std::string(vantrel::kDetailClassUnits, 'W'));
}

TEST(MessageDetails, ReturnedLinesFollowTheFateOfTheirSend) {
    vantrel::SendFates fates;
    fates.Sent(7, 0, true);
    fates.Sent(7, 1, false);
    fates.Sent(9, 0, false);
    EXPECT_EQ(fates.Returned(7, 1), false);
    EXPECT_EQ(fates.Returned(7, 0), true);
    EXPECT_EQ(fates.Returned(9, 0), false);
    EXPECT_EQ(fates.Returned(9, 3), std::nullopt);   // a send from before catching began
    EXPECT_EQ(fates.Returned(11, 0), std::nullopt);
    fates.Sent(7, 1, true);  // a later send at the same depth
    EXPECT_EQ(fates.Returned(7, 1), true);
    fates.Clear();
    EXPECT_EQ(fates.Returned(7, 0), std::nullopt);
}

}  // namespace
