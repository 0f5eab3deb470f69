// Character tables and the UTF-8 decoder shared by the run-time converters (cp1251.cpp) and the
// compile-time literal encoder (literal.h), so both accept exactly the same characters.
#pragma once

#include <cstddef>
#include <string_view>

namespace klt::text::detail {

// Unicode code points of CP1251 bytes 0x80..0xFF (the lower half is ASCII). Byte 0x98 has no
// character in Windows-1251; we give it U+0098, the C1 control of the same value, so that every
// byte survives a trip through UTF-8 or UTF-16 and back: texts from the host may carry any byte.
inline constexpr char16_t kCp1251High[128] = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',  // 80
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',  // 88
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',  // 90
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',  // 98
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',  // A0
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',  // A8
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',  // B0
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',  // B8
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417',  // C0
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F',  // C8
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427',  // D0
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F',  // D8
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437',  // E0
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F',  // E8
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447',  // F0
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F',  // F8
};

// Unicode code points of CP866 (Russian DOS) bytes 0x80..0xFF; the lower half is ASCII. Printers
// and customer displays speak this code page.
inline constexpr char16_t kCp866High[128] = {
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417',  // 80
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F',  // 88
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427',  // 90
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F',  // 98
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437',  // A0
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F',  // A8
    u'\u2591', u'\u2592', u'\u2593', u'\u2502', u'\u2524', u'\u2561', u'\u2562', u'\u2556',  // B0
    u'\u2555', u'\u2563', u'\u2551', u'\u2557', u'\u255D', u'\u255C', u'\u255B', u'\u2510',  // B8
    u'\u2514', u'\u2534', u'\u252C', u'\u251C', u'\u2500', u'\u253C', u'\u255E', u'\u255F',  // C0
    u'\u255A', u'\u2554', u'\u2569', u'\u2566', u'\u2560', u'\u2550', u'\u256C', u'\u2567',  // C8
    u'\u2568', u'\u2564', u'\u2565', u'\u2559', u'\u2558', u'\u2552', u'\u2553', u'\u256B',  // D0
    u'\u256A', u'\u2518', u'\u250C', u'\u2588', u'\u2584', u'\u258C', u'\u2590', u'\u2580',  // D8
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447',  // E0
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F',  // E8
    u'\u0401', u'\u0451', u'\u0404', u'\u0454', u'\u0407', u'\u0457', u'\u040E', u'\u045E',  // F0
    u'\u00B0', u'\u2219', u'\u00B7', u'\u221A', u'\u2116', u'\u00A4', u'\u25A0', u'\u00A0',  // F8
};

constexpr bool Cp1251LettersAreContiguous() {
    for (char16_t i = 0; i < 64; ++i) {
        if (kCp1251High[0x40 + i] != u'\u0410' + i) return false;
    }
    return true;
}
// UnicodeToCp1251 computes А..я instead of searching for them.
static_assert(Cp1251LettersAreContiguous());

constexpr char16_t Cp1251ToUnicode(unsigned char b) {
    return b < 0x80 ? char16_t{b} : kCp1251High[b - 0x80];
}

// The CP1251 byte of a code point, or -1 when CP1251 has no such character.
constexpr int UnicodeToCp1251(char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    if (cp >= 0x410 && cp <= 0x44F) return static_cast<int>(cp - 0x410) + 0xC0;
    for (int i = 0; i < 0x40; ++i) {
        if (kCp1251High[i] == cp) return 0x80 + i;
    }
    return -1;
}

struct Utf8Step {
    char32_t cp;         // meaningful only when valid
    std::size_t length;  // bytes consumed, at least 1
    bool valid;
};

// Decodes one character at pos (< utf8.size()). Only well-formed sequences are accepted: no
// overlongs, surrogates or code points above U+10FFFF. An ill-formed sequence consumes its longest
// valid-looking prefix (at least one byte) and no more, so one broken character never swallows the
// text after it.
constexpr Utf8Step DecodeUtf8(std::string_view utf8, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (lead < 0x80) return {lead, 1, true};
    std::size_t trail = 0;
    char32_t cp = 0;
    unsigned char lo = 0x80;  // allowed range of the first trail byte
    unsigned char hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        cp = lead & 0x0Fu;
        if (lead == 0xE0) lo = 0xA0;  // overlong
        if (lead == 0xED) hi = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        cp = lead & 0x07u;
        if (lead == 0xF0) lo = 0x90;  // overlong
        if (lead == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
        return {0, 1, false};
    }
    std::size_t length = 1;
    for (std::size_t i = 0; i < trail; ++i) {
        if (pos + length >= utf8.size()) return {0, length, false};
        const auto b = static_cast<unsigned char>(utf8[pos + length]);
        if (b < lo || b > hi) return {0, length, false};
        cp = (cp << 6) | (b & 0x3Fu);
        ++length;
        lo = 0x80;
        hi = 0xBF;
    }
    return {cp, length, true};
}

inline constexpr std::size_t kNotCp1251 = static_cast<std::size_t>(-1);

// Length in CP1251 bytes of a UTF-8 text, or kNotCp1251 when it is ill-formed or holds a character
// CP1251 lacks.
constexpr std::size_t Cp1251LengthOfUtf8(std::string_view utf8) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++n) {
        const Utf8Step step = DecodeUtf8(utf8, pos);
        if (!step.valid || UnicodeToCp1251(step.cp) < 0) return kNotCp1251;
        pos += step.length;
    }
    return n;
}

}  // namespace klt::text::detail
