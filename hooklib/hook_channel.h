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
#include <utility>

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

// ---- Message details: the second shared object ----------------------------
//
// What a line of the log can say beyond the 44-byte record: whether the
// message was sent, posted or is returning, the whole 64-bit values, the
// classes of the windows involved, and a copy of what a parameter points to,
// taken inside the watched program while the message is live. The library
// writes it into a second named paging-file mapping of its own, which begins
// with the library's header (the words that tell a whole report from a torn
// one and number the reports) and holds the current report's details at
// kDetailsOffset. The record is written as before; the details describe the
// same report and name its window and message again, so a reader that finds
// them disagreeing with the record uses the record alone.
//
// Every field has an explicit width and a fixed offset, little-endian,
// whatever the bitness of the writer: a 32-bit writer stores its values
// zero-extended (and the reader then looks at their low 32 bits only), a
// 64-bit writer stores them whole. Window handles carry 32 significant bits,
// as in the record. The reader trusts no word: every count is capped at its
// array, every kind it does not know reads as no payload.

inline constexpr const char* kDetailsMappingName =
    "Vantrel - Message details {32F94130-5798-4909-92B3-D94A1452C2BD}";
// The library's header takes the bytes before this offset.
inline constexpr std::uint32_t kDetailsOffset = 64;

// How the message reached the window procedure.
enum class DetailMark : std::uint8_t {
    None = 0,      // not known (a writer that leaves the details empty)
    Sent = 1,      // it entered the window procedure through a send
    Posted = 2,    // it was taken from the thread's queue
    Returned = 3,  // a sent message's window procedure returned (the result is valid)
};

// Bits of MessageDetails::flags.
inline constexpr std::uint8_t kDetailsWriter64 = 0x01;  // the watched program is 64-bit

// A bounded copy of a text in UTF-16. A writer that meets an ANSI text
// converts it from the watched program's ANSI code page first; it copies at
// most Units units and sets kTextCut when the text went on (a surrogate pair
// is never split: the copy ends before it). No terminating zero is needed.
inline constexpr std::uint16_t kTextCut = 0x0001;        // the source text was longer than the copy
inline constexpr std::uint16_t kTextResource = 0x0002;   // not a text but a resource number (in units[0])
inline constexpr std::uint16_t kTextUnreadable = 0x0004; // the text's address could not be read

template <std::uint16_t Units>
struct DetailText {
    std::uint16_t length;  // units held; the reader caps it at Units
    std::uint16_t flags;   // kText* bits
    char16_t units[Units];
};

// Class names, zero-terminated when shorter than the array (the system's
// limit is 256; the common ones are far shorter).
inline constexpr std::uint32_t kDetailClassUnits = 64;
// Texts of a message (WM_SETTEXT, WM_GETTEXT's result, ...).
inline constexpr std::uint16_t kDetailTextUnits = 256;
// The bytes of payload that follow the fixed part.
inline constexpr std::uint32_t kDetailPayloadBytes = 528;

// Which structure the payload holds. Numbers are part of the contract.
enum class PayloadKind : std::uint16_t {
    None = 0,
    Unreadable = 1,  // the parameter's address could not be read (no structure was copied)
    Text = 2,        // DetailText<kDetailTextUnits>
    CreateStruct = 3,
    WindowPos = 4,
    MinMaxInfo = 5,
    NcCalcSize = 6,
    StyleStruct = 7,
    DrawItem = 8,
    MeasureItem = 9,
    CopyData = 10,
    HelpInfo = 11,
    Rect = 12,             // WM_SIZING, WM_MOVING, WM_DPICHANGED's suggested rectangle
    NotifyHeader = 20,     // WM_NOTIFY: NMHDR alone
    NotifyListView = 21,   // NMLISTVIEW, NMITEMACTIVATE
    NotifyTreeView = 22,   // NMTREEVIEW
    NotifyKeyDown = 23,    // NMLVKEYDOWN, NMTVKEYDOWN, NMTCKEYDOWN, NMKEY
    NotifyCustomDraw = 24, // NMCUSTOMDRAW (the start of every control's form)
    NotifyMouse = 25,      // NMMOUSE (NM_CLICK and the like from tool and status bars)
    NotifyUpDown = 26,     // NMUPDOWN
    NotifyHeaderItem = 27, // NMHEADER
    NotifyToolBar = 28,    // NMTOOLBAR (its item)
    NotifyChar = 29,       // NMCHAR
    NotifyListViewItem = 30, // NMLVDISPINFO (its LVITEM)
    NotifyTreeViewItem = 31, // NMTVDISPINFO (its TVITEM)
};

