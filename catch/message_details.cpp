// The details column assembled: the mark and indentation, the name in the
// control's own terms, the parameters or the result, the payload, and the
// whole values of a 64-bit program; and the small texts every part shares.

#include "catch/message_details.h"

#include "base/text.h"
#include "base/unicode.h"
#include "catch/details_parts.h"
#include "catch/int2msg.h"
#include "catch/named_values.h"

#include <algorithm>

namespace vantrel {

namespace details {

std::string Decimal(std::int64_t value) { return std::to_string(value); }

std::string Enclosed(std::string_view open, std::string_view text, std::string_view close) {
    std::string enclosed;
    enclosed.reserve(open.size() + text.size() + close.size());
    enclosed.append(open).append(text).append(close);
    return enclosed;
}

std::string Point(std::int32_t x, std::int32_t y) { return Enclosed("(", Decimal(x) + "," + Decimal(y), ")"); }

std::string Size(std::int32_t cx, std::int32_t cy) { return Decimal(cx) + " x " + Decimal(cy); }

std::string RectText(const DetailRect& r) { return Point(r.left, r.top) + "-" + Point(r.right, r.bottom); }

std::string Handle(std::uint64_t value) { return Hex64(value); }

std::string Bool(std::uint64_t value) {
    return value == 0 ? "FALSE" : value == 1 ? "TRUE" : Decimal(static_cast<std::int64_t>(value));
}

std::string CharText(std::uint32_t c) {
    std::string code = Hex8(c);
    code.erase(0, std::min<std::size_t>(code.find_first_not_of('0'), 4));
    code = "U+" + code;
    if (c >= 0xD800 && c <= 0xDBFF) return code + " (high surrogate)";
    if (c >= 0xDC00 && c <= 0xDFFF) return code + " (low surrogate)";
    if (c > 0x10FFFF) return Hex32(c);
    switch (c) {
        case '\0': return "'\\0' " + code;
        case '\b': return "'\\b' " + code;
        case '\t': return "'\\t' " + code;
        case '\n': return "'\\n' " + code;
        case '\r': return "'\\r' " + code;
        default: break;
    }
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return code;
    std::u16string unit;
    if (c < 0x10000) {
        unit.push_back(static_cast<char16_t>(c));
    } else {
        unit.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        unit.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
    return Enclosed("'", Utf16ToUtf8(unit), "' ") + code;
}

std::string QuotedText(const char16_t* units, std::size_t capacity, std::uint16_t length, std::uint16_t flags) {
    if (flags & kTextUnreadable) return "(address not readable)";
    if (flags & kTextResource) return Enclosed("#", Decimal(length > 0 ? units[0] : 0), "");
    const std::string utf8 = Utf16ToUtf8(std::u16string_view(units, std::min<std::size_t>(length, capacity)));
    std::string text = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': text += "\\\""; break;
            case '\\': text += "\\\\"; break;
            case '\r': text += "\\r"; break;
            case '\n': text += "\\n"; break;
            case '\t': text += "\\t"; break;
            default:
                if (c < 0x20) text += "\\x" + Hex8(c).substr(6);
                else text += ch;
        }
    }
    text += '"';
    if (flags & kTextCut) text += " (cut)";
    return text;
}

namespace {

constexpr std::uint32_t kFirstRegistered = 0xC000;
constexpr std::uint32_t kLastRegistered = 0xFFFF;
constexpr std::size_t kMarkWidth = 8;  // "returned"
constexpr int kDeepestIndent = 32;     // levels shown as indentation at most

// A 32-bit value stands for itself, zero- or sign-extended: a 64-bit value
// that is neither says more than the log's 32-bit column shows.
bool Wider(std::uint64_t value) {
    const auto low = static_cast<std::uint32_t>(value);
    const auto signExtended = static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<std::int32_t>(low)));
    return value != low && value != signExtended;
}

