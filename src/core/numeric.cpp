#include "core/numeric.h"

#include <algorithm>
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

// Unsigned 128-bit magnitudes for intermediate results, written out by hand because the 32-bit
// Windows compiler has no __int128.
struct U128 {
    std::uint64_t hi = 0, lo = 0;
};

bool Less(U128 a, U128 b) {
    return a.hi != b.hi ? a.hi < b.hi : a.lo < b.lo;
}

U128 Add(U128 a, U128 b) {
    U128 r{a.hi + b.hi, a.lo + b.lo};
    if (r.lo < a.lo) ++r.hi;
    return r;
}

U128 Sub(U128 a, U128 b) {  // a >= b
    U128 r{a.hi - b.hi, a.lo - b.lo};
    if (a.lo < b.lo) --r.hi;
    return r;
}

// a * b; `overflow` is set when the product needs more than 128 bits.
U128 Mul(U128 a, std::uint64_t b, bool& overflow) {
    auto mul64 = [](std::uint64_t x, std::uint64_t y) {
        const std::uint64_t x0 = x & 0xFFFFFFFFu, x1 = x >> 32, y0 = y & 0xFFFFFFFFu, y1 = y >> 32;
        const std::uint64_t p00 = x0 * y0, p01 = x0 * y1, p10 = x1 * y0, p11 = x1 * y1;
        const std::uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
        return U128{p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & 0xFFFFFFFFu)};
    };
    U128 low = mul64(a.lo, b);
    U128 high = mul64(a.hi, b);
    if (high.hi != 0) overflow = true;
    U128 r{low.hi + high.lo, low.lo};
    if (r.hi < low.hi) overflow = true;
    return r;
}

U128 Pow10(int n, bool& overflow) {
    U128 r{0, 1};
    for (int i = 0; i < n; ++i) r = Mul(r, 10, overflow);
    return r;
}

// Shift-and-subtract long division; the operands are small enough that speed does not matter.
U128 DivMod(U128 n, U128 d, U128& remainder) {
    U128 q, r;
    for (int bit = 127; bit >= 0; --bit) {
        r = U128{(r.hi << 1) | (r.lo >> 63), r.lo << 1};
        const std::uint64_t nb = bit >= 64 ? (n.hi >> (bit - 64)) & 1 : (n.lo >> bit) & 1;
        r.lo |= nb;
        if (!Less(r, d)) {
            r = Sub(r, d);
            if (bit >= 64)
                q.hi |= std::uint64_t{1} << (bit - 64);
            else
                q.lo |= std::uint64_t{1} << bit;
        }
    }
    remainder = r;
    return q;
}

U128 Magnitude(std::int64_t m) {
    return U128{0, m < 0 ? 0 - static_cast<std::uint64_t>(m) : static_cast<std::uint64_t>(m)};
}

bool FitsMantissa(U128 m) {
    return m.hi == 0 && m.lo <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
}

// m / 10^drop, rounded once: halves go up (away from zero) or down as asked.
U128 DropDigits(U128 m, int drop, bool halfUp) {
    if (drop <= 0) return m;
    bool overflow = false;
    U128 divisor = Pow10(drop, overflow);
    if (overflow) return U128{};  // more digits dropped than any magnitude has
    U128 rest;
    U128 q = DivMod(m, divisor, rest);
    // Twice the remainder against the divisor: above is up, equal is a half.
    U128 twice = Add(rest, rest);
    if (Less(divisor, twice) || (halfUp && !Less(twice, divisor))) q = Add(q, U128{0, 1});
    return q;
}

// Brings a signed magnitude at any scale into a Numeric: drops fraction digits beyond kMaxScale and
// as many more as the mantissa needs (or than maxScale allows), rounding once so no digit is
// rounded twice.
Numeric Normalize(bool negative, U128 magnitude, int scale, int maxScale = Numeric::kMaxScale) {
    for (int drop = std::max(scale - maxScale, 0);; ++drop) {
        U128 q = DropDigits(magnitude, drop, true);
        if (FitsMantissa(q)) {
            const auto m = static_cast<std::int64_t>(q.lo);
            return Numeric::FromParts(negative ? -m : m, scale - drop);
        }
        if (drop >= scale) throw Numeric::Overflow();
    }
}

struct Aligned {
    U128 a, b;
    int scale;
};

