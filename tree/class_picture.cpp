#include "tree/class_picture.h"

#include "base/text.h"

#include <array>
#include <initializer_list>

namespace vantrel {

namespace {

struct KeywordTest {
    std::initializer_list<std::string_view> keywords;
    int image;
};

// In test order; a later hit replaces an earlier one.
const std::array<KeywordTest, 36>& KeywordTests() {
    static const std::array<KeywordTest, 36> tests = {{
        {{"WINDOW", "FORM", "WND", "WIN"}, 32},
        {{"TRAY", "TASK"}, 30},
        {{"COMBO"}, 6},
        {{"MENU"}, 33},
        {{"EDIT"}, 8},
        {{"HEADER"}, 34},
        {{"APPLICATION"}, 1},
        {{"BITBTN"}, 2},
        {{"BUTTON"}, 3},
        {{"CHECKBOX"}, 4},
        {{"CHECKLIST"}, 5},
        {{"CONTROLBAR", "REBAR"}, 7},
        {{"GRID", "TABLE"}, 9},
        {{"GROUPBOX"}, 10},
        {{"HOTKEY"}, 11},
        {{"LISTBOX"}, 12},
        {{"LISTVIEW"}, 13},
        {{"MASKEDIT"}, 14},
        {{"MEMO"}, 15},
        {{"PAGECONTROL"}, 16},
        {{"PANEL"}, 17},
        {{"PROGRESSBAR"}, 18},
        {{"RADIOBUTTON"}, 19},
        {{"RADIOGROUP"}, 20},
        {{"RICHEDIT"}, 21},
        {{"SCROLLBAR"}, 22},
        {{"SCROLLER"}, 35},
        {{"SCROLLBOX"}, 23},
        {{"SPEEDBUTTON"}, 24},
        {{"STATIC"}, 25},
        {{"STATUSBAR"}, 26},
        {{"TABCONTROL", "PALETTE"}, 27},
        {{"TASKBAR"}, 28},
        {{"TOOLBAR"}, 29},
        {{"TREE"}, 31},
        {{"HINT", "TOOLTIP"}, 36},
    }};
    return tests;
}

}  // namespace

int PictureForClass(std::string_view className, bool isRoot) {
    const std::string upper = LatinUpper(className);
    int image = isRoot ? kRootDefaultImage : kChildDefaultImage;
    for (const KeywordTest& test : KeywordTests()) {
        for (std::string_view keyword : test.keywords) {
            if (upper.find(keyword) != std::string::npos) {
                image = test.image;
                break;
            }
        }
    }
    return image;
}

}  // namespace vantrel
