#pragma once
// The Set Style command without its dialog: the three values it shows and
// how the fields are written back.

#include "base/window_styles.h"
#include "platform/desktop.h"
#include "windowops/window_requests.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

// The bits of the style and of the extended style whose value the user last
// set by ticking a flag in the dialog's lists, rather than by typing a number.
struct TickedBits {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    friend bool operator==(const TickedBits&, const TickedBits&) = default;
};

// Converts and writes the fields in order, each only when its value differs
// from the one read. A field that is no valid number raises the conversion
// error at once: earlier fields stay written, later ones are not touched. A
// write that is refused (a style that would hide or disable what may not be,
// on Vantrel's own window) or not answered ends the command the same way.
//
// When every write went through, a change the user made by ticking that the
// system shows only when asked follows: a frame bit (border, caption, system
// menu, sizing frame, scroll bars, the caption's boxes, an edge or a tool
// window's caption) has the frame taken again, and WS_EX_TOPMOST moves the
// window into or out of the topmost windows. A number merely typed asks for
// nothing beyond its write.
CommandOutcome ApplySetStyle(Desktop& desktop, Handle window, const StyleValues& read, const StyleTexts& fields,
                             bool hexMode, OwnWindow own = OwnWindow::None, TickedBits ticked = {});

// The two lists of named flags beside the Style and Extended style fields.
enum class TickList { Style, ExStyle };

// The dialog's tick lists kept in step with its two number fields, both
// ways: a valid number typed into a field ticks the flags it holds (a text
// that is no valid number leaves the ticks as they are), and ticking a flag
// puts it into the number the ticks show and gives the field's new text.
// The style's list is the one its window's class offers for the number
// shown: its names of shared bits follow the number.
class StyleTicks {
public:
    StyleTicks(std::string className, const StyleValues& read, bool hexMode);

    std::vector<StyleFlag> Flags(TickList list) const;
    // Whether each of Flags(list) is ticked.
    std::vector<bool> Ticks(TickList list) const;
    // The field's text now; true when it held a valid number, which the
    // ticks then follow.
    bool Typed(TickList list, const std::string& fieldText);
    // The user ticked or unticked a flag of the list: the field's new text.
    std::string Tick(TickList list, const StyleFlag& flag, bool ticked);
    // What OK is to know of the ticking.
    TickedBits Ticked() const { return {ticked_[0], ticked_[1]}; }

private:
    std::string className_;
    bool hexMode_;
    std::array<std::uint32_t, 2> numbers_;  // the last valid number of each field
    std::array<std::uint32_t, 2> ticked_{};
};

}  // namespace vantrel
