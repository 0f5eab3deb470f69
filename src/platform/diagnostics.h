#pragma once
// A trace of what the add-in swallowed or could not find: exceptions that never reach the host, and
// host features that could not be bound. Off unless the environment variable KLT_DIAG is "1" when
// the add-in first reports; then each line goes to the debugger's output on Windows and to stderr
// natively. Tests put a recording sink in force.
#include <string>
#include <string_view>

namespace klt::platform {

inline constexpr const char* kDiagnosticsVariable = "KLT_DIAG";

class DiagnosticsSink {
  public:
    virtual ~DiagnosticsSink() = default;
    // One line without its end, CP1251.
    virtual void Write(const std::string& line) = 0;
};

// The sink in force; null while diagnostics are off.
DiagnosticsSink* Diagnostics();
DiagnosticsSink* ReplaceDiagnostics(DiagnosticsSink* sink);

// "klt: <where>: <what>" to the sink in force, if any.
void Report(std::string_view where, std::string_view what);
// Reports the exception being handled with its text; call it only inside a catch block.
void ReportCurrentException(std::string_view where);

// The backend's own sink (OutputDebugStringW or stderr), and whether KLT_DIAG asks for it.
DiagnosticsSink& SystemDiagnostics();
bool DiagnosticsRequested();

}  // namespace klt::platform
