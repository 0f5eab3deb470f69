// Conversions between CP1251, the encoding of every text inside the add-in, and the encodings of
// the world around it: UTF-8 (files, network), UTF-16 (Win32, COM) and CP866 (printers, customer
// displays). Characters that cannot be represented become '?'; nothing here throws on bad input.
#pragma once

#include <string>
#include <string_view>

namespace klt::text {

// Every byte maps, so Utf8ToCp1251(Cp1251ToUtf8(s)) == s for any s. The unassigned byte 0x98
// becomes U+0098.
std::string Cp1251ToUtf8(std::string_view cp1251);
// Characters without a CP1251 byte and each ill-formed UTF-8 sequence become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

std::u16string Cp1251ToUtf16(std::string_view cp1251);
// Characters without a CP1251 byte (including any surrogate pair) and unpaired surrogates become '?'.
std::string Utf16ToCp1251(std::u16string_view utf16);
char16_t Cp1251CharToUtf16(unsigned char c);

// Bytes with no CP866 character (typographic quotes, dashes, Serbian letters...) become '?'.
std::string Cp1251ToCp866(std::string_view cp1251);
char Cp1251ToCp866(char c);

// Folds ASCII and every CP1251 Cyrillic capital (А..Я, Ё, Ђ, Ѓ, Љ, Њ, Ќ, Ћ, Џ, Ў, Ј, Ґ, Є, Ї, І, Ѕ)
// to its small letter; any other byte is returned unchanged.
unsigned char ToLower(unsigned char c);
// Orders like _stricmp under a Russian locale: folded bytes compared as unsigned, a proper prefix
// first. Returns <0, 0 or >0.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace klt::text
