#pragma once
// A decimal number as the host carries it: mantissa * 10^-scale. Decimal, not binary floating
// point, so 0.1 + 0.2 is exactly 0.3 and printing a number never shows binary-fraction noise.
#include <cstdint>
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

    bool IsZero() const { return mantissa_ == 0; }
    int Compare(const Numeric& other) const;
    friend bool operator==(const Numeric& a, const Numeric& b) { return a.Compare(b) == 0; }

  private:
    std::int64_t mantissa_ = 0;
    int scale_ = 0;
};

}  // namespace klt::host
