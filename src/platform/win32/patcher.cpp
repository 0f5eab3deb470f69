#include "platform/diagnostics.h"
#include "platform/win32/backend.h"
#include "platform/win32/win32_api.h"

namespace klt::platform::win32 {
namespace {

class Win32HostPatcher final : public HostPatcher {
  public:
    void InstallHostPatches() override {
        // Only the 1C:Enterprise process has both of its libraries loaded; in any other process
        // (klthost.exe, the tests) there is nothing to patch.
        if (GetModuleHandleW(L"blang.dll") == nullptr || GetModuleHandleW(L"frame.dll") == nullptr) {
            Report("host patches", "blang.dll or frame.dll is not loaded: the host runs unpatched");
            return;
        }
        // Inside the host the detours of its library functions are installed by the host
        // interception module, which replaces this body; until it lands the host runs unpatched.
    }
};

}  // namespace

HostPatcher& DefaultHostPatcher() {
    static Win32HostPatcher patcher;
    return patcher;
}

}  // namespace klt::platform::win32
