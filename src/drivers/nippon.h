#pragma once
// The "Nippon" object of the configuration's 1C code.
#include "drivers/receipt_printer.h"

namespace klt::drivers {

extern const host::RuntimeClass kCNipponRuntimeClass;

// The port and the job of every Nippon object of the process.
struct NipponShared {
    SerialChannel channel;
    PrintSpool spool;
};

NipponShared& SharedNippon();

class CNippon : public ReceiptPrinter {
  public:
    static constexpr int kMethodCount = 23;
    static const core::ClassInfo kInfo;

    CNippon();

  protected:
    PrintSpool& Spool() override { return SharedNippon().spool; }
    SerialChannel& Channel() override { return SharedNippon().channel; }
    // The printer takes the Windows code page as it is.
    std::string PrinterText(const std::string& text) const override { return text; }

  private:
    static const core::MethodDef kMethods[kMethodCount];

    void OpenPort(core::MethodCall& call);
    void StartJob(core::MethodCall& call);
};

}  // namespace klt::drivers
