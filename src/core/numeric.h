#pragma once
// A decimal number as the host carries it: mantissa * 10^-scale. Decimal, not binary floating
// point, so 0.1 + 0.2 is exactly 0.3 and printing a number never shows binary-fraction noise.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace klt::host {

class Numeric {
  public:
    static constexpr int kMaxScale = 18;

    constexpr Numeric() = default;
    constexpr Numeric(std::int64_t whole) : mantissa_(whole) {}  // NOLINT: numbers convert freely
    static Numeric FromParts(std::int64_t mantissa, int scale);
    // Reads a leading decimal number ("  -12.50xyz" gives -12.5); no digits give 0.
    static Numeric Parse(std::string_view text, std::size_t* consumed = nullptr);

    std::int64_t mantissa() const { return mantissa_; }
    int scale() const { return scale_; }

    // Truncates toward zero, then keeps the low 32 bits, as the host's integer conversion does.
    std::int32_t ToInt32() const;
    double ToDouble() const;
    // Shortest decimal form: "12.5", "-3", "0.3".
    std::string ToString() const;
    // Rounded (halves away from zero) to `decimals` fraction digits and written with exactly that
    // many: 120.5 with 2 is "120.50", with 0 "121".
    std::string ToFixed(int decimals) const;

    bool IsZero() const { return mantissa_ == 0; }
    bool IsNegative() const { return mantissa_ < 0; }
    int Compare(const Numeric& other) const;
    friend bool operator==(const Numeric& a, const Numeric& b) { return a.Compare(b) == 0; }

    // Arithmetic is exact while the result fits: sums and differences always, products up to
    // kMaxScale fraction digits (beyond that they round half away from zero). A result whose whole
    // part does not fit in the mantissa throws Overflow.
    struct Overflow : std::overflow_error {
        Overflow() : std::overflow_error("decimal overflow") {}
    };
    struct DivisionByZero : std::domain_error {
        DivisionByZero() : std::domain_error("division by zero") {}
    };
    // Quotients keep this many fraction digits (fewer when the whole part needs the room), rounded
    // half away from zero: 1/3 is 0.333333333, 2/3 is 0.666666667.
    static constexpr int kDivisionScale = 9;

    Numeric operator-() const;
    friend Numeric operator+(const Numeric& a, const Numeric& b);
    friend Numeric operator-(const Numeric& a, const Numeric& b);
    friend Numeric operator*(const Numeric& a, const Numeric& b);
    friend Numeric operator/(const Numeric& a, const Numeric& b);
    // The remainder of the quotient truncated to a whole number; it takes the dividend's sign.
    friend Numeric operator%(const Numeric& a, const Numeric& b);

    // The whole part, truncated toward zero.
    Numeric Truncated() const;
    // Rounded to `digits` fraction digits (negative: to tens, hundreds...). Halves go away from
    // zero, or toward zero when halfUp is false.
    Numeric Rounded(int digits, bool halfUp = true) const;

  private:
    std::int64_t mantissa_ = 0;
    int scale_ = 0;
};

}  // namespace klt::host
