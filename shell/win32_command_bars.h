#pragma once
// Builds real menus, accelerators, tool bars and image lists from the
// command tables of shell/command_table.h.

#include "base/dpi.h"
#include "platform/win32_handles.h"
#include "resources/resource_names.h"
#include "shell/command_table.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace vantrel::win32 {

// An image list from a bitmap strip resource whose magenta (255,0,255)
// pixels are transparent. Without the resource, a list of blank images.
ImageListHandle LoadImageStrip(const char* resourceName, int size, int count);
// The image list of a strip drawn for the image scale nearest to dpi.
ImageListHandle LoadImageStrip(const resources::ImageStrip (&strips)[3], int dpi);

// Menu bar and pop-up menus. Item images are drawn from the image list into
// bitmaps with transparency, which the caller keeps for the menu's lifetime.
MenuHandle BuildMenuBar(const std::vector<MenuSpec>& menus, HIMAGELIST images, std::vector<BitmapHandle>& bitmaps);
MenuHandle BuildPopupMenu(const std::vector<MenuItemSpec>& items, HIMAGELIST images,
                          std::vector<BitmapHandle>& bitmaps);

// The accelerator table of every item shortcut in the menus and pop-ups.
AcceleratorHandle BuildAccelerators(const std::vector<MenuSpec>& menus,
                                    const std::vector<MenuItemSpec>& popupItems = {});

// Puts new images into a menu's items (after the screen scale changed): the
// items of the tables that have an image, found by command. The new bitmaps
// are added to fresh; the caller lets the old ones go once every menu holds
// its new ones.
void ReplaceMenuBitmaps(HMENU menu, const std::vector<MenuSpec>& menus, const std::vector<MenuItemSpec>& popupItems,
                        HIMAGELIST images, std::vector<BitmapHandle>& fresh);

// A tool bar with the table's buttons, as a child of parent. Hints of the
// buttons go into hints (by command) for the tool tips. Button size and
// separator widths are measures at 96 pixels per inch, scaled by scale.
HWND BuildToolBar(HWND parent, int id, const std::vector<ToolButtonSpec>& buttons, HIMAGELIST images,
                  int buttonWidth, int buttonHeight, std::map<int, std::string>& hints, DpiScale scale = {});
// Gives a tool bar built from the table new images, button size and separator
// widths for another scale; every button keeps its state (pressed, enabled).
void RescaleToolBar(HWND bar, const std::vector<ToolButtonSpec>& buttons, HIMAGELIST images, int buttonWidth,
                    int buttonHeight, DpiScale scale);

// Answers a tool bar's request for a tool tip text from hints; true if the
// notification was one.
bool AnswerToolTip(NMHDR* header, const std::map<int, std::string>& hints);

// Sets a menu item's check mark by command.
void CheckMenuCommand(HMENU menu, int command, bool checked);
bool IsMenuCommandChecked(HMENU menu, int command);
void EnableMenuCommand(HMENU menu, int command, bool enabled);

}  // namespace vantrel::win32
