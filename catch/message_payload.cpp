// The details column's account of what a message's parameters pointed to:
// texts, and the structures the hook library copied field by field.

#include "catch/details_parts.h"

#include "base/window_styles.h"
#include "catch/named_values.h"

#include <algorithm>

namespace vantrel::details {

namespace {

constexpr Named kOwnerDrawTypes[] = {
    {1, "ODT_MENU"}, {2, "ODT_LISTBOX"}, {3, "ODT_COMBOBOX"}, {4, "ODT_BUTTON"}, {5, "ODT_STATIC"},
    {100, "ODT_HEADER"}, {101, "ODT_TAB"}, {102, "ODT_LISTVIEW"},
};
constexpr Named kOwnerDrawActions[] = {{1, "ODA_DRAWENTIRE"}, {2, "ODA_SELECT"}, {4, "ODA_FOCUS"}};
constexpr Named kOwnerDrawStates[] = {
    {0x0001, "ODS_SELECTED"}, {0x0002, "ODS_GRAYED"}, {0x0004, "ODS_DISABLED"}, {0x0008, "ODS_CHECKED"},
    {0x0010, "ODS_FOCUS"}, {0x0020, "ODS_DEFAULT"}, {0x0040, "ODS_HOTLIGHT"}, {0x0080, "ODS_INACTIVE"},
    {0x0100, "ODS_NOACCEL"}, {0x0200, "ODS_NOFOCUSRECT"}, {0x1000, "ODS_COMBOBOXEDIT"},
};
constexpr Named kSwpFlags[] = {
    {0x0001, "SWP_NOSIZE"}, {0x0002, "SWP_NOMOVE"}, {0x0004, "SWP_NOZORDER"}, {0x0008, "SWP_NOREDRAW"},
    {0x0010, "SWP_NOACTIVATE"}, {0x0020, "SWP_FRAMECHANGED"}, {0x0040, "SWP_SHOWWINDOW"},
    {0x0080, "SWP_HIDEWINDOW"}, {0x0100, "SWP_NOCOPYBITS"}, {0x0200, "SWP_NOOWNERZORDER"},
    {0x0400, "SWP_NOSENDCHANGING"}, {0x2000, "SWP_DEFERERASE"}, {0x4000, "SWP_ASYNCWINDOWPOS"},
};
constexpr Named kInsertAfter[] = {
    {0, "HWND_TOP"}, {1, "HWND_BOTTOM"}, {0xFFFFFFFF, "HWND_TOPMOST"}, {0xFFFFFFFE, "HWND_NOTOPMOST"},
};
constexpr Named kHelpContexts[] = {{1, "HELPINFO_WINDOW"}, {2, "HELPINFO_MENUITEM"}};
constexpr Named kListItemStates[] = {
    {0x01, "LVIS_FOCUSED"}, {0x02, "LVIS_SELECTED"}, {0x04, "LVIS_CUT"}, {0x08, "LVIS_DROPHILITED"},
    {0x10, "LVIS_GLOW"}, {0x20, "LVIS_ACTIVATING"},
};
constexpr Named kListItemMask[] = {
    {0x001, "LVIF_TEXT"}, {0x002, "LVIF_IMAGE"}, {0x004, "LVIF_PARAM"}, {0x008, "LVIF_STATE"},
    {0x010, "LVIF_INDENT"}, {0x100, "LVIF_GROUPID"}, {0x200, "LVIF_COLUMNS"}, {0x800, "LVIF_NORECOMPUTE"},
    {0x1000, "LVIF_DI_SETITEM"},
};
constexpr Named kListKeyFlags[] = {{1, "LVKF_ALT"}, {2, "LVKF_CONTROL"}, {4, "LVKF_SHIFT"}};
constexpr Named kTreeItemStates[] = {
    {0x02, "TVIS_SELECTED"}, {0x04, "TVIS_CUT"}, {0x08, "TVIS_DROPHILITED"}, {0x10, "TVIS_BOLD"},
    {0x20, "TVIS_EXPANDED"}, {0x40, "TVIS_EXPANDEDONCE"}, {0x80, "TVIS_EXPANDPARTIAL"},
};
constexpr Named kTreeItemMask[] = {
    {0x001, "TVIF_TEXT"}, {0x002, "TVIF_IMAGE"}, {0x004, "TVIF_PARAM"}, {0x008, "TVIF_STATE"},
    {0x010, "TVIF_HANDLE"}, {0x020, "TVIF_SELECTEDIMAGE"}, {0x040, "TVIF_CHILDREN"}, {0x080, "TVIF_INTEGRAL"},
    {0x1000, "TVIF_DI_SETITEM"},
};
constexpr Named kTreeSelectActions[] = {{0, "TVC_UNKNOWN"}, {1, "TVC_BYMOUSE"}, {2, "TVC_BYKEYBOARD"}};
constexpr Named kTreeExpandActions[] = {{1, "TVE_COLLAPSE"}, {2, "TVE_EXPAND"}, {3, "TVE_TOGGLE"}};
constexpr Named kDrawStages[] = {{1, "PREPAINT"}, {2, "POSTPAINT"}, {3, "PREERASE"}, {4, "POSTERASE"}};

// A list view or tree view item state: its named bits, and the overlay and
// state-image indexes kept in its upper bits.
std::string ItemState(std::span<const Named> names, std::uint32_t state) {
    std::string text = FlagsText(names, state & 0xFF);
    if (state & 0x0F00) text += " overlay=" + Decimal((state >> 8) & 0xF);
    if (state & 0xF000) text += " stateImage=" + Decimal((state >> 12) & 0xF);
    return text;
}

std::string DrawStage(std::uint32_t stage) {
    const std::string_view base = NameIn(kDrawStages, stage & 0xFFFF);
    if (base.empty() || (stage & ~0x3FFFFu)) return Hex32(stage);
    std::string text = (stage & 0x10000 ? "CDDS_ITEM" : "CDDS_") + std::string(base);
    if (stage & 0x20000) text += " | CDDS_SUBITEM";
    return text;
}

void AddWindowPos(const DetailWindowPos& pos, Parts& parts) {
    if (!(pos.flags & 0x0004)) {  // SWP_NOZORDER
        const std::string_view after = NameIn(kInsertAfter, pos.insertAfter);
        parts.Add("after", after.empty() ? Hex32(pos.insertAfter) : std::string(after));
    }
    parts.Add(Point(pos.x, pos.y));
    parts.Add(Size(pos.cx, pos.cy));
    parts.Add(FlagsText(kSwpFlags, pos.flags));
}

// The start both owner-drawn structures share: the control and the item.
void AddOwnerDrawn(std::string_view structure, std::uint32_t type, std::uint32_t id, std::uint32_t item,
                   Parts& parts) {
    parts.Add(structure);
    parts.Add(NameOrNumber(kOwnerDrawTypes, type));
    parts.Add("id", Decimal(id));
    parts.Add("item", Decimal(static_cast<std::int32_t>(item)));
}

void AddNotify(const Decoded& m, const DetailNmhdr& hdr, Parts& parts) {
    const std::string_view name = NotifyCodeName(m.senderFamily, hdr.code);
    parts.Add(name.empty() ? "code=" + Decimal(static_cast<std::int32_t>(hdr.code)) : std::string(name));
    parts.Add("id", Decimal(static_cast<std::int64_t>(hdr.idFrom)));
    parts.Add("from", Hex32(hdr.windowFrom));
    if (!m.senderClass.empty()) parts.Add("{" + m.senderClass + "}");
}

void AddNotifyFields(const Decoded& m, Parts& parts) {
    switch (m.payloadKind) {
        case PayloadKind::NotifyHeader:
            AddNotify(m, PayloadAs<DetailNmhdr>(m), parts);
            break;
        case PayloadKind::NotifyListView: {
            const auto n = PayloadAs<DetailNotifyListView>(m);
            AddNotify(m, n.hdr, parts);
            parts.Add("item", Decimal(n.item));
            if (n.subItem) parts.Add("subItem", Decimal(n.subItem));
            if (n.changed) parts.Add("changed", FlagsText(kListItemMask, n.changed));
            if (n.changed & 0x8) {  // LVIF_STATE
                parts.Add("new", ItemState(kListItemStates, n.newState));
                parts.Add("old", ItemState(kListItemStates, n.oldState));
            }
            if (n.actionX || n.actionY) parts.Add(Point(n.actionX, n.actionY));
            if (n.keyFlags) parts.Add(FlagsText(kListKeyFlags, n.keyFlags));
            if (n.lParam) parts.Add("lParam", Handle(n.lParam));
            break;
        }
        case PayloadKind::NotifyTreeView: {
            const auto n = PayloadAs<DetailNotifyTreeView>(m);
            AddNotify(m, n.hdr, parts);
            const auto c = static_cast<std::int32_t>(n.hdr.code);
            const bool expanding = c == -405 || c == -406 || c == -454 || c == -455;
            parts.Add(NameOrNumber(expanding ? std::span<const Named>(kTreeExpandActions) : kTreeSelectActions,
                                   n.action & 0xFF));
            if (n.oldItem.item) parts.Add("old", Handle(n.oldItem.item));
            parts.Add("item", Handle(n.newItem.item));
            if (n.newItem.mask & 0x8) parts.Add("state", ItemState(kTreeItemStates, n.newItem.state));
            if (n.dragX || n.dragY) parts.Add(Point(n.dragX, n.dragY));
            break;
        }
        case PayloadKind::NotifyKeyDown: {
            const auto n = PayloadAs<DetailNotifyKeyDown>(m);
            AddNotify(m, n.hdr, parts);
            parts.Add("vk", Hex32(n.vkey));
            if (n.flags) parts.Add("flags", Hex32(n.flags));
            break;
        }
        case PayloadKind::NotifyCustomDraw: {
            const auto n = PayloadAs<DetailNotifyCustomDraw>(m);
            AddNotify(m, n.hdr, parts);
            parts.Add(DrawStage(n.drawStage));
            if (n.drawStage & 0x10000) parts.Add("item", Decimal(static_cast<std::int64_t>(n.itemSpec)));
            if (n.itemState) parts.Add("state", Hex32(n.itemState));
            parts.Add(RectText(n.rect));
            break;
        }
        case PayloadKind::NotifyMouse: {
            const auto n = PayloadAs<DetailNotifyMouse>(m);
            AddNotify(m, n.hdr, parts);
            parts.Add("item", Decimal(static_cast<std::int64_t>(n.itemSpec)));
            parts.Add(Point(n.x, n.y));
            if (n.hitInfo) parts.Add("hit", Handle(n.hitInfo));
            break;
        }
        case PayloadKind::NotifyUpDown:
        case PayloadKind::NotifyHeaderItem:
        case PayloadKind::NotifyToolBar: {
            const auto n = PayloadAs<DetailNotifyPair>(m);
            AddNotify(m, n.hdr, parts);
            if (m.payloadKind == PayloadKind::NotifyUpDown) {
                parts.Add("pos", Decimal(n.first));
                parts.Add("delta", Decimal(n.second));
            } else {
                parts.Add("item", Decimal(n.first));
                if (m.payloadKind == PayloadKind::NotifyHeaderItem) parts.Add("button", Decimal(n.second));
            }
            break;
        }
        case PayloadKind::NotifyChar: {
            const auto n = PayloadAs<DetailNotifyChar>(m);
            AddNotify(m, n.hdr, parts);
            parts.Add(CharText(n.ch));
            break;
        }
        case PayloadKind::NotifyListViewItem:
        case PayloadKind::NotifyTreeViewItem: {
            const auto n = PayloadAs<DetailNotifyItem>(m);
            AddNotify(m, n.hdr, parts);
            const bool list = m.payloadKind == PayloadKind::NotifyListViewItem;
            parts.Add(FlagsText(list ? std::span<const Named>(kListItemMask) : kTreeItemMask, n.mask));
            parts.Add("item", list ? Decimal(static_cast<std::int32_t>(n.item)) : Handle(n.item));
            if (list && n.subItem) parts.Add("subItem", Decimal(n.subItem));
            const std::span<const Named> states = list ? std::span<const Named>(kListItemStates) : kTreeItemStates;
            if (n.mask & 0x8) parts.Add("state", ItemState(states, n.state));
            if (n.mask & 0x1) parts.Add(QuotedText(n.text));
            break;
        }
        default:
            break;
    }
}

}  // namespace

void AddPayload(const Decoded& m, Parts& parts) {
    if (!m.payload) return;
    switch (m.payloadKind) {
        case PayloadKind::None:
            break;
        case PayloadKind::Unreadable:
            parts.Add("(address not readable)");
            break;
        case PayloadKind::Text:
            parts.Add(QuotedText(PayloadAs<DetailText<kDetailTextUnits>>(m)));
            break;
        case PayloadKind::CreateStruct: {
            const auto c = PayloadAs<DetailCreateStruct>(m);
            parts.Add("CREATESTRUCT");
            parts.Add(Point(c.x, c.y));
            parts.Add(Size(c.cx, c.cy));
            parts.Add("style", StyleFlagsText(m.windowClass, c.style));
            parts.Add("exStyle", ExStyleFlagsText(c.exStyle));
            parts.Add("name", QuotedText(c.name));
            if (c.classAtom) parts.Add("class", Enclosed("#", Decimal(c.classAtom), ""));
            else parts.Add("class", QuotedText(c.className));
            parts.Add("parent", Hex32(c.parent));
            parts.Add("menu", Handle(c.menu));
            parts.Add("instance", Handle(c.instance));
            parts.Add("params", Handle(c.createParams));
            break;
        }
        case PayloadKind::WindowPos: {
            parts.Add("WINDOWPOS");
            AddWindowPos(PayloadAs<DetailWindowPos>(m), parts);
            break;
        }
        case PayloadKind::MinMaxInfo: {
            const auto i = PayloadAs<DetailMinMaxInfo>(m);
            parts.Add("MINMAXINFO");
            parts.Add("maxSize", Size(i.maxSize[0], i.maxSize[1]));
            parts.Add("maxPosition", Point(i.maxPosition[0], i.maxPosition[1]));
            parts.Add("minTrackSize", Size(i.minTrackSize[0], i.minTrackSize[1]));
            parts.Add("maxTrackSize", Size(i.maxTrackSize[0], i.maxTrackSize[1]));
            break;
        }
        case PayloadKind::NcCalcSize: {
            const auto n = PayloadAs<DetailNcCalcSize>(m);
            const std::uint32_t count = n.rectCount == 3 ? 3 : 1;
            parts.Add(count == 3 ? "NCCALCSIZE_PARAMS" : "RECT");
            for (std::uint32_t i = 0; i < count; ++i)
                parts.Add(count == 3 ? "rgrc[" + Decimal(i) + "]=" + RectText(n.rects[i]) : RectText(n.rects[i]));
            if (count == 3 && n.hasWindowPos && !m.returned) {
                parts.Add("WINDOWPOS");
                AddWindowPos(n.windowPos, parts);
            }
            break;
        }
        case PayloadKind::StyleStruct: {
            const auto s = PayloadAs<DetailStyleStruct>(m);
            const bool ex = m.W() == 0xFFFFFFEC;  // GWL_EXSTYLE
            parts.Add("old", ex ? ExStyleFlagsText(s.oldStyle) : StyleFlagsText(m.windowClass, s.oldStyle));
            parts.Add("new", ex ? ExStyleFlagsText(s.newStyle) : StyleFlagsText(m.windowClass, s.newStyle));
            break;
        }
        case PayloadKind::DrawItem: {
            const auto d = PayloadAs<DetailDrawItem>(m);
            AddOwnerDrawn("DRAWITEMSTRUCT", d.ctlType, d.ctlId, d.itemId, parts);
            parts.Add(FlagsText(kOwnerDrawActions, d.itemAction));
            if (d.itemState) parts.Add(FlagsText(kOwnerDrawStates, d.itemState));
            parts.Add("window", Hex32(d.itemWindow));
            parts.Add("dc", Handle(d.dc));
            parts.Add(RectText(d.rect));
            if (d.itemData) parts.Add("data", Handle(d.itemData));
            break;
        }
        case PayloadKind::MeasureItem: {
            const auto d = PayloadAs<DetailMeasureItem>(m);
            AddOwnerDrawn("MEASUREITEMSTRUCT", d.ctlType, d.ctlId, d.itemId, parts);
            parts.Add(Size(static_cast<std::int32_t>(d.itemWidth), static_cast<std::int32_t>(d.itemHeight)));
            if (d.itemData) parts.Add("data", Handle(d.itemData));
            break;
        }
        case PayloadKind::CopyData: {
            const auto d = PayloadAs<DetailCopyData>(m);
            parts.Add("COPYDATASTRUCT");
            parts.Add("data", Handle(d.data));
            parts.Add("size", Decimal(d.size));
            const std::uint32_t shown = std::min({d.copied, d.size, kDetailCopyDataBytes});
            std::string bytes;
            for (std::uint32_t i = 0; i < shown; ++i) {
                if (i) bytes += ' ';
                bytes += "0123456789ABCDEF"[d.bytes[i] >> 4];
                bytes += "0123456789ABCDEF"[d.bytes[i] & 0xF];
            }
            // Fewer bytes than the bound asks: the rest could not be read.
            const bool whole = d.copied >= std::min(d.size, kDetailCopyDataBytes);
            if (shown) parts.Add("bytes", bytes + (whole && d.size > shown ? " ..." : ""));
            if (!whole) parts.Add("(address not readable)");
            break;
        }
        case PayloadKind::HelpInfo: {
            const auto h = PayloadAs<DetailHelpInfo>(m);
            parts.Add("HELPINFO");
            parts.Add(NameOrNumber(kHelpContexts, static_cast<std::uint32_t>(h.contextType)));
            parts.Add("id", Decimal(h.ctrlId));
            parts.Add("item", Handle(h.itemHandle));
            parts.Add("context", Handle(h.contextId));
            parts.Add(Point(h.mouseX, h.mouseY));
            break;
        }
        case PayloadKind::Rect:
            parts.Add("RECT");
            parts.Add(RectText(PayloadAs<DetailRect>(m)));
            break;
        default:
            AddNotifyFields(m, parts);
            break;
    }
}

}  // namespace vantrel::details
