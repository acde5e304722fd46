#pragma once
// The Set Style command without its dialog: the three values it shows and
// how the fields are written back.

#include "platform/desktop.h"
#include "windowops/window_requests.h"

#include <array>
#include <cstdint>
#include <string>

namespace vantrel {

// Style, extended style and user data, in the order of the dialog's fields.
inline constexpr std::array<LongIndex, 3> kStyleFieldIndexes{LongIndex::Style, LongIndex::ExStyle,
                                                             LongIndex::UserData};
using StyleValues = std::array<std::uint32_t, 3>;
using StyleTexts = std::array<std::string, 3>;

StyleValues ReadStyleValues(Desktop& desktop, Handle window);

// The fields' texts in the number form of the display mode.
StyleTexts StyleFieldTexts(const StyleValues& values, bool hexMode);

// The text that is converted for a field: in hexadecimal mode a "$" stands in
// front of what the user sees.
std::string StyleTextToConvert(const std::string& fieldText, bool hexMode);

// Converts and writes the fields in order, each only when its value differs
// from the one read. A field that is no valid number raises the conversion
// error at once: earlier fields stay written, later ones are not touched. A
// write that is refused (a style that would hide or disable what may not be,
// on Vantrel's own window) or not answered ends the command the same way.
CommandOutcome ApplySetStyle(Desktop& desktop, Handle window, const StyleValues& read, const StyleTexts& fields,
                             bool hexMode, OwnWindow own = OwnWindow::None);

}  // namespace vantrel
