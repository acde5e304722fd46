#include "windowops/set_style.h"

#include "base/error.h"
#include "windowops/int_conversion.h"
#include "windowops/value_text.h"

#include <utility>

namespace vantrel {

namespace {

// The style bits that are drawn in the frame: border, dialog frame, scroll
// bars, system menu, sizing frame; and the minimize and maximize boxes where
// those bits name them (not on a control, a child without a system menu,
// where they are the group and the tab stop).
constexpr std::uint32_t kFrameStyleBits = 0x00FC0000;
constexpr std::uint32_t kCaptionBoxBits = 0x00030000;
constexpr std::uint32_t kChildStyle = 0x40000000;
constexpr std::uint32_t kSysMenuStyle = 0x00080000;
// The extended style bits drawn in the frame: the modal dialog frame, the
// tool window's caption, the window, client and static edges, the help box
// and the scroll bar on the left.
constexpr std::uint32_t kFrameExStyleBits = 0x00024781;

std::uint32_t FrameStyleBits(std::uint32_t style) {
    const bool control = (style & (kChildStyle | kSysMenuStyle)) == kChildStyle;
    return control ? kFrameStyleBits : kFrameStyleBits | kCaptionBoxBits;
}

}  // namespace

StyleValues ReadStyleValues(Desktop& desktop, Handle window) {
    StyleValues values{};
    for (size_t i = 0; i < kStyleFieldIndexes.size(); ++i) values[i] = desktop.windowLong(window, kStyleFieldIndexes[i]);
    return values;
}

StyleTexts StyleFieldTexts(const StyleValues& values, bool hexMode) {
    StyleTexts texts;
    for (size_t i = 0; i < values.size(); ++i) texts[i] = ValueText(values[i], hexMode);
    return texts;
}

std::string StyleTextToConvert(const std::string& fieldText, bool hexMode) {
    return hexMode ? "$" + fieldText : fieldText;
}

CommandOutcome ApplySetStyle(Desktop& desktop, Handle window, const StyleValues& read, const StyleTexts& fields,
                             bool hexMode, OwnWindow own, TickedBits ticked) {
    CommandOutcome outcome;
    StyleValues written = read;
    for (size_t i = 0; i < fields.size() && !outcome.Stopped(); ++i) {
        const std::uint32_t value = ConvertToInt32(StyleTextToConvert(fields[i], hexMode));
        if (value == read[i]) continue;
        if (kStyleFieldIndexes[i] == LongIndex::Style) outcome.refusal = RefusalFor(own, StyleChange(read[i], value));
        if (outcome.refusal.empty()) outcome.reply = desktop.setWindowLong(window, kStyleFieldIndexes[i], value);
        written[i] = value;
    }
    if (outcome.Stopped()) return outcome;

    const std::uint32_t styleTicked = ticked.style & (read[0] ^ written[0]);
    const std::uint32_t exTicked = ticked.exStyle & (read[1] ^ written[1]);
    if ((styleTicked & FrameStyleBits(written[0])) || (exTicked & kFrameExStyleBits))
        outcome.reply = desktop.frameChanged(window);
    if (!outcome.Stopped() && (exTicked & kExTopmost)) {
        const bool topmost = (written[1] & kExTopmost) != 0;
        outcome.refusal = RefusalFor(own, topmost ? Change::Topmost : Change::NotTopmost);
        if (outcome.refusal.empty()) outcome.reply = desktop.setTopmost(window, topmost);
    }
    return outcome;
}

StyleTicks::StyleTicks(std::string className, const StyleValues& read, bool hexMode)
    : className_(std::move(className)), hexMode_(hexMode), numbers_{read[0], read[1]} {}

std::vector<StyleFlag> StyleTicks::Flags(TickList list) const {
    return list == TickList::Style ? StyleTickFlags(className_, numbers_[0]) : ExStyleTickFlags();
}

std::vector<bool> StyleTicks::Ticks(TickList list) const {
    std::vector<bool> ticks;
    for (const StyleFlag& flag : Flags(list)) ticks.push_back(IsTicked(flag, numbers_[static_cast<size_t>(list)]));
    return ticks;
}

bool StyleTicks::Typed(TickList list, const std::string& fieldText) {
    std::uint32_t number = 0;
    try {
        number = ConvertToInt32(StyleTextToConvert(fieldText, hexMode_));
    } catch (const VantrelError&) {
        return false;
    }
    const auto i = static_cast<size_t>(list);
    // Bits the typing changed were set by typing, whatever ticked them before.
    ticked_[i] &= ~(numbers_[i] ^ number);
    numbers_[i] = number;
    return true;
}

std::string StyleTicks::Tick(TickList list, const StyleFlag& flag, bool ticked) {
    const auto i = static_cast<size_t>(list);
    const std::uint32_t number = WithTick(numbers_[i], flag, ticked);
    ticked_[i] |= numbers_[i] ^ number;
    numbers_[i] = number;
    return ValueText(number, hexMode_);
}

}  // namespace vantrel
