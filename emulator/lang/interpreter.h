#pragma once
// Runs a module in the 1C language as the configuration's global module of the emulated host: the
// add-in finds its procedures, functions and variables through host::Module, objects are created
// and called as the host does, and external events reach its ОбработкаВнешнегоСобытия when it is
// idle.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "emulator/emulated_host.h"
#include "emulator/lang/ast.h"

namespace klt::lang {

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

    // Runs the module's body, then its ПриНачалеРаботыСистемы. Between the body's statements the
    // platform loop turns and external events are handled. Returns at the end or once the end of
    // work is asked; a run-time error throws LangError.
    void Run();
    // Keeps handling external events for up to `ms` milliseconds, or until the end of work is asked.
    void ServeEvents(std::int64_t ms);

    // Drops every value the module's variables and queued events hold: objects of the add-in must
    // be released before the add-in goes away.
    void ReleaseValues();

    bool Stopping() const { return stopping_; }
    bool HasRoutine(const std::string& name) const;
    // A module variable (declared with Перем at the module's level), or null.
    const host::Value* ModuleVariable(const std::string& name) const;

    // What the host does with an external event: queue it, and hand it over at once when the add-in
    // is waiting inside a call (a modal window turns the loop).
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

    [[noreturn]] static void Fail(SourcePos pos, const std::string& message);

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

    // Between top-level statements and while waiting: turn the loop and hand over queued events.
    void Idle(SourcePos pos);
    void DeliverEvents();
    // Entry from the add-in into module code: nothing may unwind into the add-in.
    int EnterFromAddIn(int index, host::Value* result, int count, host::Value** args);

    const Routine* FindRoutine(const std::string& key) const;

    emu::EmulatedHost& host_;
    std::unique_ptr<Program> program_;
    std::map<std::string, std::size_t> routineIndex_;
    std::map<std::string, std::size_t> moduleVarIndex_;
    std::vector<host::Value> moduleVars_;  // sized once: addresses stay valid for references
    std::vector<Frame*> frames_;
    std::deque<emu::RecordedEvent> events_;
    std::optional<LangError> pending_;
    std::string lastError_;
    SourcePos lastPos_;
    ScriptedUsers* users_ = nullptr;  // of the statement last started: where asynchronous errors are reported
    int addInDepth_ = 0;
    int callDepth_ = 0;
    bool delivering_ = false;
    bool stopping_ = false;
};

}  // namespace klt::lang
