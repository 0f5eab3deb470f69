#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <set>
#include <string>
#include <string_view>

#include "text/cp1251.h"
#include "text/format.h"
#include "text/literal.h"

namespace {

using namespace klt::text;
using namespace klt::text::literals;

std::string Byte(unsigned b) {
    return std::string(1, static_cast<char>(b));
}

std::string AllBytes() {
    std::string s;
    for (unsigned b = 0; b < 256; ++b) s += Byte(b);
    return s;
}

// ---- CP1251 <-> UTF-8 / UTF-16 ----

TEST(Cp1251Unicode, EveryByteRoundTripsThroughUtf8) {
    for (unsigned b = 0; b < 256; ++b) {
        EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(Byte(b))), Byte(b)) << "byte " << b;
    }
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(AllBytes())), AllBytes());
}

TEST(Cp1251Unicode, EveryByteRoundTripsThroughUtf16) {
    for (unsigned b = 0; b < 256; ++b) {
        EXPECT_EQ(Utf16ToCp1251(Cp1251ToUtf16(Byte(b))), Byte(b)) << "byte " << b;
        EXPECT_EQ(Cp1251ToUtf16(Byte(b)),
                  std::u16string(1, Cp1251CharToUtf16(static_cast<unsigned char>(b))));
    }
    EXPECT_EQ(Utf16ToCp1251(Cp1251ToUtf16(AllBytes())), AllBytes());
}

TEST(Cp1251Unicode, DistinctBytesGiveDistinctCharacters) {
    std::set<char16_t> seen;
    for (unsigned b = 0; b < 256; ++b) seen.insert(Cp1251CharToUtf16(static_cast<unsigned char>(b)));
    EXPECT_EQ(seen.size(), 256u);
}

TEST(Cp1251Unicode, KnownCharacters) {
    EXPECT_EQ(Cp1251CharToUtf16(0x41), u'A');
    EXPECT_EQ(Cp1251CharToUtf16(0xC0), u'\u0410');  // А
    EXPECT_EQ(Cp1251CharToUtf16(0xDF), u'\u042F');  // Я
    EXPECT_EQ(Cp1251CharToUtf16(0xE0), u'\u0430');  // а
    EXPECT_EQ(Cp1251CharToUtf16(0xFF), u'\u044F');  // я
    EXPECT_EQ(Cp1251CharToUtf16(0xA8), u'\u0401');  // Ё
    EXPECT_EQ(Cp1251CharToUtf16(0xB8), u'\u0451');  // ё
    EXPECT_EQ(Cp1251CharToUtf16(0xB9), u'\u2116');  // №
    EXPECT_EQ(Cp1251CharToUtf16(0x88), u'\u20AC');  // €
    EXPECT_EQ(Cp1251CharToUtf16(0x96), u'\u2013');  // –
    EXPECT_EQ(Cp1251CharToUtf16(0xAB), u'\u00AB');  // «
    EXPECT_EQ(Cp1251CharToUtf16(0xA5), u'\u0490');  // Ґ
    EXPECT_EQ(Cp1251CharToUtf16(0xA0), u'\u00A0');  // no-break space
    EXPECT_EQ(Cp1251CharToUtf16(0x98), u'\u0098');  // unassigned: kept as the same-valued C1 control
}

TEST(Cp1251Unicode, EncodesUtf8) {
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2, world"), "Привет, world");
    EXPECT_EQ(Cp1251ToUtf8("\xB9 5 \x88"), "№ 5 €");
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xC2\x98");
    EXPECT_EQ(Cp1251ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Cp1251ToUtf8(""), "");
}

TEST(Cp1251Unicode, DecodesUtf8) {
    EXPECT_EQ(Utf8ToCp1251("Привет, world"), "\xCF\xF0\xE8\xE2\xE5\xF2, world");
    EXPECT_EQ(Utf8ToCp1251("Ёлка ёж №1 €"), "\xA8\xEB\xEA\xE0 \xB8\xE6 \xB9\x31 \x88");
}

