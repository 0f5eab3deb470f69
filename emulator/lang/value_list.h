#pragma once
// The host's СписокЗначений as the emulated host offers it to modules: values with their
// representations, by position counted from 1.
#include <string>
#include <utility>
#include <vector>

#include "core/host.h"

namespace klt::lang {

class ValueList : public host::Context {
  public:
    // Errors in positions go to the host as run-time errors, as the host's own objects report them.
    explicit ValueList(host::Host* host) : host_(host) {}

    static const host::RuntimeClass kRuntimeClass;

    const host::RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    const char* GetTypeString() const override;
    int GetNMethods() const override;
    int FindMethod(const char* name) const override;
    const char* GetMethodName(int number, int alias) const override;
    int GetNParams(int number) const override;
    int GetParamDefValue(int method, int param, host::Value* value) const override;
    int HasRetVal(int number) const override;
    int CallAsProc(int number, host::Value** args) override;
    int CallAsFunc(int number, host::Value& result, host::Value** args) override;

    std::size_t size() const { return items_.size(); }
    const std::pair<host::Value, std::string>& at(std::size_t i) const { return items_[i]; }

  private:
    // Index from a 1-based position, or raises a run-time error and answers -1.
    long Position(const host::Value& position);

    host::Host* host_;
    std::vector<std::pair<host::Value, std::string>> items_;
};

}  // namespace klt::lang
