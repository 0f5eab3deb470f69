#pragma once
// The integrator's reference, docs/methods.md: the method tables of the six object types as the add-in
// has them, with the words an integrator needs beside each row. The words live here, outside the
// product; every row must have exactly one entry and every entry a row.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/context_class.h"

namespace klt::docs {

// The words for one method, found by its Russian name (UTF-8, spelt as in the table).
struct MethodDoc {
    std::string_view name;
    // One "Name: meaning" per parameter, in order, separated by newlines; empty when there are none.
    std::string_view params;
    // What a function returns; empty for a procedure.
    std::string_view result;
    std::string_view what;
    // One line of 1C that calls the method with every parameter.
    std::string_view example;
};

struct ClassDoc {
    const core::ClassInfo* info;
    std::string_view name;  // the name СоздатьОбъект takes
    std::string_view title;
    std::string_view about;
    std::string_view variable;  // the object's variable in the examples
    std::span<const MethodDoc> own;
    std::span<const MethodDoc> shared;  // entries several classes' tables share
};

// The six object types in registration order.
std::span<const ClassDoc> Classes();

// Every disagreement between the tables and their words: a row without an entry or with two, an
// entry without a row, a parameter count, a result on a procedure or none on a function, an
// example that does not call its method with every parameter. Empty when they agree.
std::vector<std::string> Problems(std::span<const ClassDoc> classes);

// docs/methods.md, UTF-8. Throws std::logic_error listing the problems when there are any.
std::string RenderReference(std::span<const ClassDoc> classes);

}  // namespace klt::docs
