// Decimal arithmetic of the emulated host's language: exact sums, quotients to nine places, rounding
// as 1C rounds, and overflow reported rather than wrapped.
#include <gtest/gtest.h>

#include "core/numeric.h"

namespace klt::test {
namespace {

using host::Numeric;

Numeric N(const char* text) {
    return Numeric::Parse(text);
}

TEST(LangNumbers, SumsAreExactDecimals) {
    EXPECT_EQ((N("0.1") + N("0.2")).ToString(), "0.3");
    EXPECT_EQ(N("0.1") + N("0.2"), N("0.3"));
    EXPECT_EQ((N("1.005") - N("0.005")).ToString(), "1");
    EXPECT_EQ((N("-2.5") + N("2.5")).ToString(), "0");
    EXPECT_EQ((N("0.000000000000000001") + N("1")).ToString(), "1.000000000000000001");
    EXPECT_EQ((N("-0.3") - N("0.2")).ToString(), "-0.5");
    EXPECT_EQ((-N("7.25")).ToString(), "-7.25");
    EXPECT_EQ((-N("-7.25")).ToString(), "7.25");
}

TEST(LangNumbers, ProductsKeepEveryDigitThatFits) {
    EXPECT_EQ((N("1.1") * N("1.1")).ToString(), "1.21");
    EXPECT_EQ((N("-0.5") * N("4")).ToString(), "-2");
    EXPECT_EQ((N("123456789") * N("1000000000")).ToString(), "123456789000000000");
    // Thirty-six fraction digits cannot be kept: the product rounds to eighteen.
    EXPECT_EQ((N("0.000000001") * N("0.0000000015")).ToString(), "0.000000000000000002");
}

TEST(LangNumbers, QuotientsKeepNineDecimalsRoundedHalfAwayFromZero) {
    EXPECT_EQ(Numeric::kDivisionScale, 9);
    EXPECT_EQ((N("1") / N("3")).ToString(), "0.333333333");
    EXPECT_EQ((N("2") / N("3")).ToString(), "0.666666667");
    EXPECT_EQ((N("-2") / N("3")).ToString(), "-0.666666667");
    EXPECT_EQ((N("10") / N("4")).ToString(), "2.5");
    EXPECT_EQ((N("0.3") / N("0.1")).ToString(), "3");
    EXPECT_EQ((N("1") / N("0.000000000000000001")).ToString(), "1000000000000000000");
    // A large whole part leaves fewer places rather than overflowing.
    EXPECT_EQ((N("9000000000000") / N("7")).ToString(), "1285714285714.285714");
    EXPECT_THROW(N("1") / N("0"), Numeric::DivisionByZero);
}

TEST(LangNumbers, RemainderTakesTheDividendsSign) {
    EXPECT_EQ((N("7") % N("3")).ToString(), "1");
    EXPECT_EQ((N("-7") % N("3")).ToString(), "-1");
    EXPECT_EQ((N("7.5") % N("2")).ToString(), "1.5");
    EXPECT_THROW(N("1") % N("0"), Numeric::DivisionByZero);
}

TEST(LangNumbers, OverflowThrowsInsteadOfWrapping) {
    const Numeric big = N("9000000000000000000");
    EXPECT_THROW(big + big, Numeric::Overflow);
    EXPECT_THROW(big * N("10"), Numeric::Overflow);
    EXPECT_THROW(big / N("0.1"), Numeric::Overflow);
    // With fraction digits to give up the sum still fits.
    EXPECT_EQ((N("4000000000.000000001") + N("4000000000.000000001")).ToString(), "8000000000.000000002");
    EXPECT_EQ((N("900000000000000000.5") + N("0.5")).ToString(), "900000000000000001");
}

TEST(LangNumbers, RoundingAndWholeParts) {
    EXPECT_EQ(N("2.345").Rounded(2).ToString(), "2.35");
    EXPECT_EQ(N("-2.345").Rounded(2).ToString(), "-2.35");
    EXPECT_EQ(N("2.345").Rounded(2, false).ToString(), "2.34");
    EXPECT_EQ(N("2.3451").Rounded(2, false).ToString(), "2.35");
    EXPECT_EQ(N("0.5").Rounded(0).ToString(), "1");
    EXPECT_EQ(N("1234.5").Rounded(-2).ToString(), "1200");
    EXPECT_EQ(N("1250").Rounded(-2).ToString(), "1300");
    EXPECT_EQ(N("1.5").Rounded(3).ToString(), "1.5");
    EXPECT_EQ(N("-7.9").Truncated().ToString(), "-7");
    EXPECT_EQ(N("7.9").Truncated().ToString(), "7");
}

}  // namespace
}  // namespace klt::test
