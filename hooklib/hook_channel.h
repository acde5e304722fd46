#pragma once
// The channel between vantrel.exe and its hook library, defined once: the
// named shared record, its layout, the notification that announces a
// record, and the reasons SetMyHook gives when it cannot catch. The library
// of either bitness, its companion program, vantrel.exe and the benchmark all
// include this header. It needs the standard library only, so the program's
// portable rules and their unit tests read the same definitions.

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace vantrel {

// The shared record: a named paging-file mapping of 44 bytes.
inline constexpr const char* kHookMappingName =
    "Vantrel - Mapped File for Hook {3F6D2A17-9B4E-4C81-A5D0-7E29C4B81F63}";
inline constexpr std::uint32_t kHookRecordSize = 44;

// WM_USER + 133: the library announces a completed record with it, sent and
// waited for; its wParam and lParam carry nothing.
inline constexpr std::uint32_t HookNotifyMessage = 0x485;

// The 44 bytes, every field 32 bits wide and little-endian whatever the
// bitness of the process that writes it: window handles carry 32 significant
// bits, and wider values keep their low 32 bits.
struct HookRecord {
    // The library's own 16 bytes: the program never reads or writes them, and
    // a library of another make may use them as it likes.
    std::uint32_t notifyWindow;   // where reports go (the Catch Messages window); 0 = nobody catches
    std::uint32_t watchedWindow;  // the window whose messages are reported
    std::uint32_t writerLock;     // the library's lock among its writers
    std::uint32_t sequence;       // report number: one more for every record written, wrapping
    // From offset 16: the platform's MSG structure.
    std::uint32_t hwnd;
    std::uint32_t message;
    std::uint32_t wParam;
    std::uint32_t lParam;
    std::uint32_t time;
    std::int32_t x;
    std::int32_t y;
};
static_assert(sizeof(HookRecord) == kHookRecordSize, "the shared record is 44 bytes");
static_assert(offsetof(HookRecord, sequence) == 12, "the report number closes the library's area");
static_assert(offsetof(HookRecord, hwnd) == 16, "the MSG part starts at offset 16");

// Why SetMyHook returned zero: its thread's last-error code then holds one of
// these (application-defined codes, bit 29 set). Any other code means a
// failure the library cannot name.
enum class HookFailure : std::uint32_t {
    NoWindow = 0x20560001,  // the watched window is gone
    OtherCatching,          // another running Vantrel catches through the record
    NoCompanion,            // the companion for the other bitness is missing, did not start or ended
    NoEntry,                // the library may not enter the watched window's process
    NoAnswer,               // the watched window's thread did not answer in time
    NoRecord,               // the shared record cannot be opened
    ForeignRecord,          // another program made the shared record or the details object
};

// ---- The details object: its header -----------------------------------------
//
// A second named paging-file mapping beside the record, which vantrel.exe
// creates and maps with the record and the library fills. It starts with this
// header; the details of the current report follow it. A library that knows
// nothing of this object leaves the header at 0, and every announced record is
// then logged as it is.
inline constexpr const char* kDetailsMappingName =
    "Vantrel - Message details {32F94130-5798-4909-92B3-D94A1452C2BD}";
// The header takes the bytes before this offset; the details follow it.
inline constexpr std::uint32_t kDetailsOffset = 64;
// The whole object: the header, then the details of the current report.
inline constexpr std::uint32_t kDetailsObjectSize = 4096;

struct HookDetailsHeader {
    // Whether the record (bytes 16 to 43) and the details are whole: odd while
    // a writer writes them, even when whole, 0 while no writer ever used it.
    // A reader that sees the same even value before and after its copy has a
    // whole record.
    std::uint32_t wholeCount;
    // The report number of the record: one more for every report written, so
    // a gap tells the program how many reports it missed.
    std::uint32_t reportNumber;
    // Start's handshake: the hook procedure in the watched thread writes here
    // the answer to the number that came with the handshake message.
    std::uint32_t handshakeAnswer;
    std::uint32_t reserved[13];  // 0
};
static_assert(sizeof(HookDetailsHeader) == kDetailsOffset, "the details header takes the bytes before the details");
static_assert(kDetailsOffset <= kDetailsObjectSize, "the header fits the details object");

// The writer's side of wholeCount: WholeWriteBegins makes the word odd and
// gives the even value that WholeWriteEnds then stores. A word left odd (a
// writer that ended half-way, or anything another program wrote) is taken up
// to the next even number, and the count never comes back to 0.
inline std::uint32_t WholeWriteBegins(std::uint32_t& count) {
    std::atomic_ref<std::uint32_t> word(count);
    const std::uint32_t even = (word.load(std::memory_order_relaxed) + 1u) & ~1u;
    word.store(even + 1u, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    return even + 2u == 0 ? 2u : even + 2u;
}
inline void WholeWriteEnds(std::uint32_t& count, std::uint32_t even) {
    std::atomic_ref<std::uint32_t>(count).store(even, std::memory_order_release);
}

// The reader's side: copy (which reads the record and the details) runs
// between two looks at the count; true when what it copied was whole.
template <typename Copy>
bool ReadWhole(const std::uint32_t& count, Copy&& copy) {
    std::atomic_ref<std::uint32_t> word(const_cast<std::uint32_t&>(count));
    const std::uint32_t before = word.load(std::memory_order_acquire);
    if (before & 1u) return false;
    copy();
    std::atomic_thread_fence(std::memory_order_acquire);
    return word.load(std::memory_order_relaxed) == before;
}

// The answer that proves the handshake reached the hook procedure: only a
// procedure that saw the handshake's number can write it.
inline constexpr std::uint32_t HandshakeAnswer(std::uint32_t number) { return (number ^ 0x5A3C96E1u) | 1u; }

}  // namespace vantrel