struct DetailRect {
    std::int32_t left, top, right, bottom;
};

struct DetailCreateStruct {
    std::uint64_t createParams;
    std::uint64_t instance;
    std::uint64_t menu;        // the menu, or a child's identifier
    std::uint32_t parent;
    std::int32_t cy, cx, y, x;
    std::uint32_t style;
    std::uint32_t exStyle;
    std::uint32_t classAtom;   // the class given as an atom (className then empty), else 0
    DetailText<128> name;
    DetailText<64> className;
};

struct DetailWindowPos {
    std::uint32_t window;
    // A window, or HWND_TOP 0, HWND_BOTTOM 1, HWND_TOPMOST 0xFFFFFFFF, HWND_NOTOPMOST 0xFFFFFFFE.
    std::uint32_t insertAfter;
    std::int32_t x, y, cx, cy;
    std::uint32_t flags;        // SWP_*
    std::uint32_t reserved;
};

struct DetailMinMaxInfo {  // each a point: x, y
    std::int32_t reserved[2], maxSize[2], maxPosition[2], minTrackSize[2], maxTrackSize[2];
};

struct DetailNcCalcSize {
    DetailRect rects[3];
    std::uint32_t rectCount;    // 1 (wParam FALSE: one rectangle) or 3
    std::uint32_t hasWindowPos; // the WINDOWPOS of a TRUE wParam was read
    DetailWindowPos windowPos;
};

struct DetailStyleStruct {
    std::uint32_t oldStyle, newStyle;
};

struct DetailDrawItem {
    std::uint32_t ctlType, ctlId, itemId, itemAction, itemState;
    std::uint32_t itemWindow;
    std::uint64_t dc;
    DetailRect rect;
    std::uint64_t itemData;
};

struct DetailMeasureItem {
    std::uint32_t ctlType, ctlId, itemId, itemWidth, itemHeight, reserved;
    std::uint64_t itemData;
};

inline constexpr std::uint32_t kDetailCopyDataBytes = 64;
struct DetailCopyData {
    std::uint64_t data;       // dwData
    std::uint32_t size;       // cbData
    std::uint32_t copied;     // the first bytes copied (fewer than asked: the rest was unreadable)
    std::uint8_t bytes[kDetailCopyDataBytes];
};

struct DetailHelpInfo {
    std::uint32_t size;
    std::int32_t contextType;  // HELPINFO_WINDOW 1, HELPINFO_MENUITEM 2
    std::int32_t ctrlId;
    std::uint32_t reserved;
    std::uint64_t itemHandle;
    std::uint64_t contextId;
    std::int32_t mouseX, mouseY;
};

// The NMHDR every notification begins with.
struct DetailNmhdr {
    std::uint64_t idFrom;
    std::uint32_t windowFrom;
    std::uint32_t code;
};

struct DetailNotifyListView {
    DetailNmhdr hdr;
    std::int32_t item, subItem;
    std::uint32_t newState, oldState, changed;
    std::int32_t actionX, actionY;
    std::uint32_t keyFlags;    // NMITEMACTIVATE's uKeyFlags, 0 in an NMLISTVIEW
    std::uint64_t lParam;
};

