#include "windowops/value_text.h"

#include "base/text.h"

namespace vantrel {

std::string ValueText(std::uint32_t value, bool hexMode) {
    return hexMode ? Hex8(value) : std::to_string(value);
}

std::string SignedValueText(std::uint32_t value, bool hexMode) {
    return hexMode ? Hex8(value) : std::to_string(static_cast<std::int32_t>(value));
}

}  // namespace vantrel
