#pragma once
// The "Tablo" object of the configuration's 1C code.
#include "core/context_class.h"

namespace klt::drivers {

extern const host::RuntimeClass kCTabloRuntimeClass;

// Texts shared by every display object of the process; empty until set.
struct DisplayTexts {
    std::string displayLine1, displayLine2;
    std::string idleLine1, idleLine2;
    std::string closedLine1, closedLine2;
};

DisplayTexts& SharedDisplayTexts();

class CTablo : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 12;
    static const core::ClassInfo kInfo;

    CTablo();

  protected:
    void RunProcedure(int number, host::Value** args) override;
    void RunFunction(int number, host::Value& result, host::Value** args) override;

  public:
    std::int32_t displayType() const { return displayType_; }

  private:
    std::int32_t displayType_ = 0;  // 0 = not set
};

}  // namespace klt::drivers