struct DetailTreeItem {
    std::uint64_t item;        // HTREEITEM
    std::uint64_t lParam;
    std::uint32_t mask, state, stateMask, reserved;
};

struct DetailNotifyTreeView {
    DetailNmhdr hdr;
    std::uint32_t action;
    std::uint32_t reserved;
    DetailTreeItem oldItem, newItem;
    std::int32_t dragX, dragY;
};

struct DetailNotifyKeyDown {
    DetailNmhdr hdr;
    std::uint32_t vkey;
    std::uint32_t flags;
};

struct DetailNotifyCustomDraw {
    DetailNmhdr hdr;
    std::uint32_t drawStage;
    std::uint32_t itemState;
    std::uint64_t dc;
    DetailRect rect;
    std::uint64_t itemSpec;
    std::uint64_t itemlParam;
};

struct DetailNotifyMouse {
    DetailNmhdr hdr;
    std::uint64_t itemSpec;
    std::uint64_t itemData;
    std::int32_t x, y;
    std::uint64_t hitInfo;
};

// NMUPDOWN (position, delta), NMHEADER (item, button), NMTOOLBAR (item, 0).
struct DetailNotifyPair {
    DetailNmhdr hdr;
    std::int32_t first, second;
};

struct DetailNotifyChar {
    DetailNmhdr hdr;
    std::uint32_t ch, itemPrev, itemNext, reserved;
};

// An LVITEM or TVITEM of a display-information notification, with its text
// when the mask asks for one (read on return for the GETDISPINFO codes).
struct DetailNotifyItem {
    DetailNmhdr hdr;
    std::uint64_t item;        // list view: the item index; tree view: the HTREEITEM
    std::uint64_t lParam;
    std::uint32_t mask, state, stateMask;
    std::int32_t subItem;      // list view only
    std::int32_t image;
    std::uint32_t reserved;
    DetailText<64> text;
    std::uint32_t reserved2;
};

// The details of one report, at kDetailsOffset of the second object.
struct MessageDetails {
    std::uint32_t window;    // the window the message went to, as the record's hwnd
    std::uint32_t message;   // as the record's message
    std::uint32_t thread;    // the receiving thread
    std::uint8_t mark;       // DetailMark
    std::uint8_t depth;      // sends nested on that thread around this one (0: none), at most 255
    std::uint8_t flags;      // kDetails* bits
    std::uint8_t reserved0;
    std::uint64_t wParam;    // whole values (see above)
    std::uint64_t lParam;
    std::uint64_t result;    // the window procedure's result, on a Returned report
    char16_t windowClass[kDetailClassUnits];
    // WM_COMMAND, WM_NOTIFY, and WM_HSCROLL or WM_VSCROLL from a control: the
    // sending control's class (the window in lParam, or NMHDR's hwndFrom).
    char16_t senderClass[kDetailClassUnits];
    std::uint16_t payloadKind;  // PayloadKind
    std::uint16_t reserved1;
    std::uint32_t reserved2;
    alignas(8) std::uint8_t payload[kDetailPayloadBytes];  // one Detail* structure, by payloadKind
};
static_assert(offsetof(MessageDetails, wParam) == 16, "the whole values start at offset 16");
static_assert(offsetof(MessageDetails, windowClass) == 40, "the class names follow the values");
static_assert(offsetof(MessageDetails, payloadKind) == 296, "the payload's kind follows the class names");
static_assert(offsetof(MessageDetails, payload) == 304, "the payload starts at offset 304");
static_assert(sizeof(MessageDetails) == 832, "the details take 832 bytes");

