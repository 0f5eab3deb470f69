#include "text/cp1251.h"

#include <array>

#include "text/cp1251_table.h"

namespace klt::text {
namespace {

using Table = std::array<unsigned char, 256>;

// Derived from the two code point tables rather than typed in, so the mapping cannot disagree
// with them.
constexpr Table MakeCp1251ToCp866() {
    Table t{};
    for (unsigned b = 0; b < 256; ++b) {
        if (b < 0x80) {
            t[b] = static_cast<unsigned char>(b);
            continue;
        }
        t[b] = '?';
        for (unsigned i = 0; i < 128; ++i) {
            if (detail::kCp866High[i] == detail::kCp1251High[b - 0x80]) {
                t[b] = static_cast<unsigned char>(0x80 + i);
                break;
            }
        }
    }
    return t;
}

constexpr char32_t LowerCodePoint(char32_t cp) {
    if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
    if (cp >= U'\u0400' && cp <= U'\u040F') return cp + 0x50;  // Ѐ..Џ -> ѐ..џ
    if (cp >= U'\u0410' && cp <= U'\u042F') return cp + 0x20;  // А..Я -> а..я
    if (cp == U'\u0490') return U'\u0491';                     // Ґ -> ґ
    return cp;
}

constexpr Table MakeToLower() {
    Table t{};
    for (unsigned b = 0; b < 256; ++b) {
        const int lower =
            detail::UnicodeToCp1251(LowerCodePoint(detail::Cp1251ToUnicode(static_cast<unsigned char>(b))));
        t[b] = static_cast<unsigned char>(lower < 0 ? static_cast<int>(b) : lower);
    }
    return t;
}

constexpr Table kToCp866 = MakeCp1251ToCp866();
constexpr Table kToLower = MakeToLower();

void AppendUtf8(std::string& out, char16_t cp) {
    // The tables hold BMP code points outside the surrogate range only.
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char ToCp1251OrQuestion(char32_t cp) {
    const int b = detail::UnicodeToCp1251(cp);
    return b < 0 ? '?' : static_cast<char>(b);
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (const char c : cp1251) AppendUtf8(out, detail::Cp1251ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    // ASCII is the same in both: taken in one piece up to the first other byte. File names in the
    // marker folders, converted by the thousand on every refresh, are mostly digits and "_".
    std::size_t ascii = 0;
    while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80) ++ascii;
    std::string out(utf8.substr(0, ascii));
    if (ascii == utf8.size()) return out;
    out.reserve(utf8.size());
    for (std::size_t pos = ascii; pos < utf8.size();) {
        const detail::Utf8Step step = detail::DecodeUtf8(utf8, pos);
        pos += step.length;
        out.push_back(step.valid ? ToCp1251OrQuestion(step.cp) : '?');
    }
    return out;
}

char16_t Cp1251CharToUtf16(unsigned char c) {
    return detail::Cp1251ToUnicode(c);
}

std::u16string Cp1251ToUtf16(std::string_view cp1251) {
    std::u16string out;
    out.reserve(cp1251.size());
    for (const char c : cp1251) out.push_back(detail::Cp1251ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf16ToCp1251(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t c = utf16[i];
        if (IsHighSurrogate(c) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
            ++i;  // a whole character beyond the BMP: one '?'
            out.push_back('?');
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            out.push_back('?');
        } else {
            out.push_back(ToCp1251OrQuestion(c));
        }
    }
    return out;
}

char Cp1251ToCp866(char c) {
    return static_cast<char>(kToCp866[static_cast<unsigned char>(c)]);
}

std::string Cp1251ToCp866(std::string_view cp1251) {
    std::string out(cp1251);
    for (char& c : out) c = Cp1251ToCp866(c);
    return out;
}

unsigned char ToLower(unsigned char c) {
    return kToLower[c];
}

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = ToLower(static_cast<unsigned char>(a[i]));
        const int cb = ToLower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca - cb;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

}  // namespace klt::text
