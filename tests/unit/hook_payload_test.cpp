// The message details' contract and the hook library's payload rule: one
// layout whatever the writer's bitness, which control a class is, which
// messages carry which structure and when it is copied, and how a text is cut.

#include "hooklib/hook_channel.h"
#include "hooklib/hook_payload.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using vantrel::PayloadKind;
using vantrel::hook::ControlFamily;
using vantrel::hook::kPayloadBefore;
using vantrel::hook::kPayloadOnReturn;

TEST(HookDetailsLayout, FollowsTheLibrarysHeaderAndKeepsItsOffsets) {
    // The library's header (its own words) fits before the details.
    EXPECT_EQ(vantrel::kDetailsOffset % 8, 0u);
    EXPECT_EQ(vantrel::kReturnRingOffset, vantrel::kDetailsOffset + 832);
    // The ring of returns follows the details: 32 entries of 32 bytes and a report's details.
    EXPECT_EQ(vantrel::kDetailsObjectSize, vantrel::kReturnRingOffset + 32 * (32 + 832));
    EXPECT_EQ(offsetof(vantrel::MessageDetails, mark), 12u);
    EXPECT_EQ(offsetof(vantrel::MessageDetails, result), 32u);
    EXPECT_EQ(offsetof(vantrel::MessageDetails, senderClass), 40u + 2 * vantrel::kDetailClassUnits);
    EXPECT_EQ(std::string_view(vantrel::kDetailsMappingName).substr(0, 27), "Vantrel - Message details {");
    EXPECT_NE(std::string_view(vantrel::kDetailsMappingName), std::string_view(vantrel::kHookMappingName));
}

TEST(HookPayloadRule, ClassNamesAreKnownWithoutRegardToCaseInEitherCharacterType) {
    struct Case {
        std::u16string name;
        ControlFamily family;
    } cases[] = {
        {u"Edit", ControlFamily::Edit},           {u"EDIT", ControlFamily::Edit},
        {u"RichEdit20W", ControlFamily::RichEdit}, {u"ComboLBox", ControlFamily::ListBox},
        {u"SysTreeView32", ControlFamily::TreeView}, {u"systreeview32", ControlFamily::TreeView},
        {u"msctls_updown32", ControlFamily::UpDown}, {u"ToolbarWindow32", ControlFamily::ToolBar},
        {u"#32770", ControlFamily::None},          {u"Edit2", ControlFamily::None},
        {u"", ControlFamily::None},                {u"\u0395dit", ControlFamily::None},  // a Greek capital E
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vantrel::hook::FamilyOfClass(std::u16string_view(c.name)), c.family);
        std::string narrow;
        for (char16_t unit : c.name) narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
        if (narrow.find('?') == std::string::npos)
            EXPECT_EQ(vantrel::hook::FamilyOfClass(std::string_view(narrow)), c.family);
    }
}

