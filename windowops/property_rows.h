#pragma once
// The eighteen rows of the property list for one window, read live, and the
// states the toggle commands take from them.

#include "platform/desktop.h"

#include <string>
#include <vector>

namespace vantrel {

struct PropertyRow {
    std::string property;
    std::string value;
    friend bool operator==(const PropertyRow&, const PropertyRow&) = default;
};

// What the list tells the main window's toggle commands.
struct ToggleStates {
    bool show = false;      // Show1 checked, ToolButton4 down
    std::string showHint;
    bool enable = false;    // Enable1 checked, ToolButton5 down
    std::string enableHint;
    bool stayOnTop = false; // Stayontop1 checked, ToolButton12 down
    std::string stayOnTopHint;
    bool minimize = false;  // exactly one of these three
    bool restore = false;
    bool maximize = false;
};

struct PropertySheet {
    std::vector<PropertyRow> rows;  // always eighteen
    ToggleStates toggles;
};

// Reads the window and builds the rows in order, in the given notation.
PropertySheet ReadProperties(Desktop& desktop, Handle window, bool hexMode);

// The clipboard text of "Copy value": the row's value and CR LF.
std::string CopyValueText(const PropertyRow& row);

}  // namespace vantrel
