#include "base/unicode.h"

namespace vantrel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the character at text[pos] and moves pos past it. A malformed
// sequence (a stray continuation byte, a short or overlong form, a surrogate
// or a value above U+10FFFF) yields U+FFFD and moves one byte on.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + static_cast<std::size_t>(length) > text.size()) {
        ++pos;
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += static_cast<std::size_t>(length);
    return value;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

namespace {

// The capital of a small letter of a cased script other than Latin; the
// character itself when it has none.
char32_t NonLatinUpper(char32_t c) {
    // Greek.
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
    if (c == 0x3C2) return 0x3A3;  // final sigma
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
    if (c == 0x3CA || c == 0x3CB) return c - 0x20;
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
    if (c >= 0x3D8 && c <= 0x3EF && (c & 1)) return c - 1;
    if (c >= 0x1F00 && c <= 0x1F6F && (c & 0xF) < 8) {
        // Polytonic letters: each small run of eight has its capitals next.
        const char32_t upper = c + 8;
        const bool hasCapital = !((c >= 0x1F16 && c <= 0x1F17) || (c >= 0x1F46 && c <= 0x1F47) ||
                                  (c >= 0x1F50 && c <= 0x1F57 && !(c & 1)));
        return hasCapital ? upper : c;
    }
    // Cyrillic.
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    if (((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) && (c & 1))
        return c - 1;
    if (c >= 0x4C1 && c <= 0x4CE && !(c & 1)) return c - 1;
    if (c == 0x4CF) return 0x4C0;
    // Armenian.
    if (c >= 0x561 && c <= 0x586) return c - 0x30;
    // Glagolitic and Coptic.
    if (c >= 0x2C30 && c <= 0x2C5F) return c - 0x30;
    if (c >= 0x2C80 && c <= 0x2CE3 && (c & 1)) return c - 1;
    // Cherokee small letters.
    if (c >= 0xAB70 && c <= 0xABBF) return c - 0xAB70 + 0x13A0;
    if (c >= 0x13F8 && c <= 0x13FD) return c - 8;
    // Deseret.
    if (c >= 0x10428 && c <= 0x1044F) return c - 0x28;
    return c;
}

}  // namespace

std::string UpperForSearch(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t c = DecodeUtf8(utf8, pos);
        if (c < 0x80) {
            out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c));
        } else if (c == kReplacement && pos - start == 1) {
            out.push_back(utf8[start]);  // a stray byte stays what it was
        } else {
            AppendUtf8(out, NonLatinUpper(c));
        }
    }
    return out;
}

char32_t UpperForSearch(char32_t c) {
    if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
    return NonLatinUpper(c);
}

char32_t NextCharacter(std::string_view utf8, std::size_t& pos) { return DecodeUtf8(utf8, pos); }

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = DecodeUtf8(utf8, pos);
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < utf8.size();) units += DecodeUtf8(utf8, pos) >= 0x10000 ? 2 : 1;
    return units;
}

std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits) {
    std::size_t units = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t next = pos;
        const std::size_t width = DecodeUtf8(utf8, next) >= 0x10000 ? 2 : 1;
        if (units + width > maxUnits) break;
        units += width;
        pos = next;
    }
    return std::string(utf8.substr(0, pos));
}

bool IsAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace vantrel