TEST(HookPayloadRule, MessagesCarryTheirStructureBeforeTheCallOnReturnOrBoth) {
    using vantrel::hook::PayloadRuleFor;
    using vantrel::hook::TextCharset;
    using vantrel::hook::TextEnd;
    const std::uint8_t both = kPayloadBefore | kPayloadOnReturn;
    struct Case {
        std::uint32_t message;
        ControlFamily family;
        std::uint32_t style;
        PayloadKind kind;
        std::uint8_t when;
    } cases[] = {
        {0x000C, ControlFamily::None, 0, PayloadKind::Text, kPayloadBefore},            // WM_SETTEXT
        {0x000D, ControlFamily::None, 0, PayloadKind::Text, kPayloadOnReturn},          // WM_GETTEXT
        {0x001A, ControlFamily::None, 0, PayloadKind::Text, kPayloadBefore},            // WM_SETTINGCHANGE
        {0x0001, ControlFamily::None, 0, PayloadKind::CreateStruct, kPayloadBefore},    // WM_CREATE
        {0x0081, ControlFamily::Edit, 0, PayloadKind::CreateStruct, kPayloadBefore},    // WM_NCCREATE
        {0x0046, ControlFamily::None, 0, PayloadKind::WindowPos, both},                 // WM_WINDOWPOSCHANGING
        {0x0047, ControlFamily::None, 0, PayloadKind::WindowPos, kPayloadBefore},       // WM_WINDOWPOSCHANGED
        {0x0024, ControlFamily::None, 0, PayloadKind::MinMaxInfo, kPayloadOnReturn},    // WM_GETMINMAXINFO
        {0x0083, ControlFamily::None, 0, PayloadKind::NcCalcSize, both},                // WM_NCCALCSIZE
        {0x007C, ControlFamily::None, 0, PayloadKind::StyleStruct, both},               // WM_STYLECHANGING
        {0x002B, ControlFamily::None, 0, PayloadKind::DrawItem, kPayloadBefore},        // WM_DRAWITEM
        {0x002C, ControlFamily::None, 0, PayloadKind::MeasureItem, kPayloadOnReturn},   // WM_MEASUREITEM
        {0x004A, ControlFamily::None, 0, PayloadKind::CopyData, kPayloadBefore},        // WM_COPYDATA
        {0x0053, ControlFamily::None, 0, PayloadKind::HelpInfo, kPayloadBefore},        // WM_HELP
        {0x0214, ControlFamily::None, 0, PayloadKind::Rect, both},                      // WM_SIZING
        {0x004E, ControlFamily::None, 0, PayloadKind::NotifyHeader, both},              // WM_NOTIFY
        {0x0005, ControlFamily::None, 0, PayloadKind::None, 0},                         // WM_SIZE: values only
        {0x00C2, ControlFamily::Edit, 0, PayloadKind::Text, kPayloadBefore},            // EM_REPLACESEL
        {0x00C2, ControlFamily::None, 0, PayloadKind::None, 0},                         // the same number elsewhere
        {0x0180, ControlFamily::ListBox, 0, PayloadKind::Text, kPayloadBefore},         // LB_ADDSTRING
        {0x0180, ControlFamily::ListBox, 0x0010, PayloadKind::None, 0},                 // owner-drawn: item data
        {0x0180, ControlFamily::ListBox, 0x0050, PayloadKind::Text, kPayloadBefore},    // owner-drawn with strings
        {0x0148, ControlFamily::ComboBox, 0, PayloadKind::Text, kPayloadOnReturn},      // CB_GETLBTEXT
        {0x0401, ControlFamily::StatusBar, 0, PayloadKind::Text, kPayloadBefore},       // SB_SETTEXTA
        {0x0401, ControlFamily::ToolBar, 0, PayloadKind::None, 0},                      // TB_ENABLEBUTTON
    };
    for (const Case& c : cases) {
        const auto rule = PayloadRuleFor(c.message, c.family, c.style);
        EXPECT_EQ(rule.kind, c.kind) << std::hex << c.message;
        EXPECT_EQ(rule.when, c.when) << std::hex << c.message;
    }
    EXPECT_EQ(PayloadRuleFor(0x000D, ControlFamily::None, 0).end, TextEnd::Result);
    EXPECT_EQ(PayloadRuleFor(0x000C, ControlFamily::None, 0).end, TextEnd::Zero);
    EXPECT_EQ(PayloadRuleFor(0x040B, ControlFamily::StatusBar, 0).charset, TextCharset::Wide);   // SB_SETTEXTW
    EXPECT_EQ(PayloadRuleFor(0x1501, ControlFamily::Edit, 0).charset, TextCharset::Wide);        // EM_SETCUEBANNER
}

