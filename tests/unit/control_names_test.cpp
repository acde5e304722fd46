// Names in the controls' own terms, family by family, against numbers
// written as the SDK's headers define them (each control's first number plus
// an offset), independently of the tables in the product.

#include "catch/control_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace {

using vantrel::ControlFamily;

constexpr std::uint32_t kWmUser = 0x0400, kLvFirst = 0x1000, kTvFirst = 0x1100, kHdmFirst = 0x1200,
                        kTcmFirst = 0x1300, kEcmFirst = 0x1500, kBcmFirst = 0x1600, kCbmFirst = 0x1700,
                        kCcmFirst = 0x2000;

struct Case {
    ControlFamily family;
    std::uint32_t number;
    std::string_view name;
};

TEST(ControlNames, ControlMessagesByTheClassOfTheWindowTheyGoTo) {
    const Case cases[] = {
        {ControlFamily::Edit, 0x00B1, "EM_SETSEL"},         {ControlFamily::Edit, 0x00C2, "EM_REPLACESEL"},
        {ControlFamily::Edit, 0x00DA, "EM_ENABLEFEATURE"},  {ControlFamily::Edit, kEcmFirst + 1, "EM_SETCUEBANNER"},
        {ControlFamily::RichEdit, 0x00B1, "EM_SETSEL"},     {ControlFamily::RichEdit, kWmUser + 55, "EM_EXSETSEL"},
        {ControlFamily::Button, 0x00F5, "BM_CLICK"},        {ControlFamily::Button, kBcmFirst + 1, "BCM_GETIDEALSIZE"},
        {ControlFamily::ListBox, 0x0180, "LB_ADDSTRING"},   {ControlFamily::ListBox, 0x01A2, "LB_FINDSTRINGEXACT"},
        {ControlFamily::ComboBox, 0x0143, "CB_ADDSTRING"},  {ControlFamily::ComboBox, kCbmFirst + 3, "CB_SETCUEBANNER"},
        {ControlFamily::Static, 0x0172, "STM_SETIMAGE"},    {ControlFamily::ScrollBar, 0x00E9, "SBM_SETSCROLLINFO"},
        {ControlFamily::TreeView, kTvFirst + 0, "TVM_INSERTITEMA"}, {ControlFamily::TreeView, kTvFirst + 50, "TVM_INSERTITEMW"},
        {ControlFamily::TreeView, kTvFirst + 10, "TVM_GETNEXTITEM"}, {ControlFamily::TreeView, kTvFirst + 62, "TVM_GETITEMW"},
        {ControlFamily::ListView, kLvFirst + 0, "LVM_GETBKCOLOR"}, {ControlFamily::ListView, kLvFirst + 77, "LVM_INSERTITEMW"},
        {ControlFamily::ListView, kLvFirst + 43, "LVM_SETITEMSTATE"}, {ControlFamily::ListView, kLvFirst + 54, "LVM_SETEXTENDEDLISTVIEWSTYLE"},
        {ControlFamily::Tab, kTcmFirst + 12, "TCM_SETCURSEL"}, {ControlFamily::Tab, kTcmFirst + 62, "TCM_INSERTITEMW"},
        {ControlFamily::Header, kHdmFirst + 10, "HDM_INSERTITEMW"}, {ControlFamily::Header, kHdmFirst + 5, "HDM_LAYOUT"},
        {ControlFamily::ToolBar, kWmUser + 1, "TB_ENABLEBUTTON"}, {ControlFamily::ToolBar, kWmUser + 68, "TB_ADDBUTTONSW"},
        {ControlFamily::StatusBar, kWmUser + 1, "SB_SETTEXTA"}, {ControlFamily::StatusBar, kWmUser + 11, "SB_SETTEXTW"},
        {ControlFamily::Progress, kWmUser + 2, "PBM_SETPOS"}, {ControlFamily::Progress, kWmUser + 6, "PBM_SETRANGE32"},
        {ControlFamily::TrackBar, kWmUser, "TBM_GETPOS"},   {ControlFamily::TrackBar, kWmUser + 5, "TBM_SETPOS"},
        {ControlFamily::UpDown, kWmUser + 101, "UDM_SETRANGE"}, {ControlFamily::UpDown, kWmUser + 113, "UDM_SETPOS32"},
        {ControlFamily::ToolTips, kWmUser + 50, "TTM_ADDTOOLW"}, {ControlFamily::ToolTips, kWmUser + 24, "TTM_SETMAXTIPWIDTH"},
        // Every common control takes the CCM_* messages; the standard controls do not.
        {ControlFamily::TreeView, kCcmFirst + 5, "CCM_SETUNICODEFORMAT"}, {ControlFamily::ToolBar, kCcmFirst + 7, "CCM_SETVERSION"},
        {ControlFamily::Edit, kCcmFirst + 5, ""},           {ControlFamily::None, kWmUser + 1, ""},
        // A number means nothing to a class it does not belong to.
        {ControlFamily::Button, 0x00B1, ""},                {ControlFamily::ListView, kTvFirst + 50, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vantrel::ControlMessageName(c.family, c.number), c.name) << std::hex << c.number;
}

TEST(ControlNames, CommandAndNotificationCodesByTheClassOfTheSender) {
    const Case commands[] = {
        {ControlFamily::Edit, 0x0300, "EN_CHANGE"},    {ControlFamily::Edit, 0x0100, "EN_SETFOCUS"},
        {ControlFamily::RichEdit, 0x0400, "EN_UPDATE"}, {ControlFamily::Button, 0, "BN_CLICKED"},
        {ControlFamily::Button, 5, "BN_DOUBLECLICKED"}, {ControlFamily::ListBox, 1, "LBN_SELCHANGE"},
        {ControlFamily::ComboBox, 1, "CBN_SELCHANGE"}, {ControlFamily::ComboBox, 7, "CBN_DROPDOWN"},
        {ControlFamily::Static, 0, "STN_CLICKED"},     {ControlFamily::None, 0x0300, ""},
        {ControlFamily::TreeView, 1, ""},
    };
    for (const Case& c : commands) EXPECT_EQ(vantrel::CommandCodeName(c.family, c.number), c.name) << c.number;

    const auto code = [](int first, int offset) { return static_cast<std::uint32_t>(first - offset); };
    const Case notes[] = {
        {ControlFamily::ListView, code(0, 2), "NM_CLICK"},       {ControlFamily::Button, code(0, 12), "NM_CUSTOMDRAW"},
        {ControlFamily::ListView, code(-100, 1), "LVN_ITEMCHANGED"}, {ControlFamily::ListView, code(-100, 77), "LVN_GETDISPINFOW"},
        {ControlFamily::TreeView, code(-400, 51), "TVN_SELCHANGEDW"}, {ControlFamily::TreeView, code(-400, 12), "TVN_KEYDOWN"},
        {ControlFamily::Header, code(-300, 21), "HDN_ITEMCHANGEDW"}, {ControlFamily::Tab, code(-550, 1), "TCN_SELCHANGE"},
        {ControlFamily::ToolTips, code(-520, 10), "TTN_GETDISPINFOW"}, {ControlFamily::StatusBar, code(-880, 0), "SBN_SIMPLEMODECHANGE"},
        {ControlFamily::TrackBar, code(-1501, 1), "TRBN_THUMBPOSCHANGING"},
        // Tool bar and up-down codes share a number: the sender decides.
        {ControlFamily::ToolBar, code(-700, 22), "TBN_SAVE"},    {ControlFamily::UpDown, code(-721, 1), "UDN_DELTAPOS"},
        {ControlFamily::ToolBar, code(-700, 10), "TBN_DROPDOWN"},
        // An unknown sender (a control of another class name): the range
        // tells, where only one control's codes lie.
        {ControlFamily::None, code(-100, 1), "LVN_ITEMCHANGED"}, {ControlFamily::None, code(-400, 2), "TVN_SELCHANGEDA"},
        {ControlFamily::None, code(-721, 1), ""},                {ControlFamily::None, 12345, ""},
        // The same code from the wrong control names nothing.
        {ControlFamily::TreeView, code(-100, 1), ""},
    };
    for (const Case& c : notes)
        EXPECT_EQ(vantrel::NotifyCodeName(c.family, c.number), c.name) << static_cast<int>(c.number);
}

TEST(ControlNames, NumbersByNameForTypedEntries) {
    EXPECT_EQ(vantrel::ControlNameNumber("TVM_INSERTITEMW"), kTvFirst + 50);
    EXPECT_EQ(vantrel::ControlNameNumber("CCM_SETVERSION"), kCcmFirst + 7);
    EXPECT_EQ(vantrel::ControlNameNumber("LVN_ITEMCHANGED"), static_cast<std::uint32_t>(-101));
    EXPECT_EQ(vantrel::ControlNameNumber("tvm_insertitemw"), std::nullopt);  // exact names only
    EXPECT_EQ(vantrel::ControlNameNumber("WM_PAINT"), std::nullopt);         // MessageName's names are not here
    EXPECT_EQ(vantrel::FamilyOfClassName("SysListView32"), ControlFamily::ListView);
    EXPECT_EQ(vantrel::FamilyOfClassName("TListView"), ControlFamily::None);
}

}  // namespace
