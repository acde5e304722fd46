#pragma once
// What the hook library copies out of a live message into its details: the
// sending control's class and the payload that hook_payload.h's rule names,
// read from the watched program's memory through a reader that fails instead
// of faulting, and normalized to the fixed layouts of hook_channel.h.
//
// The structures are read in the watched program's own layout, which depends
// on its pointer size only: NativeLayouts<std::uint32_t> for a 32-bit
// program, <std::uint64_t> for a 64-bit one (the library checks them against
// the platform's own definitions when it is built). Texts come in the form
// the message carries them; a hook may see the sender's form rather than its
// own, so a text whose bytes read as a plain 8-bit text is taken as one (see
// GuessAnsi).
//
// Header-only and portable: the library of either bitness runs it against
// the watched program's memory, the unit tests against memory of their own.
//
// The environment (Env) gives:
//   std::size_t Read(std::uint64_t address, void* to, std::size_t bytes)
//       copies the readable start of the range, and tells how many bytes;
//   void ClassName(std::uint32_t window, char16_t (&to)[kDetailClassUnits])
//       the class of a window, zero-filled when there is none;
//   std::u16string FromAnsi(std::string_view bytes)
//       an 8-bit text of the watched program's code page, in UTF-16.

#include "hooklib/hook_channel.h"
#include "hooklib/hook_payload.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vantrel::hook {

// ---- The watched program's own layouts -----------------------------------------

template <class Ptr>
struct NativeLayouts {
    using Int = std::int32_t;
    using UInt = std::uint32_t;
    struct Point {
        Int x, y;
    };
    struct Rect {
        Int left, top, right, bottom;
    };
    struct CreateStruct {
        Ptr createParams, instance, menu, parent;
        Int cy, cx, y, x;
        Int style;
        Ptr name, className;
        UInt exStyle;
    };
    struct WindowPos {
        Ptr window, insertAfter;
        Int x, y, cx, cy;
        UInt flags;
    };
    struct NcCalcSize {
        Rect rects[3];
        Ptr windowPos;
    };
    struct DrawItem {
        UInt ctlType, ctlId, itemId, itemAction, itemState;
        Ptr itemWindow, dc;
        Rect rect;
        Ptr itemData;
    };
    struct MeasureItem {
        UInt ctlType, ctlId, itemId, itemWidth, itemHeight;
        Ptr itemData;
    };
    struct CopyData {
        Ptr data;
        UInt size;
        Ptr bytes;
    };
    struct HelpInfo {
        UInt size;
        Int contextType, ctrlId;
        Ptr itemHandle, contextId;
        Point mouse;
    };
    struct Nmhdr {
        Ptr windowFrom, idFrom;
        UInt code;
    };
    struct NotifyListView {  // NMITEMACTIVATE: NMLISTVIEW and its key flags
        Nmhdr hdr;
        Int item, subItem;
        UInt newState, oldState, changed;
        Point action;
        Ptr lParam;
        UInt keyFlags;
    };
    struct TreeItem {
        UInt mask;
        Ptr item;
        UInt state, stateMask;
        Ptr text;
        Int textMax, image, selectedImage, children;
        Ptr lParam;
    };
    struct NotifyTreeView {
        Nmhdr hdr;
        UInt action;
        TreeItem oldItem, newItem;
        Point drag;
    };
    struct NotifyKey {  // NMKEY
        Nmhdr hdr;
        UInt vkey, flags;
    };
    struct NotifyCustomDraw {
        Nmhdr hdr;
        UInt drawStage;
        Ptr dc;
        Rect rect;
        Ptr itemSpec;
        UInt itemState;
        Ptr itemlParam;
    };
    struct NotifyMouse {
        Nmhdr hdr;
        Ptr itemSpec, itemData;
        Point point;
        Ptr hitInfo;
    };
    struct NotifyPair {  // NMUPDOWN, and the start of NMHEADER and NMTOOLBAR
        Nmhdr hdr;
        Int first, second;
    };
    struct NotifyChar {
        Nmhdr hdr;
        UInt ch, itemPrev, itemNext;
    };
    struct ListItem {
        UInt mask;
        Int item, subItem;
        UInt state, stateMask;
        Ptr text;
        Int textMax, image;
        Ptr lParam;
    };
    struct NotifyListItem {
        Nmhdr hdr;
        ListItem item;
    };
    struct NotifyTreeItem {
        Nmhdr hdr;
        TreeItem item;
    };
    // LVN_KEYDOWN, TVN_KEYDOWN and TCN_KEYDOWN pack their WORD key and UINT
    // flags without padding after the NMHDR.
    static constexpr std::size_t kPackedKeyOffset = sizeof(Nmhdr);
};

