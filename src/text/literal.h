// Russian string literals in CP1251, encoded while compiling: sources are UTF-8, the add-in and
// its host speak CP1251.
//
//   using namespace klt::text::literals;
//   constexpr std::string_view kName = "ОткрытьПорт"_cp;   // kName.data() is a C string
//
// A literal that is not valid UTF-8 or holds a character CP1251 lacks does not compile.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "text/cp1251_table.h"

namespace klt::text {

// A string literal usable as a template argument.
template <std::size_t N>
struct FixedString {
    char chars[N]{};

    constexpr FixedString(const char (&s)[N]) {  // NOLINT(google-explicit-constructor): literal
        for (std::size_t i = 0; i < N; ++i) chars[i] = s[i];
    }
    constexpr std::string_view View() const { return {chars, N - 1}; }
};

namespace detail {

// Not constexpr: reaching it while compiling a literal is the error the compiler reports.
inline void LiteralIsNotValidUtf8OrHasCharacterOutsideCp1251() {}

template <FixedString S>
consteval std::size_t CheckedCp1251Length() {
    const std::size_t n = Cp1251LengthOfUtf8(S.View());
    if (n == kNotCp1251) LiteralIsNotValidUtf8OrHasCharacterOutsideCp1251();
    return n;
}

template <FixedString S, std::size_t Size>
consteval std::array<char, Size + 1> EncodeCp1251() {
    std::array<char, Size + 1> out{};  // the last element stays NUL
    const std::string_view utf8 = S.View();
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++n) {
        const Utf8Step step = DecodeUtf8(utf8, pos);
        out[n] = static_cast<char>(UnicodeToCp1251(step.cp));
        pos += step.length;
    }
    return out;
}

// One static, NUL-terminated copy per distinct literal.
template <FixedString S>
struct Cp1251Literal {
    static constexpr std::size_t kSize = CheckedCp1251Length<S>();
    static constexpr std::array<char, kSize + 1> kBytes = EncodeCp1251<S, kSize>();
};

}  // namespace detail

namespace literals {

template <FixedString S>
constexpr std::string_view operator""_cp() {
    return {detail::Cp1251Literal<S>::kBytes.data(), detail::Cp1251Literal<S>::kSize};
}

}  // namespace literals
}  // namespace klt::text