// Both magnitudes lifted to the finer of the two scales (at most 18 apart, so this always fits).
Aligned Align(const Numeric& x, const Numeric& y) {
    const int scale = std::max(x.scale(), y.scale());
    bool overflow = false;
    Aligned r{Mul(Magnitude(x.mantissa()), static_cast<std::uint64_t>(kPow10[scale - x.scale()]), overflow),
              Mul(Magnitude(y.mantissa()), static_cast<std::uint64_t>(kPow10[scale - y.scale()]), overflow),
              scale};
    return r;
}

Numeric AddSigned(const Numeric& x, const Numeric& y, bool negateY) {
    Aligned al = Align(x, y);
    const bool nx = x.mantissa() < 0;
    const bool ny = (y.mantissa() < 0) != negateY;
    if (nx == ny) return Normalize(nx, Add(al.a, al.b), al.scale);
    if (Less(al.a, al.b)) return Normalize(ny, Sub(al.b, al.a), al.scale);
    return Normalize(nx, Sub(al.a, al.b), al.scale);
}

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
    return ToFixed(scale_);
}

std::string Numeric::ToFixed(int decimals) const {
    decimals = std::clamp(decimals, 0, kMaxScale);
    const Numeric r = decimals < scale_ ? Rounded(decimals) : *this;
    const std::uint64_t magnitude = r.mantissa_ < 0 ? 0 - static_cast<std::uint64_t>(r.mantissa_)
                                                    : static_cast<std::uint64_t>(r.mantissa_);
    std::string digits = std::to_string(magnitude);
    // Missing fraction digits are written, never multiplied in: the mantissa cannot overflow.
    digits.append(static_cast<std::size_t>(decimals - r.scale_), '0');
    if (decimals > 0) {
        if (digits.size() <= static_cast<std::size_t>(decimals))
            digits.insert(0, static_cast<std::size_t>(decimals) - digits.size() + 1, '0');
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    }
    if (r.mantissa_ < 0) digits.insert(0, 1, '-');
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

Numeric Numeric::operator-() const {
    return Normalize(mantissa_ > 0, Magnitude(mantissa_), scale_);
}

Numeric operator+(const Numeric& a, const Numeric& b) {
    return AddSigned(a, b, false);
}

Numeric operator-(const Numeric& a, const Numeric& b) {
    return AddSigned(a, b, true);
}

Numeric operator*(const Numeric& a, const Numeric& b) {
    bool overflow = false;
    U128 product = Mul(Magnitude(a.mantissa()), Magnitude(b.mantissa()).lo, overflow);
    return Normalize((a.mantissa() < 0) != (b.mantissa() < 0), product, a.scale() + b.scale());
}

Numeric operator/(const Numeric& a, const Numeric& b) {
    if (b.IsZero()) throw Numeric::DivisionByZero();
    // a/b at scale k is ma * 10^(sb - sa + k) / mb. One digit more than kept is worked out so the
    // rounding sees it; a numerator too long for 128 bits means a quotient that could not keep
    // those digits anyway, so fewer are worked out.
    for (int k = Numeric::kDivisionScale + 1; k >= 0; --k) {
        const int e = b.scale() - a.scale() + k;
        bool overflow = false;
        U128 n = Magnitude(a.mantissa());
        U128 d = Magnitude(b.mantissa());
        for (int i = 0; i < e; ++i) n = Mul(n, 10, overflow);
        for (int i = 0; i < -e; ++i) d = Mul(d, 10, overflow);
        if (overflow) continue;
        U128 rest;
        U128 q = DivMod(n, d, rest);
        return Normalize((a.mantissa() < 0) != (b.mantissa() < 0), q, k, Numeric::kDivisionScale);
    }
    throw Numeric::Overflow();
}

Numeric operator%(const Numeric& a, const Numeric& b) {
    if (b.IsZero()) throw Numeric::DivisionByZero();
    Aligned al = Align(a, b);
    U128 rest;
    DivMod(al.a, al.b, rest);
    return Normalize(a.mantissa() < 0, rest, al.scale);
}

Numeric Numeric::Truncated() const {
    return FromParts(mantissa_ / kPow10[scale_], 0);
}

Numeric Numeric::Rounded(int digits, bool halfUp) const {
    if (digits >= scale_) return *this;
    if (digits < -18) return Numeric();
    // Drop (scale - digits) digits with one rounding, then scale back up for negative digits.
    U128 q = DropDigits(Magnitude(mantissa_), scale_ - digits, halfUp);
    Numeric r = Normalize(mantissa_ < 0, q, 0);  // fewer digits than before: always fits
    if (digits >= 0) return FromParts(r.mantissa_, digits);
    return r * Numeric(kPow10[-digits]);
}

}  // namespace klt::host
