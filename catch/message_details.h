#pragma once
// What a logged message means, as the details column of the log shows it:
// how it reached the window (sent, posted, or a send returning, indented one
// step per send it is nested in), its name in the control's own terms, its
// parameters decoded under the platform's names, what its parameters pointed
// to in the watched program, and for a 64-bit program the values the log's
// 32-bit columns cannot hold.

#include "hooklib/hook_channel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantrel {

// True when the details describe the record's report: the same window and
// the same message. Details that disagree belong to another report.
bool DetailsMatch(const HookRecord& record, const MessageDetails& details);

// The details a record alone gives (a library that writes none): its window,
// message and 32-bit values, no mark, no class, no payload.
MessageDetails DetailsFromRecord(const HookRecord& record);

// The details column of a line. registeredName: the name the program found
// for a registered message (0xC000 to 0xFFFF), "" otherwise.
std::string DetailsText(const MessageDetails& details, std::string_view registeredName);

// In a watch wider than one window, the window a line went to: its handle
// and class, "0x001A0B2C {Edit}". Shown with or without the details column.
std::string TargetWindowText(const MessageDetails& details);

// A class name field in UTF-8: up to its first zero, or all of it.
std::string ClassNameText(const char16_t (&units)[kDetailClassUnits]);

// A returned line follows the fate of the line of the send it returns from:
// logged when that was logged, dropped when that was filtered out or hidden
// as a repetition. Sends nest per thread, so the fate is kept per thread and
// nesting depth.
class SendFates {
public:
    void Sent(std::uint32_t thread, std::uint8_t depth, bool logged);
    // The fate of the send a returned report comes back from; nothing when
    // that send was not seen (catching began while it was being handled).
    std::optional<bool> Returned(std::uint32_t thread, std::uint8_t depth) const;
    void Clear() { fates_.clear(); }

private:
    // Per thread: per depth, 0 unknown, 1 dropped, 2 logged.
    std::unordered_map<std::uint32_t, std::vector<std::uint8_t>> fates_;
};

}  // namespace vantrel
