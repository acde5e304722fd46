#pragma once
// The names a message has only in a control's own terms: control messages
// (EM_*, LVM_*, TVM_*, ...) by the class of the window they go to, WM_COMMAND
// notification codes (EN_*, BN_*, ...) and WM_NOTIFY codes (NM_*, LVN_*, ...)
// by the class of the control that sends them. The log's name column keeps
// MessageName's name; the details column adds these.

#include "hooklib/hook_payload.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantrel {

using hook::ControlFamily;

// The family of a window class name (UTF-8), as the hook library decides it.
ControlFamily FamilyOfClassName(std::string_view className);

// A control message's name for a window of that family ("" when it has
// none): the control's own messages, and the common controls' CCM_* ones.
std::string_view ControlMessageName(ControlFamily family, std::uint32_t message);

// A WM_COMMAND notification code's name from a control of that family ("").
std::string_view CommandCodeName(ControlFamily family, std::uint32_t code);

// A WM_NOTIFY code's name from a control of that family: the common NM_*
// codes for every sender, then the family's own. For a sender of an unknown
// class the code's range tells the family where ranges do not overlap.
std::string_view NotifyCodeName(ControlFamily family, std::uint32_t code);

// The number of a control message, notification code or command code by its
// name, exactly as written in the tables (for typed filter entries).
std::optional<std::uint32_t> ControlNameNumber(std::string_view name);

}  // namespace vantrel
