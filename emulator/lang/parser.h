#pragma once
#include <memory>
#include <string>

#include "emulator/lang/ast.h"

namespace klt::lang {

// Parses CP1251 module text. Throws a syntax LangError at the first fault.
std::unique_ptr<Program> Parse(const std::string& source);
// Parses one expression (a control's formula). Throws a syntax LangError.
std::unique_ptr<Expr> ParseExpression(const std::string& source);

}  // namespace klt::lang