TEST(HookPayloadRule, NotificationFormsFollowTheCodeAndTheSender) {
    using vantrel::hook::NotifyPayloadRule;
    // Codes as the SDK counts them down from each control's first code.
    const auto code = [](int first, int offset) { return static_cast<std::uint32_t>(first - offset); };
    struct Case {
        std::uint32_t code;
        ControlFamily sender;
        PayloadKind kind;
    } cases[] = {
        {code(0, 2), ControlFamily::ListView, PayloadKind::NotifyListView},       // NM_CLICK: NMITEMACTIVATE
        {code(0, 2), ControlFamily::ToolBar, PayloadKind::NotifyMouse},           // NM_CLICK: NMMOUSE
        {code(0, 2), ControlFamily::TreeView, PayloadKind::NotifyHeader},         // NM_CLICK: NMHDR
        {code(0, 12), ControlFamily::TreeView, PayloadKind::NotifyCustomDraw},    // NM_CUSTOMDRAW
        {code(0, 15), ControlFamily::None, PayloadKind::NotifyKeyDown},           // NM_KEYDOWN
        {code(0, 18), ControlFamily::ToolBar, PayloadKind::NotifyChar},           // NM_CHAR
        {code(-100, 1), ControlFamily::ListView, PayloadKind::NotifyListView},    // LVN_ITEMCHANGED
        {code(-100, 55), ControlFamily::ListView, PayloadKind::NotifyKeyDown},    // LVN_KEYDOWN
        {code(-100, 77), ControlFamily::ListView, PayloadKind::NotifyListViewItem},  // LVN_GETDISPINFOW
        {code(-100, 13), ControlFamily::ListView, PayloadKind::NotifyHeader},     // LVN_ODCACHEHINT: another form
        {code(-400, 51), ControlFamily::TreeView, PayloadKind::NotifyTreeView},   // TVN_SELCHANGEDW
        {code(-400, 59), ControlFamily::TreeView, PayloadKind::NotifyTreeViewItem},  // TVN_BEGINLABELEDITW
        {code(-400, 51), ControlFamily::ListView, PayloadKind::NotifyHeader},     // the same code from a list view
        {code(-300, 21), ControlFamily::Header, PayloadKind::NotifyHeaderItem},   // HDN_ITEMCHANGEDW
        {code(-550, 0), ControlFamily::Tab, PayloadKind::NotifyKeyDown},          // TCN_KEYDOWN
        {code(-700, 10), ControlFamily::ToolBar, PayloadKind::NotifyToolBar},     // TBN_DROPDOWN
        {code(-721, 1), ControlFamily::UpDown, PayloadKind::NotifyUpDown},        // UDN_DELTAPOS
        {code(-700, 22), ControlFamily::ToolBar, PayloadKind::NotifyHeader},      // TBN_SAVE, the same number
    };
    for (const Case& c : cases) {
        const auto rule = NotifyPayloadRule(c.code, c.sender);
        EXPECT_EQ(rule.kind, c.kind) << static_cast<int>(c.code);
        EXPECT_EQ(rule.when, kPayloadBefore | kPayloadOnReturn);
    }
}

TEST(HookPayloadRule, TextsAreCutAtTheirBoundWithoutSplittingACharacter) {
    vantrel::DetailText<4> text{};
    vantrel::hook::StoreText(text, u"abc", false);
    EXPECT_EQ(text.length, 3u);
    EXPECT_EQ(text.flags, 0u);
    vantrel::hook::StoreText(text, u"abc", true);  // the reader stopped before the end
    EXPECT_EQ(text.flags, vantrel::kTextCut);
    vantrel::hook::StoreText(text, u"abcdef", false);
    EXPECT_EQ(std::u16string_view(text.units, text.length), u"abcd");
    EXPECT_EQ(text.flags, vantrel::kTextCut);
    vantrel::hook::StoreText(text, u"abc\U0001F600", false);  // the pair would not fit whole
    EXPECT_EQ(std::u16string_view(text.units, text.length), u"abc");
    EXPECT_EQ(text.flags, vantrel::kTextCut);
    vantrel::hook::StoreText(text, u"ab\U0001F600", false);  // it fits exactly
    EXPECT_EQ(text.length, 4u);
    EXPECT_EQ(text.flags, 0u);
}

}  // namespace
