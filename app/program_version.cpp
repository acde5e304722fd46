#include "app/program_version.h"

namespace vantrel {

std::string VersionText(std::uint16_t major, std::uint16_t minor, std::uint16_t build, std::uint16_t revision) {
    std::string text = std::to_string(major);
    text += '.';
    text += std::to_string(minor);
    if (build || revision) {
        text += '.';
        text += std::to_string(build);
    }
    if (revision) {
        text += '.';
        text += std::to_string(revision);
    }
    return text;
}

}  // namespace vantrel
