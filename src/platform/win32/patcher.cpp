#include "platform/diagnostics.h"
#include "platform/win32/backend.h"
#include "platform/win32/win32_api.h"

namespace klt::platform::win32 {
namespace {

// Byte patching of the host's exported functions lands with the host interception.
class Win32HostPatcher final : public HostPatcher {
  public:
    bool Patch(const char*, const char*, void*, CodePatch&) override { return false; }
    void CallOriginal(CodePatch&, const std::function<void(void*)>&) override {}
};

}  // namespace

HostPatcher& DefaultHostPatcher() {
    static Win32HostPatcher patcher;
    return patcher;
}

}  // namespace klt::platform::win32
