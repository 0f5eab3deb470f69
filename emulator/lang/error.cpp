#include "emulator/lang/error.h"

#include <cstdint>

#include "text/cp1251.h"

namespace klt::lang {

std::string DescribeError(const std::string& fileName, const LangError& error) {
    const std::string file = error.module().empty() ? fileName : text::Cp1251ToUtf8(error.module());
    return file + ":" + std::to_string(error.pos().line) + ":" + std::to_string(error.pos().column) +
           ": ошибка: " + text::Cp1251ToUtf8(error.message());
}

bool IsValidUtf8(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t extra;
        std::uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07u;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3Fu);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::string ModuleTextToCp1251(const std::string& bytes) {
    if (!IsValidUtf8(bytes)) return bytes;
    std::string_view utf8(bytes);
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
    return text::Utf8ToCp1251(utf8);
}

}  // namespace klt::lang
