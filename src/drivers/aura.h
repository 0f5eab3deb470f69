#pragma once
// The "Aura" object of the configuration's 1C code.
#include "drivers/receipt_printer.h"

namespace klt::drivers {

extern const host::RuntimeClass kCAuraRuntimeClass;

class CAura : public ReceiptPrinter {
  public:
    static constexpr int kMethodCount = 30;
    static const core::ClassInfo kInfo;

    CAura();
    ~CAura() override;

  protected:
    PrintSpool& Spool() override { return spool_; }
    SerialChannel& Channel() override { return channel_; }
    std::string PrinterText(const std::string& text) const override;

  private:
    static const core::MethodDef kMethods[kMethodCount];

    void OpenPort(core::MethodCall& call);
    void Ignore(core::MethodCall& call);
    void PrintPicture(core::MethodCall& call);
    void Bell(core::MethodCall& call);
    void StartJob(core::MethodCall& call);

    PrintSpool spool_;       // this object's own job file
    SerialChannel channel_;  // closed with the object, so no port stays held after it
};

}  // namespace klt::drivers
