#pragma once
// The details column's pieces, shared by its three sources: the message as
// the decoder sees it, the line being assembled, and the small texts every
// part writes the same way (points, rectangles, handles, texts, characters).

#include "catch/control_names.h"
#include "hooklib/hook_channel.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vantrel::details {

// One report's details, read once: values whole for a 64-bit program and
// their low 32 bits for a 32-bit one, classes as UTF-8 and their families.
struct Decoded {
    std::uint32_t message = 0;
    std::uint64_t wParam = 0, lParam = 0, result = 0;
    bool wide = false;      // the watched program is 64-bit
    bool returned = false;  // the line of a send returning
    std::uint32_t window = 0;
    std::string windowClass, senderClass;
    ControlFamily family = ControlFamily::None, senderFamily = ControlFamily::None;
    PayloadKind payloadKind = PayloadKind::None;
    const std::uint8_t* payload = nullptr;  // kDetailPayloadBytes

    std::uint32_t W() const { return static_cast<std::uint32_t>(wParam); }
    std::uint32_t L() const { return static_cast<std::uint32_t>(lParam); }
};

// The payload as a structure of the kind it says it holds.
template <class T>
T PayloadAs(const Decoded& m) {
    static_assert(sizeof(T) <= kDetailPayloadBytes);
    T value;
    std::memcpy(&value, m.payload, sizeof value);
    return value;
}

// The line being assembled: parts separated by one space.
class Parts {
public:
    void Add(std::string_view part) {
        if (part.empty()) return;
        if (!text_.empty()) text_ += ' ';
        text_ += part;
    }
    // "name=value"
    void Add(std::string_view name, std::string_view value) {
        Add(std::string(name) + "=" + std::string(value));
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

inline std::uint32_t Lo16(std::uint32_t v) { return v & 0xFFFF; }
inline std::uint32_t Hi16(std::uint32_t v) { return v >> 16; }
inline int SignedLo16(std::uint32_t v) { return static_cast<std::int16_t>(v & 0xFFFF); }
inline int SignedHi16(std::uint32_t v) { return static_cast<std::int16_t>(v >> 16); }

std::string Decimal(std::int64_t value);
// open, text and close joined: "(" "1,2" ")".
std::string Enclosed(std::string_view open, std::string_view text, std::string_view close);
std::string Point(std::int32_t x, std::int32_t y);    // "(x,y)"
std::string Size(std::int32_t cx, std::int32_t cy);   // "cx x cy"
std::string RectText(const DetailRect& r);             // "(l,t)-(r,b)"
// A handle or pointer-sized value: 8 hexadecimal digits, 16 when wider.
std::string Handle(std::uint64_t value);
std::string Bool(std::uint64_t value);  // "TRUE", "FALSE", or the number
// A character given as a UTF-16 unit or a code point: 'x' U+0078.
std::string CharText(std::uint32_t codePoint);
// A bounded text in quotes, special characters escaped, "(cut)" when it went on.
std::string QuotedText(const char16_t* units, std::size_t capacity, std::uint16_t length, std::uint16_t flags);
template <std::uint16_t Units>
std::string QuotedText(const DetailText<Units>& text) {
    return QuotedText(text.units, Units, text.length, text.flags);
}

// The parameters of a sent or posted message, decoded.
void AddParameters(const Decoded& m, Parts& parts);
// A returned message's result, decoded (without the raw value).
std::string ResultText(const Decoded& m);
// What the parameters pointed to.
void AddPayload(const Decoded& m, Parts& parts);

}  // namespace vantrel::details
