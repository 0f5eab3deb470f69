#include "core/context_class.h"

#include "core/state.h"
#include "platform/diagnostics.h"
#include "text/cp1251.h"
#include "text/format.h"
#include "text/literal.h"

namespace klt::core {

using namespace klt::text::literals;

int FindMethodIn(const MethodDef* methods, int count, std::string_view name) {
    for (int i = 0; i < count; ++i) {
        if (text::EqualsNoCase(name, methods[i].english) || text::EqualsNoCase(name, methods[i].russian))
            return i;
    }
    return -1;
}

void RaiseRuntimeError(const std::string& text, int code) {
    if (host::Host* h = State().host) h->RaiseExtRuntimeError(text.c_str(), code);
}

ContextClassBase::ContextClassBase(const ClassInfo& info) : info_(info) {}

host::ObjectId ContextClassBase::GetID() const {
    return State().classObjectIds.at(info_.classIndex);
}

int ContextClassBase::FindMethod(const char* name) const {
    return FindMethodIn(info_.methods, info_.methodCount, name ? std::string_view(name) : std::string_view());
}

const char* ContextClassBase::GetMethodName(int number, int alias) const {
    if (!Valid(number)) return "mError";
    std::string_view name = alias == 0 ? info_.methods[number].english : info_.methods[number].russian;
    return name.empty() ? "" : name.data();  // table names sit in NUL-terminated static storage
}

// The host passes only numbers it had from FindMethod; anything else reads as an empty row rather
// than past the table.
int ContextClassBase::GetNParams(int number) const {
    return Valid(number) ? info_.methods[number].params : 0;
}

int ContextClassBase::HasRetVal(int number) const {
    return Valid(number) ? info_.methods[number].hasResult : 0;
}

// Every parameter has a default, so 1C code may leave out trailing arguments; the value stays as
// the host supplied it.
int ContextClassBase::GetParamDefValue(int, int, host::Value*) const {
    return 1;
}

int ContextClassBase::GetClassWord(std::string& word) const {
    word = info_.classWord;
    return 1;
}

int ContextClassBase::Run(int number, host::Value& result, host::Value** args) {
    const MethodDef& m = info_.methods[number];
    try {
        if (!m.body) throw MethodNotAvailable();
        MethodCall call(args, result);
        m.body(*this, call);
        return 0;
    } catch (const MethodNotAvailable&) {
        RaiseRuntimeError(text::Format(std::string("Метод \"%s\" объекта \"%s\" пока недоступен"_cp).c_str(),
                                       std::string(m.russian).c_str(), info_.runtimeClass->className),
                          kExceptionErrorCode);
    } catch (...) {
        // The configuration hears only "Error: exception"; the trace keeps what it was.
        platform::ReportCurrentException(text::Format("%s.%s", info_.runtimeClass->className,
                                                      std::string(info_.methods[number].russian).c_str()));
        RaiseRuntimeError(kExceptionErrorText, kExceptionErrorCode);
    }
    return 1;
}

int ContextClassBase::CallAsProc(int number, host::Value** args) {
    if (!Valid(number) || info_.methods[number].hasResult) return 1;
    host::Value ignored;  // a procedure's body has no result to give
    return Run(number, ignored, args);
}

// Function entries are guarded as well: an exception must never unwind into the host.
int ContextClassBase::CallAsFunc(int number, host::Value& result, host::Value** args) {
    if (!Valid(number) || !info_.methods[number].hasResult) return 1;
    return Run(number, result, args);
}

}  // namespace klt::core
