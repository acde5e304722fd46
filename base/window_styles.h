#pragma once
// The one table of style names: a window's style, extended style and class
// style read as the names of their flags, and the flags a window's class
// offers for ticking, with the rule that keeps ticks and numbers in step.
//
// The high 16 bits of a style are the window's own (WS_*); the low 16 bits
// mean something else for every class, and are named by the window's class
// for the standard and common controls (BS_*, ES_*, SS_*, LBS_*, CBS_*,
// TVS_*, LVS_*, TBSTYLE_* with CCS_*, SBARS_*, PBS_*, TBS_*, UDS_*, TCS_*,
// DS_* for dialogs, and more); class names are compared without case. For
// any other class the low bits stay unnamed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// One name a style word can hold: it is set where the bits in mask hold
// value. An independent flag's value is its mask. A choice of a field, where
// several values share the same bits (a button's type, a static's type, an
// edit's alignment, a list view's view), carries the field's mask and its
// own value, which may be 0 (BS_PUSHBUTTON). Some bits are named by another
// part of the style (0x00020000 is WS_GROUP on a control and WS_MINIMIZEBOX
// on a window with a frame): such a name applies where the style's bits in
// whenMask hold whenValue.
struct StyleFlag {
    std::string_view name;
    std::uint32_t mask = 0;
    std::uint32_t value = 0;
    std::uint32_t whenMask = 0;
    std::uint32_t whenValue = 0;
    friend bool operator==(const StyleFlag&, const StyleFlag&) = default;
};

// The names of a style's set flags joined by " | ": the window's own names
// first, then its class's, then the bits no name covers as one hexadecimal
// remainder ("0x4000"). A combined name (WS_OVERLAPPEDWINDOW, WS_CAPTION,
// WS_POPUPWINDOW, DS_SHELLFONT) stands for its parts where all their bits are
// set. A style with no set bit and no name reads "0".
std::string StyleFlagsText(std::string_view className, std::uint32_t style);

// The same for an extended style (WS_EX_*, with WS_EX_OVERLAPPEDWINDOW and
// WS_EX_PALETTEWINDOW) and for a class style (CS_*).
std::string ExStyleFlagsText(std::uint32_t exStyle);
std::string ClassStyleFlagsText(std::uint32_t classStyle);

// The flags offered for ticking, in the order they read: the window's own
// and its class's for a style (the names of shared bits as style decides
// them), the extended ones, the class ones. Combined names are left out:
// they only abbreviate flags the list offers one by one.
std::vector<StyleFlag> StyleTickFlags(std::string_view className, std::uint32_t style);
std::vector<StyleFlag> ExStyleTickFlags();
std::vector<StyleFlag> ClassStyleTickFlags();

// The two-way rule between a number and its ticks. A flag is ticked where
// the number's bits in its mask hold its value. Ticking a flag puts its
// value into its bits; for a choice of a field that replaces the field's
// other choice, which is no longer ticked: a field ticks like a set of radio
// buttons. Unticking a ticked flag clears its bits, which for a field means
// its value 0 (its first choice where that has a name); unticking a choice
// whose value is 0, or a flag that is not ticked, changes nothing.
bool IsTicked(const StyleFlag& flag, std::uint32_t number);
std::uint32_t WithTick(std::uint32_t number, const StyleFlag& flag, bool ticked);

}  // namespace vantrel
