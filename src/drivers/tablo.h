#pragma once
// The "Tablo" object of the configuration's 1C code.
#include <string_view>

#include "core/context_class.h"
#include "drivers/serial_channel.h"

namespace klt::drivers {

extern const host::RuntimeClass kCTabloRuntimeClass;

// Texts shared by every display object of the process; empty until set.
struct DisplayTexts {
    std::string displayLine1, displayLine2;
    std::string idleLine1, idleLine2;
    std::string closedLine1, closedLine2;
};

DisplayTexts& SharedDisplayTexts();

inline constexpr std::size_t kDisplayWidth = 20;

// A CP866 byte as a display of the given type shows it: type 1 takes CP866 as it is, type 4
// needs table B, every other type table A.
char DisplayCharacter(std::int32_t displayType, char cp866);
// Two CP1251 texts as one frame: 20 characters each, cut or filled with spaces, converted for the
// display type; a zero byte after them when asked.
std::string DisplayFrame(std::int32_t displayType, std::string_view upper, std::string_view lower,
                         bool trailingZero);

class CTablo : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 12;
    static const core::ClassInfo kInfo;

    CTablo();
    ~CTablo() override;

    std::int32_t displayType() const { return displayType_; }

  private:
    static const core::MethodDef kMethods[kMethodCount];

    void ShowFirstLine(core::MethodCall& call);
    void ShowSecondLine(core::MethodCall& call);
    template <std::string DisplayTexts::*Line>
    void RememberLine(core::MethodCall& call);
    void OpenPort(core::MethodCall& call);
    void ShowIdle(core::MethodCall& call);
    void ShowClosed(core::MethodCall& call);
    void ShowBothLines(core::MethodCall& call);
    void SetDisplayType(core::MethodCall& call);
    void ClosePort(core::MethodCall& call);
    void Show(const std::string& upper, const std::string& lower, bool trailingZero);

    std::int32_t displayType_ = 0;  // 0 = not set
    SerialChannel channel_;         // closed with the object, so no port stays held after it
};

}  // namespace klt::drivers
