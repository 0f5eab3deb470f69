// The binding to the real host's classes, where no real host is: it must stay out of the way (the
// stand-in host under wine proves the calls themselves), and the decimal it reads a host number
// as must be the one the host shows.
#if defined(_WIN32) && KLT_HOST_ABI

#include <gtest/gtest.h>

#include "hostabi/real_host.h"
#include "hostabi/values.h"

namespace {

using klt::host::Numeric;

TEST(HostAbi, NoRealHostWithoutTheHostsModules) {
    // The test program has blang.dll of the emulated host beside it, without CBLContext.
    EXPECT_EQ(klt::hostabi::StartRealHost(), nullptr);
    // Without the host's CValue nothing is made, and reading nothing gives the empty value.
    EXPECT_TRUE(klt::hostabi::ReadValue(nullptr).IsEmpty());
}

TEST(HostAbi, HostNumbersReadAsTheirDecimals) {
    EXPECT_EQ(klt::hostabi::NumericFromDouble(120.5), Numeric::FromParts(1205, 1));
    EXPECT_EQ(klt::hostabi::NumericFromDouble(0.1).ToString(), "0.1");
    EXPECT_EQ(klt::hostabi::NumericFromDouble(-2.675).ToString(), "-2.675");
    EXPECT_EQ(klt::hostabi::NumericFromDouble(1234567890123.0).ToString(), "1234567890123");
    EXPECT_EQ(klt::hostabi::NumericFromDouble(1e-20), Numeric());
}

}  // namespace

#endif
