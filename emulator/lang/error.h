#pragma once
// Errors of a module in the 1C language: a CP1251 message in Russian and the place in the module
// (lines and columns counted from 1; columns in characters).
#include <stdexcept>
#include <string>

namespace klt::lang {

struct SourcePos {
    int line = 0;
    int column = 0;
};

class LangError : public std::runtime_error {
  public:
    enum class Kind { Syntax, Runtime };
    LangError(Kind kind, SourcePos pos, std::string message)
        : std::runtime_error("1C module error"), kind_(kind), pos_(pos), message_(std::move(message)) {}

    Kind kind() const { return kind_; }
    SourcePos pos() const { return pos_; }
    const std::string& message() const { return message_; }  // CP1251
    // The add-in's own error code when the add-in raised it, otherwise 0.
    int code() const { return code_; }
    void set_code(int code) { code_ = code; }
    // The module the error is in when it is not the module the run started with (a form's module
    // file, a host path in CP1251); empty otherwise.
    const std::string& module() const { return module_; }
    void set_module(std::string module) { module_ = std::move(module); }

  private:
    Kind kind_;
    SourcePos pos_;
    std::string message_;
    int code_ = 0;
    std::string module_;
};

// "file:line:column: ошибка: message" in UTF-8, as klthost prints it; the file is the error's own
// module when it names one.
std::string DescribeError(const std::string& fileName, const LangError& error);

// Module text as read from disk, turned into CP1251: valid UTF-8 (a byte-order mark is skipped) is
// converted; anything else is taken to be CP1251 already.
std::string ModuleTextToCp1251(const std::string& bytes);
bool IsValidUtf8(const std::string& bytes);

}  // namespace klt::lang
