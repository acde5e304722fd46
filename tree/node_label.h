#pragma once
// Node labels of the window tree: the handle field (10 zero-padded decimal
// digits or 8 upper-case hexadecimal digits), the window text when there is
// one and the class name in braces, cut to 255 UTF-16 units (never inside a
// character). The tree keeps the handle nowhere else, so it is read back from
// the label.

#include "platform/desktop.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr std::size_t kMaxLabelLength = 255;

// The handle field alone: "0000131634" or "00020232".
std::string HandleField(Handle window, bool hexMode);

// The whole label: handle field, "  " + text (if any), "  {" + class + "}".
std::string NodeLabel(Handle window, std::string_view text, std::string_view className, bool hexMode);

// Reads the handle back from the first 10 (decimal) or 8 (hexadecimal)
// characters of a label; nothing when they are not a handle field.
std::optional<Handle> HandleFromLabel(std::string_view label, bool hexMode);

}  // namespace vantrel
