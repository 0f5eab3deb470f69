#pragma once
// The common shape of the six context classes: a method table, lookup by name, parameter counts,
// and procedure/function entries that never let an exception reach the host.
#include <stdexcept>
#include <string_view>

#include "core/host.h"

namespace klt::core {

struct MethodDef {
    std::string_view english;  // empty for classes with Russian names only
    std::string_view russian;
    int hasResult;  // 1 = function, 0 = procedure
    int params;
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

  protected:
    // Bodies of the class's methods; the entries have already checked the number and its kind.
    virtual void RunProcedure(int number, host::Value** args) = 0;
    virtual void RunFunction(int number, host::Value& result, host::Value** args) = 0;

    // Arguments as the methods read them.
    static std::int32_t IntArg(host::Value** args, int index) { return args[index]->GetInt32(); }
    static std::string TextArg(host::Value** args, int index) { return args[index]->GetString(); }

  private:
    bool Valid(int number) const { return number >= 0 && number < info_.methodCount; }
    // Runs a body; answers 0 when it finished and 1 after reporting an escaped exception.
    template <typename Body>
    int Guarded(int number, Body&& body);

    const ClassInfo& info_;
};

// Raises a run-time error in the calling 1C code through the host, when there is one.
void RaiseRuntimeError(const std::string& text, int code);

}  // namespace klt::core
