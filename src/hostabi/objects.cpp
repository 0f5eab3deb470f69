#include "hostabi/objects.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "hostabi/abi.h"
#include "hostabi/values.h"
#include "platform/diagnostics.h"

namespace klt::hostabi {
namespace {

// ---- facades: our objects in the host's layout ----

struct Facade {
    const void* const* table;  // our entries, where the host's CBLContext keeps its own
    unsigned char base[kContextBaseSize - sizeof(void*)];
    host::Context* inner;
    int classSlot;
};
static_assert(offsetof(Facade, inner) == kContextBaseSize);

KLT_HOST_ABI_BEGIN
// MFC 4.2 CRuntimeClass as the shared-library build lays it out.
struct MfcRuntimeClass {
    const char* className;
    int objectSize;
    unsigned schema;
    void*(KLT_HOST_STDCALL* create)();
    const void*(KLT_HOST_STDCALL* baseClass)();
    MfcRuntimeClass* next;
};
KLT_HOST_ABI_END

// One creation entry per registered class: the host's create call takes no argument, so each
// class needs an entry of its own.
constexpr int kClassPoolSize = 8;

struct ClassRecord {
    MfcRuntimeClass mfc{};
    const host::RuntimeClass* cls = nullptr;
};

ClassRecord (&Pool())[kClassPoolSize] {
    static ClassRecord pool[kClassPoolSize];
    return pool;
}

std::unordered_map<host::Context*, Facade*>& Facades() {
    static std::unordered_map<host::Context*, Facade*> facades;
    return facades;
}

extern const void* const kFacadeTable[kContextSlotCount];

bool IsFacade(const void* object) {
    return object && *static_cast<const void* const* const*>(object) == kFacadeTable;
}

// ---- run-time errors raised on the way back to the host ----

struct RaisedError {
    bool set = false;
    int code = 0;
    char text[1024] = {};
};
RaisedError g_raised;
int g_entryDepth = 0;

struct EntryDepth {
    EntryDepth() { ++g_entryDepth; }
    ~EntryDepth() { --g_entryDepth; }
    EntryDepth(const EntryDepth&) = delete;
    EntryDepth& operator=(const EntryDepth&) = delete;
};

// Called with nothing of ours alive in this frame or the entry's: the host's raise unwinds them.
__attribute__((noinline)) void RaiseKept() {
    if (!g_raised.set) return;
    g_raised.set = false;
    KLT_HOST_ABI_BEGIN
    if (auto raise = Bound<Static<void, const char*, int>>(Fn::ModuleRaiseError))
        raise(g_raised.text, g_raised.code);
    KLT_HOST_ABI_END
}

// Runs an entry's body: nothing may unwind into the host, and a run-time error is raised once our
// objects are gone.
template <typename R, typename Body>
R Entry(R fallback, const Body& body) {
    R result = fallback;
    {
        EntryDepth depth;
        try {
            result = body();
        } catch (...) {
            platform::ReportCurrentException("host entry");
        }
    }
    RaiseKept();
    return result;
}

template <typename Body>
void EntryVoid(const Body& body) {
    {
        EntryDepth depth;
        try {
            body();
        } catch (...) {
            platform::ReportCurrentException("host entry");
        }
    }
    RaiseKept();
}

host::Context* Inner(void* self) {
    return static_cast<Facade*>(self)->inner;
}

Facade* MakeFacade(int slot, host::Context* inner) {
    const ClassRecord& record = Pool()[slot];
    KLT_HOST_ABI_BEGIN
    auto construct = Bound<Member<void, int>>(Fn::ContextConstruct);
    KLT_HOST_ABI_END
    if (!record.cls || !construct) return nullptr;
    if (!inner) inner = record.cls->create ? record.cls->create() : nullptr;
    if (!inner) return nullptr;
    void* memory = ::operator new(sizeof(Facade), std::nothrow);
    if (!memory) return nullptr;
    inner->IncrRef();  // the facade's own hold; our object outlives it while a value of ours holds it
    std::memset(memory, 0, sizeof(Facade));
    construct(memory, 1);
    auto* facade = static_cast<Facade*>(memory);
    facade->table = kFacadeTable;
    facade->inner = inner;
    facade->classSlot = slot;
    try {
        Facades()[inner] = facade;
    } catch (...) {
        platform::ReportCurrentException("facade");
    }
    return facade;
}

// The host makes our object through the runtime class record: one entry per pool place.
KLT_HOST_ABI_BEGIN
template <int N>
void* KLT_HOST_STDCALL CreateEntry() {
    return Entry<void*>(nullptr, [] { return static_cast<void*>(MakeFacade(N, nullptr)); });
}

const void* KLT_HOST_STDCALL BaseClassEntry() {
    return Resolve(Fn::ContextRuntimeClass);
}

using CreateFn = void*(KLT_HOST_STDCALL*)();
KLT_HOST_ABI_END

constexpr CreateFn kCreateEntries[kClassPoolSize] = {&CreateEntry<0>, &CreateEntry<1>, &CreateEntry<2>,
                                                     &CreateEntry<3>, &CreateEntry<4>, &CreateEntry<5>,
                                                     &CreateEntry<6>, &CreateEntry<7>};

// Values of the host as ours for a call, and back after it: parameters are passed by reference.
struct CallArgs {
    std::vector<host::Value> values;
    std::vector<host::Value> before;
    std::vector<host::Value*> pointers;

