#pragma once
// The message log of the Catch Messages window, without the window: the
// record the hook library hands over, the category switches, the header line,
// the time stamp and line formats, the columns that may follow a line's own
// (the window a line went to, the details), and the steps that turn one
// record into one log line or into nothing.

#include "catch/message_details.h"
#include "catch/message_filter.h"
#include "hooklib/hook_channel.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The categories of CatchFilter, in the order of their buttons and items.
enum class Category { Timer, Paint, Mouse, Keyboard, Cursor, Other };
inline constexpr int kCategoryCount = 6;

// "Timer", "Paint", "Mouse", "Keyboard", "Cursor", "Other".
std::string_view CategoryName(Category category);

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

// A line's own columns followed by the columns the log may add after them,
// each after " | ": the window the line went to (target) and the details
// column; an empty one is left out, and with neither the line stays as it
// is. The line's own columns are padded to kLineColumnsWidth and the target
// to kTargetColumnWidth first, so the added columns line up whatever the
// pointer position and the class; nothing is ever cut. A control character
// in an added column (a class name may hold one) becomes a space, so one
// line stays one line.
inline constexpr std::size_t kLineColumnsWidth = 99;  // "x=-32000 y=-32000" ends there
inline constexpr std::size_t kTargetColumnWidth = 28;
std::string LineWithColumns(std::string line, std::string_view target, std::string_view details);

// What one notification hands over: the record's message part (bytes 16 to
// 43; the library's own 16 bytes are never read and stay 0 here), the
// report number, when the details header carries one, and the details of
// the same report, when they were asked for, whole and match the record.
struct AnnouncedReport {
    HookRecord record{};
    std::optional<std::uint32_t> number;
    std::optional<MessageDetails> details;
};

// Reads the announced record and the details header beside it: nothing when
// a writer was writing them meanwhile (the record was not whole). A header
// that no writer ever used (a library that knows nothing of it) carries no
// report number, and the record is taken as it is. With details (the
// details object's report, beside the header) they are copied in the same
// look and kept when they describe the record (DetailsMatch) and a writer
// ever used the header.
std::optional<AnnouncedReport> ReadAnnouncedReport(const void* record, const HookDetailsHeader& header,
                                                   const MessageDetails* details = nullptr);

// A send's return as the library leaves it in the ring beside the details
// (it is not announced): a report whose record is made from its details,
// its time and pointer position, numbered from the same count.
AnnouncedReport ReturnedReport(const ReturnEntry& entry);

// The report numbers of the details header: the library numbers every
// report it writes, one more each time, so a gap between two numbers counts
// the reports the log lacks (a report written while Vantrel handled another
// too late). The numbers only count: every announced record is logged.
class ReportNumbers {
public:
    // Catching begins: the next number counts no misses, since other
    // writers may have numbered records meanwhile.
    void Restart() { restarted_ = true; }
    // Counts the reports skipped since the last number seen. A number that
    // goes back (a record made afresh) or stays (a record announced again)
    // counts none.
    void Count(std::uint32_t number);
    std::uint64_t Missed() const { return missed_; }
    void ForgetMissed() { missed_ = 0; }

private:
    bool known_ = false;
    bool restarted_ = false;
    std::uint32_t last_ = 0;
    std::uint64_t missed_ = 0;
};

// The state of the log between notifications: switches, the message
// filter, Hide repetitions, the last message number, which nothing resets,
// the report numbers, and the added columns with what they need.
class CatchLog {
public:
    CatchFilter filter;
    MessageFilter messages;
    bool hideRepetitions = false;
    std::uint32_t lastMessage = 0;
    ReportNumbers reports;
    // The details column (off at start, kept for the run).
    bool details = false;
    // A watch wider than one window: each line names the window it went to.
    bool targets = false;
    // The fate of each send, which its returned report follows.
    SendFates fates;
    // The name of a registered message (0xC000 to 0xFFFF), for the details
    // column; asked only for a line that shows it.
    std::function<std::string(std::uint32_t)> registeredName;

    // Handles one announced record: the line to append, or nothing when the
    // message is a hidden repetition, its category is switched off or the
    // message filter hides it.
    std::optional<std::string> Take(const HookRecord& record, bool hexMode);
    // The same for a notification: its report number counted, when it has
    // one, and the added columns after the line's own. A send's returning
    // report is no message of its own: it neither counts as the last
    // message nor meets the filters, but follows the fate of its send, and
    // is a line only with the details column.
    std::optional<std::string> Take(const AnnouncedReport& report, bool hexMode);

private:
    std::string AddColumns(std::string line, const HookRecord& record, const MessageDetails* details) const;
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
