#pragma once
// The channel between vantrel.exe and its hook library, defined once: the
// named shared record, its layout, the notification that announces a
// record, and the reasons SetMyHook gives when it cannot catch. The library
// of either bitness, its companion program, vantrel.exe and the benchmark all
// include this header. It needs the standard library only, so the program's
// portable rules and their unit tests read the same definitions.

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
    // The library's own 16 bytes. The program never writes them; it reads
    // only the report number.
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
};

}  // namespace vantrel