    CallArgs(void** args, int count) {
        for (int i = 0; i < count; ++i) values.push_back(args ? ReadValue(args[i]) : host::Value());
        before = values;
        for (host::Value& v : values) pointers.push_back(&v);
    }
    void WriteBack(void** args) const {
        if (!args) return;
        for (std::size_t i = 0; i < values.size(); ++i)
            if (args[i] && !(values[i] == before[i])) WriteValue(values[i], args[i]);
    }
};

int CallInner(void* self, int number, void* result, void** args) {
    host::Context* inner = Inner(self);
    CallArgs call(args, std::max(0, inner->GetNParams(number)));
    host::Value out;
    const int rc = result ? inner->CallAsFunc(number, out, call.pointers.data())
                          : inner->CallAsProc(number, call.pointers.data());
    if (result && rc == 0) WriteValue(out, result);
    call.WriteBack(args);
    return rc;
}

// ---- the 37 entries, in the host's slot order ----
KLT_HOST_ABI_BEGIN
namespace entry {

void* KLT_HOST_THISCALL GetRuntimeClass(void* self) {
    return Entry<void*>(
        nullptr, [&] { return static_cast<void*>(&Pool()[static_cast<Facade*>(self)->classSlot].mfc); });
}

// The vendor's scalar deleting destructor: flags & 1 frees the memory.
void* KLT_HOST_THISCALL Destroy(void* self, unsigned flags) {
    EntryVoid([&] {
        auto* facade = static_cast<Facade*>(self);
        host::Context* inner = facade->inner;
        facade->inner = nullptr;
        if (inner) {
            Facades().erase(inner);
            inner->DecrRef();
        }
    });
    CallMemberVoid(Fn::ContextDestroy, self);
    if (flags & 1) ::operator delete(self);
    return self;
}

void KLT_HOST_THISCALL Serialize(void*, void*) {}
void KLT_HOST_THISCALL AssertValid(void*) {}
void KLT_HOST_THISCALL Dump(void*, const void*) {}
void KLT_HOST_THISCALL IncrRef(void* self) {
    CallMemberVoid(Fn::ContextIncrRef, self);
}
void KLT_HOST_THISCALL DecrRef(void* self) {
    CallMemberVoid(Fn::ContextDecrRef, self);
}
int KLT_HOST_THISCALL GetDestroyUnRefd(void* self) {
    return Entry(0, [&] { return Inner(self)->Query7(); });
}
int KLT_HOST_THISCALL IsOleContext(void* self) {
    return Entry(0, [&] { return Inner(self)->Query8(); });
}
void* KLT_HOST_THISCALL GetValueType(void* self, void* type) {
    EntryVoid([&] {
        if (!CallMemberVoid(Fn::TypeConstruct, type, Inner(self)->GetValueType().code))
            std::memset(type, 0, kTypeSize);
    });
    return type;
}
long KLT_HOST_THISCALL GetTypeID(void* self) {
    return Entry(0L, [&] { return static_cast<long>(Inner(self)->GetTypeNumber()); });
}
void* KLT_HOST_THISCALL GetID(void* self, void* id) {
    EntryVoid([&] {
        const host::ObjectId ours = Inner(self)->GetID();
        unsigned char sign[4];
        std::memcpy(sign, &ours.dbSign, sizeof sign);
        if (!CallMemberVoid(Fn::ObjIdConstruct, id, static_cast<long>(ours.number),
                            static_cast<const void*>(sign))) {
            const auto number = static_cast<std::int32_t>(ours.number);
            std::memcpy(id, &number, 4);
            std::memcpy(static_cast<unsigned char*>(id) + 4, sign, 4);
        }
    });
    return id;
}
const char* KLT_HOST_THISCALL GetCode(void* self) {
    return Entry<const char*>(nullptr, [&] { return Inner(self)->Query12() ? "" : nullptr; });
}
int KLT_HOST_THISCALL IsExactValue(void* self) {
    return Entry(0, [&] { return Inner(self)->Query13(); });
}
void KLT_HOST_THISCALL InitObjectName(void* self, const char* name) {
    CallMemberVoid(Fn::ContextInitObjectName, self, name);
}
void KLT_HOST_THISCALL InitObjectType(void* self, const void* type) {
    CallMemberVoid(Fn::ContextInitObjectType, self, type);
}
// CObjID travels by value: its two words on the stack.
void KLT_HOST_THISCALL SelectByID(void* self, std::uint32_t id, std::uint32_t sign, long number) {
    CallMemberVoid(Fn::ContextSelectByID, self, id, sign, number);
}
const char* KLT_HOST_THISCALL GetTypeString(void* self) {
    return Entry<const char*>("", [&] { return Inner(self)->GetTypeString(); });
}
int KLT_HOST_THISCALL GetNProps(void* self) {
    return Entry(0, [&] { return Inner(self)->GetNProps(); });
}
int KLT_HOST_THISCALL FindProp(void* self, const char* name) {
    return Entry(-1, [&] { return Inner(self)->FindProp(name); });
}
const char* KLT_HOST_THISCALL GetPropName(void* self, int number, int alias) {
    return Entry<const char*>(nullptr, [&] { return Inner(self)->GetPropName(number, alias); });
}
int KLT_HOST_THISCALL GetPropVal(void* self, int number, void* value) {
    return Entry(-1, [&] {
        host::Value ours;
        const int rc = Inner(self)->GetPropVal(number, ours);
        if (rc != -1) WriteValue(ours, value);
        return rc;
    });
}
int KLT_HOST_THISCALL SetPropVal(void* self, int number, const void* value) {
    return Entry(-1, [&] { return Inner(self)->SetPropVal(number, ReadValue(value)); });
}
int KLT_HOST_THISCALL IsPropReadable(void* self, int number) {
    return Entry(0, [&] { return Inner(self)->IsPropReadable(number); });
}
int KLT_HOST_THISCALL IsPropWritable(void* self, int number) {
    return Entry(0, [&] { return Inner(self)->IsPropWritable(number); });
}
int KLT_HOST_THISCALL GetNMethods(void* self) {
    return Entry(0, [&] { return Inner(self)->GetNMethods(); });
}
int KLT_HOST_THISCALL FindMethod(void* self, const char* name) {
    return Entry(-1, [&] { return Inner(self)->FindMethod(name); });
}
const char* KLT_HOST_THISCALL GetMethodName(void* self, int number, int alias) {
    return Entry<const char*>(nullptr, [&] { return Inner(self)->GetMethodName(number, alias); });
}
int KLT_HOST_THISCALL GetNParams(void* self, int number) {
    return Entry(0, [&] { return Inner(self)->GetNParams(number); });
}
int KLT_HOST_THISCALL GetParamDefValue(void* self, int method, int param, void* value) {
    return Entry(0, [&] {
        host::Value ours = ReadValue(value);
        const host::Value before = ours;
        const int rc = Inner(self)->GetParamDefValue(method, param, value ? &ours : nullptr);
        if (value && !(ours == before)) WriteValue(ours, value);
        return rc;
    });
}
int KLT_HOST_THISCALL HasRetVal(void* self, int number) {
    return Entry(0, [&] { return Inner(self)->HasRetVal(number); });
}
int KLT_HOST_THISCALL CallAsProc(void* self, int number, void** args) {
    return Entry(1, [&] { return CallInner(self, number, nullptr, args); });
}
int KLT_HOST_THISCALL CallAsFunc(void* self, int number, void* result, void** args) {
    return Entry(1, [&] { return CallInner(self, number, result, args); });
}
int KLT_HOST_THISCALL IsSerializable(void* self) {
    return Entry(0, [&] { return Inner(self)->Query33(); });
}
int KLT_HOST_THISCALL SaveToString(void* self, void* text) {
    return Entry(0, [&] {
        std::string word;
        const int rc = Inner(self)->GetClassWord(word);
        if (text) CallMember<void*>(Fn::StringAssignText, nullptr, text, word.c_str());
        return rc;
    });
}
void* KLT_HOST_THISCALL GetInternalData(void* self) {
    return CallMember<void*>(Fn::ContextGetInternalData, nullptr, self);
}
void KLT_HOST_THISCALL GetExactValue(void* self, void* value) {
    CallMemberVoid(Fn::ContextGetExactValue, self, value);
}

}  // namespace entry

const void* const kFacadeTable[kContextSlotCount] = {
    reinterpret_cast<const void*>(&entry::GetRuntimeClass),   // 0
    reinterpret_cast<const void*>(&entry::Destroy),           // 1
    reinterpret_cast<const void*>(&entry::Serialize),         // 2
    reinterpret_cast<const void*>(&entry::AssertValid),       // 3
    reinterpret_cast<const void*>(&entry::Dump),              // 4
    reinterpret_cast<const void*>(&entry::IncrRef),           // 5
    reinterpret_cast<const void*>(&entry::DecrRef),           // 6
    reinterpret_cast<const void*>(&entry::GetDestroyUnRefd),  // 7
    reinterpret_cast<const void*>(&entry::IsOleContext),      // 8
    reinterpret_cast<const void*>(&entry::GetValueType),      // 9
    reinterpret_cast<const void*>(&entry::GetTypeID),         // 10
    reinterpret_cast<const void*>(&entry::GetID),             // 11
    reinterpret_cast<const void*>(&entry::GetCode),           // 12
    reinterpret_cast<const void*>(&entry::IsExactValue),      // 13
    reinterpret_cast<const void*>(&entry::InitObjectName),    // 14
    reinterpret_cast<const void*>(&entry::InitObjectType),    // 15
    reinterpret_cast<const void*>(&entry::SelectByID),        // 16
    reinterpret_cast<const void*>(&entry::GetTypeString),     // 17
    reinterpret_cast<const void*>(&entry::GetNProps),         // 18
    reinterpret_cast<const void*>(&entry::FindProp),          // 19
    reinterpret_cast<const void*>(&entry::GetPropName),       // 20
    reinterpret_cast<const void*>(&entry::GetPropVal),        // 21
    reinterpret_cast<const void*>(&entry::SetPropVal),        // 22
    reinterpret_cast<const void*>(&entry::IsPropReadable),    // 23
    reinterpret_cast<const void*>(&entry::IsPropWritable),    // 24
    reinterpret_cast<const void*>(&entry::GetNMethods),       // 25
    reinterpret_cast<const void*>(&entry::FindMethod),        // 26
    reinterpret_cast<const void*>(&entry::GetMethodName),     // 27
    reinterpret_cast<const void*>(&entry::GetNParams),        // 28
    reinterpret_cast<const void*>(&entry::GetParamDefValue),  // 29
    reinterpret_cast<const void*>(&entry::HasRetVal),         // 30
    reinterpret_cast<const void*>(&entry::CallAsProc),        // 31
    reinterpret_cast<const void*>(&entry::CallAsFunc),        // 32
    reinterpret_cast<const void*>(&entry::IsSerializable),    // 33
    reinterpret_cast<const void*>(&entry::SaveToString),      // 34
    reinterpret_cast<const void*>(&entry::GetInternalData),   // 35
    reinterpret_cast<const void*>(&entry::GetExactValue),     // 36
};
KLT_HOST_ABI_END

// ---- proxies: the host's objects as ours ----

// Host values made from ours for a call into the host, read back after it.
class HostArgs {
  public:
    HostArgs(host::Value** args, int count) {
        for (int i = 0; i < count; ++i) {
            values_.push_back(std::make_unique<HostValue>());
            if (args && args[i]) WriteValue(*args[i], values_.back()->get());
            pointers_.push_back(values_.back()->get());
        }
    }
    bool made() const {
        return std::all_of(values_.begin(), values_.end(), [](const auto& v) { return v->made(); });
    }
    void** pointers() { return pointers_.empty() ? nullptr : pointers_.data(); }
    void ReadBack(host::Value** args) const {
        if (!args) return;
        for (std::size_t i = 0; i < values_.size(); ++i)
            if (args[i]) *args[i] = ReadValue(values_[i]->get());
    }