// ---- Texts ------------------------------------------------------------------

// Whether the bytes of a text read as an 8-bit text rather than UTF-16: they
// hold no zero before their end, and every one of them is a printable
// character of the 7-bit range (or a tab, carriage return or line feed). A
// UTF-16 text of the Latin letters has a zero in every other byte, and one of
// another script has bytes outside that range almost always; a text of one
// character is the same either way.
inline bool GuessAnsi(std::string_view bytes) {
    const std::size_t end = bytes.find('\0');
    if (end != std::string_view::npos && end < 2) return false;
    const std::string_view text = bytes.substr(0, end);
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b >= 0x20 && b < 0x7F) || b == '\t' || b == '\r' || b == '\n';
    });
}

// ---- The capture ------------------------------------------------------------

struct CaptureInput {
    std::uint32_t message = 0;
    std::uint64_t wParam = 0, lParam = 0;
    std::uint64_t result = 0;        // on the return
    bool returned = false;           // read on the return (else before the call)
    ControlFamily family = ControlFamily::None;
    std::uint32_t style = 0;         // the window's style (list and combo boxes)
};

template <class Ptr, class Env>
class Capture {
public:
    using L = NativeLayouts<Ptr>;

    Capture(Env& env, const CaptureInput& in, MessageDetails& out) : env_(env), in_(in), out_(out) {}

