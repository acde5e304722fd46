// Style names: a few grouped tables of style words with the names they read
// as, the values written from the system headers' definitions.

#include "base/window_styles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace vantrel {
namespace {

struct Case {
    const char* className;
    std::uint32_t style;
    const char* text;
};

TEST(WindowStyles, WindowsOwnNamesCombinedWhereAllTheirBitsAreSet) {
    const Case cases[] = {
        {"", 0x00000000, "0"},
        {"Frame", 0x14CF0000, "WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS"},
        {"Frame", 0x94880000, "WS_POPUPWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS"},
        // A caption beats the popup window's border: a dialog frame reads as its parts.
        {"Frame", 0x80C80000, "WS_CAPTION | WS_POPUP | WS_SYSMENU"},
        {"Frame", 0x80800000, "WS_POPUP | WS_BORDER"},
        {"Frame", 0x00C30000, "WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX"},
        {"Frame", 0x6B300000, "WS_CHILD | WS_MINIMIZE | WS_DISABLED | WS_CLIPCHILDREN | WS_MAXIMIZE | WS_VSCROLL | "
                              "WS_HSCROLL"},
        // Group and tab stop on a control; the boxes on a child with a system menu.
        {"Frame", 0x50030000, "WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP"},
        {"Frame", 0x40CF0000, "WS_OVERLAPPEDWINDOW | WS_CHILD"},
        {"Frame", 0x400B0000, "WS_CHILD | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX"},
        // The low bits of a class without names are left over.
        {"Frame", 0x10CF1234, "WS_OVERLAPPEDWINDOW | WS_VISIBLE | 0x1234"},
        {"MyToolbarWindow32", 0x50000801, "WS_CHILD | WS_VISIBLE | 0x801"},
    };
    for (const Case& c : cases) EXPECT_EQ(StyleFlagsText(c.className, c.style), c.text) << std::hex << c.style;
}

TEST(WindowStyles, LowBitsNamedByTheClassWithTypeFieldsAndLeftovers) {
    const Case cases[] = {
        {"Button", 0x50010000, "WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON"},
        {"BUTTON", 0x50000003, "WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX"},
        {"button", 0x4000AE29, "WS_CHILD | BS_AUTORADIOBUTTON | BS_LEFTTEXT | BS_RIGHT | BS_VCENTER | "
                               "BS_MULTILINE | BS_FLAT"},
        {"Button", 0x40000010, "WS_CHILD | BS_PUSHBUTTON | 0x10"},
        {"Edit", 0x50800080, "WS_CHILD | WS_VISIBLE | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL"},
        {"Edit", 0x000028A6, "ES_RIGHT | ES_MULTILINE | ES_PASSWORD | ES_AUTOHSCROLL | ES_READONLY | ES_NUMBER"},
        {"Edit", 0x00000203, "0x203"},
        {"RichEdit20W", 0x0000E008, "ES_LEFT | ES_NOOLEDRAGDROP | ES_DISABLENOSCROLL | ES_SUNKEN | ES_SAVESEL"},
        {"RICHEDIT50W", 0x00000010, "ES_LEFT | 0x10"},
        {"Static", 0x50000000, "WS_CHILD | WS_VISIBLE | SS_LEFT"},
        {"Static", 0x0000820E, "SS_BITMAP | SS_CENTERIMAGE | SS_PATHELLIPSIS"},
        {"Static", 0x0000C012, "SS_ETCHEDFRAME | SS_WORDELLIPSIS"},
        {"Static", 0x0000001F, "0x1F"},
        {"ListBox", 0x00A00003, "WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT"},
        {"ComboLBox", 0x00008000, "LBS_COMBOBOX"},
        {"ComboBox", 0x00000243, "CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | CBS_HASSTRINGS"},
        {"ComboBox", 0x00001000, "0x1000"},
        {"SysTreeView32", 0x50800027, "WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | "
                                      "TVS_LINESATROOT | TVS_SHOWSELALWAYS"},
        {"SysListView32", 0x0000480D, "LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT | "
                                      "LVS_NOCOLUMNHEADER"},
        {"SysListView32", 0x00000000, "LVS_ICON"},
        {"ToolbarWindow32", 0x50000944, "WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_TOOLTIPS | "
                                        "TBSTYLE_FLAT"},
        {"ToolbarWindow32", 0x00000083, "CCS_RIGHT"},
        {"msctls_statusbar32", 0x00000103, "CCS_BOTTOM | SBARS_SIZEGRIP"},
        {"msctls_progress32", 0x00000009, "PBS_SMOOTH | PBS_MARQUEE"},
        {"msctls_trackbar32", 0x00000105, "TBS_AUTOTICKS | TBS_TOP | TBS_TOOLTIPS"},
        {"msctls_trackbar32", 0x00000006, "TBS_VERT | TBS_LEFT"},
        {"msctls_updown32", 0x000000B6, "UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | "
                                        "UDS_NOTHOUSANDS"},
        {"SysTabControl32", 0x00000202, "TCS_BOTTOM | TCS_MULTILINE"},
        {"SysTabControl32", 0x00000082, "TCS_RIGHT | TCS_VERTICAL"},
        {"#32770", 0x94C800C8, "WS_CAPTION | WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_SYSMENU | DS_SHELLFONT | "
                               "DS_MODALFRAME"},
        {"#32770", 0x00004040, "DS_SETFONT | 0x4000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StyleFlagsText(c.className, c.style), c.text) << c.className << " " << std::hex << c.style;
}

TEST(WindowStyles, ExtendedAndClassStyles) {
    const std::pair<std::uint32_t, const char*> extended[] = {
        {0x00000000, "0"},
        {0x00000300, "WS_EX_OVERLAPPEDWINDOW"},
        {0x00040188, "WS_EX_PALETTEWINDOW | WS_EX_APPWINDOW"},
        {0x00000108, "WS_EX_TOPMOST | WS_EX_WINDOWEDGE"},
        {0x0A6B6675, "WS_EX_DLGMODALFRAME | WS_EX_NOPARENTNOTIFY | WS_EX_ACCEPTFILES | WS_EX_TRANSPARENT | "
                     "WS_EX_MDICHILD | WS_EX_CLIENTEDGE | WS_EX_CONTEXTHELP | WS_EX_RTLREADING | "
                     "WS_EX_LEFTSCROLLBAR | WS_EX_CONTROLPARENT | WS_EX_STATICEDGE | WS_EX_LAYERED | "
                     "WS_EX_NOREDIRECTIONBITMAP | WS_EX_LAYOUTRTL | WS_EX_COMPOSITED | WS_EX_NOACTIVATE"},
        {0x80000802, "0x80000802"},
    };
    for (auto [value, text] : extended) EXPECT_EQ(ExStyleFlagsText(value), text) << std::hex << value;
    const std::pair<std::uint32_t, const char*> classStyles[] = {
        {0x0000000B, "CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS"},
        {0x00024A80, "CS_PARENTDC | CS_NOCLOSE | CS_SAVEBITS | CS_GLOBALCLASS | CS_DROPSHADOW"},
        {0x00000104, "0x104"},
    };
    for (auto [value, text] : classStyles) EXPECT_EQ(ClassStyleFlagsText(value), text) << std::hex << value;
}

std::vector<std::string> Names(const std::vector<StyleFlag>& flags) {
    std::vector<std::string> names;
    for (const StyleFlag& f : flags) names.emplace_back(f.name);
    return names;
}

TEST(WindowStyles, TickListsOfferEachPatternOnceWithoutCombinedNames) {
    const auto control = Names(StyleTickFlags("BUTTON", 0x50010000));
    const auto frame = Names(StyleTickFlags("Frame", 0x14CF0000));
    const auto has = [](const std::vector<std::string>& list, const char* name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    EXPECT_EQ(control.size(), 16u + 29u);  // the window's sixteen bit names and the button's list
    EXPECT_EQ(control.front(), "WS_POPUP");
    EXPECT_EQ(control[16], "BS_PUSHBUTTON");
    EXPECT_TRUE(has(control, "WS_TABSTOP") && !has(control, "WS_MAXIMIZEBOX"));
    EXPECT_EQ(frame.size(), 16u);
    EXPECT_TRUE(has(frame, "WS_MAXIMIZEBOX") && !has(frame, "WS_TABSTOP") && !has(frame, "WS_CAPTION"));
    EXPECT_TRUE(has(Names(StyleTickFlags("msctls_trackbar32", 0x2)), "TBS_LEFT"));
    EXPECT_EQ(ExStyleTickFlags().size(), 22u);
    EXPECT_EQ(ClassStyleTickFlags().size(), 13u);
    EXPECT_FALSE(has(Names(ExStyleTickFlags()), "WS_EX_OVERLAPPEDWINDOW"));
}

TEST(WindowStyles, TicksAndNumbersFollowEachOther) {
    const StyleFlag visible{"WS_VISIBLE", 0x10000000, 0x10000000};
    const StyleFlag pushButton{"BS_PUSHBUTTON", 0xF, 0x0};
    const StyleFlag checkBox{"BS_CHECKBOX", 0xF, 0x2};
    const StyleFlag radio{"BS_AUTORADIOBUTTON", 0xF, 0x9};
    const struct {
        std::uint32_t number;
        const StyleFlag& flag;
        bool tick;
        std::uint32_t result;
    } steps[] = {
        {0x50000000, visible, false, 0x40000000},
        {0x40000000, visible, true, 0x50000000},
        {0x50000000, visible, true, 0x50000000},
        {0x40000000, visible, false, 0x40000000},
        // A field's choices replace each other; unticking returns the field to 0.
        {0x50000000, checkBox, true, 0x50000002},
        {0x50000002, radio, true, 0x50000009},
        {0x50000009, radio, false, 0x50000000},
        {0x50000009, checkBox, false, 0x50000009},
        {0x50000009, pushButton, true, 0x50000000},
        {0x50000000, pushButton, false, 0x50000000},
    };
    for (const auto& s : steps) {
        const std::uint32_t result = WithTick(s.number, s.flag, s.tick);
        EXPECT_EQ(result, s.result) << s.flag.name << " " << s.tick << " on " << std::hex << s.number;
        // A typed number ticks the flags it holds: the one just ticked among them.
        if (s.tick) EXPECT_TRUE(IsTicked(s.flag, result)) << s.flag.name;
    }
    EXPECT_TRUE(IsTicked(pushButton, 0x50010000));
    EXPECT_FALSE(IsTicked(checkBox, 0x50000003));
    // Every offered flag of a window ticks exactly when its name reads in the text.
    for (std::uint32_t number : {0x50010000u, 0x4000AF29u, 0x14CF0003u}) {
        const std::string text = " " + StyleFlagsText("Button", number) + " ";
        for (const StyleFlag& f : StyleTickFlags("Button", number)) {
            const bool inText = text.find(" " + std::string(f.name) + " ") != std::string::npos;
            const bool underCombined = (number & 0x00CF0000) == 0x00CF0000 && (f.mask & 0x00CF0000) != 0;
            EXPECT_EQ(IsTicked(f, number), inText || underCombined) << f.name << " " << std::hex << number;
        }
    }
}

}  // namespace
}  // namespace vantrel