TEST(Cp1251Unicode, CharactersOutsideCp1251BecomeOneQuestionMarkEach) {
    EXPECT_EQ(Utf8ToCp1251("a中b"), "a?b");                // 3 bytes
    EXPECT_EQ(Utf8ToCp1251("a\xF0\x9F\x98\x80z"), "a?z");  // 4 bytes, U+1F600
    EXPECT_EQ(Utf8ToCp1251("\xC3\xA9"), "?");              // é
    EXPECT_EQ(Utf8ToCp1251("\xC2\x80"), "?");              // C1 control other than U+0098
}

TEST(Cp1251Unicode, IllFormedUtf8BecomesQuestionMarks) {
    // One '?' per maximal ill-formed subsequence; the next valid character is always kept.
    EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");  // truncated at the end
    EXPECT_EQ(Utf8ToCp1251("\xE2\x82"), "?");
    EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98"), "?");
    EXPECT_EQ(Utf8ToCp1251("\xE2\x82x"), "?x");           // truncated before ASCII
    EXPECT_EQ(Utf8ToCp1251("\xD0\xD0\x90"), "?\xC0");     // truncated before a valid character
    EXPECT_EQ(Utf8ToCp1251("\x80\xBF"), "??");            // stray continuation bytes
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??");            // overlong '/'
    EXPECT_EQ(Utf8ToCp1251("\xC1\x81"), "??");            // overlong 'A'
    EXPECT_EQ(Utf8ToCp1251("\xE0\x80\xAF"), "???");       // overlong 3-byte
    EXPECT_EQ(Utf8ToCp1251("\xF0\x80\x80\xAF"), "????");  // overlong 4-byte
    EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), "???");       // surrogate U+D800
    EXPECT_EQ(Utf8ToCp1251("\xED\xBF\xBF"), "???");       // surrogate U+DFFF
    EXPECT_EQ(Utf8ToCp1251("\xF4\x90\x80\x80"), "????");  // U+110000
    EXPECT_EQ(Utf8ToCp1251("\xF5\x80\x80\x80"), "????");
    EXPECT_EQ(Utf8ToCp1251("\xF8\x88\x80\x80\x80"), "?????");  // old 5-byte form
    EXPECT_EQ(Utf8ToCp1251("\xFE\xFF"), "??");
    // Boundaries that are valid.
    EXPECT_EQ(Utf8ToCp1251("\xED\x9F\xBF"), "?");      // U+D7FF, just below the surrogates
    EXPECT_EQ(Utf8ToCp1251("\xF4\x8F\xBF\xBF"), "?");  // U+10FFFF
}

TEST(Cp1251Unicode, LeadByteNeverSwallowsFollowingAscii) {
    for (unsigned lead = 0x80; lead < 0x100; ++lead) {
        for (unsigned a = 0; a < 0x80; ++a) {
            ASSERT_EQ(Utf8ToCp1251(Byte(lead) + Byte(a)), "?" + Byte(a)) << lead << " " << a;
        }
    }
}

TEST(Cp1251Unicode, AnyTwoBytesDecodeToOneOrTwoBytes) {
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned b = 0; b < 256; ++b) {
            const std::string out = Utf8ToCp1251(Byte(a) + Byte(b));
            ASSERT_TRUE(out.size() == 1 || out.size() == 2) << a << " " << b;
        }
    }
}

