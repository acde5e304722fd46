#pragma once
// Menus, tool bars and shortcuts described as tables, the way a reader finds
// them in the window layouts: caption, shortcut, hint, image, command. The
// Win32 layer builds the real menus, tool bars and accelerators from them.

#include <optional>
#include <string_view>
#include <vector>

namespace vantrel {

inline constexpr int kNoImage = -1;

// One menu item; the caption "-" is a separator line.
struct MenuItemSpec {
    std::string_view caption;
    int command = 0;
    std::string_view shortcut;  // "Ctrl+F", "F3", "Ctrl+Ins" or empty
    std::string_view hint;
    int image = kNoImage;
    bool hidden = false;
    bool checked = false;   // check mark at start
    bool disabled = false;  // disabled at start
    bool radio = false;     // member of a radio group with its neighbours
};

struct MenuSpec {
    std::string_view caption;
    std::vector<MenuItemSpec> items;
    std::string_view shortcut;  // a shortcut of the menu title itself
};

enum class ToolKind { Separator, Button, Check };

struct ToolButtonSpec {
    std::string_view name;  // ToolButton1 ...
    ToolKind kind = ToolKind::Button;
    int width = 0;          // separators only
    int command = 0;
    std::string_view hint;
    int image = kNoImage;
    bool pressed = false;   // check buttons: pressed at start
    bool disabled = false;
};

// A keyboard shortcut as a virtual key with modifiers.
struct Shortcut {
    int key = 0;  // virtual-key code
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

// "Ctrl+F" -> {'F', ctrl}; "F3" -> {VK_F3}; "Ctrl+Ins" -> {VK_INSERT, ctrl}.
std::optional<Shortcut> ParseShortcut(std::string_view text);

// Finds the menu item of a command in a menu table (nullptr if none).
const MenuItemSpec* FindMenuItem(const std::vector<MenuSpec>& menus, int command);

}  // namespace vantrel
