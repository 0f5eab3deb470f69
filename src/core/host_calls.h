#pragma once
// Calling methods of the host's contexts by name, as the add-in does with the global context.
#include <string>
#include <vector>

#include "core/host.h"

namespace klt::core {

// Finds a method by name and calls it with the given arguments, padded with empty values up to the
// method's parameter count. False when there is no context, no such method, or the host refused.
bool CallContextFunction(host::Context* context, const std::string& name, std::vector<host::Value> args,
                         host::Value& result);
bool CallContextProcedure(host::Context* context, const std::string& name, std::vector<host::Value> args);

}  // namespace klt::core
