#pragma once
// How the emulated host reaches the add-in: natively by linking it, on Windows through COM by the
// ProgID, exactly as the real host loads an external component.
#include <functional>
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

namespace klt::emu {

// The add-in as a session loads it: once, when a module asks for its file with
// ЗагрузитьВнешнююКомпоненту or at start; stopped at the end only if it was loaded.
class AddInLoader {
  public:
    using Connect = std::unique_ptr<AddInConnection> (*)();
    explicit AddInLoader(EmulatedHost& host, Connect connect = &CreateAddInConnection)
        : host_(host), connect_(connect) {}
    ~AddInLoader() { Done(); }
    AddInLoader(const AddInLoader&) = delete;
    AddInLoader& operator=(const AddInLoader&) = delete;

    // Loads and starts the add-in if the file is ours ("klt_drv.dll" in any folder); true when it
    // runs, now or already. False with the reason (CP1251).
    bool Load(const std::string& fileName, std::string& error);
    // Loads and starts it whatever the name (the --load option).
    bool Load(std::string& error);
    AddInConnection* Connection() const { return connection_.get(); }
    // Called once the add-in has started.
    std::function<void(AddInConnection&)> onStarted;
    void Done();

  private:
    EmulatedHost& host_;
    Connect connect_;
    std::unique_ptr<AddInConnection> connection_;
};

}  // namespace klt::emu
