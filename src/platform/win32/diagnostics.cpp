#include <string>

#include "platform/diagnostics.h"
#include "platform/win32/win32_api.h"
#include "text/cp1251.h"

namespace klt::platform {
namespace {

// Inside the host the debugger's output is the one channel that needs no console or file.
class DebuggerSink final : public DiagnosticsSink {
  public:
    void Write(const std::string& line) override {
        const std::u16string u = text::Cp1251ToUtf16(line + "\n");
        OutputDebugStringW(std::wstring(u.begin(), u.end()).c_str());
    }
};

}  // namespace

DiagnosticsSink& SystemDiagnostics() {
    static DebuggerSink sink;
    return sink;
}

}  // namespace klt::platform
