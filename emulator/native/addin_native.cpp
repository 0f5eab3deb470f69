#include "core/addin.h"
#include "emulator/addin_connection.h"

namespace klt::emu {
namespace {

// Natively the add-in is linked in: the emulated host calls its start-up and shut-down directly.
class LinkedAddIn : public AddInConnection {
  public:
    bool Load(std::string&) override { return true; }
    int GetInfo() override { return core::kAddInVersion; }
    std::string RegisterExtensionAs() override { return core::kExtensionName; }
    void Init(EmulatedHost& host) override { core::Init(&host, &host); }
    void Done() override { core::Done(); }
};

}  // namespace

std::unique_ptr<AddInConnection> CreateAddInConnection() {
    return std::make_unique<LinkedAddIn>();
}

}  // namespace klt::emu
