#pragma once
// The "Aura" object of the configuration's 1C code.
#include "core/context_class.h"
#include "drivers/serial_channel.h"
#include "drivers/spool.h"

namespace klt::drivers {

extern const host::RuntimeClass kCAuraRuntimeClass;

class CAura : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 30;
    static const core::ClassInfo kInfo;

    CAura();
    ~CAura() override;

  protected:
    void RunProcedure(int number, host::Value** args) override;
    void RunFunction(int number, host::Value& result, host::Value** args) override;

  private:
    PrintSpool spool_;       // this object's own job file
    SerialChannel channel_;  // closed with the object, so no port stays held after it
};

}  // namespace klt::drivers
