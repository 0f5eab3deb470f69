#include "platform/diagnostics.h"

#include <cstdlib>
#include <exception>
#include <string_view>

namespace klt::platform {
namespace {

DiagnosticsSink*& Current() {
    static DiagnosticsSink* sink = DiagnosticsRequested() ? &SystemDiagnostics() : nullptr;
    return sink;
}

}  // namespace

bool DiagnosticsRequested() {
    const char* value = std::getenv(kDiagnosticsVariable);
    return value != nullptr && std::string_view(value) == "1";
}

DiagnosticsSink* Diagnostics() {
    return Current();
}

DiagnosticsSink* ReplaceDiagnostics(DiagnosticsSink* sink) {
    DiagnosticsSink* previous = Current();
    Current() = sink;
    return previous;
}

void Report(std::string_view where, std::string_view what) {
    DiagnosticsSink* sink = Current();
    if (!sink) return;
    std::string line = "klt: ";
    line += where;
    line += ": ";
    line += what;
    // The trace must never be what breaks the caller.
    try {
        sink->Write(line);
    } catch (...) {
    }
}

void ReportCurrentException(std::string_view where) {
    if (!Current()) return;
    try {
        throw;
    } catch (const std::exception& e) {
        Report(where, e.what());
    } catch (...) {
        Report(where, "exception of an unknown type");
    }
}

}  // namespace klt::platform
