#include "assembly/assembly.h"
#include "core/addin.h"
#include "core/state.h"
#include "frontdesk/settings.h"
#include "text/cp1251.h"
#include "text/format.h"
#include "emulator/addin_connection.h"

namespace klt::emu {
namespace {

// Natively the add-in is linked in: the emulated host calls its start-up and shut-down directly.
class LinkedAddIn : public AddInConnection {
  public:
    bool Load(std::string&) override { return true; }
    int GetInfo() override { return core::kAddInVersion; }
    std::string RegisterExtensionAs() override { return core::kExtensionName; }
    void Init(EmulatedHost& host) override { assembly::Init(&host, &host); }
    void Done() override { assembly::Done(); }
    std::string DescribeStartUp() override {
        const core::AddInState& s = core::State();
        const char* hooks = frontdesk::Settings().keyLock ? "workplace form hook and key lock"
                            : s.pocketMode                ? "pocket form hook"
                                                          : "administrator form hook";
        return text::Format(
            "IBDirectory: %s\nhooks: %s\nPocketMode: %d\nShowPrice: %d, ShowPictures: %d, ShowText: %d\n",
            text::Cp1251ToUtf8(s.ibDirectory).c_str(), hooks, s.pocketMode, static_cast<int>(s.showPrice),
            static_cast<int>(s.showPictures), static_cast<int>(s.showText));
    }
};

}  // namespace

std::unique_ptr<AddInConnection> CreateAddInConnection() {
    return std::make_unique<LinkedAddIn>();
}

}  // namespace klt::emu
