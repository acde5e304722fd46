#include "catch/message_filter.h"

#include "base/text.h"
#include "catch/catch_log.h"
#include "catch/control_names.h"
#include "catch/int2msg.h"

#include <algorithm>
#include <cstdio>

namespace vantrel {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A number in decimal or, after 0x, hexadecimal; nothing when the text is
// not one or it passes 32 bits (tooLarge then says so).
std::optional<std::uint32_t> Number(std::string_view text, bool& tooLarge) {
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFu) {
            tooLarge = true;
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint32_t> NameNumber(std::string_view name) {
    const std::string upper = LatinUpper(name);
    for (const std::uint32_t n : NamedMessages())
        if (MessageName(static_cast<std::int32_t>(n)) == upper) return n;
    return ControlNameNumber(upper);
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted.append(text).append("\"");
    return quoted;
}

// One entry, or the text of what is wrong with it.
std::optional<MessageRange> Entry(std::string_view entry, std::string& error) {
    bool tooLarge = false;
    const std::size_t dash = entry.find('-');
    if (dash != std::string_view::npos) {
        const auto first = Number(Trimmed(entry.substr(0, dash)), tooLarge);
        const auto last = Number(Trimmed(entry.substr(dash + 1)), tooLarge);
        if (first && last && *first <= *last) return MessageRange{*first, *last};
        if (first && last) error = "In \"" + std::string(entry) + "\" the range ends before it starts.";
    } else if (const auto number = Number(entry, tooLarge)) {
        return MessageRange{*number, *number};
    } else if (const auto named = NameNumber(entry)) {
        return MessageRange{*named, *named};
    }
    if (error.empty() && tooLarge)
        error = Quoted(entry) + " is larger than the largest message number (0xFFFFFFFF).";
    if (error.empty())
        error = Quoted(entry) + " is not a message number, a range of numbers or a message name.";
    return std::nullopt;
}

}  // namespace

const std::vector<FilterGroup>& FilterGroups() {
    static const std::vector<FilterGroup> groups = [] {
        std::vector<FilterGroup> built;
        for (int c = 0; c < kCategoryCount; ++c) built.push_back({static_cast<Category>(c), {}});
        for (const std::uint32_t n : NamedMessages()) {
            const std::string name = MessageName(static_cast<std::int32_t>(n));
            const unsigned set = CategoriesOf(n, name);
            for (int c = 0; c < kCategoryCount; ++c)
                if (set & (1u << c)) built[static_cast<std::size_t>(c)].messages.push_back({n, name});
        }
        return built;
    }();
    return groups;
}

const std::vector<FilterRow>& FilterRows() {
    static const std::vector<FilterRow> rows = [] {
        std::vector<FilterRow> built;
        for (const FilterGroup& group : FilterGroups()) {
            if (group.messages.empty()) continue;
            built.push_back({group.category, std::nullopt, std::string(CategoryName(group.category))});
            for (const FilterEntry& entry : group.messages) built.push_back({group.category, entry.number, entry.name});
        }
        return built;
    }();
    return rows;
}

bool RowShown(const MessageFilter& filter, const FilterRow& row) {
    if (row.message) return filter.Shown(*row.message);
    const auto& messages = FilterGroups()[static_cast<std::size_t>(row.category)].messages;
    return std::all_of(messages.begin(), messages.end(), [&](const FilterEntry& e) { return filter.Shown(e.number); });
}

void SetRowShown(MessageFilter& filter, const FilterRow& row, bool shown) {
    if (row.message) {
        filter.SetShown(*row.message, shown);
        return;
    }
    for (const FilterEntry& e : FilterGroups()[static_cast<std::size_t>(row.category)].messages)
        filter.SetShown(e.number, shown);
}

ParsedRanges ParseMessageRanges(std::string_view text) {
    ParsedRanges parsed;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(",;");
        const std::string_view entry = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (entry.empty()) continue;
        const auto range = Entry(entry, parsed.error);
        if (!range) {
            parsed.ranges.clear();
            return parsed;
        }
        parsed.ranges.push_back(*range);
    }
    return parsed;
}

MessageFilter::MessageFilter() : namedHidden_(kTableSize, false), hidden_(kTableSize, false) {}

void MessageFilter::SetShown(std::uint32_t named, bool shown) {
    if (named >= kTableSize) return;
    namedHidden_[named] = !shown;
    Rebuild();
}

std::optional<std::string> MessageFilter::SetHiddenText(std::string_view text) {
    ParsedRanges parsed = ParseMessageRanges(text);
    if (!parsed.error.empty()) return parsed.error;
    typed_ = std::string(Trimmed(text));
    typedRanges_ = std::move(parsed.ranges);
    Rebuild();
    return std::nullopt;
}

void MessageFilter::Hide(std::uint32_t message) {
    const auto& named = NamedMessages();
    if (std::binary_search(named.begin(), named.end(), message)) {
        SetShown(message, false);
        return;
    }
    if (!Allows(message)) return;
    char number[16];
    std::snprintf(number, sizeof number, "0x%X", static_cast<unsigned>(message));
    typed_ += (typed_.empty() ? "" : ", ") + std::string(number);
    typedRanges_.push_back({message, message});
    Rebuild();
}

void MessageFilter::ShowAll() {
    namedHidden_.assign(kTableSize, false);
    typed_.clear();
    typedRanges_.clear();
    Rebuild();
}

bool MessageFilter::InRanges(std::uint32_t message) const {
    return std::any_of(typedRanges_.begin(), typedRanges_.end(),
                       [message](const MessageRange& r) { return message >= r.first && message <= r.last; });
}

void MessageFilter::Rebuild() {
    hidden_ = namedHidden_;
    for (const MessageRange& r : typedRanges_)
        for (std::uint64_t n = r.first; n <= r.last && n < kTableSize; ++n) hidden_[static_cast<std::size_t>(n)] = true;
}

}  // namespace vantrel
