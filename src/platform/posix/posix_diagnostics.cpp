#include <cstdio>

#include "platform/diagnostics.h"
#include "text/cp1251.h"

namespace klt::platform {
namespace {

class StderrSink final : public DiagnosticsSink {
  public:
    void Write(const std::string& line) override {
        std::fprintf(stderr, "%s\n", text::Cp1251ToUtf8(line).c_str());
        std::fflush(stderr);
    }
};

}  // namespace

DiagnosticsSink& SystemDiagnostics() {
    static StderrSink sink;
    return sink;
}

}  // namespace klt::platform