  private:
    std::vector<std::unique_ptr<HostValue>> values_;
    std::vector<void*> pointers_;
};

class HostContext final : public host::Context {
  public:
    explicit HostContext(void* object) : object_(object) {}
    void* object() const { return object_; }

    const host::RuntimeClass* GetRuntimeClass() const override {
        runtime_.className = HostClassName(object_);
        return &runtime_;
    }
    // Our values hold the host object through its own count; the proxy itself stays.
    void IncrRef() override { Call<void>(5); }
    void DecrRef() override { Call<void>(6); }
    int Query7() const override { return Call<int>(7); }
    int Query8() const override { return Call<int>(8); }
    host::TypeCode GetValueType() const override {
        alignas(8) unsigned char type[16] = {};
        Call<void*>(9, static_cast<void*>(type));
        const int code = CallMember<int>(Fn::TypeCode, 0, static_cast<void*>(type));
        CallMemberVoid(Fn::TypeDestroy, static_cast<void*>(type));
        return {code};
    }
    int GetTypeNumber() const override { return static_cast<int>(Call<long>(10)); }
    const char* GetTypeString() const override {
        const char* text = Call<const char*>(17);
        return text ? text : "";
    }
    int GetNProps() const override { return Call<int>(18); }
    int FindProp(const char* name) const override { return Call<int>(19, name); }
    const char* GetPropName(int number, int alias) const override {
        return Call<const char*>(20, number, alias);
    }
    int GetPropVal(int number, host::Value& value) const override {
        HostValue v;
        if (!v.made()) return -1;
        const int rc = Call<int>(21, number, v.get());
        value = ReadValue(v.get());
        return rc;
    }
    int SetPropVal(int number, const host::Value& value) override {
        HostValue v;
        if (!v.made()) return -1;
        WriteValue(value, v.get());
        return Call<int>(22, number, static_cast<const void*>(v.get()));
    }
    int IsPropReadable(int number) const override { return Call<int>(23, number); }
    int IsPropWritable(int number) const override { return Call<int>(24, number); }
    int GetNMethods() const override { return Call<int>(25); }
    int FindMethod(const char* name) const override { return Call<int>(26, name); }
    const char* GetMethodName(int number, int alias) const override {
        return Call<const char*>(27, number, alias);
    }
    int GetNParams(int number) const override { return Call<int>(28, number); }
    int GetParamDefValue(int method, int param, host::Value* value) const override {
        HostValue v;
        if (!v.made()) return 0;
        const int rc = Call<int>(29, method, param, v.get());
        if (value) *value = ReadValue(v.get());
        return rc;
    }
    int HasRetVal(int number) const override { return Call<int>(30, number); }
    // The host's own answer is not our convention (0 = ran): a call that reached it ran.
    int CallAsProc(int number, host::Value** args) override {
        HostArgs hostArgs(args, std::max(0, GetNParams(number)));
        if (!hostArgs.made()) return 1;
        Call<int>(31, number, hostArgs.pointers());
        hostArgs.ReadBack(args);
        return 0;
    }
    int CallAsFunc(int number, host::Value& result, host::Value** args) override {
        HostArgs hostArgs(args, std::max(0, GetNParams(number)));
        HostValue out;
        if (!hostArgs.made() || !out.made()) return 1;
        Call<int>(32, number, out.get(), hostArgs.pointers());
        hostArgs.ReadBack(args);
        result = ReadValue(out.get());
        return 0;
    }
    int Query33() const override { return Call<int>(33); }
    int GetLoadedID() const override {
        return static_cast<int>(CallMember<unsigned long>(Fn::ContextGetLoadedID, 0UL, object_));
    }

