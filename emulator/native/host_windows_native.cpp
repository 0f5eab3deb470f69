#include "emulator/host_windows.h"
#include "platform/headless.h"

namespace klt::emu {
namespace {

// The fake desktop in force: the add-in linked into the same process sees the same windows.
class FakeDesktopWindows final : public HostWindows {
  public:
    platform::WindowHandle Create(const HostWindowDesc& desc) override {
        auto* desktop = dynamic_cast<platform::NativeDesktop*>(platform::Get().desktop);
        if (!desktop) return 0;
        platform::FakeWindowDesc fake;
        fake.parent = desc.parent;
        fake.className = desc.className;
        fake.text = desc.text;
        fake.style = desc.style;
        fake.id = desc.id;
        fake.box = desc.box;
        fake.menuItems = desc.menuItems;
        return desktop->CreateWindow(fake);
    }
    void Destroy(platform::WindowHandle window) override {
        if (platform::Desktop* desktop = platform::Get().desktop) desktop->Destroy(window);
    }
};

}  // namespace

std::unique_ptr<HostWindows> CreateHostWindows() {
    return std::make_unique<FakeDesktopWindows>();
}

}  // namespace klt::emu
