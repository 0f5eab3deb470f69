#include "emulator/lang/value_list.h"

#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::lang {

using namespace klt::text::literals;

namespace {

struct Method {
    std::string_view english, russian;
    int params;
    bool function;
};

enum : int { kAdd, kSize, kGet, kSet, kRemove, kRemoveAll, kFind, kCount };

const Method kMethods[kCount] = {
    {"AddValue", "ДобавитьЗначение"_cp, 2, false},   {"GetListSize", "РазмерСписка"_cp, 0, true},
    {"GetValue", "ПолучитьЗначение"_cp, 2, true},    {"SetValue", "УстановитьЗначение"_cp, 3, false},
    {"RemoveValue", "УдалитьЗначение"_cp, 1, false}, {"RemoveAll", "УдалитьВсе"_cp, 0, false},
    {"FindValue", "НайтиЗначение"_cp, 1, true},
};

bool Valid(int number) {
    return number >= 0 && number < kCount;
}

host::Context* Create() {
    return new ValueList(nullptr);
}

}  // namespace

const host::RuntimeClass ValueList::kRuntimeClass{"CValueListContext", &Create};

const char* ValueList::GetTypeString() const {
    return "СписокЗначений"_cp.data();
}

int ValueList::GetNMethods() const {
    return kCount;
}

int ValueList::FindMethod(const char* name) const {
    if (!name) return -1;
    for (int i = 0; i < kCount; ++i)
        if (text::EqualsNoCase(name, kMethods[i].english) || text::EqualsNoCase(name, kMethods[i].russian))
            return i;
    return -1;
}

const char* ValueList::GetMethodName(int number, int alias) const {
    if (!Valid(number)) return nullptr;
    return (alias == 0 ? kMethods[number].english : kMethods[number].russian).data();
}

int ValueList::GetNParams(int number) const {
    return Valid(number) ? kMethods[number].params : 0;
}

int ValueList::GetParamDefValue(int, int, host::Value*) const {
    return 1;
}

int ValueList::HasRetVal(int number) const {
    return Valid(number) && kMethods[number].function ? 1 : 0;
}

long ValueList::Position(const host::Value& position) {
    const std::int32_t p = position.GetInt32();
    if (p >= 1 && static_cast<std::size_t>(p) <= items_.size()) return p - 1;
    if (host_) host_->RaiseExtRuntimeError("Неверное значение позиции в списке значений"_cp.data(), 0);
    return -1;
}

int ValueList::CallAsProc(int number, host::Value** args) {
    if (!Valid(number) || kMethods[number].function) return 1;
    switch (number) {
        case kAdd:
            items_.emplace_back(*args[0], args[1]->GetString());
            return 0;
        case kSet: {
            const long i = Position(*args[0]);
            if (i < 0) return 1;
            items_[i] = {*args[1], args[2]->GetString()};
            return 0;
        }
        case kRemove: {
            const long i = Position(*args[0]);
            if (i < 0) return 1;
            items_.erase(items_.begin() + i);
            return 0;
        }
        case kRemoveAll:
            items_.clear();
            return 0;
        default:
            return 1;
    }
}

int ValueList::CallAsFunc(int number, host::Value& result, host::Value** args) {
    if (!Valid(number) || !kMethods[number].function) return 1;
    switch (number) {
        case kSize:
            result = host::Value(static_cast<std::int32_t>(items_.size()));
            return 0;
        case kGet: {
            const long i = Position(*args[0]);
            if (i < 0) return 1;
            result = items_[i].first;
            *args[1] = host::Value(items_[i].second);
            return 0;
        }
        case kFind:
            for (std::size_t i = 0; i < items_.size(); ++i) {
                if (items_[i].first == *args[0]) {
                    result = host::Value(static_cast<std::int32_t>(i + 1));
                    return 0;
                }
            }
            result = host::Value(0);
            return 0;
        default:
            return 1;
    }
}

}  // namespace klt::lang
