// vantrel_bench_windows.exe: a crowded desktop and a message source for the
// benchmarks.
//
//   vantrel_bench_windows.exe --out <file> --windows <n>
//
// Creates n windows of its own (n/5 top-level, a fifth of those owned by
// another top-level window, one chain of child windows 40 levels deep, the
// rest child windows spread over the top-level windows, up to five levels
// deep), plus the window "watched" (a plain top-level window that receives
// the benchmark's messages) and a message-only control window. Then writes
// "<control> <watched>" (unsigned decimal handles) to <file>.
//
// The control window takes these messages (sent by the benchmark):
//   kSendBurst  wParam = count, lParam = 0: sends count messages
//               (kBurstMessage) to "watched"; with lParam = a window handle,
//               sends one kNotifyMessage to that window after each of them.
//               Returns the elapsed time in microseconds.
//   kRecordBurst like kSendBurst with a window in lParam, but before each
//               notification writes the message into the named shared record
//               of the Catch Messages window, as the hook library does (for
//               measuring the program's side where no hook can be set).
//   kHookedBurst like kSendBurst with a window in lParam, while this thread
//               has a hook of each kind the library sets that only calls the
//               next one: the price of any hook, without the library's work.
//   kMixBurst   wParam = count: sends count messages of a mix to "watched",
//               each of which points to a text or a structure (WM_SETTEXT,
//               WM_GETTEXT, WM_WINDOWPOSCHANGING, WM_NOTIFY from a list view,
//               WM_STYLECHANGING) or carries plain values (a registered
//               message, WM_USER+0x100), in turn. "watched" answers each at
//               once (WM_GETTEXT with a short text). Returns microseconds.
//   kSpreadBurst wParam = count, lParam = n: sends count messages
//               (kBurstMessage) in turn to the first n of the spread windows
//               (n = 1: the first alone). Returns microseconds.
//   kQuit       ends the program.
//
// With --spread <threads> <per thread>, it also makes that many threads with
// that many top-level windows each (the spread windows); the handles file
// then holds "<control> <watched> <first spread window>".

#include "hooklib/hook_channel.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT kSendBurst = WM_APP + 1;
constexpr UINT kQuit = WM_APP + 2;
constexpr UINT kRecordBurst = WM_APP + 3;
constexpr UINT kMixBurst = WM_APP + 4;
constexpr UINT kSpreadBurst = WM_APP + 5;
constexpr UINT kHookedBurst = WM_APP + 6;
constexpr UINT kBurstMessage = WM_USER + 0x100;

HINSTANCE g_instance = nullptr;
HWND g_watched = nullptr;
std::vector<HWND> g_spread;

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// "watched": answers the mix at once, touching nothing.
LRESULT CALLBACK WatchedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            return TRUE;
        case WM_GETTEXT: {
            const char text[] = "Bench text";
            if (wParam < sizeof text) return 0;
            std::memcpy(reinterpret_cast<char*>(lParam), text, sizeof text);
            return sizeof text - 1;
        }
        case WM_WINDOWPOSCHANGING:
        case WM_NOTIFY:
        case WM_STYLECHANGING:
        case kBurstMessage:
            return 0;
        default:
            return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

// The mix, one message after the other.
void SendMix(unsigned count) {
    static const UINT registered = ::RegisterWindowMessageA("VantrelBenchMessage");
    char text[64];
    WINDOWPOS position{g_watched, nullptr, 10, 20, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE};
    NMLISTVIEW notice{};
    notice.hdr = {g_watched, 7, LVN_ITEMCHANGED};
    notice.iItem = 3;
    notice.uChanged = LVIF_STATE;
    STYLESTRUCT styles{WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW | WS_VISIBLE};
    for (unsigned i = 0; i < count; ++i) {
        switch (i % 7) {
            case 0: ::SendMessageA(g_watched, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Bench text")); break;
            case 1: ::SendMessageA(g_watched, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)); break;
            case 2: ::SendMessageA(g_watched, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position)); break;
            case 3: ::SendMessageA(g_watched, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&notice)); break;
            case 4: ::SendMessageA(g_watched, WM_STYLECHANGING, GWL_STYLE, reinterpret_cast<LPARAM>(&styles)); break;
            case 5: ::SendMessageA(g_watched, registered, i, 1); break;
            default: ::SendMessageA(g_watched, kBurstMessage, i, 2); break;
        }
    }
}