  private:
    template <typename R, typename... A>
    R Call(int slot, A... args) const {
        KLT_HOST_ABI_BEGIN
        auto f = reinterpret_cast<Member<R, A...>>(Slot(object_, slot));
        KLT_HOST_ABI_END
        return f(object_, args...);
    }

    void* object_;
    mutable host::RuntimeClass runtime_{nullptr, nullptr};
};

class HostModule final : public host::Module {
  public:
    explicit HostModule(void* module) : module_(module) {}
    int FindProc(const char* name, int flag) override {
        return CallMember<int>(Fn::ModuleFindProc, -1, module_, name, flag);
    }
    int FindFunc(const char* name) override { return CallMember<int>(Fn::ModuleFindFunc, -1, module_, name); }
    int CallAsProc(int index, int count, host::Value** args) override {
        HostArgs hostArgs(args, std::max(0, count));
        if (!hostArgs.made()) return 0;
        const int rc = CallMember<int>(Fn::ModuleCallAsProc, 0, module_, index, count, hostArgs.pointers());
        hostArgs.ReadBack(args);
        return rc;
    }
    int CallAsFunc(int index, host::Value& result, int count, host::Value** args) override {
        HostArgs hostArgs(args, std::max(0, count));
        HostValue out;
        if (!hostArgs.made() || !out.made()) return 0;
        const int rc =
            CallMember<int>(Fn::ModuleCallAsFunc, 0, module_, index, out.get(), count, hostArgs.pointers());
        hostArgs.ReadBack(args);
        result = ReadValue(out.get());
        return rc;
    }
    int FindStaticVar(const char* name) override {
        return CallMember<int>(Fn::ModuleFindStaticVar, -1, module_, name);
    }
    int SetStaticVarValue(int index, const host::Value& value, int flag) override {
        HostValue v;
        if (!v.made()) return 0;
        WriteValue(value, v.get());
        return CallMember<int>(Fn::ModuleSetStaticVar, 0, module_, index, static_cast<const void*>(v.get()),
                               flag);
    }

