#include "windowops/set_style.h"

#include "windowops/int_conversion.h"
#include "windowops/value_text.h"

namespace vantrel {

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
                             bool hexMode, OwnWindow own) {
    CommandOutcome outcome;
    for (size_t i = 0; i < fields.size() && !outcome.Stopped(); ++i) {
        const std::uint32_t value = ConvertToInt32(StyleTextToConvert(fields[i], hexMode));
        if (value == read[i]) continue;
        if (kStyleFieldIndexes[i] == LongIndex::Style) outcome.refusal = RefusalFor(own, StyleChange(read[i], value));
        if (outcome.refusal.empty()) outcome.reply = desktop.setWindowLong(window, kStyleFieldIndexes[i], value);
    }
    return outcome;
}

}  // namespace vantrel
