#pragma once
// The message log of the Catch Messages window, without the window: the
// record the hook library hands over, the category switches, the header line,
// the time stamp and line formats, and the steps that turn one record into
// one log line or into nothing.

#include "hooklib/hook_channel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The categories of CatchFilter, in the order of their buttons and items.
enum class Category { Timer, Paint, Mouse, Keyboard, Cursor, Other };
inline constexpr int kCategoryCount = 6;

// The six switches: all on at start, kept for the whole run.
struct CatchFilter {
    bool on[kCategoryCount] = {true, true, true, true, true, true};
    bool& operator[](Category c) { return on[static_cast<int>(c)]; }
    bool operator[](Category c) const { return on[static_cast<int>(c)]; }
};

// Bit set of the categories a message belongs to (bit = 1 << Category).
unsigned CategoriesOf(std::uint32_t number, std::string_view name);
// True when every category the message belongs to is switched on.
bool PassesFilter(const CatchFilter& filter, std::uint32_t number, std::string_view name);

// The header line of the log (91 characters).
inline constexpr std::string_view kLogHeader =
    "  Time        |        Message                       |      wParam |      lParam | Position";

// "hh:mm:ss::mmm" of a message time in milliseconds; the clock restarts every
// 24 hours of the count.
std::string TimeStamp(std::uint32_t milliseconds);

// The name shown in the log: in hexadecimal mode every number above WM_USER
// is named "WM_USER+<offset in hexadecimal>", WM_APP included.
std::string DisplayName(std::uint32_t number, const std::string& name, bool hexMode);

// One log line for a record, with the name to show.
std::string FormatLogLine(const HookRecord& record, const std::string& displayName, bool hexMode);

// The state of the log between notifications: switches, Hide repetitions and
// the last message number, which nothing resets.
class CatchLog {
public:
    CatchFilter filter;
    bool hideRepetitions = false;
    std::uint32_t lastMessage = 0;

    // Handles one notification: the line to append, or nothing when the
    // message is a hidden repetition or its category is switched off.
    std::optional<std::string> Take(const HookRecord& record, bool hexMode);
};

// The bytes of a saved log: the pane's lines, each ended by CR LF, the last
// included. Lines in the pane are separated by CR LF.
std::string LogFileBytes(std::string_view paneText);

}  // namespace vantrel
