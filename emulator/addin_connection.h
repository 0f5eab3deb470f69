#pragma once
// How the emulated host reaches the add-in: natively by linking it, on Windows through COM by the
// ProgID, exactly as the real host loads an external component.
#include <memory>
#include <string>

#include "emulator/emulated_host.h"

namespace klt::emu {

class AddInConnection {
  public:
    virtual ~AddInConnection() = default;
    // Creates the add-in object; false with a message when it cannot be had.
    virtual bool Load(std::string& error) = 0;
    // IInitDone::GetInfo: the declared add-in version.
    virtual int GetInfo() = 0;
    // ILanguageExtender::RegisterExtensionAs, CP1251.
    virtual std::string RegisterExtensionAs() = 0;
    // IInitDone::Init with a connection that offers the host and its event sink.
    virtual void Init(EmulatedHost& host) = 0;
    // What start-up left in the add-in, where the host can see it (natively); empty otherwise.
    virtual std::string DescribeStartUp() { return {}; }
    // IInitDone::Done, then release.
    virtual void Done() = 0;
};

std::unique_ptr<AddInConnection> CreateAddInConnection();

}  // namespace klt::emu
