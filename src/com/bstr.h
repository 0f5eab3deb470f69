#pragma once
// Texts cross COM as UTF-16 BSTRs and live inside the add-in as CP1251.
#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <string>
#include <string_view>

#include "text/cp1251.h"

namespace klt::com {

// A new BSTR the caller frees; null only when memory runs out.
inline BSTR Cp1251ToBstr(std::string_view cp1251) {
    const std::u16string wide = text::Cp1251ToUtf16(cp1251);
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size()));
}

// A null BSTR is the empty text. Copied rather than viewed in place: a BSTR is wchar_t memory.
inline std::string BstrToCp1251(BSTR text) {
    if (text == nullptr) return {};
    std::u16string wide(SysStringLen(text), u'\0');
    std::memcpy(wide.data(), text, wide.size() * sizeof(char16_t));
    return text::Utf16ToCp1251(wide);
}

}  // namespace klt::com
