// The emulated host's patchable library entries under the native patcher: a patch runs the
// detour, which reaches the host's own code only through CallOriginal.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "emulator/host_libraries.h"
#include "test_support.h"

namespace klt::test {
namespace {

constexpr const char* kAssignContext = "?AssignContext@CBLModule@@QAEXPAVCBLContext@@@Z";
constexpr const char* kSetIndicators = "?SetIndicators@SECStatusBar@@QAEHPBIH@Z";

platform::CodePatch* g_assignPatch = nullptr;
int g_detourRuns = 0;

void AssignContextDetour(void* module, void* context) {
    ++g_detourRuns;
    platform::Get().patcher->CallOriginal(*g_assignPatch, [&](void* entry) {
        reinterpret_cast<void (*)(void*, void*)>(entry)(module, context);
    });
}

int SetIndicatorsDetour(void*, const unsigned*, int) {
    ++g_detourRuns;
    return 1;
}

TEST(HostLibraries, PatchedEntriesRunTheDetourAndMissingExportsAreLeftAlone) {
    TestPlatform platform;
    std::vector<std::pair<host::Module*, host::Context*>> assigned;
    int bodyIndicators = 0;
    emu::HostLibraries libraries([&](host::Module* m, host::Context* c) { assigned.emplace_back(m, c); },
                                 [&](const unsigned*, int count) {
                                     ++bodyIndicators;
                                     return count;
                                 });
    ASSERT_TRUE(libraries.Patchable());
    auto* module = reinterpret_cast<host::Module*>(std::uintptr_t{0x1000});
    auto* context = reinterpret_cast<host::Context*>(std::uintptr_t{0x2000});
    const unsigned ids[3] = {1, 2, 3};
    g_detourRuns = 0;

    // A library or export that is not there: refused, and the entries still reach the host.
    platform::CodePatch missing;
    EXPECT_FALSE(platform.patcher.Patch("blang.dll", "?Other@CBLModule@@QAEXXZ",
                                        reinterpret_cast<void*>(&AssignContextDetour), missing));
    EXPECT_FALSE(platform.patcher.Patch("frame32.dll", kSetIndicators,
                                        reinterpret_cast<void*>(&SetIndicatorsDetour), missing));
    EXPECT_FALSE(missing.applied);
    libraries.AssignContext(module, context);
    EXPECT_EQ(libraries.SetIndicators(ids, 3), 3);
    EXPECT_EQ(g_detourRuns, 0);

    platform::CodePatch assign, indicators;
    g_assignPatch = &assign;
    ASSERT_TRUE(platform.patcher.Patch("blang.dll", kAssignContext,
                                       reinterpret_cast<void*>(&AssignContextDetour), assign));
    ASSERT_TRUE(platform.patcher.Patch("frame.dll", kSetIndicators,
                                       reinterpret_cast<void*>(&SetIndicatorsDetour), indicators));
    libraries.AssignContext(module, context);
    EXPECT_EQ(g_detourRuns, 1);
    EXPECT_EQ(libraries.SetIndicators(ids, 3), 1);  // the detour's answer; the host's body is not run
    EXPECT_EQ(g_detourRuns, 2);
    EXPECT_EQ(bodyIndicators, 1);

    // Patching with the same record again must not take the detour for the host's own code.
    ASSERT_TRUE(platform.patcher.Patch("blang.dll", kAssignContext,
                                       reinterpret_cast<void*>(&AssignContextDetour), assign));
    libraries.AssignContext(module, context);
    EXPECT_EQ(g_detourRuns, 3);
    const std::pair<host::Module*, host::Context*> call{module, context};
    EXPECT_EQ(assigned, (std::vector{call, call, call}));
}

}  // namespace
}  // namespace klt::test

#endif  // _WIN32
