#pragma once
// The program's version as people read it, from the four numbers of the
// version resource, the one place the version is written.

#include <cstdint>
#include <string>

namespace vantrel {

// "2.2" for 2.2.0.0, "2.2.1" for 2.2.1.0, "2.2.1.3" for 2.2.1.3: trailing
// zero parts go, down to two.
std::string VersionText(std::uint16_t major, std::uint16_t minor, std::uint16_t build, std::uint16_t revision);

}  // namespace vantrel
