// The general error report's text and the main window's command tables.

#include "app/main_window_tables.h"
#include "app/program_version.h"
#include "shell/command_ids.h"
#include "shell/command_table.h"
#include "shell/error_report.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace vantrel {
namespace {

TEST(ErrorReport, FullStopUnlessTheLastCharacterSortsAtOrBeforeIt) {
    EXPECT_EQ(ErrorReportText("Stream write error"), "Stream write error.");
    EXPECT_EQ(ErrorReportText("'x' is not a valid integer value"), "'x' is not a valid integer value.");
    EXPECT_EQ(ErrorReportText("Done."), "Done.");
    EXPECT_EQ(ErrorReportText("Stop!"), "Stop!");
    EXPECT_EQ(ErrorReportText("trailing space "), "trailing space ");
    EXPECT_EQ(ErrorReportText("a-"), "a-");            // '-' sorts before '.'
    EXPECT_EQ(ErrorReportText("path /"), "path /.");   // '/' sorts after '.'
    EXPECT_EQ(ErrorReportText("caf\xe9"), "caf\xe9.");  // 8-bit characters sort after '.'
    EXPECT_EQ(ErrorReportText(""), "");
}

// A version resource laid out as the resource compiler writes it: header
// words, the key, padding, then the fixed information (signature, structure
// version, file version, product version 2.3.0.4).
TEST(ProgramVersion, ReadsTheProductVersionFromTheResourceBytes) {
    std::string bytes(40, '\0');
    const std::uint32_t fixed[] = {0xFEEF04BD, 0x00010000, 0x00020003, 0x00000000, 0x00020003, 0x00000004};
    for (std::uint32_t word : fixed)
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(word >> (8 * i)));
    EXPECT_EQ(ProductVersionOf(bytes), "2.3.0.4");
    bytes[40] = 0;  // no signature: no version
    EXPECT_EQ(ProductVersionOf(bytes), "");
    EXPECT_EQ(ProductVersionOf(bytes.substr(0, 50)), "");
}

TEST(ProgramVersion, TrailingZeroPartsGoDownToTwo) {
    EXPECT_EQ(VersionText(2, 2, 0, 0), "2.2");
    EXPECT_EQ(VersionText(2, 0, 0, 0), "2.0");
    EXPECT_EQ(VersionText(2, 2, 1, 0), "2.2.1");
    EXPECT_EQ(VersionText(2, 2, 0, 3), "2.2.0.3");
    EXPECT_EQ(VersionText(10, 12, 65535, 1), "10.12.65535.1");
}

TEST(Shortcuts, ParseTheTablesForms) {
    EXPECT_EQ(ParseShortcut("Ctrl+F"), (Shortcut{'F', true, false, false}));
    EXPECT_EQ(ParseShortcut("F3"), (Shortcut{0x72}));
    EXPECT_EQ(ParseShortcut("F1"), (Shortcut{0x70}));
    EXPECT_EQ(ParseShortcut("Ctrl+Ins"), (Shortcut{0x2D, true}));
    EXPECT_EQ(ParseShortcut("Ctrl+N"), (Shortcut{'N', true}));
    EXPECT_FALSE(ParseShortcut(""));
    EXPECT_FALSE(ParseShortcut("F0"));
    EXPECT_FALSE(ParseShortcut("Ctrl+"));
    EXPECT_FALSE(ParseShortcut("Hyper+F"));
}

