#pragma once
// Runs a module in the 1C language as the configuration's global module of the emulated host, or as
// the module of an open form: the add-in finds its procedures, functions and variables through
// host::Module, objects are created and called as the host does, and external events reach the
// global module's ОбработкаВнешнегоСобытия only when the host is idle: after the running code has
// returned, or while a modal window turns the message loop.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "emulator/emulated_host.h"
#include "emulator/lang/ast.h"

namespace klt::lang {

class Forms;
class ScriptedUsers;

class Interpreter : public host::Module {
  public:
    // Calls nested deeper than this are a run-time error rather than a crashed stack.
    static constexpr int kMaxCallDepth = 200;

    Interpreter(emu::EmulatedHost& host, std::unique_ptr<Program> program);
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Where Сообщить and Предупреждение write, one CP1251 line each; stdout-less by default.
    std::function<void(const std::string&)> output;

    // Runs the module's body, then its ПриНачалеРаботыСистемы; the host is idle after each of the
    // two (the loop turns, external events are handled). Returns at the end or once the end of work
    // is asked; a run-time error throws LangError.
    void Run();
    // Runs only the body, as a form's module is started when its form opens.
    void RunBody();
    // Runs a procedure of the module by name if it has one (a form's ПриОткрытии).
    void RunIfPresent(const std::string& name);
    // Evaluates a control's formula (an expression) in this module, as the host does when the user
    // presses a form's button: the module's routines and variables are visible, and the global
    // module's exported ones. `where` names the formula in errors. Nothing unwinds: an error waits
    // for the calling module code as errors of module code the add-in called do.
    void RunFormula(const std::string& formula, const std::string& where);
    // Keeps handling external events for up to `ms` milliseconds, or until the end of work is asked.
    void ServeEvents(std::int64_t ms);

    // Drops every value the module's variables and queued events hold: objects of the add-in must
    // be released before the add-in goes away.
    void ReleaseValues();

    // Makes this the module of an open form: `Форма` names the form's value, routines and
    // variables the module lacks are looked for among the global module's exported ones, errors
    // carry `origin` (the module's file) and reach the global module.
    void AttachToForm(Interpreter& global, host::Value form, std::string origin);

    // ЗагрузитьВнешнююКомпоненту: loads and starts the add-in of that file; false with a message.
    std::function<bool(const std::string& fileName, std::string& error)> loadAddIn;
    // The open forms (ОткрытьФорму); null: the host has none.
    void SetForms(Forms* forms) { forms_ = forms; }
    Forms* forms() const { return global_ ? global_->forms_ : forms_; }

    bool Stopping() const { return stopping_; }
    bool HasRoutine(const std::string& name) const;
    // A module variable (declared with Перем at the module's level), or null.
    const host::Value* ModuleVariable(const std::string& name) const;

    // Told of each external event the host's buffer takes: it is handed over at once when the add-in
    // is waiting inside a call (a modal window turns the loop), otherwise when the module is idle.
    void OnExternalEvent(const emu::RecordedEvent& event);

    // A run-time error in module code that the add-in called, not yet reported to the module.
    std::optional<LangError> TakePendingError();

    // host::Module: procedures and functions by index; FindProc also finds functions, which may be
    // called as procedures.
    int FindProc(const char* name, int flag) override;
    int FindFunc(const char* name) override;
    int CallAsProc(int index, int count, host::Value** args) override;
    int CallAsFunc(int index, host::Value& result, int count, host::Value** args) override;
    int FindStaticVar(const char* name) override;
    int SetStaticVarValue(int index, const host::Value& value, int flag) override;

    // Scripted users for the add-in's modal windows (СоздатьОбъект("Эмулятор")); a window they
    // leave open fails the call that opened it. Null: none.
    void SetScriptedUsers(ScriptedUsers* users) { users_ = users; }
    ScriptedUsers* scriptedUsers() const { return users_; }

    // Used by the built-ins.
    emu::EmulatedHost& host() { return host_; }
    Interpreter& global() { return global_ ? *global_ : *this; }
    void RequestStop();
    void Say(const std::string& text) {
        if (output) output(text);
    }
    const std::string& LastErrorText() const { return lastError_; }

  private:
    struct Frame;
    struct Stop {};  // unwinds module code once the end of work is asked
    enum class Flow { Normal, Break, Continue, Return };
    struct Arg {
        host::Value value;
        host::Value* ref = nullptr;  // the caller's variable, for parameters passed by reference
        bool omitted = false;
    };

    [[noreturn]] void Fail(SourcePos pos, const std::string& message) const;

    Flow ExecBlock(const Block& block);
    Flow Exec(const Stmt& s);
    host::Value Eval(const Expr& e);
    host::Value EvalBinary(const Expr& e);
    bool Truth(const host::Value& v) const;
    std::vector<Arg> EvalArgs(const std::vector<ExprPtr>& args);
    host::Value* FindVariable(const std::string& key);
    host::Value& VariableForWrite(const Name& name);

    host::Value CallGlobal(const Expr& call, bool wantResult);
    host::Value CallRoutine(const Routine& r, std::vector<Arg>& args, SourcePos pos, bool wantResult);
    host::Value CallObject(host::Context& object, const Name& method, std::vector<Arg>& args, SourcePos pos,
                           bool wantResult);
    host::Value ReadMember(const Expr& e);
    void WriteMember(const Expr& target, const host::Value& value);
    // After any call into the add-in: its run-time errors, errors of module code it called back, and
    // the end of work.
    void CheckAfterAddIn(SourcePos pos);
    void CheckStop();

    // When the host is idle: turn the loop, hand over queued events, close the forms whose frames
    // are gone.
    void Idle(SourcePos pos);
    void DeliverEvents();
    // Events that come while module code waits inside the add-in are handed over when the loop
    // turns there (a modal window), as the host's posted messages are.
    void PostDelivery();
    void StopDelivery();
    // Where errors of module code the add-in called wait for the global module.
    std::optional<LangError>& Pending() { return global().pending_; }
    // Entry from the add-in into module code: nothing may unwind into the add-in.
    int EnterFromAddIn(int index, host::Value* result, int count, host::Value** args);

    const Routine* FindRoutine(const std::string& key) const;
    // A routine or variable of this module, else an exported one of the global module.
    const Routine* FindVisibleRoutine(const std::string& key, Interpreter*& owner);

    emu::EmulatedHost& host_;
    std::unique_ptr<Program> program_;
    std::map<std::string, std::size_t> routineIndex_;
    std::map<std::string, std::size_t> moduleVarIndex_;
    std::vector<host::Value> moduleVars_;  // sized once: addresses stay valid for references
    std::vector<Frame*> frames_;
    std::optional<LangError> pending_;
    std::string lastError_;
    SourcePos lastPos_;  // of the statement last started: where asynchronous errors are reported
    ScriptedUsers* users_ = nullptr;
    Forms* forms_ = nullptr;
    Interpreter* global_ = nullptr;  // set for a form's module
    host::Value form_;
    std::string origin_;
    // While a formula runs, errors at its own level are placed in it rather than in the module.
    const std::string* formulaWhere_ = nullptr;
    int formulaDepth_ = 0;
    const std::string& Origin() const {
        return formulaWhere_ && callDepth_ == formulaDepth_ ? *formulaWhere_ : origin_;
    }
    std::uintptr_t deliveryTimer_ = 0;
    int addInDepth_ = 0;
    int callDepth_ = 0;
    bool delivering_ = false;
    bool stopping_ = false;
};

}  // namespace klt::lang
