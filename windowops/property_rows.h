#pragma once
// The rows of the property list for one window, read live, and the states
// the toggle commands take from them.

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
    std::vector<PropertyRow> rows;  // always the same rows, in the same order
    ToggleStates toggles;
};

// Reads the window and builds the rows in order, in the given notation:
// first the eighteen (Handle to User Data), then the style words by name
// ("Style flags", "Extended style flags"), the class (its style as a number
// and by name, atom, extra bytes, icon, small icon, cursor, background
// brush), the program (file name, full path, bitness, whether it runs with
// higher rights than Vantrel), the client area (left, top, width, height on
// the screen) and the screen scale (the window's DPI and awareness, its
// program's awareness). Numbers of the kind the eighteen show in
// hexadecimal (class style, atom) follow the notation; sizes, counts and
// positions are decimal. A value that cannot be read reads "(not
// available)", one of a program Vantrel may not open "(access denied)".
PropertySheet ReadProperties(Desktop& desktop, Handle window, bool hexMode);

// The clipboard text of "Copy value": the row's value and CR LF.
std::string CopyValueText(const PropertyRow& row);

// The clipboard text of "Copy all": one "Name: value" line per row, each
// ended by CR LF, for a bug report.
std::string CopyAllText(const std::vector<PropertyRow>& rows);

}  // namespace vantrel
