#include "catch/log_find.h"

#include "base/text_search.h"

namespace vantrel {

std::optional<LogFindResult> FindInLog(const LogBuffer& log, std::string_view text, std::size_t after) {
    if (text.find_first_of("\r\n") != std::string_view::npos || log.LineCount() < 2) return std::nullopt;
    const CaselessFinder finder(text);
    if (finder.Empty()) return std::nullopt;
    const std::string_view all = log.Text();
    // Lines are separated by line breaks, which the text cannot hold, so a
    // match never spans two lines: the whole text after the start line is
    // searched at once, then the part before it.
    const std::size_t start = log.LineStart(after >= log.LineCount() ? log.LineCount() : after + 1);
    if (const std::size_t at = finder.Find(all, start); at != std::string_view::npos)
        return LogFindResult{log.LineOf(at), false};
    const std::string_view before = all.substr(0, start);
    if (const std::size_t at = finder.Find(before, log.LineStart(1)); at != std::string_view::npos)
        return LogFindResult{log.LineOf(at), true};
    return std::nullopt;
}

std::string FindNotice(std::string_view text, const std::optional<LogFindResult>& result) {
    std::string notice = !result          ? "\""
                         : result->wrapped ? "Passed the end of the log and went on from the top: found \""
                                           : "Found \"";
    notice.append(text);
    if (!result) return notice.append("\" is not in the log.");
    return notice.append("\" in line ").append(std::to_string(result->line)).append(".");
}

}  // namespace vantrel
