// The Catch Messages window's menus and tool bar.

#include "catch/catch_window_tables.h"

#include "platform/desktop.h"
#include "resources/resource_names.h"
#include "shell/command_ids.h"

namespace vantrel {

using namespace cmd;
using namespace resources;

const std::vector<MenuSpec>& CatchMenuTable() {
    static const std::vector<MenuSpec> table = {
        {"&Catching", {
            // caption              command           shortcut  hint     image
            {"Sta&rt",              MenuCatchRun,     "F2",     "",      kCatchStart},
            {"&Stop",               MenuCatchStop,    "F4",     "",      kCatchStop, false, false, /*disabled*/ true},
            {"-"},
            {"&Hide repetitions",   Hiderepetitions1, "F8",     "",      kNoImage},
            {"-"},
            {"&Clear",              MenuCatchClear,   "Ctrl+N", "Clear", kCatchClear},
            {"&Save as...",         MenuCatchSave,    "Ctrl+S", "",      kNoImage},
            {"-"},
            {"&Exit",               MenuCatchExit,    "",       "",      kNoImage},
        }, /*title shortcut*/ "F9"},
        {"&Messages", {
            {"&Timer",              MenuMessTimer,    "",       "",      kCatchTimer,    false, /*checked*/ true},
            {"&Paint",              MenuMessPaint,    "",       "",      kCatchPaint,    false, true},
            {"&Mouse",              MenuMessMouse,    "",       "",      kCatchMouse,    false, true},
            {"&Keyboard",           MenuMessKeyb,     "",       "",      kCatchKeyboard, false, true},
            {"&Cursor",             MenuMessCursor,   "",       "",      kCatchCursor,   false, true},
            {"&Other",              MenuMessOther,    "",       "",      kCatchOther,    false, true},
            {"-"},
            {"&Filter...",          MenuMessFilter,   "",       "",      kNoImage},
        }},
        {"&View", {
            {"&Details",                              MenuViewDetails,      "F7",     "", kCatchDetails},
            {"-"},
            // The Watch choice, told to the hook library at Start.
            {"Watch the selected &window",            MenuWatchWindow,      "", "", kNoImage, false, true, false, true},
            {"Watch the window and its d&escendants", MenuWatchDescendants, "", "", kNoImage, false, false, false, true},
            {"Watch every window of its &thread",     MenuWatchThread,      "", "", kNoImage, false, false, false, true},
            {"Watch every window of its &process",    MenuWatchProcess,     "", "", kNoImage, false, false, false, true},
            {"-"},
            {"&Find...",                              MenuLogFind,          "Ctrl+F", "", kNoImage},
            {"Find &next",                            MenuLogFindNext,      "F3",     "", kNoImage},
        }},
    };
    return table;
}

const std::vector<ToolButtonSpec>& CatchToolBarTable() {
    using enum ToolKind;
    static const std::vector<ToolButtonSpec> table = {
        // name            kind       width command         hint                           image           pressed
        {"ToolButton1",  Separator, 8},
        {"ToolButton2",  Button,    0,  MenuCatchRun,   "Start catching",              kCatchStart},
        {"ToolButton3",  Separator, 8},
        {"ToolButton4",  Button,    0,  MenuCatchStop,  "Stop catching",               kCatchStop,     false, /*disabled*/ true},
        {"ToolButton5",  Separator, 19},
        {"ToolButton13", Button,    0,  MenuCatchClear, "Clear",                       kCatchClear},
        {"ToolButton12", Separator, 42},
        {"ToolButton6",  Check,     0,  ToolButton6,    "Timer's messages",            kCatchTimer,    true},
        {"ToolButton7",  Check,     0,  ToolButton7,    "Paint messages",              kCatchPaint,    true},
        {"ToolButton8",  Check,     0,  ToolButton8,    "Mouse's messages",            kCatchMouse,    true},
        {"ToolButton9",  Check,     0,  ToolButton9,    "Keyboard's messages",         kCatchKeyboard, true},
        {"ToolButton10", Check,     0,  ToolButton10,   "Cursor blink message (280)",  kCatchCursor,   true},
        {"ToolButton11", Check,     0,  ToolButton11,   "Other messages",              kCatchOther,    true},
        {"ToolButton14", Separator, 19},
        {"ToolButton15", Check,     0,  DetailsButton,  "Details of each message",     kCatchDetails},
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

std::optional<HookWatch> WatchOfCommand(int command) {
    if (command < MenuWatchWindow || command >= MenuWatchWindow + static_cast<int>(kHookWatchCount))
        return std::nullopt;
    return static_cast<HookWatch>(command - MenuWatchWindow);
}

int WatchCommand(HookWatch watch) { return MenuWatchWindow + static_cast<int>(watch); }

std::string StartFailureText(std::uint32_t lastError, bool higherRights) {
    std::string text = "Unable to set hook\r(VANTREL.DLL)";
    const auto failure = static_cast<HookFailure>(lastError);
    const std::string reason = higherRights && failure != HookFailure::NoWindow && failure != HookFailure::OtherCatching
                                   ? std::string(kHigherRightsText)
                                   : HookFailureReason(lastError);
    if (!reason.empty()) text += "\r" + reason;
    return text;
}

std::string HookFailureReason(std::uint32_t lastError) {
    const char* reason = "";
    switch (static_cast<HookFailure>(lastError)) {
        case HookFailure::NoWindow:
            reason = "The selected window no longer exists.";
            break;
        case HookFailure::OtherCatching:
            reason = "Another Vantrel is catching messages now: press Stop in its Catch Messages window "
                     "(or end that Vantrel), then Start here again.";
            break;
        case HookFailure::NoCompanion:
            reason = "The hook companion for programs of the other bitness (vantrel64.exe or vantrel32.exe "
                     "with its library, beside VANTREL.DLL) is missing, could not start or has ended.";
            break;
        case HookFailure::NoEntry:
            reason = "The system does not let the hook library into the program of this window.";
            break;
        case HookFailure::NoAnswer:
            reason = "The window did not answer within a second: its program may be busy or hung.";
            break;
        case HookFailure::NoRecord:
            reason = "The shared memory of the hook cannot be opened.";
            break;
        case HookFailure::ForeignRecord:
            reason = "Another program holds the shared memory of the hook, so Vantrel does not catch through "
                     "it: end that program, then close this window and open it again.";
            break;
    }
    return reason;
}

}  // namespace vantrel
