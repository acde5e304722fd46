// vantrel_neighbour.exe: a hostile neighbour for the end-to-end tests, a
// program of the same user that knows every name Vantrel shares and abuses
// them all, as any program on the desktop could.
//
//   vantrel_neighbour.exe squat <milliseconds>
//       Makes Vantrel's shared record and details object before Vantrel does,
//       as a program with fewer rights would make them (owned by another
//       account, labelled for low rights, open to everybody), and holds them
//       for that long.
//   vantrel_neighbour.exe storm <milliseconds> <window>...
//       For that long, from threads of its own, while Vantrel catches one of
//       the windows (handles in decimal):
//       - random bytes into the record and the details object, whole or a
//         word at a time, the whole-record count left odd now and then, the
//         catch as Vantrel set it up put back in between;
//       - a new writers' lock value every millisecond: the numbers of its
//         own living threads, random ones;
//       - forged notify windows: its own windows written as the notify
//         window beside a watched window (one answers at once, one only after
//         three seconds), the watched window's pending form too;
//       - chain-mark words: the per-process objects in which an earlier
//         hook library looked up its thread slot, for every watched program,
//         with words that name thread slots;
//       - garbage to every companion window: its two requests with the
//         watched threads and random keys, sent and posted, closing and quit
//         messages;
//       - forged notifications to every Catch Messages window, and Start's
//         handshake message with random numbers to the watched windows.
//       Exit code 0 when it ran its time.

#include "hooklib/hook_channel.h"
#include "hooklib/hook_rules.h"

#include <windows.h>
#include <sddl.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using vantrel::HookDetailsHeader;
using vantrel::HookRecord;

std::atomic<bool> g_stop{false};
HANDLE g_stopped = nullptr;  // set when the time is up

// xorshift: the neighbour needs noise, not secrets.
std::uint32_t Random() {
    thread_local std::uint32_t state = ::GetTickCount() ^ (::GetCurrentThreadId() * 2654435761u) ^ 0x9E3779B9u;
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

void Rest(DWORD ms) { ::WaitForSingleObject(g_stopped, ms); }

HWND WindowOf(std::uint32_t value) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(value)));
}

template <typename T>
T* Map(const char* name, std::uint32_t size) {
    HANDLE mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
    if (!mapping) return nullptr;
    // The handle stays open with the view for the neighbour's life.
    return static_cast<T*>(::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, size));
}

int Squat(DWORD ms) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA("O:BUD:(A;;GA;;;WD)S:(ML;;NW;;;LW)", SDDL_REVISION_1,
                                                                &descriptor, nullptr))
        return 2;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    HANDLE record = ::CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0,
                                         vantrel::kHookRecordSize, vantrel::kHookMappingName);
    const bool recordNew = record && ::GetLastError() != ERROR_ALREADY_EXISTS;
    HANDLE details = ::CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0,
                                          vantrel::kDetailsObjectSize, vantrel::kDetailsMappingName);
    const bool detailsNew = details && ::GetLastError() != ERROR_ALREADY_EXISTS;
    if (!recordNew || !detailsNew) return 3;  // somebody made them first
    ::Sleep(ms);
    return 0;
}

struct Storm {
    std::vector<std::uint32_t> windows;
    std::vector<DWORD> processes;
    std::vector<DWORD> threads;        // the watched windows' threads
    std::atomic<std::uint32_t> fast{0}, slow{0};
    std::atomic<std::uint32_t> ownThreads[5] = {};
    HookRecord* record = nullptr;
    HookDetailsHeader* details = nullptr;
    std::vector<std::uint32_t*> chainWords;

    std::uint32_t AnyWindow() { return windows[Random() % windows.size()]; }

    void Lock() {
        ownThreads[0] = ::GetCurrentThreadId();
        // Never the watched thread's own number, which it would take as left
        // to it: a lock that keeps changing hands among living threads.
        for (std::uint32_t i = 0; !g_stop; ++i) {
            std::uint32_t planted = Random();
            switch (i % 3) {
                case 0: planted = ownThreads[Random() % 5]; break;
                case 1: planted = ::GetCurrentThreadId(); break;
                default: break;
            }
            if (record) std::atomic_ref<std::uint32_t>(record->writerLock).store(planted);
            Rest(1);
        }
    }

