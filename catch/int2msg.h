#pragma once
// Unit Int2Msg: a window message number turned into the name of its message
// constant, as the message log prints it and its category filter reads it.

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// The name of message `number` (read as a signed 32-bit integer): the table's
// name; "" for an unnamed number up to 1024 and for every negative number;
// "WM_USER+<number - 1024 in decimal>" above that. Constant time: the lookup
// is a switch over constants, which compiles to jump tables.
std::string MessageName(std::int32_t number);

// The numbers the table names, in ascending order.
const std::vector<std::uint32_t>& NamedMessages();

}  // namespace vantrel
