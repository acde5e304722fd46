#pragma once
// Window from point: the node of the window under the mouse pointer, found by
// the handle field at the start of the node labels, without a rebuild.

#include "locate/label_search.h"
#include "platform/desktop.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The handle as the labels write it: 8 upper-case hexadecimal digits, or the
// decimal number padded with "0" to 10 characters.
std::string HandleKey(Handle window, bool hexMode);

// The first 8 (hexadecimal) or 10 (decimal) characters of a label, fewer when
// the label is shorter.
std::string_view NodeKey(std::string_view label, bool hexMode);

// The first node, in absolute order, whose node key is the handle key; -1 when
// no node has it (or the tree has no nodes).
int FindHandleNode(const NodeLabels& nodes, Handle window, bool hexMode);

// The not-found message: "Window [" + handle + "] not found." + CR +
// "Click "Refresh"."; the handle unpadded in decimal, 8 digits in hexadecimal.
std::string WindowNotFoundText(Handle window, bool hexMode);
inline constexpr const char* kWindowFromPointCaption = "Window From Point";

// What "Window from point" does.
struct FromPointOutcome {
    enum class Kind {
        NoPointer,  // the pointer position could not be read
        Select,     // select `node`
        NotFound,   // show `message`
    };
    Kind kind = Kind::NotFound;
    int node = -1;
    Handle window = 0;
    std::string message;
};

// Reads the pointer position once, takes the window under it and looks for its
// node in the tree as it was built last.
FromPointOutcome LocateWindowFromPoint(Desktop& desktop, const NodeLabels& nodes, bool hexMode);

}  // namespace vantrel