    void Bytes() {
        ownThreads[1] = ::GetCurrentThreadId();
        // The catch as Vantrel set it up, put back after most blows, so that
        // the watched thread keeps trying to report into the storm.
        std::uint32_t notify = 0, watched = 0;
        for (std::uint32_t i = 0; !g_stop; ++i) {
            if (!record) record = Map<HookRecord>(vantrel::kHookMappingName, vantrel::kHookRecordSize);
            if (!details) details = Map<HookDetailsHeader>(vantrel::kDetailsMappingName, vantrel::kDetailsObjectSize);
            if (record && details) {
                if (!notify) {
                    notify = record->notifyWindow;
                    watched = record->watchedWindow;
                }
                auto* recordWords = reinterpret_cast<std::uint32_t*>(record);
                auto* detailsWords = reinterpret_cast<std::uint32_t*>(details);
                switch (Random() % 8) {
                    case 0:
                        for (std::uint32_t w = 0; w < vantrel::kHookRecordSize / 4; ++w) recordWords[w] = Random();
                        break;
                    case 1:
                        for (std::uint32_t w = 0; w < vantrel::kDetailsObjectSize / 4; w += 1 + Random() % 16)
                            detailsWords[w] = Random();
                        break;
                    case 2:  // a forged notify window beside a watched window
                        record->notifyWindow = Random() % 2 ? slow.load() : fast.load();
                        record->watchedWindow = AnyWindow();
                        break;
                    case 3:  // the pending form of a watched window, as during Start
                        record->watchedWindow = vantrel::hook::PendingWindow(AnyWindow());
                        break;
                    case 4:
                        details->wholeCount = Random() | 1u;
                        details->reportNumber = Random();
                        break;
                    case 5:
                        recordWords[Random() % (vantrel::kHookRecordSize / 4)] = Random();
                        break;
                    default:
                        record->notifyWindow = notify;
                        record->watchedWindow = watched;
                        break;
                }
            }
            for (std::uint32_t* word : chainWords) *word = Random() % 3 ? 1 + Random() % 80 : Random();
            Rest(Random() % 4);
        }
    }

    void Messages() {
        ownThreads[2] = ::GetCurrentThreadId();
        const UINT handshake = ::RegisterWindowMessageA(vantrel::hook::kHandshakeMessageName);
        auto sendBriefly = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 50, &result);
        };
        while (!g_stop) {
            for (HWND companion = ::FindWindowExA(HWND_MESSAGE, nullptr, vantrel::hook::kCompanionClass, nullptr);
                 companion; companion = ::FindWindowExA(HWND_MESSAGE, companion, vantrel::hook::kCompanionClass, nullptr)) {
                const UINT requests[] = {vantrel::hook::kCompanionSetHooks, vantrel::hook::kCompanionRemoveHooks,
                                         WM_CLOSE, WM_DESTROY, 0x8000u + Random() % 0x100};
                const UINT request = requests[Random() % 5];
                const WPARAM thread = Random() % 2 ? threads[Random() % threads.size()] : Random();
                sendBriefly(companion, request, thread, static_cast<LPARAM>(Random()));
                ::PostMessageA(companion, request, thread, static_cast<LPARAM>(Random()));
                if (Random() % 16 == 0) ::PostMessageA(companion, WM_QUIT, 0, 0);
            }
            for (HWND catcher = ::FindWindowExA(nullptr, nullptr, "TForm5ForHook", nullptr); catcher;
                 catcher = ::FindWindowExA(nullptr, catcher, "TForm5ForHook", nullptr))
                sendBriefly(catcher, vantrel::HookNotifyMessage, Random(), static_cast<LPARAM>(Random()));
            sendBriefly(WindowOf(AnyWindow()), handshake, Random(), static_cast<LPARAM>(Random()));
            Rest(2);
        }
    }

    // A window of its own to be written as the notify window: it answers
    // every message at once, or (slow) the notification after three seconds.
    void Window(bool slowOne) {
        ownThreads[slowOne ? 4 : 3] = ::GetCurrentThreadId();
        const char* name = slowOne ? "VantrelNeighbourSlow" : "VantrelNeighbourFast";
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = slowOne ? SlowProc : FastProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = name;
        ::RegisterClassA(&windowClass);
        HWND window = ::CreateWindowExA(0, name, name, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                        windowClass.hInstance, nullptr);
        (slowOne ? slow : fast) = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window));
        while (!g_stop) {
            ::MsgWaitForMultipleObjects(1, &g_stopped, FALSE, 50, QS_ALLINPUT);
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        }
        ::DestroyWindow(window);
    }

    static LRESULT CALLBACK FastProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    static LRESULT CALLBACK SlowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == vantrel::HookNotifyMessage) Rest(3000);
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
};

int RunStorm(DWORD ms, Storm& storm) {
    if (storm.windows.empty()) return 2;
    for (std::uint32_t value : storm.windows) {
        DWORD process = 0;
        storm.threads.push_back(::GetWindowThreadProcessId(WindowOf(value), &process));
        storm.processes.push_back(process);
    }
    // The words an earlier library took as its thread slot, made first or opened.
    for (DWORD process : storm.processes) {
        const std::string name = "Vantrel hook chain mark " + std::to_string(process);
        if (HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str()))
            if (void* view = ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 4))
                storm.chainWords.push_back(static_cast<std::uint32_t*>(view));
    }
    std::vector<std::thread> threads;
    threads.emplace_back([&] { storm.Window(false); });
    threads.emplace_back([&] { storm.Window(true); });
    threads.emplace_back([&] { storm.Lock(); });
    threads.emplace_back([&] { storm.Bytes(); });
    threads.emplace_back([&] { storm.Messages(); });
    ::Sleep(ms);
    g_stop = true;
    ::SetEvent(g_stopped);
    for (std::thread& thread : threads) thread.join();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    g_stopped = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const auto ms = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    if (std::strcmp(argv[1], "squat") == 0) return Squat(ms);
    if (std::strcmp(argv[1], "storm") != 0) return 2;
    Storm storm;
    for (int i = 3; i < argc; ++i) storm.windows.push_back(static_cast<std::uint32_t>(std::strtoul(argv[i], nullptr, 10)));
    return RunStorm(ms, storm);
}