  private:
    void* module_;
};

class HostDocument final : public host::Document {
  public:
    explicit HostDocument(void* document) : document_(document) {}
    host::WindowHandle GetFrame() override {
        return WindowOf(CallMember<void*>(Fn::DocumentFrame, nullptr, document_));
    }
    host::Context* GetGroupContext() override {
        return ContextFromHost(CallMember<void*>(Fn::DocumentGroupContext, nullptr, document_));
    }
    // The host publishes no call for a document's metadata path.
    std::string GetMetadataPath() override {
        ReportOnce("metadata path", "a form's metadata path is out of reach: forms have no full name");
        return {};
    }
    // The form field classes' members are not confirmed: a form offers no fields.
    int FieldCount() override {
        ReportOnce("form fields", "form field access is not bound: forms offer no fields");
        return 0;
    }

  private:
    void* document_;
};

template <typename Proxy>
Proxy* Interned(void* address) {
    static std::unordered_map<void*, std::unique_ptr<Proxy>> proxies;
    if (!address) return nullptr;
    std::unique_ptr<Proxy>& slot = proxies[address];
    if (!slot) slot = std::make_unique<Proxy>(address);
    return slot.get();
}

}  // namespace

host::Context* ContextFromHost(void* hostObject) {
    if (!hostObject) return nullptr;
    if (IsFacade(hostObject)) return static_cast<Facade*>(hostObject)->inner;
    return Interned<HostContext>(hostObject);
}

void* HostObjectOf(host::Context* context) {
    if (!context) return nullptr;
    if (auto* proxy = dynamic_cast<HostContext*>(context)) return proxy->object();
    const auto found = Facades().find(context);
    if (found != Facades().end()) return found->second;
    // One of ours the host has not made: a facade of its class, when the class is registered.
    const host::RuntimeClass* cls = context->GetRuntimeClass();
    for (int i = 0; i < kClassPoolSize; ++i)
        if (cls && Pool()[i].cls == cls) return MakeFacade(i, context);
    return nullptr;
}

host::Module* ModuleFromHost(void* module) {
    return Interned<HostModule>(module);
}

host::Document* DocumentFromHost(void* document) {
    return Interned<HostDocument>(document);
}

const char* HostClassName(void* hostObject) {
    if (!hostObject) return nullptr;
    KLT_HOST_ABI_BEGIN
    auto runtimeClass = reinterpret_cast<Member<const void*>>(Slot(hostObject, 0));
    KLT_HOST_ABI_END
    const void* record = runtimeClass(hostObject);
    return record ? *static_cast<const char* const*>(record) : nullptr;
}

void* RuntimeClassRecord(const host::RuntimeClass* cls) {
    if (!cls) return nullptr;
    ClassRecord* free = nullptr;
    for (ClassRecord& record : Pool()) {
        if (record.cls == cls) return &record.mfc;
        if (!record.cls && !free) free = &record;
    }
    if (!free) {
        ReportOnce("class pool", "more context classes than creation entries: the rest are not registered");
        return nullptr;
    }
    const int slot = static_cast<int>(free - Pool());
    free->cls = cls;
    free->mfc.className = cls->className;
    free->mfc.objectSize = static_cast<int>(sizeof(Facade));
    free->mfc.schema = 0xFFFF;  // not serialisable
    free->mfc.create = kCreateEntries[slot];
    free->mfc.baseClass = Resolve(Fn::ContextRuntimeClass) ? &BaseClassEntry : nullptr;
    free->mfc.next = nullptr;
    return &free->mfc;
}

void RaiseOnReturn(const char* text, int code) {
    if (g_entryDepth == 0) {
        // No 1C code called us: there is nobody to raise it to.
        platform::Report("run-time error outside a host call", text ? text : "");
        return;
    }
    if (g_raised.set) return;  // the first error of a call is the one the user sees
    g_raised.set = true;
    g_raised.code = code;
    std::snprintf(g_raised.text, sizeof g_raised.text, "%s", text ? text : "");
}

}  // namespace klt::hostabi
