#pragma once
// The built-in procedures and functions of the language that the emulated host offers.
#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"

namespace klt::lang {

class Interpreter;

// Thrown by a built-in; the interpreter reports it at the call.
struct BuiltinError {
    std::string message;  // CP1251
};

struct Builtin {
    std::string_view russian, english;
    int minArgs, maxArgs;
    bool function;  // answers a value
    host::Value (*run)(Interpreter& interpreter, std::vector<host::Value>& args);
};

// By folded name; null when there is no such built-in.
const Builtin* FindBuiltin(const std::string& key);

// The text Сообщить and Строка show for a value: a number in its shortest decimal form, a text as
// it is, an object by its type.
std::string Present(const host::Value& v);

}  // namespace klt::lang
