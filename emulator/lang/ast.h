#pragma once
// The parsed module: module variables, procedures and functions, and the statements of its body.
#include <memory>
#include <string>
#include <vector>

#include "core/host.h"
#include "emulator/lang/error.h"

namespace klt::lang {

struct Expr;
struct Stmt;
using ExprPtr = std::unique_ptr<Expr>;
using Block = std::vector<std::unique_ptr<Stmt>>;

// Names are kept as written (for messages and the host) and folded (for lookup).
struct Name {
    std::string text;
    std::string key;
};

struct Expr {
    enum class Kind {
        Literal,     // value
        Variable,    // name
        Call,        // name(args): a procedure or function of the module, a built-in or a host's one
        Member,      // left.name
        MethodCall,  // left.name(args)
        Unary,       // op left: "-", "+"
        Binary,      // left op right: + - * / % = <> < > <= >=
        And,
        Or,
        Not,
        Choice,  // ?(args[0], args[1], args[2])
    };
    Kind kind = Kind::Literal;
    SourcePos pos;
    host::Value value;
    Name name;
    std::string op;
    ExprPtr left, right;
    std::vector<ExprPtr> args;  // a null entry is an omitted argument
};

struct Stmt {
    enum class Kind { Assign, Call, If, While, For, Break, Continue, Return, Try, Raise, Var };
    Kind kind = Kind::Call;
    SourcePos pos;
    ExprPtr target;  // Assign: a Variable or Member; For: the counter (a Variable)
    ExprPtr value;   // Assign, Call, Return (may be null), Raise (may be null); For: the first value
    ExprPtr limit;   // For: the last value; While: the condition
    std::vector<ExprPtr> conditions;  // If: one per branch
    std::vector<Block> branches;      // If: one per condition; While/For/Try: [0] is the body
    Block otherwise;                  // If: Иначе; Try: Исключение
    std::vector<Name> names;          // Var
};

struct Param {
    Name name;
    bool byValue = false;
    bool hasDefault = false;
    host::Value defaultValue;
};

struct Routine {
    Name name;
    SourcePos pos;
    bool isFunction = false;
    bool exported = false;
    std::vector<Param> params;
    Block body;
};

struct ModuleVar {
    Name name;
    SourcePos pos;
    bool exported = false;
};

struct Program {
    std::vector<ModuleVar> vars;
    std::vector<std::unique_ptr<Routine>> routines;
    Block body;
};

}  // namespace klt::lang
