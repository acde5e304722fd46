// Find in a full message log, timed natively: a log at its limit of
// 1,000,000 lines, searched from its first line for a text only its last line
// holds (Latin in another case, and Cyrillic in another case), and for a text
// no line holds (the whole log, then round again). Prints the median of a few
// rounds of each, in seconds. Usage: vantrel_find_bench [rounds]

#include "catch/catch_log.h"
#include "catch/int2msg.h"
#include "catch/log_buffer.h"
#include "catch/log_find.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Lines as the log writes them, of the messages a busy window receives.
std::string LogLine(std::uint32_t i) {
    static const std::uint32_t kMessages[] = {0x0200, 0x0084, 0x0020, 0x000F, 0x0014, 0x0113, 0x0100, 0x0102};
    vantrel::HookRecord r{};
    r.message = kMessages[i % 8];
    r.time = i * 7;
    r.wParam = i % 3;
    r.lParam = (i * 2654435761u) & 0x03FF03FF;
    r.x = static_cast<std::int32_t>(i % 1280);
    r.y = static_cast<std::int32_t>(i % 1024);
    return vantrel::FormatLogLine(r, vantrel::MessageName(static_cast<std::int32_t>(r.message)), false);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    vantrel::LogBuffer log(vantrel::kLogHeader);
    log.SetLineLimit(vantrel::kDefaultLogLineLimit);
    for (std::uint32_t i = 1; i < vantrel::kDefaultLogLineLimit; ++i) log.Append(LogLine(i));
    log.Append(LogLine(0) + " | sent     WM_SETTEXT \"Last line: \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\"");
    std::printf("Log: %zu lines, %.1f MB\n", log.LineCount() - 1, static_cast<double>(log.Size()) / 1e6);

    struct Search {
        const char* what;
        const char* text;
    } searches[] = {
        {"Latin text on the last line only", "LAST LINE"},
        {"Cyrillic text on the last line only", "\xD0\xBF\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2"},
        {"a text no line holds (all, then round)", "WM_NOTHING"},
    };
    for (const Search& s : searches) {
        std::vector<double> seconds;
        std::size_t line = 0;
        for (int r = 0; r < rounds; ++r) {
            const auto start = Clock::now();
            const auto found = vantrel::FindInLog(log, s.text, 0);
            seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
            line = found ? found->line : 0;
        }
        std::printf("%-42s %.3f s (median of %d), found at line %zu\n", s.what, Median(seconds), rounds, line);
    }
    return 0;
}
