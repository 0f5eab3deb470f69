#pragma once
// The common shape of the six context classes: a method table, lookup by name, parameter counts,
// and procedure/function entries that never let an exception reach the host.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/host.h"

namespace klt::core {

class ContextClassBase;

// One call as a method body sees it: the host's arguments (as many as the row declares) and, for a
// function, the result the host reads back.
class MethodCall {
  public:
    MethodCall(host::Value** args, host::Value& result) : args_(args), result_(result) {}
    std::int32_t Int(int index) const { return args_[index]->GetInt32(); }
    std::string Text(int index) const { return args_[index]->GetString(); }
    const host::Value& Arg(int index) const { return *args_[index]; }
    void Return(std::int32_t number) { result_.AssignInt(number); }
    void Return(const std::string& text) { result_.AssignString(text); }
    // The 1C convention for success: 1, else 0.
    void ReturnFlag(bool ok) { result_.AssignInt(ok ? 1 : 0); }

  private:
    host::Value** args_;
    host::Value& result_;
};

using MethodBody = void (*)(ContextClassBase& self, MethodCall& call);

// A member function of a context class as a row's body: `core::Body<&CAura::OpenPort>`. The row
// sits in that class's own table, so the object the host calls it on is of that class.
template <auto Member>
struct MemberBody;
template <class C, void (C::*Member)(MethodCall&)>
struct MemberBody<Member> {
    static void Run(ContextClassBase& self, MethodCall& call) { (static_cast<C&>(self).*Member)(call); }
};
template <auto Member>
inline constexpr MethodBody Body = &MemberBody<Member>::Run;

// One row of a class's method table: the names the host looks up, the shape it asks about, and the
// body that runs. A row without a body is a method whose work has not been built yet.
struct MethodDef {
    std::string_view english;  // empty for classes with Russian names only
    std::string_view russian;
    int hasResult;  // 1 = function, 0 = procedure
    int params;
    MethodBody body = nullptr;
};

struct ClassInfo {
    const host::RuntimeClass* runtimeClass;
    int classIndex;  // registration order, selects the class's ClassObjectId
    const char* typeString;
    const char* classWord;  // written by slot 34
    const MethodDef* methods;
    int methodCount;
};

inline constexpr int kExceptionErrorCode = 1006;
inline constexpr const char* kExceptionErrorText = "Error: exception";

// Thrown by a method whose body arrives with a later piece of work; the entry turns it into a
// run-time error naming the method, so the configuration never sees a silent success.
class MethodNotAvailable : public std::runtime_error {
  public:
    MethodNotAvailable() : std::runtime_error("method not available") {}
};

// Looks a name up in a method table: the English name first in each row, then the Russian one,
// both without regard to letter case. -1 when no row matches.
int FindMethodIn(const MethodDef* methods, int count, std::string_view name);

class ContextClassBase : public host::Context {
  public:
    explicit ContextClassBase(const ClassInfo& info);

    const host::RuntimeClass* GetRuntimeClass() const override { return info_.runtimeClass; }
    int Query7() const override { return 1; }
    host::TypeCode GetValueType() const override { return host::kAddInObjectType; }
    int GetTypeNumber() const override { return host::kAddInObjectType.code; }
    host::ObjectId GetID() const override;
    const char* GetTypeString() const override { return info_.typeString; }
    int GetNMethods() const override { return info_.methodCount; }
    int FindMethod(const char* name) const override;
    const char* GetMethodName(int number, int alias) const override;
    int GetNParams(int number) const override;
    int GetParamDefValue(int method, int param, host::Value* value) const override;
    int HasRetVal(int number) const override;
    int CallAsProc(int number, host::Value** args) override;
    int CallAsFunc(int number, host::Value& result, host::Value** args) override;
    int GetClassWord(std::string& word) const override;

    const ClassInfo& info() const { return info_; }

  private:
    bool Valid(int number) const { return number >= 0 && number < info_.methodCount; }
    // Runs the row's body; answers 0 when it finished, 1 after reporting an escaped exception.
    int Run(int number, host::Value& result, host::Value** args);

    const ClassInfo& info_;
};

// Raises a run-time error in the calling 1C code through the host, when there is one.
void RaiseRuntimeError(const std::string& text, int code);

}  // namespace klt::core
