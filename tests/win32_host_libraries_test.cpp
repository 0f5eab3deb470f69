// blang.dll and frame.dll of the emulated host under the add-in: its Init patches both entries
// for real, AssignContext still reaches the host's body through the detour, and SetIndicators no
// longer does.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "com/interfaces.h"
#include "com/module.h"
#include "emulator/emulated_host.h"
#include "emulator/host_libraries.h"
#include "platform/platform.h"
#include "win32_connection.h"
#include "win32_support.h"

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

constexpr const char* kAssignContext = "?AssignContext@CBLModule@@QAEXPAVCBLContext@@@Z";
constexpr const char* kSetIndicators = "?SetIndicators@SECStatusBar@@QAEHPBIH@Z";

std::wstring BuildFolder() {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
    std::wstring path(buffer, n);
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"..\\";
}

// The module an entry's FF 25 jump leads into, or null when the entry is not such a jump.
HMODULE JumpTarget(const unsigned char* entry) {
    if (entry[0] != 0xFF || entry[1] != 0x25) return nullptr;
    void* const* slot = nullptr;
    std::memcpy(&slot, entry + 2, sizeof slot);
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(*slot), &module);
    return module;
}

TEST(Win32HostLibraries, TheAddInsInitPatchesBothEntriesAndOnlyAssignContextStillReachesTheHost) {
    // As klthost.exe has them: loaded from its folder.
    const HMODULE blang = LoadLibraryW((BuildFolder() + L"emulator\\blang.dll").c_str());
    const HMODULE frame = LoadLibraryW((BuildFolder() + L"emulator\\frame.dll").c_str());
    ASSERT_NE(blang, nullptr);
    ASSERT_NE(frame, nullptr);
    const auto* assignEntry = reinterpret_cast<const unsigned char*>(GetProcAddress(blang, kAssignContext));
    const auto* indicatorsEntry =
        reinterpret_cast<const unsigned char*>(GetProcAddress(frame, kSetIndicators));
    ASSERT_NE(assignEntry, nullptr);
    ASSERT_NE(indicatorsEntry, nullptr);

    std::wstring source = klt::test::Environment(L"KLT_DRV_DLL");
    if (source.empty()) source = BuildFolder() + L"src\\com\\klt_drv.dll";
    // A copy of its own: the patches pin the DLL for good, and the other suites of this process must
    // still see theirs unload.
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring dllPath =
        std::wstring(temp) + L"klt_patched_" + std::to_wstring(GetCurrentProcessId()) + L".dll";
    ASSERT_TRUE(CopyFileW(source.c_str(), dllPath.c_str(), FALSE));
    const HMODULE dll = LoadLibraryW(dllPath.c_str());
    ASSERT_NE(dll, nullptr);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        int assigned = 0, indicators = 0;
        klt::host::Module* assignedModule = nullptr;
        klt::emu::HostLibraries libraries(
            [&](klt::host::Module* module, klt::host::Context*) {
                ++assigned;
                assignedModule = module;
            },
            [&](const unsigned*, int count) {
                ++indicators;
                return count;
            });
        ASSERT_TRUE(libraries.Patchable());
        const unsigned ids[2] = {0xE700, 0xE701};
        EXPECT_EQ(libraries.SetIndicators(ids, 2), 2);  // unpatched, the host's body answers

        // Our own patcher refuses what is not there and writes nothing.
        unsigned char before[6];
        std::memcpy(before, assignEntry, 6);
        klt::platform::CodePatch missing;
        klt::platform::HostPatcher& patcher = *klt::platform::Get().patcher;
        EXPECT_FALSE(patcher.Patch("blang.dll", "?Other@CBLModule@@QAEXXZ", &missing, missing));
        EXPECT_FALSE(patcher.Patch("absent.dll", kAssignContext, &missing, missing));
        EXPECT_FALSE(missing.applied);
        EXPECT_EQ(std::memcmp(before, assignEntry, 6), 0);

        klt::emu::EmulatedHost host(klt::emu::HostSettings{});
        klt::test::TestConnection connection(&host, true);
        IClassFactory* factory = nullptr;
        const auto getClassObject = reinterpret_cast<GetClassObjectFn>(
            reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
        ASSERT_NE(getClassObject, nullptr);
        ASSERT_EQ(
            getClassObject(klt::com::kClsidAddIn, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
            S_OK);
        void* object = nullptr;
        ASSERT_EQ(factory->CreateInstance(nullptr, klt::com::kIidInitDone, &object), S_OK);
        factory->Release();
        auto* addIn = static_cast<klt::com::IInitDone*>(object);
        ASSERT_EQ(addIn->Init(&connection), S_OK);

        // Both entries now jump through a cell into the add-in.
        EXPECT_EQ(JumpTarget(assignEntry), dll);
        EXPECT_EQ(JumpTarget(indicatorsEntry), dll);

        auto* module = reinterpret_cast<klt::host::Module*>(&host);  // never looked into
        libraries.AssignContext(module, nullptr);
        EXPECT_EQ(assigned, 1);
        EXPECT_EQ(assignedModule, module);
        EXPECT_EQ(JumpTarget(assignEntry), dll) << "the patch is back after the host's own code ran";
        EXPECT_EQ(libraries.SetIndicators(ids, 2), 1);
        EXPECT_EQ(indicators, 1) << "the host's status bar got no indicators";

        EXPECT_EQ(addIn->Done(), S_OK);
        addIn->Release();
    }
    CoUninitialize();
    // Gone again, so later tests start the add-in with nothing to patch.
    FreeLibrary(blang);
    FreeLibrary(frame);
}

}  // namespace

#endif  // _WIN32
