#include "catch/catch_log.h"

#include "catch/int2msg.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace vantrel {

namespace {

constexpr std::uint32_t kWmUser = 0x400;
// The caret-blink message, which has no name of its own.
constexpr std::uint32_t kCursorBlinkMessage = 280;

unsigned Bit(Category c) { return 1u << static_cast<int>(c); }

// A record's line as the log has always written it.
std::string OwnColumns(const HookRecord& record, const std::string& name, bool hexMode) {
    return FormatLogLine(record, DisplayName(record.message, name, hexMode), hexMode);
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

}  // namespace

std::string_view CategoryName(Category category) {
    static constexpr std::string_view names[kCategoryCount] = {"Timer", "Paint", "Mouse", "Keyboard", "Cursor",
                                                               "Other"};
    return names[static_cast<int>(category)];
}

unsigned CategoriesOf(std::uint32_t number, std::string_view name) {
    unsigned set = 0;
    if (Contains(name, "PAINT")) set |= Bit(Category::Paint);
    if (Contains(name, "TIMER")) set |= Bit(Category::Timer);
    if (Contains(name, "MOUSE") || Contains(name, "BUTTON")) set |= Bit(Category::Mouse);
    if (Contains(name, "KEY")) set |= Bit(Category::Keyboard);
    if (number == kCursorBlinkMessage) set |= Bit(Category::Cursor);
    if (set == 0) set = Bit(Category::Other);
    return set;
}

bool PassesFilter(const CatchFilter& filter, std::uint32_t number, std::string_view name) {
    const unsigned set = CategoriesOf(number, name);
    for (int i = 0; i < kCategoryCount; ++i)
        if ((set & (1u << i)) && !filter.on[i]) return false;
    return true;
}

std::string TimeStamp(std::uint32_t t) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2u:%.2u:%.2u::%.3u", (t / 3600000u) % 24u, (t / 60000u) % 60u,
                  (t / 1000u) % 60u, t % 1000u);
    return text;
}

std::string DisplayName(std::uint32_t number, const std::string& name, bool hexMode) {
    if (!hexMode || number <= kWmUser) return name;
    char text[32];
    std::snprintf(text, sizeof text, "WM_USER+%X", static_cast<unsigned>(number - kWmUser));
    return text;
}

std::string FormatLogLine(const HookRecord& r, const std::string& displayName, bool hexMode) {
    const std::string stamp = TimeStamp(r.time);
    // The name field is 25 wide and never cut; a longer text pushes the rest.
    const int need = std::snprintf(nullptr, 0, "%s | %8u - %-25s | %11u | %11u | x=%d y=%d", stamp.c_str(), 0u,
                                   displayName.c_str(), 0u, 0u, static_cast<int>(r.x), static_cast<int>(r.y)) +
                     64;
    std::string line(static_cast<size_t>(need), '\0');
    int written;
    if (hexMode) {
        written = std::snprintf(line.data(), line.size(), "%s | %8X - %-25s | %11X | %11X | x=%d y=%d",
                                stamp.c_str(), static_cast<unsigned>(r.message), displayName.c_str(),
                                static_cast<unsigned>(r.wParam), static_cast<unsigned>(r.lParam),
                                static_cast<int>(r.x), static_cast<int>(r.y));
    } else {
        written = std::snprintf(line.data(), line.size(), "%s | %8d - %-25s | %11d | %11d | x=%d y=%d",
                                stamp.c_str(), static_cast<int>(static_cast<std::int32_t>(r.message)),
                                displayName.c_str(), static_cast<int>(static_cast<std::int32_t>(r.wParam)),
                                static_cast<int>(static_cast<std::int32_t>(r.lParam)), static_cast<int>(r.x),
                                static_cast<int>(r.y));
    }
    line.resize(written < 0 ? 0 : static_cast<size_t>(written));
    return line;
}

std::string LineWithColumns(std::string line, std::string_view target, std::string_view details) {
    if (target.empty() && details.empty()) return line;
    const auto add = [&line](std::string_view column, std::size_t width) {
        if (line.size() < width) line.resize(width, ' ');
        line += " | ";
        for (const char c : column) line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    };
    add(target.empty() ? details : target, kLineColumnsWidth);
    if (!target.empty() && !details.empty()) add(details, kLineColumnsWidth + 3 + kTargetColumnWidth);
    return line;
}