// Each payload structure fits the payload and has one layout in every build.
static_assert(sizeof(DetailText<kDetailTextUnits>) == 516 && 516 <= kDetailPayloadBytes);
static_assert(sizeof(DetailCreateStruct) == 448 && offsetof(DetailCreateStruct, name) == 56);
static_assert(sizeof(DetailWindowPos) == 32 && sizeof(DetailMinMaxInfo) == 40);
static_assert(sizeof(DetailNcCalcSize) == 88 && sizeof(DetailStyleStruct) == 8);
static_assert(sizeof(DetailDrawItem) == 56 && offsetof(DetailDrawItem, dc) == 24);
static_assert(sizeof(DetailMeasureItem) == 32 && sizeof(DetailCopyData) == 80 && sizeof(DetailHelpInfo) == 40);
static_assert(sizeof(DetailNmhdr) == 16 && sizeof(DetailNotifyListView) == 56);
static_assert(sizeof(DetailNotifyTreeView) == 96 && offsetof(DetailNotifyTreeView, newItem) == 56);
static_assert(sizeof(DetailNotifyKeyDown) == 24 && sizeof(DetailNotifyCustomDraw) == 64);
static_assert(sizeof(DetailNotifyMouse) == 48 && sizeof(DetailNotifyPair) == 24 && sizeof(DetailNotifyChar) == 32);
static_assert(sizeof(DetailNotifyItem) == 192 && offsetof(DetailNotifyItem, text) == 56);

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
// The second object (kDetailsMappingName), which vantrel.exe creates and maps
// beside the record and the library fills, starts with this header; the
// details of the current report follow it at kDetailsOffset. A library that
// knows nothing of this object leaves the header at 0, and every announced
// record is then logged as it is.
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
    // The library's own words from here on (the program need not read them):
    // what the current catch watches and captures, written by Start and by
    // SetMyHookOptions, read by the hook procedures in the watched programs,
    // which check every one of them before use.
    std::uint32_t watchKind;     // HookWatch
    std::uint32_t watchThread;   // the selected window's thread
    std::uint32_t watchProcess;  // the selected window's process
    std::uint32_t capture;       // kCapture* bits
    // One more with every Start and every change of the options: what a
    // watched thread keeps about the catch is let go when it changes.
    std::uint32_t epoch;
    // Where a new thread of a watched process asks for its hooks: a window of
    // the program that sets them (vantrel.exe, or its companion).
    std::uint32_t requestWindow;
    std::uint32_t reserved[7];   // 0
};
static_assert(sizeof(HookDetailsHeader) == kDetailsOffset, "the details header takes the bytes before the details");

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

// ---- What a catch watches, and whether it takes the details -----------------
//
// vantrel.exe tells the library through its third operation, SetMyHookOptions
// (hooklib/vantrel_hook.h), before Start and whenever the Details switch
// changes. With the start values (the selected window, no details) a catch
// is exactly the record's: the details object is left as it is, except that
// its window word is cleared, so no earlier details match a new record.

// Which windows' messages a catch reports. Numbers are part of the contract.
enum class HookWatch : std::uint32_t {
    Window = 0,       // the selected window (at start)
    Descendants = 1,  // the selected window and all its descendants
    Thread = 2,       // every window of the selected window's thread
    Process = 3,      // every window of its process, of threads started later too
};
inline constexpr std::uint32_t kHookWatchCount = 4;

// Bits of SetMyHookOptions's options.
inline constexpr std::uint32_t kHookOptionDetails = 0x1;  // fill the details of every report
inline constexpr std::uint32_t kHookOptionsKnown = kHookOptionDetails;

// Bits of HookDetailsHeader::capture (the library's own word).
inline constexpr std::uint32_t kCaptureDetails = 0x1;  // details, returns and nesting
inline constexpr std::uint32_t kCaptureTarget = 0x2;   // the window each report went to (a wider watch)

// In a wider watch the record's hwnd and the details' window name the window
// the message went to, whatever the watch; with Details off the details then
// hold that window, its class, the message, its whole values, the mark and
// the thread (no payload, no sender class, depth 0).

