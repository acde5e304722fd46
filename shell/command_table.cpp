#include "shell/command_table.h"

#include <string>

namespace vantrel {

namespace {

constexpr int kVkInsert = 0x2D;
constexpr int kVkF1 = 0x70;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::optional<Shortcut> ParseShortcut(std::string_view text) {
    if (text.empty()) return std::nullopt;
    Shortcut s;
    for (;;) {
        if (StartsWith(text, "Ctrl+")) { s.ctrl = true; text.remove_prefix(5); }
        else if (StartsWith(text, "Shift+")) { s.shift = true; text.remove_prefix(6); }
        else if (StartsWith(text, "Alt+")) { s.alt = true; text.remove_prefix(4); }
        else break;
    }
    if (text == "Ins") { s.key = kVkInsert; return s; }
    if (text.size() == 1 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= '0' && text[0] <= '9'))) {
        s.key = text[0];
        return s;
    }
    if (text.size() >= 2 && text.size() <= 3 && text[0] == 'F') {
        int n = 0;
        for (char c : text.substr(1)) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + (c - '0');
        }
        if (n < 1 || n > 24) return std::nullopt;
        s.key = kVkF1 + n - 1;
        return s;
    }
    return std::nullopt;
}

const MenuItemSpec* FindMenuItem(const std::vector<MenuSpec>& menus, int command) {
    for (const MenuSpec& menu : menus)
        for (const MenuItemSpec& item : menu.items)
            if (item.caption != "-" && item.command == command) return &item;
    return nullptr;
}

}  // namespace vantrel
