// The main window's menus, tool bar and pop-up menu.

#include "app/main_window_tables.h"

#include "shell/command_ids.h"

namespace vantrel {

using namespace cmd;

const std::vector<MenuSpec>& MainMenuTable() {
    static const std::vector<MenuSpec> table = {
        {"Viewe&r", {
            // caption              command           shortcut  hint             image
            {"&Find window...",     FindWindow1,      "Ctrl+F", "Find window",   1},
            {"Find &next",          Findnext1,        "F3",     "Find next",     2},
            {"-"},
            {"Window from &point",  Windowfrompoint1, "F4",     "",              kNoImage},
            {"-"},
            {"&Refresh",            Refresh1,         "F5",     "Refresh",       0},
            {"-"},
            {"&Exit",               Exit1,            "",       "",              kNoImage},
        }},
        {"&View", {
            {"&Decimal",            Decimal,          "",       "",              kNoImage, false, true, false, true},
            {"&Hexadecimal",        Hexadecimal,      "",       "",              kNoImage, false, false, false, true},
            {"-"},
            {"Copy &all properties", CopyAll1,        "Ctrl+Shift+C", "",        kNoImage},
        }},
        {"&Window", {
            {"Show &position",      Showposition1,    "",       "Show position", 11},
            {"C&lear pointers",     Clearpointers1,   "",       "Clear pointers", 16},
            {"-"},
            {"&Show",               Show1,            "",       "",              3},
            {"&Enable",             Enable1,          "",       "",              4},
            {"Stay on &top",        Stayontop1,       "",       "",              5},
            {"-"},
            {"Edit / &Move...",     EditMove1,        "",       "Edit / Move",   6},
            {"Set st&yle...",       SetStyle1,        "",       "",              kNoImage, /*hidden*/ true},
            {"C&atch messages...",  Catchmessages1,   "",       "Catch messages", 17},
            {"-"},
            {"Mi&nimize",           Minimize1,        "",       "",              7},
            {"&Restore",            Restore1,         "",       "",              8},
            {"Ma&ximize",           Maximize1,        "",       "",              9},
            {"-"},
            {"&Close",              Close1,           "",       "Close",         10},
        }},
        {"&Help", {
            {"&About",              About1,           "F1",     "",              kNoImage},
        }},
    };
    return table;
}

const std::vector<ToolButtonSpec>& MainToolBarTable() {
    using enum ToolKind;
    static const std::vector<ToolButtonSpec> table = {
        // name            kind       width command         hint              image
        {"ToolButton1",  Separator, 8},
        {"ToolButton2",  Button,    0,  Refresh1,       "Refresh",        0},
        {"ToolButton15", Separator, 18},
        {"ToolButton16", Button,    0,  FindWindow1,    "Find window",    1},
        {"ToolButton17", Button,    0,  Findnext1,      "Find next",      2},
        {"ToolButton3",  Separator, 18},
        {"ToolButton18", Button,    0,  Showposition1,  "Show position",  11},
        {"ToolButton20", Button,    0,  Clearpointers1, "Clear pointers", 16},
        {"ToolButton19", Separator, 6},
        {"ToolButton4",  Check,     0,  Show1,          "",               3},  // hint set with the property list
        {"ToolButton5",  Check,     0,  Enable1,        "",               4},
        {"ToolButton12", Check,     0,  Stayontop1,     "",               5},
        {"ToolButton13", Separator, 4},
        {"ToolButton14", Button,    0,  EditMove1,      "Edit / Move",    6},
        {"ToolButton21", Button,    0,  Catchmessages1, "Catch messages", 17},
        {"ToolButton11", Separator, 6},
        {"ToolButton8",  Check,     0,  Minimize1,      "Minimize",       7},
        {"ToolButton10", Check,     0,  Restore1,       "Restore",        8},
        {"ToolButton9",  Check,     0,  Maximize1,      "Maximize",       9},
        {"ToolButton7",  Separator, 4},
        {"ToolButton6",  Button,    0,  Close1,         "Close",          10},
    };
    return table;
}

const std::vector<MenuItemSpec>& PropertyPopupTable() {
    static const std::vector<MenuItemSpec> table = {
        {"&Copy value", Copy1,    "Ctrl+Ins",     "", kNoImage},
        {"Copy &all",   CopyAll1, "Ctrl+Shift+C", "", kNoImage},
    };
    return table;
}

}  // namespace vantrel