Decoded Decode(const MessageDetails& d) {
    Decoded m;
    m.message = d.message;
    m.wide = (d.flags & kDetailsWriter64) != 0;
    m.wParam = m.wide ? d.wParam : static_cast<std::uint32_t>(d.wParam);
    m.lParam = m.wide ? d.lParam : static_cast<std::uint32_t>(d.lParam);
    m.result = m.wide ? d.result : static_cast<std::uint32_t>(d.result);
    m.returned = d.mark == static_cast<std::uint8_t>(DetailMark::Returned);
    m.window = d.window;
    m.windowClass = ClassNameText(d.windowClass);
    m.senderClass = ClassNameText(d.senderClass);
    m.family = FamilyOfClassName(m.windowClass);
    m.senderFamily = FamilyOfClassName(m.senderClass);
    m.payloadKind = static_cast<PayloadKind>(d.payloadKind);
    m.payload = d.payload;
    return m;
}

std::string_view MarkWord(std::uint8_t mark) {
    switch (static_cast<DetailMark>(mark)) {
        case DetailMark::Sent: return "sent";
        case DetailMark::Posted: return "posted";
        case DetailMark::Returned: return "returned";
        default: return {};
    }
}

}  // namespace

}  // namespace details

using namespace details;

bool DetailsMatch(const HookRecord& record, const MessageDetails& details) {
    return details.window == record.hwnd && details.message == record.message;
}

MessageDetails DetailsFromRecord(const HookRecord& record) {
    MessageDetails d{};
    d.window = record.hwnd;
    d.message = record.message;
    d.wParam = record.wParam;
    d.lParam = record.lParam;
    return d;
}

std::string ClassNameText(const char16_t (&units)[kDetailClassUnits]) {
    const char16_t* end = std::find(units, units + kDetailClassUnits, u'\0');
    return Utf16ToUtf8(std::u16string_view(units, static_cast<std::size_t>(end - units)));
}

std::string DetailsText(const MessageDetails& details, std::string_view registeredName) {
    const Decoded m = Decode(details);
    Parts parts;
    if (m.message >= kFirstRegistered && m.message <= kLastRegistered) parts.Add(registeredName);
    else if (m.message >= 0x00B0) parts.Add(ControlMessageName(m.family, m.message));
    if (m.returned) {
        parts.Add("result", ResultText(m));
        parts.Add(Enclosed("(", m.wide ? Hex64(m.result) : Hex32(static_cast<std::uint32_t>(m.result)), ")"));
    } else {
        AddParameters(m, parts);
    }
    AddPayload(m, parts);
    if (m.wide && Wider(m.wParam)) parts.Add("wParam", Hex64(m.wParam));
    if (m.wide && Wider(m.lParam)) parts.Add("lParam", Hex64(m.lParam));

    std::string text(MarkWord(details.mark));
    if (!text.empty()) {
        text.resize(kMarkWidth + 1, ' ');
        text.append(2 * static_cast<std::size_t>(std::min<int>(details.depth, kDeepestIndent)), ' ');
    }
    text += parts.Text();
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string TargetWindowText(const MessageDetails& details) {
    std::string text = Hex32(details.window);
    const std::string className = ClassNameText(details.windowClass);
    if (!className.empty()) text += " {" + className + "}";
    return text;
}

void SendFates::Sent(std::uint32_t thread, std::uint8_t depth, bool logged) {
    std::vector<std::uint8_t>& fates = fates_[thread];
    if (fates.size() <= depth) fates.resize(static_cast<std::size_t>(depth) + 1, 0);
    fates[depth] = logged ? 2 : 1;
}

std::optional<bool> SendFates::Returned(std::uint32_t thread, std::uint8_t depth) const {
    const auto it = fates_.find(thread);
    if (it == fates_.end() || it->second.size() <= depth || it->second[depth] == 0) return std::nullopt;
    return it->second[depth] == 2;
}

}  // namespace vantrel