std::optional<AnnouncedReport> ReadAnnouncedReport(const void* record, const HookDetailsHeader& header,
                                                   const MessageDetails* details) {
    constexpr std::size_t kMessagePart = offsetof(HookRecord, hwnd);
    AnnouncedReport report;
    std::uint32_t number = 0;
    MessageDetails copied;
    const bool whole = ReadWhole(header.wholeCount, [&] {
        std::memcpy(reinterpret_cast<unsigned char*>(&report.record) + kMessagePart,
                    static_cast<const unsigned char*>(record) + kMessagePart, sizeof(HookRecord) - kMessagePart);
        number = header.reportNumber;
        if (details) std::memcpy(&copied, details, sizeof copied);
    });
    if (!whole) return std::nullopt;
    if (std::atomic_ref<std::uint32_t>(const_cast<std::uint32_t&>(header.wholeCount)).load() != 0) {
        report.number = number;
        if (details && DetailsMatch(report.record, copied)) report.details = copied;
    }
    return report;
}

AnnouncedReport ReturnedReport(const ReturnEntry& entry) {
    AnnouncedReport report;
    report.record.hwnd = entry.details.window;
    report.record.message = entry.details.message;
    report.record.wParam = static_cast<std::uint32_t>(entry.details.wParam);
    report.record.lParam = static_cast<std::uint32_t>(entry.details.lParam);
    report.record.time = entry.time;
    report.record.x = entry.x;
    report.record.y = entry.y;
    report.number = entry.reportNumber;
    report.details = entry.details;
    return report;
}

void ReportNumbers::Count(std::uint32_t number) {
    const std::uint32_t step = number - last_;  // wraps with the number
    if (known_ && !restarted_ && step != 0 && step < 0x80000000u) missed_ += step - 1;
    known_ = true;
    restarted_ = false;
    last_ = number;
}

std::optional<std::string> CatchLog::Take(const HookRecord& record, bool hexMode) {
    const std::uint32_t n = record.message;
    if (hideRepetitions && n == lastMessage) return std::nullopt;
    lastMessage = n;
    const std::string name = MessageName(static_cast<std::int32_t>(n));
    if (!PassesFilter(filter, n, name) || !messages.Allows(n)) return std::nullopt;
    return OwnColumns(record, name, hexMode);
}

std::optional<std::string> CatchLog::Take(const AnnouncedReport& report, bool hexMode) {
    if (report.number) reports.Count(*report.number);
    const MessageDetails* d = report.details ? &*report.details : nullptr;
    const auto mark = static_cast<DetailMark>(d ? d->mark : 0);
    if (mark == DetailMark::Returned) {
        if (!details || !fates.Returned(d->thread, d->depth).value_or(false)) return std::nullopt;
        const std::string name = MessageName(static_cast<std::int32_t>(report.record.message));
        return AddColumns(OwnColumns(report.record, name, hexMode), report.record, d);
    }
    std::optional<std::string> line = Take(report.record, hexMode);
    if (mark == DetailMark::Sent) fates.Sent(d->thread, d->depth, line.has_value());
    if (line) *line = AddColumns(std::move(*line), report.record, d);
    return line;
}

std::string CatchLog::AddColumns(std::string line, const HookRecord& record, const MessageDetails* d) const {
    constexpr std::uint32_t kFirstRegistered = 0xC000, kLastRegistered = 0xFFFF;
    std::string target, detailsText;
    if (targets) target = TargetWindowText(d ? *d : DetailsFromRecord(record));
    if (details && d) {
        const bool registered = d->message >= kFirstRegistered && d->message <= kLastRegistered;
        detailsText = DetailsText(*d, registered && registeredName ? registeredName(d->message) : std::string());
    }
    return LineWithColumns(std::move(line), target, detailsText);
}

std::size_t LogLineLimit(const char* value) {
    if (!value || !*value) return kDefaultLogLineLimit;
    std::size_t limit = 0;
    for (const char* c = value; *c; ++c) {
        if (*c < '0' || *c > '9' || limit > (SIZE_MAX - 9) / 10) return kDefaultLogLineLimit;
        limit = limit * 10 + static_cast<std::size_t>(*c - '0');
    }
    return limit > 0 ? limit : kDefaultLogLineLimit;
}

namespace {

// 1000000 as "1,000,000".
std::string Grouped(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

std::string CatchCaption(std::string_view nodeText, bool limitReached, std::size_t limit, std::uint64_t missed) {
    std::string caption = "Catch Messages";
    if (!nodeText.empty()) caption.append(" - ").append(nodeText);
    if (limitReached) caption += " - log limit of " + Grouped(limit) + " lines reached, oldest lines dropped";
    if (missed == 1) caption += " - 1 report missed";
    else if (missed > 1) caption += " - " + Grouped(missed) + " reports missed";
    return caption;
}

std::string LogFileBytes(std::string_view paneText) {
    std::string bytes(paneText);
    if (!bytes.empty() && !(bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0))
        bytes += "\r\n";
    return bytes;
}

}  // namespace vantrel
