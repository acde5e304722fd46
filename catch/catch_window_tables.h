#pragma once
// The Catch Messages window's menu bar and tool bar as tables, and how its
// six category switches meet their buttons and menu items.

#include "catch/catch_log.h"
#include "shell/command_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {


const std::vector<MenuSpec>& CatchMenuTable();
const std::vector<ToolButtonSpec>& CatchToolBarTable();

// One category switch with its check button and its "&Messages" item.
struct CategoryControls {
    Category category;
    int toolButton;  // command of the check button
    int menuItem;    // command of the menu item
};
const CategoryControls (&CategoryTable())[kCategoryCount];

// The category of a check button or menu item command, if it is one.
const CategoryControls* CategoryOfCommand(int command);

// The Watch choice's radio items, one per watch the hook library knows, in
// its order: the watch of an item's command, and the item of a watch.
std::optional<HookWatch> WatchOfCommand(int command);
int WatchCommand(HookWatch watch);

// The box of a Start that failed: "Unable to set hook\r(VANTREL.DLL)" and,
// when the hook library named the reason (SetMyHook's last-error code, a
// HookFailure), one plain sentence under it. When the watched program runs
// with higher rights than Vantrel, Windows keeps the library out of it
// whatever the code says, and the sentence says so.
std::string StartFailureText(std::uint32_t lastError, bool higherRights = false);
// The library's sentence alone; "" for a code it does not name.
std::string HookFailureReason(std::uint32_t lastError);

}  // namespace vantrel
