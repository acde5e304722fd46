#pragma once
// The hook library's rules that need no system: which way a hook is set
// (here or through a companion of the other bitness), the writers' lock in
// the shared record, the marker of a handshake in progress, the time limits,
// when a watched thread reports, and the companion's names. Header-only, so the library of either bitness,
// the companion program and the native unit tests compile the same code.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vantrel::hook {

// ---- Time limits (milliseconds) ---------------------------------------------

// The most a watched thread gives one message's report, from the first try
// to the end: the writers' lock, the record and the notification together.
// Whatever another program writes into the shared objects, no message of a
// watched program waits longer for the library.
inline constexpr std::uint32_t kReportDeadlineMs = 250;
// How long a waiting writer lets the lock's holder be before it asks whether
// that thread still exists: a writer that crashed while reporting holds it
// for good.
inline constexpr std::uint32_t kOwnerCheckMs = 2;
// No living writer holds the lock longer than its own report's deadline, and
// a waiter that began after it took the lock sees it go before that time has
// passed again: a lock word unchanged for this long was left behind (its
// thread number taken by a new thread since) or planted, and is taken over,
// early enough to leave the report time for its notification.
inline constexpr std::uint32_t kStaleLockMs = kReportDeadlineMs * 4 / 5;
// A thread whose report missed its deadline reports nothing more until the
// notify window answers a probe; it sends one at most this often.
inline constexpr std::uint32_t kProbeEveryMs = 500;
// Start's proof that the library runs in the watched thread: the watched
// window must answer the handshake within this time.
inline constexpr std::uint32_t kHandshakeMs = 1000;
// A companion must show its window this soon after it was started, and
// answer each request within this time.
inline constexpr std::uint32_t kCompanionStartMs = 15000;
inline constexpr std::uint32_t kCompanionRequestMs = 5000;

// ---- Which way the hook is set ----------------------------------------------

enum class Route {
    Direct,       // this library sets the hook itself
    Companion32,  // the 32-bit companion sets it
    Companion64,  // the 64-bit companion sets it
};

// self64: this process is 64-bit. os64: the system is 64-bit. targetWow64:
// the watched process runs as a 32-bit program on a 64-bit system (the
// system's answer), nothing when that process cannot be asked (it then counts
// as one of this library's own bitness). throughCompanion: the test switch
// that sends even a watched program of this bitness through a companion.
inline Route ChooseRoute(bool self64, bool os64, std::optional<bool> targetWow64, bool throughCompanion) {
    bool target64 = self64;
    if (os64 && targetWow64) target64 = !*targetWow64;
    if (target64 == self64 && !throughCompanion) return Route::Direct;
    return target64 ? Route::Companion64 : Route::Companion32;
}

inline int RouteBits(Route route) { return route == Route::Companion64 ? 64 : 32; }

// The companion of a bitness and its library, beside VANTREL.DLL.
inline std::string CompanionProgram(int bits) { return bits == 64 ? "vantrel64.exe" : "vantrel32.exe"; }
inline std::string CompanionLibrary(int bits) { return bits == 64 ? "VANTREL64.DLL" : "VANTREL32.DLL"; }

// The environment variable of the test switch: "1" routes catching a program
// of the library's own bitness through the companion of that bitness.
inline constexpr const char* kCompanionSwitch = "VANTREL_HOOK_COMPANION";

// The companion's message-only window and its two requests (sent with a
// time limit; the answer is 1 when done). Each carries in its lParam the key
// that vantrel.exe gave the companion on its command line: a request with
// another key, or one that was posted, is not taken.
inline constexpr const char* kCompanionClass = "VantrelHookCompanion";
inline constexpr unsigned kCompanionSetHooks = 0x8000 + 0x48;     // wParam: one more thread to hook
inline constexpr unsigned kCompanionRemoveHooks = 0x8000 + 0x49;  // wParam: nothing; every hook goes
inline constexpr unsigned kCompanionSetReturns = 0x8000 + 0x4A;   // wParam: 1 the return hooks on, 0 off
inline constexpr unsigned kCompanionSetScout = 0x8000 + 0x4B;     // wParam: the process to scout, 0 none