// ---- Returns: the ring beside the details -------------------------------------
//
// With Details on, a sent message's return is a report of its own (mark
// Returned, the result valid, depth as its send's), numbered from the same
// count as the records, but it is not announced: announcing it would cost the
// watched thread a second wait for Vantrel with every send. The library
// writes it into the next entry of a ring of kReturnRingEntries entries after
// the details (entry number % kReturnRingEntries), each entry whole-checked by
// its own count, and moves on. The reader takes the returns whose numbers lie
// after the last report it took: at each notification those before the
// announced report's number, before it logs that report, and now and then
// while nothing is announced (the last send's return then shows a moment
// later). A return whose entry was written again before the reader came by is
// missed, and its number counts among the reports the log lacks.
//
// Start empties the ring and leaves in the header's reportNumber the number
// just before the catch's first report: the reader starts there.

inline constexpr std::uint32_t kReturnRingEntries = 32;

struct ReturnEntry {
    // Odd while the library writes this entry, even when whole (as wholeCount).
    std::uint32_t wholeCount;
    std::uint32_t reportNumber;  // from the same count as the announced reports
    std::uint32_t time;          // when the window procedure returned, as the record's time
    std::int32_t x, y;           // the pointer position, as the record's
    std::uint32_t reserved[3];
    MessageDetails details;      // mark Returned (any other mark: an empty entry)
};
static_assert(sizeof(ReturnEntry) == 32 + sizeof(MessageDetails) && offsetof(ReturnEntry, details) == 32);

inline constexpr std::uint32_t kReturnRingOffset = kDetailsOffset + sizeof(MessageDetails);
static_assert(kReturnRingOffset % 8 == 0, "the ring's entries keep their 64-bit fields aligned");
// The second object's size: header, the announced report's details, the ring.
inline constexpr std::uint32_t kDetailsObjectSize = kReturnRingOffset + kReturnRingEntries * sizeof(ReturnEntry);

// Whether report number a comes after b (the numbers wrap).
inline constexpr bool NumberAfter(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) > 0; }

// The reader's side of the ring: calls take(entry) for every whole return
// whose number comes after `after` and, when before is not 0, before
// `before`, oldest first; returns the last number taken (after, when none).
// object: the details object's view (kDetailsObjectSize bytes).
template <typename Take>
std::uint32_t TakeReturns(const void* object, std::uint32_t after, std::uint32_t before, Take&& take) {
    const auto* ring = reinterpret_cast<const ReturnEntry*>(static_cast<const std::uint8_t*>(object) +
                                                            kReturnRingOffset);
    ReturnEntry found[kReturnRingEntries];
    std::uint32_t count = 0;
    for (std::uint32_t i = 0; i < kReturnRingEntries; ++i) {
        // Most entries were taken before: their number says so without
        // copying them whole (the whole copy checks it again).
        const std::uint32_t number =
            std::atomic_ref<std::uint32_t>(const_cast<std::uint32_t&>(ring[i].reportNumber)).load(std::memory_order_relaxed);
        if (!NumberAfter(number, after)) continue;
        ReturnEntry& copy = found[count];
        if (!ReadWhole(ring[i].wholeCount, [&] { copy = ring[i]; })) continue;
        if (copy.details.mark != static_cast<std::uint8_t>(DetailMark::Returned)) continue;
        if (!NumberAfter(copy.reportNumber, after)) continue;
        if (before && !NumberAfter(before, copy.reportNumber)) continue;
        ++count;
    }
    // At most 32 entries: sorted by insertion.
    for (std::uint32_t i = 1; i < count; ++i)
        for (std::uint32_t j = i; j > 0 && NumberAfter(found[j - 1].reportNumber, found[j].reportNumber); --j)
            std::swap(found[j - 1], found[j]);
    for (std::uint32_t i = 0; i < count; ++i) {
        take(static_cast<const ReturnEntry&>(found[i]));
        after = found[i].reportNumber;
    }
    return after;
}

}  // namespace vantrel
