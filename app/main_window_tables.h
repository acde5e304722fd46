#pragma once
// The main window's command tables: its menu bar, tool bar and the property
// list's pop-up menu, from which the kit builds the real menus, tool bar and
// shortcuts.

#include "shell/command_table.h"

#include <vector>

namespace vantrel {

const std::vector<MenuSpec>& MainMenuTable();
const std::vector<ToolButtonSpec>& MainToolBarTable();
const std::vector<MenuItemSpec>& PropertyPopupTable();

}  // namespace vantrel
