#include "hostabi/values.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "hostabi/abi.h"
#include "hostabi/objects.h"

namespace klt::hostabi {
namespace {

host::Numeric ReadNumeric(const void* cvalue) {
    const void* numeric = CallMember<const void*>(Fn::ValueGetNumeric, nullptr, const_cast<void*>(cvalue));
    if (!numeric) return {};
    KLT_HOST_ABI_BEGIN
    if (auto getDouble = Bound<Member<double>>(Fn::NumericGetDouble))
        return NumericFromDouble(getDouble(const_cast<void*>(numeric)));
    KLT_HOST_ABI_END
    return host::Numeric(CallMember<long>(Fn::NumericToLong, 0L, const_cast<void*>(numeric)));
}

// A CNumeric of our number, made by the host: exactly from its decimal text where the host reads
// text, else from a long or a double.
class HostNumeric {
  public:
    explicit HostNumeric(const host::Numeric& number) {
        const bool whole = number.scale() == 0 && number.mantissa() >= std::numeric_limits<long>::min() &&
                           number.mantissa() <= std::numeric_limits<long>::max();
        if (whole) {
            made_ = CallMemberVoid(Fn::NumericFromLong, storage_, static_cast<long>(number.mantissa()));
            return;
        }
        if (Resolve(Fn::NumericFromString) && CallMemberVoid(Fn::NumericFromLong, storage_, 0L)) {
            made_ = true;
            const std::string text = number.ToString();
            char* end = nullptr;
            CallMember<void*>(Fn::NumericFromString, nullptr, static_cast<void*>(storage_), text.c_str(),
                              &end);
            return;
        }
        made_ = CallMemberVoid(Fn::NumericFromDouble, storage_, number.ToDouble());
    }
    ~HostNumeric() {
        if (made_) CallMemberVoid(Fn::NumericDestroy, storage_);
    }
    HostNumeric(const HostNumeric&) = delete;
    HostNumeric& operator=(const HostNumeric&) = delete;
    void* get() { return made_ ? storage_ : nullptr; }

  private:
    alignas(8) unsigned char storage_[kNumericSize];
    bool made_ = false;
};

}  // namespace

host::Numeric NumericFromDouble(double number) {
    if (!std::isfinite(number)) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", number);
    if (std::strchr(text, 'e')) {
        // Beyond the decimal's reach either way: the nearest whole number or zero.
        if (std::fabs(number) < 1) return {};
        if (std::fabs(number) > 9.2e18) return {};
        return host::Numeric(static_cast<std::int64_t>(number));
    }
    return host::Numeric::Parse(text);
}

host::Value ReadValue(const void* cvalue) {
    if (!cvalue) return {};
    void* self = const_cast<void*>(cvalue);
    if (void* context = CallMember<void*>(Fn::ValueGetContext, nullptr, self)) {
        host::Context* ours = ContextFromHost(context);
        return ours ? host::Value(ours) : host::Value();
    }
    void* type = static_cast<unsigned char*>(self) + kValueTypeOffset;
    const int code = CallMember<int>(Fn::TypeCode, kTypeEmpty, type);
    switch (code) {
        case kTypeEmpty:
            return {};
        case kTypeNumber:
            return host::Value(ReadNumeric(cvalue));
        case kTypeString: {
            const char* text = CStringText(CallMember<const void*>(Fn::ValueGetString, nullptr, self));
            return host::Value(std::string(text ? text : ""));
        }
        default:
            // Dates and the host's other kinds have no value of ours.
            ReportOnce("value kind",
                       "a host value of a kind other than number, text or object reads as empty");
            return {};
    }
}

void WriteValue(const host::Value& value, void* cvalue) {
    if (!cvalue) return;
    switch (value.kind()) {
        case host::ValueKind::Empty:
            CallMemberVoid(Fn::ValueReset, cvalue);
            break;
        case host::ValueKind::Number: {
            HostNumeric numeric(value.GetNumeric());
            if (numeric.get()) {
                CallMember<void*>(Fn::ValueAssignNumeric, nullptr, cvalue,
                                  static_cast<const void*>(numeric.get()));
            } else {
                CallMember<void*>(Fn::ValueAssignLong, nullptr, cvalue, static_cast<long>(value.GetInt32()));
            }
            break;
        }
        case host::ValueKind::String: {
            const std::string text = value.GetString();
            CallMember<void*>(Fn::ValueAssignText, nullptr, cvalue, text.c_str());
            break;
        }
        case host::ValueKind::Context: {
            void* object = HostObjectOf(value.GetContext());
            if (object)
                CallMember<int>(Fn::ValueAssignContext, 0, cvalue, object);
            else
                CallMemberVoid(Fn::ValueReset, cvalue);
            break;
        }
    }
}

}  // namespace klt::hostabi