DWORD WINAPI RunSpreadThread(LPVOID parameter) {
    auto* job = static_cast<std::pair<int, HANDLE>*>(parameter);
    std::vector<HWND> windows;
    for (int i = 0; i < job->first; ++i)
        windows.push_back(::CreateWindowExA(0, "BenchTopWindow", "Bench spread", WS_OVERLAPPED, 0, 0, 40, 30,
                                            nullptr, nullptr, g_instance, nullptr));
    g_spread.insert(g_spread.end(), windows.begin(), windows.end());
    ::SetEvent(job->second);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    return 0;
}

// threads threads with perThread windows each, in turn (each waits for the last).
void CreateSpread(int threads, int perThread) {
    for (int t = 0; t < threads; ++t) {
        std::pair<int, HANDLE> job{perThread, ::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
        if (HANDLE thread = ::CreateThread(nullptr, 0, RunSpreadThread, &job, 0, nullptr)) {
            ::WaitForSingleObject(job.second, 30000);
            ::CloseHandle(thread);
        }
        ::CloseHandle(job.second);
    }
}

LRESULT CALLBACK NextHookOnly(int code, WPARAM wParam, LPARAM lParam) {
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Hooks of the kinds the library sets for a watched window, on this thread,
// that do nothing but call the next hook.
struct EmptyHooks {
    EmptyHooks()
        : callWnd(::SetWindowsHookExA(WH_CALLWNDPROC, NextHookOnly, nullptr, ::GetCurrentThreadId())),
          getMessage(::SetWindowsHookExA(WH_GETMESSAGE, NextHookOnly, nullptr, ::GetCurrentThreadId())) {}
    ~EmptyHooks() {
        if (callWnd) ::UnhookWindowsHookEx(callWnd);
        if (getMessage) ::UnhookWindowsHookEx(getMessage);
    }
    EmptyHooks(const EmptyHooks&) = delete;
    EmptyHooks& operator=(const EmptyHooks&) = delete;
    HHOOK callWnd;
    HHOOK getMessage;
};

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSendBurst || message == kRecordBurst || message == kHookedBurst) {
        HWND sink = reinterpret_cast<HWND>(lParam);
        std::unique_ptr<EmptyHooks> hooks;
        if (message == kHookedBurst) {
            hooks = std::make_unique<EmptyHooks>();
            if (!hooks->callWnd || !hooks->getMessage) return -1;
        }
        HANDLE mapping = nullptr;
        vantrel::HookRecord* record = nullptr;
        if (message == kRecordBurst) {
            mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, vantrel::kHookMappingName);
            if (!mapping) return -1;
            record = static_cast<vantrel::HookRecord*>(
                ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, vantrel::kHookRecordSize));
            if (!record) {
                ::CloseHandle(mapping);
                return -1;
            }
        }
        LARGE_INTEGER frequency, start, end;
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&start);
        const auto count = static_cast<unsigned>(wParam);
        for (unsigned i = 0; i < count; ++i) {
            ::SendMessageA(g_watched, kBurstMessage, i, static_cast<LPARAM>(count - i));
            if (record) {
                // The position the thread last saw, as the library takes it
                // for a sent message (asking the pointer costs a round trip).
                const DWORD position = ::GetMessagePos();
                const POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
                record->hwnd = static_cast<std::uint32_t>(reinterpret_cast<uintptr_t>(g_watched));
                record->message = kBurstMessage;
                record->wParam = i;
                record->lParam = count - i;
                record->time = ::GetTickCount();
                record->x = point.x;
                record->y = point.y;
                ++record->sequence;
            }
            if (sink) ::SendMessageA(sink, vantrel::HookNotifyMessage, 0, 0);
        }
        ::QueryPerformanceCounter(&end);
        if (record) ::UnmapViewOfFile(record);
        if (mapping) ::CloseHandle(mapping);
        return static_cast<LRESULT>((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
    }
    if (message == kMixBurst || message == kSpreadBurst) {
        LARGE_INTEGER frequency, start, end;
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&start);
        const auto count = static_cast<unsigned>(wParam);
        if (message == kMixBurst) {
            SendMix(count);
        } else {
            const std::size_t spread = std::min<std::size_t>(std::max<LPARAM>(lParam, 1), g_spread.size());
            for (unsigned i = 0; i < count && spread; ++i) ::SendMessageA(g_spread[i % spread], kBurstMessage, i, 3);
        }
        ::QueryPerformanceCounter(&end);
        return static_cast<LRESULT>((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
    }
    if (message == kQuit) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void Register(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = g_instance;
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
}

HWND Make(const char* className, const std::string& text, DWORD style, HWND parent) {
    return ::CreateWindowExA(0, className, text.c_str(), style, 0, 0, 40, 30, parent, nullptr, g_instance,
                             nullptr);
}

void CreateDesktop(int total) {
    const int topCount = total / 5;
    if (topCount < 1) return;
    const int chain = total >= 200 ? 40 : 0;
    std::vector<HWND> tops;
    // Each top-level window's own windows; a child's parent is picked
    // heap-wise among them, which makes trees a few levels deep.
    std::vector<std::vector<HWND>> families;
    int made = 0;
    for (int i = 0; i < topCount; ++i) {
        HWND owner = nullptr;
        // Every fifth one is owned: by an earlier window (so the walk meets it
        // above its owner) or, for every other one, by the first window.
        if (i % 5 == 4) owner = tops[static_cast<size_t>(i % 10 == 4 ? 0 : i - 1)];
        HWND top = Make(owner ? "BenchOwnedWindow" : "BenchTopWindow", "Bench top " + std::to_string(i),
                        WS_OVERLAPPED, owner);
        tops.push_back(top);
        families.push_back({top});
        ++made;
    }
    HWND link = tops[0];
    for (int i = 0; i < chain; ++i, ++made) {
        link = Make("BenchChainLink", "Link " + std::to_string(i), WS_CHILD, link);
    }
    for (int i = 0; made < total; ++i, ++made) {
        std::vector<HWND>& family = families[static_cast<size_t>(i) % families.size()];
        HWND parent = family[(family.size() - 1) / 3];
        family.push_back(Make(i % 2 ? "Button" : "BenchChildPanel", "Child " + std::to_string(i), WS_CHILD, parent));
    }
}

}  // namespace

int main(int argc, char** argv) {
    g_instance = ::GetModuleHandleA(nullptr);
    std::string out;
    int windows = 0, spreadThreads = 0, spreadPerThread = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--out") out = argv[i + 1];
        else if (option == "--windows") windows = std::atoi(argv[i + 1]);
        else if (option == "--spread" && i + 2 < argc) {
            spreadThreads = std::atoi(argv[i + 1]);
            spreadPerThread = std::atoi(argv[++i + 1]);
        }
    }
    for (const char* name : {"BenchTopWindow", "BenchOwnedWindow", "BenchChainLink", "BenchChildPanel"}) {
        Register(name, PlainProc);
    }
    Register("BenchControl", ControlProc);
    Register("BenchWatched", WatchedProc);
    CreateDesktop(windows);
    CreateSpread(spreadThreads, spreadPerThread);
    g_watched = ::CreateWindowExA(0, "BenchWatched", "Bench watched", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 600,
                                  200, 120, nullptr, nullptr, g_instance, nullptr);
    HWND control = ::CreateWindowExA(0, "BenchControl", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_instance,
                                     nullptr);
    char line[96];
    std::snprintf(line, sizeof line, "%llu %llu %llu\n",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(control)),
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(g_watched)),
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(g_spread.empty() ? nullptr
                                                                                              : g_spread.front())));
    const std::string temporary = out + ".tmp";
    if (FILE* file = std::fopen(temporary.c_str(), "wb")) {
        std::fputs(line, file);
        std::fclose(file);
        ::MoveFileExA(temporary.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageA(&msg);
    }
    return 0;
}
