#include "core/host_calls.h"

#include "platform/diagnostics.h"

namespace klt::core {
namespace {

// Argument list as the host's entries take it: one pointer per parameter the method declares.
std::vector<host::Value*> Pointers(host::Context& context, int number, std::vector<host::Value>& args) {
    int count = context.GetNParams(number);
    if (count > 0 && args.size() < static_cast<std::size_t>(count)) args.resize(count);
    std::vector<host::Value*> pointers;
    pointers.reserve(args.size());
    for (host::Value& v : args) pointers.push_back(&v);
    return pointers;
}

// The configuration lacks what we call: the caller goes on with its default, the trace says why.
int Find(host::Context* context, const std::string& name) {
    int number = context ? context->FindMethod(name.c_str()) : -1;
    if (number < 0)
        platform::Report("host call", (context ? "no method " : "no context for the method ") + name);
    return number;
}

}  // namespace

bool CallContextFunction(host::Context* context, const std::string& name, std::vector<host::Value> args,
                         host::Value& result) {
    int number = Find(context, name);
    if (number < 0) return false;
    std::vector<host::Value*> pointers = Pointers(*context, number, args);
    return context->CallAsFunc(number, result, pointers.data()) == 0;
}

bool CallContextProcedure(host::Context* context, const std::string& name, std::vector<host::Value> args) {
    int number = Find(context, name);
    if (number < 0) return false;
    std::vector<host::Value*> pointers = Pointers(*context, number, args);
    return context->CallAsProc(number, pointers.data()) == 0;
}

}  // namespace klt::core
