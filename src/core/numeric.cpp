#include "core/numeric.h"

#include <cstdlib>
#include <limits>

namespace klt::host {
namespace {

constexpr std::int64_t kPow10[] = {1,
                                   10,
                                   100,
                                   1000,
                                   10000,
                                   100000,
                                   1000000,
                                   10000000,
                                   100000000,
                                   1000000000,
                                   10000000000,
                                   100000000000,
                                   1000000000000,
                                   10000000000000,
                                   100000000000000,
                                   1000000000000000,
                                   10000000000000000,
                                   100000000000000000,
                                   1000000000000000000};

}  // namespace

Numeric Numeric::FromParts(std::int64_t mantissa, int scale) {
    Numeric n;
    if (scale < 0) scale = 0;
    while (scale > kMaxScale) {
        mantissa /= 10;
        --scale;
    }
    // Trailing zeros of the fraction carry nothing; dropping them keeps one form per value.
    while (scale > 0 && mantissa % 10 == 0) {
        mantissa /= 10;
        --scale;
    }
    n.mantissa_ = mantissa;
    n.scale_ = scale;
    return n;
}

Numeric Numeric::Parse(std::string_view text, std::size_t* consumed) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t mantissa = 0;
    int scale = 0;
    bool digits = false, fraction = false, full = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '.' && !fraction) {
            fraction = true;
            continue;
        }
        if (c < '0' || c > '9') break;
        digits = true;
        if (full) continue;  // beyond 18 significant digits the rest is dropped
        if (mantissa > (std::numeric_limits<std::int64_t>::max() - 9) / 10 || scale >= kMaxScale) {
            full = true;
            if (!fraction) {
                // An integer part too long to hold: keep the magnitude readable rather than wrap.
                full = false;
                mantissa = std::numeric_limits<std::int64_t>::max();
            }
            continue;
        }
        mantissa = mantissa * 10 + (c - '0');
        if (fraction) ++scale;
    }
    if (consumed) *consumed = digits ? i : 0;
    if (!digits) return Numeric();
    return FromParts(negative ? -mantissa : mantissa, scale);
}

std::int32_t Numeric::ToInt32() const {
    std::int64_t whole = mantissa_ / kPow10[scale_];
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

double Numeric::ToDouble() const {
    return static_cast<double>(mantissa_) / static_cast<double>(kPow10[scale_]);
}

std::string Numeric::ToString() const {
    std::uint64_t magnitude =
        mantissa_ < 0 ? 0 - static_cast<std::uint64_t>(mantissa_) : static_cast<std::uint64_t>(mantissa_);
    std::string digits = std::to_string(magnitude);
    if (scale_ > 0) {
        if (digits.size() <= static_cast<std::size_t>(scale_))
            digits.insert(0, scale_ - digits.size() + 1, '0');
        digits.insert(digits.size() - scale_, 1, '.');
    }
    if (mantissa_ < 0) digits.insert(0, 1, '-');
    return digits;
}

int Numeric::Compare(const Numeric& other) const {
    if (scale_ == other.scale_) return mantissa_ < other.mantissa_ ? -1 : mantissa_ > other.mantissa_ ? 1 : 0;
    const Numeric& hi = scale_ > other.scale_ ? *this : other;
    const Numeric& lo = scale_ > other.scale_ ? other : *this;
    std::int64_t factor = kPow10[hi.scale_ - lo.scale_];
    std::int64_t lifted = 0;
    int result;
    if (__builtin_mul_overflow(lo.mantissa_, factor, &lifted)) {
        // |lo| exceeds anything hi can hold at its finer scale.
        result = lo.mantissa_ < 0 ? 1 : -1;
    } else {
        result = hi.mantissa_ < lifted ? -1 : hi.mantissa_ > lifted ? 1 : 0;
    }
    return &hi == this ? result : -result;
}

}  // namespace klt::host