TEST(Cp1251Unicode, Utf16Conversions) {
    EXPECT_EQ(Cp1251ToUtf16("\xC0\xFF\xB9"), u"Ая№");
    EXPECT_EQ(Utf16ToCp1251(u"Привет"), "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_EQ(Utf16ToCp1251(u"a中b"), "a?b");
    EXPECT_EQ(Utf16ToCp1251(u"a\U0001F600b"), "a?b");  // a pair is one character
}

TEST(Cp1251Unicode, UnpairedSurrogatesBecomeQuestionMarks) {
    const char16_t high = 0xD83D, low = 0xDE00;
    EXPECT_EQ(Utf16ToCp1251(std::u16string{high}), "?");
    EXPECT_EQ(Utf16ToCp1251(std::u16string{high, u'A'}), "?A");
    EXPECT_EQ(Utf16ToCp1251(std::u16string{low, high}), "??");
    EXPECT_EQ(Utf16ToCp1251(std::u16string{high, high, low}), "??");
    EXPECT_EQ(Utf16ToCp1251(std::u16string{u'x', low}), "x?");
}

// ---- CP866 ----

TEST(Cp866, AsciiIsUnchanged) {
    for (unsigned b = 0; b < 0x80; ++b) EXPECT_EQ(Cp1251ToCp866(static_cast<char>(b)), static_cast<char>(b));
}

TEST(Cp866, RussianLetters) {
    // CP866 splits the small letters: а..п at 0xA0, р..я at 0xE0.
    for (unsigned i = 0; i < 32; ++i) {
        EXPECT_EQ(static_cast<unsigned char>(Cp1251ToCp866(static_cast<char>(0xC0 + i))), 0x80 + i);
        const unsigned small = i < 16 ? 0xA0 + i : 0xE0 + (i - 16);
        EXPECT_EQ(static_cast<unsigned char>(Cp1251ToCp866(static_cast<char>(0xE0 + i))), small);
    }
    EXPECT_EQ(Cp1251ToCp866("\xCF\xF0\xE8\xE2\xE5\xF2"), "\x8F\xE0\xA8\xA2\xA5\xE2");  // Привет
}

TEST(Cp866, SymbolsAndUkrainianLetters) {
    const std::pair<unsigned, unsigned> pairs[] = {
        {0xA8, 0xF0}, {0xB8, 0xF1},  // Ё ё
        {0xAA, 0xF2}, {0xBA, 0xF3},  // Є є
        {0xAF, 0xF4}, {0xBF, 0xF5},  // Ї ї
        {0xA1, 0xF6}, {0xA2, 0xF7},  // Ў ў
        {0xB0, 0xF8},                // °
        {0xB7, 0xFA},                // ·
        {0xB9, 0xFC},                // №
        {0xA4, 0xFD},                // ¤
        {0xA0, 0xFF},                // no-break space
    };
    for (const auto& [from, to] : pairs) {
        EXPECT_EQ(static_cast<unsigned char>(Cp1251ToCp866(static_cast<char>(from))), to) << from;
    }
    // Everything else above 0x7F has no CP866 character.
    std::set<unsigned> mapped;
    for (const auto& p : pairs) mapped.insert(p.first);
    for (unsigned b = 0x80; b < 0xC0; ++b) {
        if (mapped.count(b) == 0) {
            EXPECT_EQ(Cp1251ToCp866(static_cast<char>(b)), '?') << b;
        }
    }
}

TEST(Cp866, StringMatchesPerByte) {
    const std::string all = AllBytes();
    const std::string converted = Cp1251ToCp866(all);
    ASSERT_EQ(converted.size(), all.size());
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(converted[i], Cp1251ToCp866(all[i]));
}

// ---- Case folding and comparison ----

TEST(Cp1251Case, FoldsAsciiAndRussian) {
    for (unsigned i = 0; i < 26; ++i) EXPECT_EQ(ToLower(static_cast<unsigned char>('A' + i)), 'a' + i);
    for (unsigned i = 0; i < 32; ++i) EXPECT_EQ(ToLower(static_cast<unsigned char>(0xC0 + i)), 0xE0 + i);
}

TEST(Cp1251Case, FoldsOtherCyrillicPairs) {
    const std::pair<unsigned, unsigned> pairs[] = {
        {0xA8, 0xB8},  // Ё ё
        {0x80, 0x90},  // Ђ ђ
        {0x81, 0x83},  // Ѓ ѓ
        {0x8A, 0x9A},  // Љ љ
        {0x8C, 0x9C},  // Њ њ
        {0x8D, 0x9D},  // Ќ ќ
        {0x8E, 0x9E},  // Ћ ћ
        {0x8F, 0x9F},  // Џ џ
        {0xA1, 0xA2},  // Ў ў
        {0xA3, 0xBC},  // Ј ј
        {0xA5, 0xB4},  // Ґ ґ
        {0xAA, 0xBA},  // Є є
        {0xAF, 0xBF},  // Ї ї
        {0xB2, 0xB3},  // І і
        {0xBD, 0xBE},  // Ѕ ѕ
    };
    std::set<unsigned> upper;
    for (const auto& [up, low] : pairs) {
        EXPECT_EQ(ToLower(static_cast<unsigned char>(up)), low) << up;
        upper.insert(up);
    }
    // No other byte changes: small letters, digits, symbols and 0x98 stay as they are.
    for (unsigned b = 0x80; b < 0xC0; ++b) {
        if (upper.count(b) == 0) {
            EXPECT_EQ(ToLower(static_cast<unsigned char>(b)), b) << b;
        }
    }
    for (unsigned b = 0; b < 0x80; ++b) {
        if (b < 'A' || b > 'Z') {
            EXPECT_EQ(ToLower(static_cast<unsigned char>(b)), b) << b;
        }
    }
    for (unsigned b = 0xE0; b < 0x100; ++b) EXPECT_EQ(ToLower(static_cast<unsigned char>(b)), b);
}

TEST(Cp1251Case, CompareIgnoresCase) {
    EXPECT_EQ(CompareNoCase("ОткрытьПорт"_cp, "открытьпорт"_cp), 0);
    EXPECT_EQ(CompareNoCase("ЁЖИК Ґ"_cp, "ёжик ґ"_cp), 0);
    EXPECT_TRUE(EqualsNoCase("Hello", "hELLO"));
    EXPECT_TRUE(EqualsNoCase("", ""));
    EXPECT_FALSE(EqualsNoCase("Порт"_cp, "Порты"_cp));
    EXPECT_FALSE(EqualsNoCase("Е"_cp, "Ё"_cp));
}

TEST(Cp1251Case, CompareOrdersFoldedBytesAsUnsigned) {
    EXPECT_GT(CompareNoCase("я"_cp, "z"), 0);  // 0xFF after ASCII, not before it
    EXPECT_LT(CompareNoCase("Z", "Я"_cp), 0);
    EXPECT_LT(CompareNoCase("а"_cp, "Б"_cp), 0);
    EXPECT_GT(CompareNoCase("б"_cp, "А"_cp), 0);
    EXPECT_LT(CompareNoCase("_", "A"), 0);        // folded to lower case, as _stricmp does: '_' < 'a'
    EXPECT_LT(CompareNoCase("ё"_cp, "Е"_cp), 0);  // 0xB8 < 0xE5: plain byte order, no collation
    EXPECT_LT(CompareNoCase("abc", "ABCD"), 0);
    EXPECT_GT(CompareNoCase("ABCD", "abc"), 0);
    EXPECT_LT(CompareNoCase("", "a"), 0);
    EXPECT_LT(CompareNoCase(std::string_view("a\0", 2), std::string_view("a\0b", 3)), 0);
}

// ---- Compile-time literals ----

constexpr std::string_view kTable[] = {"ОткрытьПорт"_cp, "Печать"_cp, "Ok"_cp};
static_assert(kTable[0].size() == 11);
static_assert(kTable[1] == "\xCF\xE5\xF7\xE0\xF2\xFC");
static_assert(kTable[2] == "Ok");
static_assert("Ёё№€«»–—“”"_cp == "\xA8\xB8\xB9\x88\xAB\xBB\x96\x97\x93\x94");
static_assert(""_cp.empty());

// The checker behind _cp rejects what must not compile.
static_assert(klt::text::detail::Cp1251LengthOfUtf8("中") == klt::text::detail::kNotCp1251);
static_assert(klt::text::detail::Cp1251LengthOfUtf8("\xC0\x80") == klt::text::detail::kNotCp1251);
static_assert(klt::text::detail::Cp1251LengthOfUtf8("\xD0") == klt::text::detail::kNotCp1251);
static_assert(klt::text::detail::Cp1251LengthOfUtf8("\xF0\x9F\x98\x80") == klt::text::detail::kNotCp1251);

TEST(Cp1251Literal, IsNulTerminatedCString) {
    constexpr std::string_view s = "ОткрытьПорт"_cp;
    EXPECT_EQ(std::strlen(s.data()), s.size());
    EXPECT_STREQ(s.data(), "\xCE\xF2\xEA\xF0\xFB\xF2\xFC\xCF\xEE\xF0\xF2");
}

TEST(Cp1251Literal, SameLiteralSharesStorage) {
    EXPECT_EQ("Печать"_cp.data(), kTable[1].data());
}

TEST(Cp1251Literal, AgreesWithRunTimeConversion) {
    const char* const samples[] = {"Привет, мир!", "Ђђ Ѓѓ Љљ Њњ Ќќ Ћћ Џџ Ўў Јј Ґґ Єє Її Іі Ѕѕ",
                                   "‚„…†‡‰‹›•™ ¤¦§©¬­®°±µ¶·"};
    EXPECT_EQ(Utf8ToCp1251(samples[0]), "Привет, мир!"_cp);
    EXPECT_EQ(Utf8ToCp1251(samples[1]), "Ђђ Ѓѓ Љљ Њњ Ќќ Ћћ Џџ Ўў Јј Ґґ Єє Її Іі Ѕѕ"_cp);
    EXPECT_EQ(Utf8ToCp1251(samples[2]), "‚„…†‡‰‹›•™ ¤¦§©¬­®°±µ¶·"_cp);
    for (const char* s : samples) EXPECT_EQ(std::string_view(s), Cp1251ToUtf8(Utf8ToCp1251(s)));
}

// ---- Format ----

std::string FormatTwice(const char* fmt, ...) KLT_PRINTF_LIKE(1, 2);
// VFormat must leave the caller's list usable: format it, then read the first argument again.
std::string FormatTwice(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out = VFormat(fmt, args);
    out += VFormat(fmt, args);
    va_end(args);
    return out;
}

TEST(TextFormat, Conversions) {
    EXPECT_EQ(Format("%.2f", 12.5), "12.50");
    EXPECT_EQ(Format("%s_%d", "port", 7), "port_7");
    EXPECT_EQ(Format("%02d", 123), "123");
    EXPECT_EQ(Format("%02d", 5), "05");
    EXPECT_EQ(Format("%lld", -9007199254740993LL), "-9007199254740993");
    EXPECT_EQ(Format("%zu", static_cast<std::size_t>(42)), "42");
    EXPECT_EQ(Format("%hhd", 'A'), "65");
    EXPECT_EQ(Format("%.3e", 1234.5), "1.234e+03");  // C99: two exponent digits, not msvcrt's three
    EXPECT_EQ(Format("%%"), "%");
    EXPECT_EQ(Format("%s", ""), "");
}

TEST(TextFormat, LongOutputIsNotTruncated) {
    const std::string big(10000, 'x');
    EXPECT_EQ(Format("[%s]", big.c_str()), "[" + big + "]");
    const std::string padded = Format("%5000d|%5000d", 1, 2);
    ASSERT_EQ(padded.size(), 10001u);
    EXPECT_EQ(padded.substr(4990, 11), std::string(9, ' ') + "1|");
    EXPECT_EQ(padded.back(), '2');
}

TEST(TextFormat, Cp1251BytesPassThrough) {
    EXPECT_EQ(Format("%s: %d \xB9", "Чек"_cp.data(), 5), "\xD7\xE5\xEA: 5 \xB9");
    EXPECT_EQ(Format("%s", AllBytes().c_str() + 1), AllBytes().substr(1));
}

TEST(TextFormat, VFormatLeavesArgumentsToCaller) {
    EXPECT_EQ(FormatTwice("%d-%s;", 3, "ab"), "3-ab;3-ab;");
}

}  // namespace