    // The sender's class and the payload, as far as the message has them.
    void Run() {
        out_.payloadKind = static_cast<std::uint16_t>(PayloadKind::None);
        SenderClass();
        PayloadRule rule = PayloadRuleFor(in_.message, in_.family, in_.style);
        if (!rule.when) return;
        const std::uint8_t now = in_.returned ? kPayloadOnReturn : kPayloadBefore;
        const std::uint64_t pointer = rule.pointer == PayloadParam::WParam ? in_.wParam : in_.lParam;
        if (rule.kind == PayloadKind::NotifyHeader) return Notify(pointer, now);
        if (!(rule.when & now)) return;
        if (!pointer) return;
        switch (rule.kind) {
            case PayloadKind::Text: return Text(pointer, rule);
            case PayloadKind::CreateStruct: return CreateStruct(pointer);
            case PayloadKind::WindowPos: {
                typename L::WindowPos p;
                if (Get(pointer, p)) Put(PayloadKind::WindowPos, WindowPosOf(p));
                return;
            }
            case PayloadKind::MinMaxInfo: {
                DetailMinMaxInfo info;
                if (Get(pointer, info)) Put(PayloadKind::MinMaxInfo, info);
                return;
            }
            case PayloadKind::NcCalcSize: return NcCalcSize(pointer);
            case PayloadKind::StyleStruct: {
                DetailStyleStruct s;
                if (Get(pointer, s)) Put(PayloadKind::StyleStruct, s);
                return;
            }
            case PayloadKind::DrawItem: {
                typename L::DrawItem d;
                if (!Get(pointer, d)) return;
                DetailDrawItem o{d.ctlType, d.ctlId, d.itemId, d.itemAction, d.itemState, Window(d.itemWindow), d.dc,
                                 RectOf(d.rect), d.itemData};
                return Put(PayloadKind::DrawItem, o);
            }
            case PayloadKind::MeasureItem: {
                typename L::MeasureItem d;
                if (!Get(pointer, d)) return;
                DetailMeasureItem o{d.ctlType, d.ctlId, d.itemId, d.itemWidth, d.itemHeight, 0, d.itemData};
                return Put(PayloadKind::MeasureItem, o);
            }
            case PayloadKind::CopyData: return CopyData(pointer);
            case PayloadKind::HelpInfo: {
                typename L::HelpInfo h;
                if (!Get(pointer, h)) return;
                DetailHelpInfo o{h.size, h.contextType, h.ctrlId, 0, h.itemHandle, h.contextId, h.mouse.x,
                                 h.mouse.y};
                return Put(PayloadKind::HelpInfo, o);
            }
            case PayloadKind::Rect: {
                DetailRect r;
                if (Get(pointer, r)) Put(PayloadKind::Rect, r);
                return;
            }
            default: return;
        }
    }

private:
    static std::uint32_t Window(Ptr value) { return static_cast<std::uint32_t>(value); }
    static DetailRect RectOf(const typename L::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
    static DetailWindowPos WindowPosOf(const typename L::WindowPos& p) {
        return {Window(p.window), Window(p.insertAfter), p.x, p.y, p.cx, p.cy, p.flags, 0};
    }

    // The whole structure, or false (and the payload marked unreadable).
    template <class T>
    bool Get(std::uint64_t address, T& to) {
        if (env_.Read(address, &to, sizeof to) == sizeof to) return true;
        out_.payloadKind = static_cast<std::uint16_t>(PayloadKind::Unreadable);
        return false;
    }
    template <class T>
    void Put(PayloadKind kind, const T& value) {
        static_assert(sizeof(T) <= kDetailPayloadBytes);
        std::memcpy(out_.payload, &value, sizeof value);
        out_.payloadKind = static_cast<std::uint16_t>(kind);
    }

    // WM_COMMAND, WM_HSCROLL and WM_VSCROLL name their control in lParam.
    void SenderClass() {
        std::memset(out_.senderClass, 0, sizeof out_.senderClass);
        if ((in_.message == 0x0111 || in_.message == 0x0114 || in_.message == 0x0115) && in_.lParam)
            env_.ClassName(static_cast<std::uint32_t>(in_.lParam), out_.senderClass);
    }

    // A text at address, into a DetailText of Units: ends at its zero, or
    // after count units when the count is known; charset as the rule says.
    template <std::uint16_t Units>
    bool ReadText(std::uint64_t address, DetailText<Units>& to, TextCharset charset, bool counted,
                  std::uint64_t count) {
        // One unit more than the bound tells whether the text went on.
        char bytes[2 * (Units + 1)];
        std::size_t want = sizeof bytes;
        if (counted) want = static_cast<std::size_t>(std::min<std::uint64_t>(want, 2 * count + 2));
        const std::size_t got = env_.Read(address, bytes, want);
        to.length = 0;
        to.flags = 0;
        if (got == 0 && want > 0) {
            to.flags = kTextUnreadable;
            return false;
        }
        const std::string_view raw(bytes, got);
        bool ansi = charset == TextCharset::Ansi;
        if (charset == TextCharset::OfHook) ansi = GuessAnsi(counted ? raw.substr(0, count) : raw);
        std::u16string text;
        bool ended = false;
        if (ansi) {
            std::size_t end = counted ? std::min<std::size_t>(got, count) : raw.find('\0');
            ended = counted ? count <= got : end != std::string_view::npos;
            if (end == std::string_view::npos) end = got;
            text = env_.FromAnsi(raw.substr(0, end));
        } else {
            const std::size_t units = got / 2;
            std::size_t end = 0;
            while (end < units && (counted ? end < count : true)) {
                char16_t unit;
                std::memcpy(&unit, bytes + 2 * end, 2);
                if (!counted && unit == 0) {
                    ended = true;
                    break;
                }
                text.push_back(unit);
                ++end;
            }
            if (counted) ended = end >= count;
        }
        StoreText(to, text, !ended);
        return true;
    }

    void Text(std::uint64_t pointer, const PayloadRule& rule) {
        DetailText<kDetailTextUnits> text{};
        const bool counted = rule.end == TextEnd::Result;
        // An error result (negative, LB_ERR) wrote no text.
        if (counted && static_cast<std::int64_t>(in_.result) < 0) return;
        if (!ReadText(pointer, text, rule.charset, counted, in_.result)) {
            out_.payloadKind = static_cast<std::uint16_t>(PayloadKind::Unreadable);
            return;
        }
        Put(PayloadKind::Text, text);
    }

    // A name or class of CREATESTRUCT: a text, a resource number after 0xFFFF,
    // or (a class) an atom in the pointer's low word.
    template <std::uint16_t Units>
    void NameText(Ptr pointer, DetailText<Units>& to) {
        to = {};
        if (!pointer) return;
        std::uint16_t first[2] = {};
        if (env_.Read(pointer, first, sizeof first) == sizeof first && first[0] == 0xFFFF) {
            to.flags = kTextResource;
            to.length = 1;
            to.units[0] = static_cast<char16_t>(first[1]);
            return;
        }
        ReadText(pointer, to, TextCharset::OfHook, false, 0);
    }

    void CreateStruct(std::uint64_t pointer) {
        typename L::CreateStruct c;
        if (!Get(pointer, c)) return;
        DetailCreateStruct o{};
        o.createParams = c.createParams;
        o.instance = c.instance;
        o.menu = c.menu;
        o.parent = Window(c.parent);
        o.cy = c.cy;
        o.cx = c.cx;
        o.y = c.y;
        o.x = c.x;
        o.style = static_cast<std::uint32_t>(c.style);
        o.exStyle = c.exStyle;
        NameText(c.name, o.name);
        if (c.className && (static_cast<std::uint64_t>(c.className) >> 16) == 0)
            o.classAtom = static_cast<std::uint32_t>(c.className);
        else
            NameText(c.className, o.className);
        Put(PayloadKind::CreateStruct, o);
    }

    void NcCalcSize(std::uint64_t pointer) {
        DetailNcCalcSize o{};
        if (!in_.wParam) {
            typename L::Rect r;
            if (!Get(pointer, r)) return;
            o.rects[0] = RectOf(r);
            o.rectCount = 1;
            return Put(PayloadKind::NcCalcSize, o);
        }
        typename L::NcCalcSize p;
        if (!Get(pointer, p)) return;
        for (int i = 0; i < 3; ++i) o.rects[i] = RectOf(p.rects[i]);
        o.rectCount = 3;
        typename L::WindowPos pos;
        // The WINDOWPOS is the caller's before the call; on the return the
        // rectangles tell the result.
        if (!in_.returned && p.windowPos && env_.Read(p.windowPos, &pos, sizeof pos) == sizeof pos) {
            o.hasWindowPos = 1;
            o.windowPos = WindowPosOf(pos);
        }
        Put(PayloadKind::NcCalcSize, o);
    }

    void CopyData(std::uint64_t pointer) {
        typename L::CopyData c;
        if (!Get(pointer, c)) return;
        DetailCopyData o{};
        o.data = c.data;
        o.size = c.size;
        const std::uint32_t want = std::min(c.size, kDetailCopyDataBytes);
        o.copied = c.bytes && want ? static_cast<std::uint32_t>(env_.Read(c.bytes, o.bytes, want)) : 0;
        Put(PayloadKind::CopyData, o);
    }

    static DetailNmhdr HeaderOf(const typename L::Nmhdr& h) { return {h.idFrom, Window(h.windowFrom), h.code}; }

    static DetailTreeItem TreeItemOf(const typename L::TreeItem& t) {
        return {t.item, t.lParam, t.mask, t.state, t.stateMask, 0};
    }

    // WM_NOTIFY: the NMHDR first, then the form its code and sender have.
    void Notify(std::uint64_t pointer, std::uint8_t now) {
        if (!pointer) return;
        typename L::Nmhdr h;
        if (!Get(pointer, h)) return;
        env_.ClassName(Window(h.windowFrom), out_.senderClass);
        const ControlFamily sender =
            FamilyOfClass(std::u16string_view(out_.senderClass, ClassLength(out_.senderClass)));
        const PayloadRule rule = NotifyPayloadRule(h.code, sender);
        if (!(rule.when & now)) return;
        const auto code = static_cast<std::int32_t>(h.code);
        switch (rule.kind) {
            case PayloadKind::NotifyListView: {
                typename L::NotifyListView n{};
                // Only NMITEMACTIVATE (the clicks and LVN_ITEMACTIVATE) has the key flags.
                const bool activate = (code <= -2 && code >= -6) || code == -114;
                const std::size_t size = activate ? sizeof n : offsetof(typename L::NotifyListView, keyFlags);
                if (env_.Read(pointer, &n, size) != size) return Put(PayloadKind::NotifyHeader, HeaderOf(h));
                DetailNotifyListView o{HeaderOf(h), n.item, n.subItem, n.newState, n.oldState, n.changed,
                                       n.action.x, n.action.y, activate ? n.keyFlags : 0, n.lParam};
                return Put(PayloadKind::NotifyListView, o);
            }
            case PayloadKind::NotifyTreeView: {
                typename L::NotifyTreeView n;
                if (env_.Read(pointer, &n, sizeof n) != sizeof n) return Put(PayloadKind::NotifyHeader, HeaderOf(h));
                DetailNotifyTreeView o{HeaderOf(h), n.action, 0, TreeItemOf(n.oldItem), TreeItemOf(n.newItem),
                                       n.drag.x, n.drag.y};
                return Put(PayloadKind::NotifyTreeView, o);
            }
            case PayloadKind::NotifyKeyDown: {
                DetailNotifyKeyDown o{HeaderOf(h), 0, 0};
                if (code == -15) {  // NM_KEYDOWN: NMKEY
                    typename L::NotifyKey n;
                    if (env_.Read(pointer, &n, sizeof n) == sizeof n) {
                        o.vkey = n.vkey;
                        o.flags = n.flags;
                    }
                } else {
                    std::uint8_t packed[6];
                    if (env_.Read(pointer + L::kPackedKeyOffset, packed, sizeof packed) == sizeof packed) {
                        o.vkey = static_cast<std::uint32_t>(packed[0] | packed[1] << 8);
                        std::memcpy(&o.flags, packed + 2, 4);
                    }
                }
                return Put(PayloadKind::NotifyKeyDown, o);
            }
            case PayloadKind::NotifyCustomDraw: {
                typename L::NotifyCustomDraw n;
                if (env_.Read(pointer, &n, sizeof n) != sizeof n) return Put(PayloadKind::NotifyHeader, HeaderOf(h));
                DetailNotifyCustomDraw o{HeaderOf(h), n.drawStage, n.itemState, n.dc, RectOf(n.rect), n.itemSpec,
                                         n.itemlParam};
                return Put(PayloadKind::NotifyCustomDraw, o);
            }
            case PayloadKind::NotifyMouse: {
                typename L::NotifyMouse n;
                if (env_.Read(pointer, &n, sizeof n) != sizeof n) return Put(PayloadKind::NotifyHeader, HeaderOf(h));
                DetailNotifyMouse o{HeaderOf(h), n.itemSpec, n.itemData, n.point.x, n.point.y, n.hitInfo};
                return Put(PayloadKind::NotifyMouse, o);
            }
            case PayloadKind::NotifyUpDown:
            case PayloadKind::NotifyHeaderItem:
            case PayloadKind::NotifyToolBar: {
                typename L::NotifyPair n;
                if (env_.Read(pointer, &n, sizeof n) != sizeof n) return Put(PayloadKind::NotifyHeader, HeaderOf(h));
                DetailNotifyPair o{HeaderOf(h), n.first, rule.kind == PayloadKind::NotifyToolBar ? 0 : n.second};
                return Put(rule.kind, o);
            }
            case PayloadKind::NotifyChar: {
                typename L::NotifyChar n;
                if (env_.Read(pointer, &n, sizeof n) != sizeof n) return Put(PayloadKind::NotifyHeader, HeaderOf(h));
                DetailNotifyChar o{HeaderOf(h), n.ch, n.itemPrev, n.itemNext, 0};
                return Put(PayloadKind::NotifyChar, o);
            }
            case PayloadKind::NotifyListViewItem:  // LVN_GETDISPINFOA/W; wide: -175 to -178
                return DisplayItem<typename L::NotifyListItem>(pointer, h, code, rule.kind, -150, -177, -175, -178);
            case PayloadKind::NotifyTreeViewItem:  // TVN_GETDISPINFOA/W; wide: -452 to -460
                return DisplayItem<typename L::NotifyTreeItem>(pointer, h, code, rule.kind, -403, -452, -452, -460);
            default: return Put(PayloadKind::NotifyHeader, HeaderOf(h));
        }
    }

    // Display information: the item, and its text when the mask names one
    // and the text is there to read: a GETDISPINFO's once the procedure has
    // filled it in (on the return), the others' as given.
    template <class Item>
    void ItemText(const Item& item, std::int32_t code, std::int32_t getA, std::int32_t getW, std::int32_t firstW,
                  std::int32_t lastW, DetailNotifyItem& o) {
        const bool get = code == getA || code == getW;
        constexpr Ptr kCallback = static_cast<Ptr>(-1);  // LPSTR_TEXTCALLBACK
        if (!(item.mask & 0x1) || !item.text || item.text == kCallback || (get && !in_.returned)) return;
        // The wide codes sit in their own range below the ANSI ones.
        const bool wide = code <= firstW && code >= lastW;
        ReadText(item.text, o.text, wide ? TextCharset::Wide : TextCharset::Ansi, false, 0);
    }

    // NMLVDISPINFO or NMTVDISPINFO: the item, and its text by ItemText;
    // getA, getW: the GETDISPINFO codes; firstW to lastW: the wide codes.
    template <class Notify>
    void DisplayItem(std::uint64_t pointer, const typename L::Nmhdr& h, std::int32_t code, PayloadKind kind,
                     std::int32_t getA, std::int32_t getW, std::int32_t firstW, std::int32_t lastW) {
        Notify n;
        if (env_.Read(pointer, &n, sizeof n) != sizeof n) return Put(PayloadKind::NotifyHeader, HeaderOf(h));
        DetailNotifyItem o{};
        o.hdr = HeaderOf(h);
        // A list view's item is an index (sign-extended), a tree view's a handle.
        o.item = static_cast<std::uint64_t>(static_cast<std::int64_t>(n.item.item));
        o.lParam = n.item.lParam;
        o.mask = n.item.mask;
        o.state = n.item.state;
        o.stateMask = n.item.stateMask;
        if constexpr (requires { n.item.subItem; }) o.subItem = n.item.subItem;
        o.image = n.item.image;
        ItemText(n.item, code, getA, getW, firstW, lastW, o);
        Put(kind, o);
    }

    static std::size_t ClassLength(const char16_t (&units)[kDetailClassUnits]) {
        std::size_t n = 0;
        while (n < kDetailClassUnits && units[n]) ++n;
        return n;
    }

    Env& env_;
    const CaptureInput& in_;
    MessageDetails& out_;
};

// Fills the sender's class and the payload of out for a program whose
// pointers are pointerBytes (4 or 8) wide.
template <class Env>
void CapturePayload(Env& env, const CaptureInput& in, int pointerBytes, MessageDetails& out) {
    if (pointerBytes == 8) Capture<std::uint64_t, Env>(env, in, out).Run();
    else Capture<std::uint32_t, Env>(env, in, out).Run();
}

}  // namespace vantrel::hook
