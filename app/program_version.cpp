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

std::string ProductVersionOf(std::string_view resource) {
    // The resource begins with its length, the value's length and type (three
    // 16-bit words) and the key "VS_VERSION_INFO" in UTF-16 with its zero:
    // the fixed information follows at the next 32-bit boundary, at byte 40,
    // and begins with its signature.
    constexpr std::size_t kFixed = 40;
    constexpr std::uint32_t kSignature = 0xFEEF04BD;
    auto word = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(resource[at + static_cast<std::size_t>(i)]);
        return value;
    };
    if (resource.size() < kFixed + 24 || word(kFixed) != kSignature) return {};
    const std::uint32_t high = word(kFixed + 16);  // product version: major, minor
    const std::uint32_t low = word(kFixed + 20);   // build, revision
    return VersionText(static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high),
                       static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low));
}

}  // namespace vantrel
