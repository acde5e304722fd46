#pragma once
// The message log of the Catch Messages window, without the window: the
// record the hook library hands over, the category switches, the header line,
// the time stamp and line formats, and the steps that turn one record into
// one log line or into nothing.

#include "hooklib/hook_channel.h"

#include <cstddef>
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

// The report numbers of the shared record: the library numbers every record
// it writes, one more each time. A notification handled late, after its
// sender gave up waiting, finds the record already holding a later report:
// that report is taken then, and its own notification, when it comes, finds
// nothing new. The reports the record held in between are counted as missed.
class ReportNumbers {
public:
    // Catching begins: the next new number counts no misses, since other
    // writers may have numbered records meanwhile; the report the record
    // still holds stays taken.
    void Restart() { restarted_ = true; }
    // True when the record holds a report not taken yet; counts the reports
    // skipped since the last one taken. A number that goes back (a record
    // made afresh) is taken as a new start.
    bool Take(std::uint32_t sequence);
    std::uint64_t Missed() const { return missed_; }
    void ForgetMissed() { missed_ = 0; }

private:
    bool known_ = false;
    bool restarted_ = false;
    std::uint32_t last_ = 0;
    std::uint64_t missed_ = 0;
};

// The state of the log between notifications: switches, Hide repetitions,
// the last message number, which nothing resets, and the report numbers.
class CatchLog {
public:
    CatchFilter filter;
    bool hideRepetitions = false;
    std::uint32_t lastMessage = 0;
    ReportNumbers reports;

    // Handles one notification: the line to append, or nothing when the
    // record's report was taken already, the message is a hidden repetition
    // or its category is switched off.
    std::optional<std::string> Take(const HookRecord& record, bool hexMode);
};

// Lines kept in the log at most, after its header line.
inline constexpr std::size_t kDefaultLogLineLimit = 1000000;
// The environment variable, read at start, that sets another limit (tests
// reach the limit with a small one).
inline constexpr const char* kLogLineLimitVariable = "VANTREL_LOG_LINE_LIMIT";
// The limit the variable's value asks for: a whole number of at least 1,
// otherwise (absent, empty, anything else) the default.
std::size_t LogLineLimit(const char* variableValue);

// The Catch Messages window's caption: "Catch Messages - " and the selected
// node's text (just "Catch Messages" without one), followed by what the user
// must know about the log: that its limit was reached and its oldest lines
// dropped, and how many reports were missed.
std::string CatchCaption(std::string_view nodeText, bool limitReached, std::size_t limit, std::uint64_t missed);

// Asked once per Save as, when the log holds characters that the ANSI file
// type cannot keep: Yes saves UTF-8, No the ANSI file with "?" for them.
inline constexpr const char* kAnsiLossQuestion =
    "The log holds characters that an ANSI text file cannot keep: they would be saved as \"?\".\r"
    "Save it as Unicode text (UTF-8) instead?";

// The bytes of a saved log: the pane's lines, each ended by CR LF, the last
// included. Lines in the pane are separated by CR LF.
std::string LogFileBytes(std::string_view paneText);

}  // namespace vantrel
