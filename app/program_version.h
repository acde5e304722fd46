#pragma once
// The program's version as people read it, from the four numbers of the
// version resource, the one place the version is written.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// "2.2" for 2.2.0.0, "2.2.1" for 2.2.1.0, "2.2.1.3" for 2.2.1.3: trailing
// zero parts go, down to two.
std::string VersionText(std::uint16_t major, std::uint16_t minor, std::uint16_t build, std::uint16_t revision);

// The product version held by a version resource's bytes, as people read it
// (VersionText); empty when the bytes hold no fixed version information.
// Read from the program's own resource, so no other library is needed.
std::string ProductVersionOf(std::string_view resource);

}  // namespace vantrel
