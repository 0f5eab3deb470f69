#include "text/format.h"

namespace klt::text {

std::string Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out = VFormat(fmt, args);
    va_end(args);
    return out;
}

std::string VFormat(const char* fmt, va_list args) {
    // First pass measures, second writes; each needs its own copy of the argument list.
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);
    if (length <= 0) return {};  // empty result, or an encoding error

    std::string out(static_cast<std::size_t>(length), '\0');
    va_list write;
    va_copy(write, args);
    // C++11 strings keep a NUL after size(), so writing length + 1 bytes stays in bounds.
    std::vsnprintf(out.data(), out.size() + 1, fmt, write);
    va_end(write);
    return out;
}

}  // namespace klt::text
