#include "core/host.h"
#include "text/literal.h"

namespace klt::host {

using namespace klt::text::literals;

Value::Value(const Value& other) : kind_(other.kind_), number_(other.number_), text_(other.text_) {
    if (other.context_) {
        context_ = other.context_;
        context_->IncrRef();
    }
}

Value::Value(Value&& other) noexcept
    : kind_(other.kind_), number_(other.number_), text_(std::move(other.text_)), context_(other.context_) {
    other.context_ = nullptr;
    other.kind_ = ValueKind::Empty;
}

Value& Value::operator=(const Value& other) {
    if (this != &other) {
        Value copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Value& Value::operator=(Value&& other) noexcept {
    if (this != &other) {
        Context* old = context_;
        kind_ = other.kind_;
        number_ = other.number_;
        text_ = std::move(other.text_);
        context_ = other.context_;
        other.context_ = nullptr;
        other.kind_ = ValueKind::Empty;
        if (old) old->DecrRef();
    }
    return *this;
}

Value::~Value() {
    if (context_) context_->DecrRef();
}

void Value::Reset() {
    *this = Value();
}

void Value::AssignInt(std::int32_t number) {
    *this = Value(number);
}

void Value::AssignNumber(Numeric number) {
    *this = Value(number);
}

void Value::AssignString(std::string text) {
    *this = Value(std::move(text));
}

void Value::AssignContext(Context* context) {
    if (context) context->IncrRef();  // first, so assigning the context already held is safe
    Value fresh;
    fresh.kind_ = context ? ValueKind::Context : ValueKind::Empty;
    fresh.context_ = context;
    *this = std::move(fresh);
}

Numeric Value::GetNumeric() const {
    switch (kind_) {
        case ValueKind::Number:
            return number_;
        case ValueKind::String:
            return Numeric::Parse(text_);
        default:
            return Numeric();
    }
}

std::string Value::GetString() const {
    switch (kind_) {
        case ValueKind::Number:
            return number_.ToString();
        case ValueKind::String:
            return text_;
        default:
            return std::string();
    }
}

std::string Value::GetTypeString() const {
    switch (kind_) {
        case ValueKind::Number:
            return std::string("Число"_cp);
        case ValueKind::String:
            return std::string("Строка"_cp);
        case ValueKind::Context:
            return context_->GetTypeString();
        default:
            return std::string();
    }
}

bool operator==(const Value& a, const Value& b) {
    if (a.kind_ != b.kind_) return false;
    switch (a.kind_) {
        case ValueKind::Number:
            return a.number_ == b.number_;
        case ValueKind::String:
            return a.text_ == b.text_;
        case ValueKind::Context:
            return a.context_ == b.context_;
        default:
            return true;
    }
}

}  // namespace klt::host
