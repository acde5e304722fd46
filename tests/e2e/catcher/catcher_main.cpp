// vantrel_catcher.exe: the program's side of the hook library's channel, for
// the end-to-end tests of what the library captures, without the Catch
// Messages window: it makes the shared record and the details object, tells
// VANTREL.DLL the watch and the options, and turns every report (and every
// return in the ring) into a line.
//
//   vantrel_catcher.exe --out <file>
//
// Writes "control <its window's handle, decimal>" and "ready" to <file> once
// it runs, as the window fixture writes its handles.
// Commands: WM_COPYDATA (dwData 1, a UTF-8 text) to the control window; the
// result is 1 when the command succeeded, the reply goes to "<file>.reply".
//   options <watch 0-3> <details 0|1>   SetMyHookOptions; reply: the last error on failure
//   start <window, decimal>             SetMyHook; reply: the last error on failure
//   stop                                RemoveMyHook
//   lines                               reply: the lines since the last clear, each ended by CR LF
//   clear                               forgets the lines
//   quit
// A line: "<message, 4+ hexadecimal digits> <window and class> | <details column>",
// where the window and class come from the details (TargetWindowText) and the
// column is DetailsText's; a report without details gives "-" for both.

#include "catch/message_details.h"
#include "hooklib/hook_channel.h"
#include "hooklib/vantrel_hook.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace vantrel;

constexpr UINT_PTR kReturnsTimer = 1;
constexpr UINT kReturnsEveryMs = 100;

std::string g_out;
HWND g_notify = nullptr;
HookRecord* g_record = nullptr;
const std::uint8_t* g_details = nullptr;
bool g_catching = false;
std::uint32_t g_last = 0;  // the number of the last report or return taken
std::vector<std::string> g_lines;

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

// The registered name of a message from 0xC000 on (registered messages and
// clipboard formats share their names).
std::string RegisteredName(std::uint32_t message) {
    if (message < 0xC000 || message > 0xFFFF) return {};
    wchar_t name[256] = {};
    const int length = ::GetClipboardFormatNameW(message, name, 256);
    std::string text;
    for (int i = 0; i < length; ++i) text += name[i] < 0x80 ? static_cast<char>(name[i]) : '?';
    return text;
}

void AddLine(std::uint32_t message, const MessageDetails* details) {
    if (!details) {
        g_lines.push_back(Hex(message) + " - | -");
        return;
    }
    g_lines.push_back(Hex(message) + " " + TargetWindowText(*details) + " | " +
                      DetailsText(*details, RegisteredName(details->message)));
}

void DrainReturns(std::uint32_t before) {
    g_last = vantrel::TakeReturns(g_details, g_last, before,
                         [](const ReturnEntry& entry) { AddLine(entry.details.message, &entry.details); });
}

// One notification: the returns before it, then the report, read whole.
void TakeReport() {
    if (!g_catching) return;
    const auto& header = *reinterpret_cast<const HookDetailsHeader*>(g_details);
    HookRecord record{};
    MessageDetails details{};
    std::uint32_t number = 0;
    const bool whole = ReadWhole(header.wholeCount, [&] {
        std::memcpy(&record, g_record, sizeof record);
        std::memcpy(&details, g_details + kDetailsOffset, sizeof details);
        number = header.reportNumber;
    });
    if (!whole) return;
    DrainReturns(number);
    AddLine(record.message, DetailsMatch(record, details) ? &details : nullptr);
    g_last = number;
}

void WriteFileText(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    if (FILE* file = std::fopen(temporary.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        ::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

bool Run(const std::string& command, std::string& reply) {
    std::istringstream in(command);
    std::string verb;
    in >> verb;
    if (verb == "options") {
        unsigned long watch = 0, details = 0;
        in >> watch >> details;
        if (SetMyHookOptions(watch, details ? kHookOptionDetails : 0)) return true;
        reply = std::to_string(::GetLastError());
        return false;
    }
    if (verb == "start") {
        unsigned long window = 0;
        in >> window;
        if (SetMyHook(g_notify, reinterpret_cast<HWND>(static_cast<UINT_PTR>(window)))) {
            g_last = reinterpret_cast<const HookDetailsHeader*>(g_details)->reportNumber;
            g_catching = true;
            ::SetTimer(g_notify, kReturnsTimer, kReturnsEveryMs, nullptr);
            return true;
        }
        reply = std::to_string(::GetLastError());
        return false;
    }
    if (verb == "stop") {
        RemoveMyHook();
        g_catching = false;
        ::KillTimer(g_notify, kReturnsTimer);
        return true;
    }
    if (verb == "lines") {
        for (const std::string& line : g_lines) reply += line + "\r\n";
        return true;
    }
    if (verb == "clear") {
        g_lines.clear();
        return true;
    }
    if (verb == "quit") {
        ::PostQuitMessage(0);
        return true;
    }
    return false;
}

LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case HookNotifyMessage:
            TakeReport();
            return 0;
        case WM_TIMER:
            if (wParam == kReturnsTimer && g_catching) DrainReturns(0);
            return 0;
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (data->dwData != 1 || !data->lpData) return 0;
            const std::string command(static_cast<const char*>(data->lpData),
                                      strnlen(static_cast<const char*>(data->lpData), data->cbData));
            std::string reply;
            const bool done = Run(command, reply);
            WriteFileText(g_out + ".reply", reply);
            return done ? 1 : 0;
        }
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    std::string line = commandLine;
    const std::size_t at = line.find("--out ");
    if (at == std::string::npos) return 1;
    g_out = line.substr(at + 6);
    if (!g_out.empty() && g_out.front() == '"') g_out = g_out.substr(1, g_out.find('"', 1) - 1);

    HANDLE recordMapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kHookRecordSize,
                                                kHookMappingName);
    HANDLE detailsMapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                 kDetailsObjectSize, kDetailsMappingName);
    if (!recordMapping || !detailsMapping) return 2;
    g_record = static_cast<HookRecord*>(::MapViewOfFile(recordMapping, FILE_MAP_ALL_ACCESS, 0, 0, kHookRecordSize));
    g_details = static_cast<const std::uint8_t*>(::MapViewOfFile(detailsMapping, FILE_MAP_READ, 0, 0,
                                                                 kDetailsObjectSize));
    if (!g_record || !g_details) return 2;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = NotifyProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"VantrelTestCatcher";
    ::RegisterClassW(&windowClass);
    g_notify = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                 nullptr);
    if (!g_notify) return 3;
    WriteFileText(g_out, "control " +
                             std::to_string(static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(g_notify))) +
                             "\nready\n");
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    RemoveMyHook();
    return 0;
}
