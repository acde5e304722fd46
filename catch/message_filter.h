#pragma once
// The message filter beyond the six categories: every named message can be
// shown or hidden on its own, and numbers, ranges and names the user types
// are hidden ("0x400-0x4FF, 49152, WM_TIMER"). Everything is shown at start.
// A message is logged when its category switch allows it and this filter
// allows it; like the categories, the filter applies to later messages only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The six categories (catch_log.h).
enum class Category;

// A named message as the filter lists it.
struct FilterEntry {
    std::uint32_t number = 0;
    std::string name;
};

// The named messages (MessageName's table) under each of the six categories,
// in the categories' order and by number within each; a message that belongs
// to two categories is listed under both.
struct FilterGroup {
    Category category;
    std::vector<FilterEntry> messages;
};
const std::vector<FilterGroup>& FilterGroups();

// The rows of the Filter dialog's list: for each category that lists
// messages, a heading row, then a row per message under it.
struct FilterRow {
    Category category;
    std::optional<std::uint32_t> message;  // none: the category's heading
    std::string text;                      // the category's or the message's name
};
const std::vector<FilterRow>& FilterRows();

class MessageFilter;
// A message's row is ticked while its box is on; a heading while every box
// under it is.
bool RowShown(const MessageFilter& filter, const FilterRow& row);
// Ticking a heading sets every box under it.
void SetRowShown(MessageFilter& filter, const FilterRow& row, bool shown);

// Numbers first to last, both included.
struct MessageRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    bool operator==(const MessageRange&) const = default;
};

// Reads typed entries separated by commas or semicolons: a number (decimal,
// or hexadecimal after 0x), a range of two numbers joined by '-', or a
// message's name (MessageName's names and the controls' names, in any case).
// Either the ranges or the plain text of what is wrong with the first bad
// entry.
struct ParsedRanges {
    std::vector<MessageRange> ranges;
    std::string error;  // empty when every entry was understood
};
ParsedRanges ParseMessageRanges(std::string_view text);

class MessageFilter {
public:
    MessageFilter();

    bool Allows(std::uint32_t message) const {
        return message < kTableSize ? !hidden_[message] : !InRanges(message);
    }

    // A named message's check box.
    bool Shown(std::uint32_t named) const { return named >= kTableSize || !namedHidden_[named]; }
    void SetShown(std::uint32_t named, bool shown);

    // The typed entries, as the user typed them.
    const std::string& HiddenText() const { return typed_; }
    // Takes new typed entries; with a bad entry keeps the old ones and
    // returns the text that says what is wrong.
    std::optional<std::string> SetHiddenText(std::string_view text);

    // "Hide this message": a named message's box goes off, any other number
    // joins the typed entries.
    void Hide(std::uint32_t message);
    // Everything shown again.
    void ShowAll();

private:
    static constexpr std::uint32_t kTableSize = 0x10000;
    bool InRanges(std::uint32_t message) const;
    void Rebuild();

    std::vector<bool> namedHidden_;
    std::string typed_;
    std::vector<MessageRange> typedRanges_;
    std::vector<bool> hidden_;  // both, for the numbers below kTableSize
};

}  // namespace vantrel
