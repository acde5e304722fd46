// What the hook library copies out of a live message, against memory of the
// test's own laid out at the platform's offsets (written here from the SDK's
// definitions for 32-bit and 64-bit programs): texts in either form, cut and
// unreadable; structures normalized; notifications by their code and sender.

#include "hooklib/hook_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <tuple>
#include <string>
#include <vector>

namespace {

using vantrel::MessageDetails;
using vantrel::PayloadKind;
using vantrel::hook::CaptureInput;
using vantrel::hook::ControlFamily;

// Readable blocks at chosen addresses; everything else cannot be read.
struct FakeProgram {
    std::map<std::uint64_t, std::vector<std::uint8_t>> blocks;
    std::map<std::uint32_t, std::u16string> classes;

    std::vector<std::uint8_t>& Block(std::uint64_t address, std::size_t size) {
        return blocks[address] = std::vector<std::uint8_t>(size, 0);
    }
    void Put(std::uint64_t address, std::size_t offset, std::uint64_t value, int bytes) {
        for (auto& [start, block] : blocks)
            if (address >= start && address + offset + bytes <= start + block.size())
                std::memcpy(block.data() + (address - start) + offset, &value, static_cast<std::size_t>(bytes));
    }
    void Text(std::uint64_t address, std::u16string text) {
        auto& block = Block(address, 2 * text.size() + 2);
        std::memcpy(block.data(), text.data(), 2 * text.size());
    }
    std::size_t Read(std::uint64_t address, void* to, std::size_t bytes) {
        for (const auto& [start, block] : blocks) {
            if (address < start || address >= start + block.size()) continue;
            const std::size_t n = std::min<std::size_t>(bytes, start + block.size() - address);
            std::memcpy(to, block.data() + (address - start), n);
            return n;
        }
        return 0;
    }
    void ClassName(std::uint32_t window, char16_t (&to)[vantrel::kDetailClassUnits]) {
        std::memset(to, 0, sizeof to);
        const std::u16string& name = classes[window];
        std::memcpy(to, name.data(), 2 * name.size());
    }
    static std::u16string FromAnsi(std::string_view bytes) { return std::u16string(bytes.begin(), bytes.end()); }
};

MessageDetails Capture(FakeProgram& program, CaptureInput in, int pointerBytes = 4) {
    MessageDetails d{};
    vantrel::hook::CapturePayload(program, in, pointerBytes, d);
    return d;
}

template <class T>
T Payload(const MessageDetails& d) {
    T value;
    std::memcpy(&value, d.payload, sizeof value);
    return value;
}

std::u16string TextOf(const vantrel::DetailText<vantrel::kDetailTextUnits>& t) { return {t.units, t.length}; }

TEST(HookCapture, TextsInEitherFormAreTakenToTheirEndOrCountCutAtTheBoundAndMarkedWhereUnreadable) {
    EXPECT_TRUE(vantrel::hook::GuessAnsi(std::string("Hello\0\0", 7)));
    EXPECT_FALSE(vantrel::hook::GuessAnsi(std::string("H\0i\0\0\0", 6)));        // UTF-16 Latin
    EXPECT_FALSE(vantrel::hook::GuessAnsi(std::string("\x1F\x04\x40\x04", 4)));  // UTF-16 Cyrillic
    FakeProgram program;
    program.Text(0x1000, u"\u041F\u0440\u0438\u0432\u0435\u0442");
    auto& ansi = program.Block(0x2000, 8);
    std::memcpy(ansi.data(), "Hello", 6);
    program.Text(0x3000, std::u16string(300, u'x'));
    std::memcpy(program.Block(0x4000, 3).data(), "abc", 3);  // no zero: the rest cannot be read
    struct Case {
        std::uint32_t message;
        std::uint64_t address, result;
        bool returned;
        std::u16string text;
        std::uint16_t flags;
    } cases[] = {
        {0x000C, 0x1000, 0, false, u"\u041F\u0440\u0438\u0432\u0435\u0442", 0},  // WM_SETTEXT
        {0x000C, 0x2000, 0, false, u"Hello", 0},
        {0x000D, 0x1000, 3, true, u"\u041F\u0440\u0438", 0},  // WM_GETTEXT: its result counts
        {0x000C, 0x3000, 0, false, std::u16string(256, u'x'), vantrel::kTextCut},
        {0x000C, 0x4000, 0, false, u"abc", vantrel::kTextCut},
    };
    for (const Case& c : cases) {
        const MessageDetails d = Capture(program, {c.message, 0, c.address, c.result, c.returned});
        ASSERT_EQ(d.payloadKind, static_cast<std::uint16_t>(PayloadKind::Text)) << c.address;
        const auto text = Payload<vantrel::DetailText<vantrel::kDetailTextUnits>>(d);
        EXPECT_EQ(TextOf(text), c.text) << c.address;
        EXPECT_EQ(text.flags, c.flags) << c.address;
    }
    for (std::uint64_t bad : {0x9000ull, 0x10ull})
        EXPECT_EQ(Capture(program, {0x000C, 0, bad}).payloadKind, static_cast<std::uint16_t>(PayloadKind::Unreadable));
    // WM_GETTEXT before the call, or with an error result: nothing to read.
    EXPECT_EQ(Capture(program, {0x000D, 0, 0x1000}).payloadKind, static_cast<std::uint16_t>(PayloadKind::None));
    EXPECT_EQ(Capture(program, {0x000D, 0, 0x1000, ~0ull, true}).payloadKind,
              static_cast<std::uint16_t>(PayloadKind::None));
}

TEST(HookCapture, StructuresOfEitherBitnessComeNormalizedWithTheirTextsAtomsAndResourceNumbers) {
    for (const int bits : {32, 64}) {
        SCOPED_TRACE(bits);
        const int p = bits / 8;  // pointer bytes
        FakeProgram program;
        program.Text(0x1000, u"Name");
        program.Text(0x11000, u"Edit");  // above 64 KB: a pointer, not an atom
        // CREATESTRUCT: four pointers, cy cx y x, style, name, class, exStyle.
        program.Block(0x2000, 80);
        program.Put(0x2000, 3 * p, 0x10020, p);  // hwndParent
        program.Put(0x2000, 4 * p + 4, 40, 4);  // cx
        program.Put(0x2000, 4 * p + 12, 7, 4);  // x
        program.Put(0x2000, 4 * p + 16, 0x50000000, 4);  // style
        const int name = bits == 64 ? 56 : 36;
        program.Put(0x2000, name, 0x1000, p);
        program.Put(0x2000, name + p, 0x11000, p);
        program.Put(0x2000, name + 2 * p, 0x200, 4);  // exStyle
        auto c = Payload<vantrel::DetailCreateStruct>(Capture(program, {0x0001, 0, 0x2000}, p));
        EXPECT_EQ(std::make_tuple(c.parent, c.cx, c.x, c.style, c.exStyle),
                  std::make_tuple(0x10020u, 40, 7, 0x50000000u, 0x200u));
        EXPECT_EQ(std::u16string(c.name.units, c.name.length), u"Name");
        EXPECT_EQ(std::u16string(c.className.units, c.className.length), u"Edit");
        // A class given as an atom, a name as a resource number.
        program.Put(0x2000, name + p, 0xC01A, p);
        program.Text(0x1000, std::u16string{u'\xFFFF', u'\x0065'});
        c = Payload<vantrel::DetailCreateStruct>(Capture(program, {0x0081, 0, 0x2000}, p));
        EXPECT_EQ(c.classAtom, 0xC01Au);
        EXPECT_EQ(c.name.flags, vantrel::kTextResource);
        EXPECT_EQ(c.name.units[0], 0x65);
        // NCCALCSIZE_PARAMS: three rectangles and the WINDOWPOS pointer (read before the call only).
        program.Block(0x3000, 48 + 8);
        program.Put(0x3000, 0, 1, 4);
        program.Put(0x3000, 48, 0x4000, p);
        program.Block(0x4000, 40);
        program.Put(0x4000, 2 * p + 8, 300, 4);  // cx
        auto n = Payload<vantrel::DetailNcCalcSize>(Capture(program, {0x0083, 1, 0x3000}, p));
        EXPECT_EQ(std::make_tuple(n.rectCount, n.rects[0].left, n.hasWindowPos, n.windowPos.cx),
                  std::make_tuple(3u, 1, 1u, 300));
        n = Payload<vantrel::DetailNcCalcSize>(Capture(program, {0x0083, 1, 0x3000, 0, true}, p));
        EXPECT_EQ(n.hasWindowPos, 0u);
        // COPYDATASTRUCT whose bytes end early: only those copied.
        program.Block(0x5000, 24);
        program.Put(0x5000, p, 100, 4);
        program.Put(0x5000, 2 * p, 0x6000, p);
        program.Block(0x6000, 5);
        EXPECT_EQ(Payload<vantrel::DetailCopyData>(Capture(program, {0x004A, 0, 0x5000}, p)).copied, 5u);
    }
}

TEST(HookCapture, NotificationsTakeTheFormOfTheirCodeAndSenderAndCommandsNameTheirControl) {
    FakeProgram program;
    program.classes = {{0x10050, u"SysListView32"}, {0x10060, u"SysTreeView32"}, {0x10070, u"Edit"}};
    const int p = 8;  // a 64-bit program: NMHDR is hwndFrom, idFrom, code (24 bytes)
    auto notify = [&](std::uint64_t at, std::uint32_t from, std::int32_t code, std::size_t size) {
        program.Block(at, size);
        program.Put(at, 0, from, p);
        program.Put(at, p, 102, p);
        program.Put(at, 2 * p, static_cast<std::uint32_t>(code), 4);
    };
    // NM_CLICK from a list view: NMITEMACTIVATE with its key flags (after lParam).
    notify(0x1000, 0x10050, -2, 80);
    program.Put(0x1000, 24, 3, 4);  // iItem
    program.Put(0x1000, 64, 4, 4);  // uKeyFlags, after ptAction and the aligned lParam
    MessageDetails d = Capture(program, {0x004E, 102, 0x1000}, p);
    ASSERT_EQ(d.payloadKind, static_cast<std::uint16_t>(PayloadKind::NotifyListView));
    auto list = Payload<vantrel::DetailNotifyListView>(d);
    EXPECT_EQ(std::make_tuple(list.hdr.code, list.hdr.windowFrom, list.item, list.keyFlags),
              std::make_tuple(0xFFFFFFFEu, 0x10050u, 3, 4u));
    EXPECT_EQ(std::u16string(d.senderClass), u"SysListView32");
    // TVN_KEYDOWN packs its key right after NMHDR.
    notify(0x2000, 0x10060, -412, 32);
    program.Put(0x2000, 24, 0x0D, 2);
    program.Put(0x2000, 26, 0x20, 4);
    const auto key = Payload<vantrel::DetailNotifyKeyDown>(Capture(program, {0x004E, 0, 0x2000}, p));
    EXPECT_EQ(std::make_tuple(key.vkey, key.flags), std::make_tuple(0x0Du, 0x20u));
    // TVN_GETDISPINFOW: the item's text only on the return.
    notify(0x3000, 0x10060, -452, 24 + 56);
    program.Put(0x3000, 24, 1, 4);  // mask TVIF_TEXT
    program.Put(0x3000, 24 + 24, 0x4000, p);  // pszText
    program.Text(0x4000, u"Node");
    auto item = Payload<vantrel::DetailNotifyItem>(Capture(program, {0x004E, 0, 0x3000}, p));
    EXPECT_EQ(item.text.length, 0);
    item = Payload<vantrel::DetailNotifyItem>(Capture(program, {0x004E, 0, 0x3000, 0, true}, p));
    EXPECT_EQ(std::u16string(item.text.units, item.text.length), u"Node");
    // A WM_COMMAND names its control; an NMHDR that cannot be read is marked.
    d = Capture(program, {0x0111, 0x03000065, 0x10070}, p);
    EXPECT_EQ(std::u16string(d.senderClass), u"Edit");
    EXPECT_EQ(Capture(program, {0x004E, 0, 0x9000}, p).payloadKind,
              static_cast<std::uint16_t>(PayloadKind::Unreadable));
}

}  // namespace
