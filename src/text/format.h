// printf-style formatting into std::string, with no length limit.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

// mingw's plain "printf" format check follows msvcrt and rejects C99 conversions such as %zu;
// the build uses mingw's C99 printf, so check against that.
#if defined(__MINGW32__)
#define KLT_PRINTF_LIKE(fmt_index, first_arg) \
    __attribute__((format(__MINGW_PRINTF_FORMAT, fmt_index, first_arg)))
#else
#define KLT_PRINTF_LIKE(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))
#endif

namespace klt::text {

std::string Format(const char* fmt, ...) KLT_PRINTF_LIKE(1, 2);
// Does not consume args: it works on a copy, so the caller may va_end or reuse it as usual.
std::string VFormat(const char* fmt, va_list args);

}  // namespace klt::text