TEST(MainMenu, ItemsShortcutsImagesAndTheHiddenSetStyle) {
    const auto& menus = MainMenuTable();
    ASSERT_EQ(menus.size(), 4u);
    EXPECT_EQ(menus[0].caption, "Viewe&r");
    EXPECT_EQ(menus[1].caption, "&View");
    EXPECT_EQ(menus[2].caption, "&Window");
    EXPECT_EQ(menus[3].caption, "&Help");
    const MenuItemSpec* find = FindMenuItem(menus, cmd::FindWindow1);
    ASSERT_TRUE(find);
    EXPECT_EQ(find->caption, "&Find window...");
    EXPECT_EQ(find->shortcut, "Ctrl+F");
    EXPECT_EQ(find->image, 1);
    EXPECT_EQ(FindMenuItem(menus, cmd::Windowfrompoint1)->shortcut, "F4");
    EXPECT_EQ(FindMenuItem(menus, cmd::Refresh1)->shortcut, "F5");
    EXPECT_EQ(FindMenuItem(menus, cmd::About1)->shortcut, "F1");
    const MenuItemSpec* setStyle = FindMenuItem(menus, cmd::SetStyle1);
    ASSERT_TRUE(setStyle);
    EXPECT_TRUE(setStyle->hidden);
    EXPECT_EQ(setStyle->caption, "Set st&yle...");
    // Only Set style is hidden, and Decimal starts checked in its radio group.
    int hidden = 0;
    for (const auto& m : menus)
        for (const auto& i : m.items) hidden += i.hidden;
    EXPECT_EQ(hidden, 1);
    EXPECT_TRUE(FindMenuItem(menus, cmd::Decimal)->checked);
    EXPECT_FALSE(FindMenuItem(menus, cmd::Hexadecimal)->checked);
    // The Window menu in order, separators included.
    std::vector<std::string_view> window;
    for (const auto& i : menus[2].items) window.push_back(i.caption);
    const std::vector<std::string_view> expected = {"Show &position", "C&lear pointers", "-", "&Show", "&Enable",
        "Stay on &top", "-", "Edit / &Move...", "Set st&yle...", "C&atch messages...", "-", "Mi&nimize",
        "&Restore", "Ma&ximize", "-", "&Close"};
    EXPECT_EQ(window, expected);
    EXPECT_EQ(PropertyPopupTable().at(0).caption, "&Copy value");
    EXPECT_EQ(PropertyPopupTable().at(0).shortcut, "Ctrl+Ins");
}

TEST(MainMenu, CopyAllComesAfterTheItemsOfItsMenusWithAShortcutOfItsOwn) {
    const auto& view = MainMenuTable()[1].items;
    ASSERT_EQ(view.size(), 4u);
    EXPECT_EQ(view[1].caption, "&Hexadecimal");
    EXPECT_EQ(view[2].caption, "-");
    EXPECT_EQ(view[3].command, cmd::CopyAll1);
    ASSERT_EQ(PropertyPopupTable().size(), 2u);
    EXPECT_EQ(PropertyPopupTable()[1].command, cmd::CopyAll1);
    EXPECT_EQ(PropertyPopupTable()[1].shortcut, view[3].shortcut);
    EXPECT_EQ(ParseShortcut(view[3].shortcut), (Shortcut{'C', true, true}));
    // No two commands share a shortcut.
    std::map<std::string_view, int> owners;
    auto items = PropertyPopupTable();
    for (const auto& m : MainMenuTable()) items.insert(items.end(), m.items.begin(), m.items.end());
    for (const auto& i : items)
        if (!i.shortcut.empty())
            EXPECT_EQ(owners.emplace(i.shortcut, i.command).first->second, i.command) << i.shortcut;
}

TEST(MainToolBar, ButtonsSeparatorsHintsAndImages) {
    const auto& bar = MainToolBarTable();
    ASSERT_EQ(bar.size(), 21u);
    int separatorWidth = 0;
    std::set<int> images;
    for (const auto& b : bar) {
        if (b.kind == ToolKind::Separator) {
            separatorWidth += b.width;
            continue;
        }
        images.insert(b.image);
        // A button bound to a menu item takes that item's image and hint.
        if (const MenuItemSpec* item = FindMenuItem(MainMenuTable(), b.command)) {
            EXPECT_EQ(item->image, b.image) << b.name;
            if (!item->hint.empty()) EXPECT_EQ(item->hint, b.hint) << b.name;
        }
    }
    EXPECT_EQ(separatorWidth, 8 + 18 + 18 + 6 + 4 + 6 + 4);
    EXPECT_EQ(images, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17}));
    EXPECT_EQ(bar[1].name, "ToolButton2");
    EXPECT_EQ(bar[1].hint, "Refresh");
    EXPECT_EQ(bar[9].kind, ToolKind::Check);
    EXPECT_EQ(bar[9].command, cmd::Show1);
    EXPECT_EQ(bar[16].hint, "Minimize");
    EXPECT_EQ(bar[20].name, "ToolButton6");
    EXPECT_EQ(bar[20].command, cmd::Close1);
}

}  // namespace
}  // namespace vantrel
