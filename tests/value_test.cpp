// Host values and decimal numbers as the add-in reads its arguments.
#include <gtest/gtest.h>

#include "core/host.h"
#include "test_support.h"

namespace klt::test {
namespace {

using host::Numeric;
using host::Value;

TEST(Numeric, TruncatesTowardZeroAndKeepsTheLow32Bits) {
    EXPECT_EQ(Numeric::FromParts(29, 1).ToInt32(), 2);
    EXPECT_EQ(Numeric::FromParts(-29, 1).ToInt32(), -2);
    EXPECT_EQ(Numeric::FromParts(-5, 1).ToInt32(), 0);
    EXPECT_EQ(Numeric(2147483647).ToInt32(), 2147483647);
    EXPECT_EQ(Numeric(2147483648LL).ToInt32(), -2147483647 - 1);
    EXPECT_EQ(Numeric(4294967297LL).ToInt32(), 1);
    EXPECT_EQ(Numeric(-4294967297LL).ToInt32(), -1);
}

TEST(Numeric, ParsesLeadingNumbersAndPrintsWithoutNoise) {
    std::size_t used = 0;
    EXPECT_EQ(Numeric::Parse("  -12.50xyz", &used), Numeric::FromParts(-125, 1));
    EXPECT_EQ(used, 8u);
    EXPECT_EQ(Numeric::Parse("abc", &used), Numeric());
    EXPECT_EQ(used, 0u);
    EXPECT_EQ(Numeric::Parse(".5").ToString(), "0.5");
    EXPECT_EQ(Numeric::Parse("12.").ToString(), "12");
    EXPECT_EQ(Numeric::Parse("0.30").ToString(), "0.3");
    EXPECT_EQ(Numeric::Parse("-0.05").ToString(), "-0.05");
    EXPECT_EQ(Numeric::Parse("1.2.3").ToString(), "1.2");
    // Far too many digits: no overflow, no wrap to a small or negative number.
    EXPECT_GT(Numeric::Parse("123456789012345678901234567890").ToDouble(), 1e18);
    EXPECT_EQ(Numeric::Parse("0.1234567890123456789999").scale(), Numeric::kMaxScale);
}

TEST(Numeric, ComparesAcrossScales) {
    EXPECT_EQ(Numeric::FromParts(30, 2), Numeric::FromParts(3, 1));
    EXPECT_LT(Numeric::FromParts(29, 2).Compare(Numeric::FromParts(3, 1)), 0);
    EXPECT_GT(Numeric(1000000000000000000LL).Compare(Numeric::FromParts(1, 10)), 0);
    EXPECT_LT(Numeric(-1000000000000000000LL).Compare(Numeric::FromParts(1, 10)), 0);
}

TEST(Value, ConversionsAndTypeStrings) {
    EXPECT_EQ(Value(std::string("12.5")).GetInt32(), 12);
    EXPECT_EQ(Value(std::string("abc")).GetInt32(), 0);
    EXPECT_EQ(Value().GetInt32(), 0);
    EXPECT_EQ(Value().GetString(), "");
    EXPECT_EQ(Value(Numeric::FromParts(125, 1)).GetString(), "12.5");
    EXPECT_EQ(Value(7).GetTypeString(), Cp("Число"_cp));
    EXPECT_EQ(Value(std::string()).GetTypeString(), Cp("Строка"_cp));
    EXPECT_NE(Value(0), Value(std::string("0")));
}

struct Counted : host::Context {
    static inline int alive = 0;
    Counted() { ++alive; }
    ~Counted() override { --alive; }
    const host::RuntimeClass* GetRuntimeClass() const override { return nullptr; }
    const char* GetTypeString() const override { return "Counted"; }
};

TEST(Value, HoldingAContextHoldsAReference) {
    Counted::alive = 0;
    {
        Value a(static_cast<host::Context*>(new Counted()));
        EXPECT_EQ(a.GetTypeString(), "Counted");
        Value b = a;
        Value c;
        c = std::move(b);
        EXPECT_TRUE(b.IsEmpty());
        a.Reset();
        EXPECT_EQ(Counted::alive, 1) << "c still holds it";
        c.AssignContext(c.GetContext());  // re-assigning the same context must not free it
        EXPECT_EQ(Counted::alive, 1);
        c = c;
        EXPECT_EQ(Counted::alive, 1);
        c.AssignInt(3);
        EXPECT_EQ(Counted::alive, 0);
    }
    EXPECT_EQ(Counted::alive, 0);
}

}  // namespace
}  // namespace klt::test
