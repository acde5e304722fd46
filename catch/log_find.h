#pragma once
// Find in the message log: the next line that holds a text, compared
// without regard to case by the rule of every search (base/text_search.h,
// the same as Find window's), going on from the end at the
// first logged line, with a mark that the search went round.

#include "catch/log_buffer.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

struct LogFindResult {
    std::size_t line = 0;  // the line that holds the text
    bool wrapped = false;  // the search went past the end and on from the start
};

// The first line after line `after` (0: the header, so the search begins at
// the first logged line) that holds the text; past the last line the search
// goes on at line 1 and ends with line `after` itself. The header is not
// searched. Nothing when no line holds the text, the text is empty or holds a
// line break.
std::optional<LogFindResult> FindInLog(const LogBuffer& log, std::string_view text, std::size_t after);

// The one line that tells under the log how a search went (never a box per
// search): the line found, that the search went on from the top to find it,
// or that no line holds the text. Lines count from the first logged line, 1.
std::string FindNotice(std::string_view text, const std::optional<LogFindResult>& result);

}  // namespace vantrel
