#pragma once
// The "Nippon" object of the configuration's 1C code.
#include "core/context_class.h"
#include "drivers/serial_channel.h"
#include "drivers/spool.h"

namespace klt::drivers {

extern const host::RuntimeClass kCNipponRuntimeClass;

// The port and the job of every Nippon object of the process.
struct NipponShared {
    SerialChannel channel;
    PrintSpool spool;
};

NipponShared& SharedNippon();

class CNippon : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 23;
    static const core::ClassInfo kInfo;

    CNippon();

  protected:
    void RunProcedure(int number, host::Value** args) override;
    void RunFunction(int number, host::Value& result, host::Value** args) override;
};

}  // namespace klt::drivers