// A new thread of a watched process asks for its hooks with this message,
// sent to the header's requestWindow (vantrel.exe's or the companion's):
// wParam the thread. It carries no key, since the watched program has none:
// the thread is hooked only when it belongs to the process being scouted.
inline constexpr unsigned kHookThreadRequest = 0x8000 + 0x4C;
// The threads of one catch that are hooked at most.
inline constexpr std::size_t kMostHookedThreads = 1024;

// The registered message of Start's handshake, sent to the watched window.
inline constexpr const char* kHandshakeMessageName = "Vantrel hook handshake {8C1E5F2A-3D47-4B69-9A0E-61F2D7C4B358}";

// ---- The library's own words in the shared record ------------------------------

// While Start proves that the library runs in the watched thread, the record
// names the watched window in this form: nothing is reported (no real window
// has this handle), and the library's hook procedure that sees the handshake
// writes the plain handle back as its acknowledgement.
inline constexpr std::uint32_t PendingWindow(std::uint32_t window) { return ~window; }

// The writers' lock: the word holds the thread number of the writer, 0 when
// free. Env gives the time (NowMs, milliseconds), whether a thread still
// exists (ThreadAlive) and a pause between tries (Pause, with the try count).
// A holder that no longer exists is replaced within kOwnerCheckMs, one that
// held the same word for kStaleLockMs as well. The wait ends at the deadline
// (an absolute time of NowMs) however the word changes meanwhile: false then,
// and the lock is not taken.
template <class Env>
bool TakeWriterLock(std::uint32_t& word, std::uint32_t self, Env& env, std::uint64_t deadline) {
    std::atomic_ref<std::uint32_t> lock(word);
    std::uint32_t seen = 0;
    std::uint64_t seenSince = env.NowMs();
    bool asked = false;
    for (unsigned tries = 0;; ++tries) {
        std::uint32_t holder = 0;
        if (lock.compare_exchange_strong(holder, self)) return true;
        // This thread's own number: left by a thread that ended, whose number
        // this thread was given.
        if (holder == self) return true;
        const std::uint64_t now = env.NowMs();
        if (holder != seen) {
            seen = holder;
            seenSince = now;
            asked = false;
        }
        const std::uint64_t unchanged = now - seenSince;
        const bool gone = !asked && unchanged >= kOwnerCheckMs && !env.ThreadAlive(holder);
        if (unchanged >= kOwnerCheckMs) asked = true;
        if (gone || unchanged >= kStaleLockMs) {
            std::uint32_t expected = holder;
            if (lock.compare_exchange_strong(expected, self)) return true;
            continue;
        }
        if (now >= deadline) return false;
        env.Pause(tries);
    }
}

inline void ReleaseWriterLock(std::uint32_t& word, std::uint32_t self) {
    std::atomic_ref<std::uint32_t> lock(word);
    std::uint32_t expected = self;
    lock.compare_exchange_strong(expected, 0);
}

// ---- A watched thread's reporting ---------------------------------------------

// Whether a watched thread reports: on, or off since one of its reports
// missed the deadline (Vantrel too slow to answer, the lock held by someone
// else), until the notify window answers a probe, as a hung window is not
// asked again until it answers. The state is one word (0 when on, else the
// time of the last try with the lowest bit set), so it fits a thread slot.
class ReportGate {
public:
    enum class Step { Report, Probe, Skip };

    explicit ReportGate(std::uintptr_t word = 0) : word_(static_cast<std::uint32_t>(word)) {}
    std::uintptr_t Word() const { return word_; }

    // What to do with the next message at time now (milliseconds, wrapping).
    Step Next(std::uint32_t now) const {
        if (!word_) return Step::Report;
        return now - (word_ & ~1u) >= kProbeEveryMs ? Step::Probe : Step::Skip;
    }
    // A deadline passed, or a probe went unanswered: off, and the next probe
    // waits kProbeEveryMs.
    void Missed(std::uint32_t now) { word_ = now | 1u; }
    // The notify window answered, or a new catch began: on.
    void Answered() { word_ = 0; }

private:
    std::uint32_t word_;
};

}  // namespace vantrel::hook
