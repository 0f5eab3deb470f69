#include "emulator/host_windows.h"

namespace klt::emu {
namespace {

// Real windows of klthost.exe land with the emulated main frame.
class NoWindows final : public HostWindows {
  public:
    platform::WindowHandle Create(const HostWindowSpec&) override { return 0; }
    void Destroy(platform::WindowHandle) override {}
};

}  // namespace

std::unique_ptr<HostWindows> CreateHostWindows() {
    return std::make_unique<NoWindows>();
}

}  // namespace klt::emu
