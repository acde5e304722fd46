#include "locate/window_from_point.h"

#include "tree/node_label.h"

#include <cstdio>

namespace vantrel {

namespace {

std::string HexDigits(Handle window) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(window));
    return buffer;
}

}  // namespace

std::string HandleKey(Handle window, bool hexMode) { return HandleField(window, hexMode); }

std::string_view NodeKey(std::string_view label, bool hexMode) {
    return label.substr(0, hexMode ? 8 : 10);
}

int FindHandleNode(const NodeLabels& nodes, Handle window, bool hexMode) {
    const std::string key = HandleKey(window, hexMode);
    for (int i = 0; i < nodes.count; ++i) {
        const std::string label = nodes.label(i);
        if (NodeKey(label, hexMode) == key) return i;
    }
    return -1;
}

std::string WindowNotFoundText(Handle window, bool hexMode) {
    const std::string handle = hexMode ? HexDigits(window) : std::to_string(window);
    return "Window [" + handle + "] not found.\rClick \"Refresh\".";
}

FromPointOutcome LocateWindowFromPoint(Desktop& desktop, const NodeLabels& nodes, bool hexMode) {
    FromPointOutcome outcome;
    const std::optional<Point> pointer = desktop.cursorPos();
    if (!pointer) {
        outcome.kind = FromPointOutcome::Kind::NoPointer;
        return outcome;
    }
    outcome.window = desktop.windowFromPoint(*pointer);
    outcome.node = FindHandleNode(nodes, outcome.window, hexMode);
    if (outcome.node >= 0) {
        outcome.kind = FromPointOutcome::Kind::Select;
    } else {
        outcome.kind = FromPointOutcome::Kind::NotFound;
        outcome.message = WindowNotFoundText(outcome.window, hexMode);
    }
    return outcome;
}

}  // namespace vantrel
