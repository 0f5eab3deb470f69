#pragma once
// Texts cross COM as UTF-16 BSTRs and live inside the add-in as CP1251.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

#include "text/cp1251.h"

namespace klt::com {

// A new BSTR the caller frees; null only when memory runs out.
inline BSTR Cp1251ToBstr(std::string_view cp1251) {
    const std::u16string wide = text::Cp1251ToUtf16(cp1251);
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size()));
}

// A null BSTR is the empty text.
inline std::string BstrToCp1251(BSTR text) {
    if (text == nullptr) return {};
    return text::Utf16ToCp1251(std::u16string_view(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
}

}  // namespace klt::com
