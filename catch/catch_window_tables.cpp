// The Catch Messages window's menus and tool bar.

#include "catch/catch_window_tables.h"

#include "shell/command_ids.h"

namespace vantrel {

using namespace cmd;

const std::vector<MenuSpec>& CatchMenuTable() {
    static const std::vector<MenuSpec> table = {
        {"&Catching", {
            // caption              command           shortcut  hint     image
            {"Sta&rt",              MenuCatchRun,     "F2",     "",      kImageStart},
            {"&Stop",               MenuCatchStop,    "F4",     "",      kImageStop, false, false, /*disabled*/ true},
            {"-"},
            {"&Hide repetitions",   Hiderepetitions1, "F8",     "",      kNoImage},
            {"-"},
            {"&Clear",              MenuCatchClear,   "Ctrl+N", "Clear", kImageClear},
            {"&Save as...",         MenuCatchSave,    "Ctrl+S", "",      kNoImage},
            {"-"},
            {"&Exit",               MenuCatchExit,    "",       "",      kNoImage},
        }, /*title shortcut*/ "F9"},
        {"&Messages", {
            {"&Timer",              MenuMessTimer,    "",       "",      kImageTimer,    false, /*checked*/ true},
            {"&Paint",              MenuMessPaint,    "",       "",      kImagePaint,    false, true},
            {"&Mouse",              MenuMessMouse,    "",       "",      kImageMouse,    false, true},
            {"&Keyboard",           MenuMessKeyb,     "",       "",      kImageKeyboard, false, true},
            {"&Cursor",             MenuMessCursor,   "",       "",      kImageCursor,   false, true},
            {"&Other",              MenuMessOther,    "",       "",      kImageOther,    false, true},
        }},
    };
    return table;
}

const std::vector<ToolButtonSpec>& CatchToolBarTable() {
    using enum ToolKind;
    static const std::vector<ToolButtonSpec> table = {
        // name            kind       width command         hint                           image           pressed
        {"ToolButton1",  Separator, 8},
        {"ToolButton2",  Button,    0,  MenuCatchRun,   "Start catching",              kImageStart},
        {"ToolButton3",  Separator, 8},
        {"ToolButton4",  Button,    0,  MenuCatchStop,  "Stop catching",               kImageStop,     false, /*disabled*/ true},
        {"ToolButton5",  Separator, 19},
        {"ToolButton13", Button,    0,  MenuCatchClear, "Clear",                       kImageClear},
        {"ToolButton12", Separator, 42},
        {"ToolButton6",  Check,     0,  ToolButton6,    "Timer's messages",            kImageTimer,    true},
        {"ToolButton7",  Check,     0,  ToolButton7,    "Paint messages",              kImagePaint,    true},
        {"ToolButton8",  Check,     0,  ToolButton8,    "Mouse's messages",            kImageMouse,    true},
        {"ToolButton9",  Check,     0,  ToolButton9,    "Keyboard's messages",         kImageKeyboard, true},
        {"ToolButton10", Check,     0,  ToolButton10,   "Cursor blink message (280)",  kImageCursor,   true},
        {"ToolButton11", Check,     0,  ToolButton11,   "Other messages",              kImageOther,    true},
    };
    return table;
}

const CategoryControls (&CategoryTable())[kCategoryCount] {
    static const CategoryControls table[kCategoryCount] = {
        {Category::Timer,    ToolButton6,  MenuMessTimer},
        {Category::Paint,    ToolButton7,  MenuMessPaint},
        {Category::Mouse,    ToolButton8,  MenuMessMouse},
        {Category::Keyboard, ToolButton9,  MenuMessKeyb},
        {Category::Cursor,   ToolButton10, MenuMessCursor},
        {Category::Other,    ToolButton11, MenuMessOther},
    };
    return table;
}

const CategoryControls* CategoryOfCommand(int command) {
    for (const CategoryControls& c : CategoryTable())
        if (c.toolButton == command || c.menuItem == command) return &c;
    return nullptr;
}

}  // namespace vantrel
