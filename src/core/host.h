#pragma once
// What the add-in requires of the 1C:Enterprise host. The real host is reached only through these
// interfaces; the emulated host in emulator/ implements them, and on Windows it hands them to the
// DLL through a bridge interface of our own. Both sides are built by the same compiler from these
// headers, which is what lets std::string and virtual calls cross the module boundary.
//
// Texts are CP1251 bytes throughout.
#include <cstdint>
#include <string>

#include "core/numeric.h"

namespace klt::host {

class Context;
class Module;

using WindowHandle = std::uintptr_t;

// The host's type descriptor (CType). Every context class of the add-in has type code 100.
struct TypeCode {
    int code = 0;
    friend bool operator==(TypeCode a, TypeCode b) { return a.code == b.code; }
};
inline constexpr TypeCode kAddInObjectType{100};

// A database-unique identifier (CObjID): a number from the metadata combined with the database's
// default signature.
struct ObjectId {
    std::int64_t number = 0;
    std::int32_t dbSign = 0;
    friend bool operator==(const ObjectId&, const ObjectId&) = default;
};

// The runtime class record of a context class: its class name and how to make a new instance.
struct RuntimeClass {
    const char* className;
    Context* (*create)();
};

enum class ValueKind { Empty, Number, String, Context };

// The host's variant (CValue). Holding a context holds a reference to it.
class Value {
  public:
    Value() = default;
    explicit Value(std::int32_t number) : kind_(ValueKind::Number), number_(number) {}
    explicit Value(Numeric number) : kind_(ValueKind::Number), number_(number) {}
    explicit Value(std::string text) : kind_(ValueKind::String), text_(std::move(text)) {}
    explicit Value(Context* context) { AssignContext(context); }
    Value(const Value& other);
    Value(Value&& other) noexcept;
    Value& operator=(const Value& other);
    Value& operator=(Value&& other) noexcept;
    ~Value();

    ValueKind kind() const { return kind_; }
    bool IsEmpty() const { return kind_ == ValueKind::Empty; }

    void Reset();
    void AssignInt(std::int32_t number);
    void AssignNumber(Numeric number);
    void AssignString(std::string text);
    void AssignContext(Context* context);

    // A text reads as its leading decimal number (no digits: 0), an empty value or a context as 0.
    Numeric GetNumeric() const;
    // The number truncated toward zero to a 32-bit signed integer.
    std::int32_t GetInt32() const { return GetNumeric().ToInt32(); }
    // A number reads as its decimal form, an empty value or a context as the empty text.
    std::string GetString() const;
    // "Число", "Строка", the context's own type string, or the empty text for an empty value.
    std::string GetTypeString() const;
    Context* GetContext() const { return kind_ == ValueKind::Context ? context_ : nullptr; }

    friend bool operator==(const Value& a, const Value& b);

  private:
    ValueKind kind_ = ValueKind::Empty;
    Numeric number_;
    std::string text_;
    Context* context_ = nullptr;
};

// The host's context base (CBLContext). The virtual operations stand in the order of the host's
// slot table (0 to 36); the defaults here are the base class's own behaviour.
class Context {
  public:
    Context() = default;
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    virtual const RuntimeClass* GetRuntimeClass() const = 0;  // 0
    virtual ~Context() = default;                             // 1
    virtual void Serialize() {}                               // 2
    virtual void AssertValid() const {}                       // 3
    virtual void Dump() const {}                              // 4
    virtual void IncrRef() { ++refs_; }                       // 5
    virtual void DecrRef() {                                  // 6
        if (--refs_ <= 0) delete this;
    }
    virtual int Query7() const { return 0; }                                                           // 7
    virtual int Query8() const { return 0; }                                                           // 8
    virtual TypeCode GetValueType() const { return {}; }                                               // 9
    virtual int GetTypeNumber() const { return 0; }                                                    // 10
    virtual ObjectId GetID() const { return {}; }                                                      // 11
    virtual int Query12() const { return 0; }                                                          // 12
    virtual int Query13() const { return 0; }                                                          // 13
    virtual int InitObject(const char* /*typeName*/) { return 0; }                                     // 14
    virtual int InitObject(TypeCode /*type*/) { return 0; }                                            // 15
    virtual int SelectByID(ObjectId /*id*/, long /*number*/) { return 0; }                             // 16
    virtual const char* GetTypeString() const { return ""; }                                           // 17
    virtual int GetNProps() const { return 0; }                                                        // 18
    virtual int FindProp(const char* /*name*/) const { return -1; }                                    // 19
    virtual const char* GetPropName(int /*number*/, int /*alias*/) const { return nullptr; }           // 20
    virtual int GetPropVal(int /*number*/, Value& /*value*/) const { return -1; }                      // 21
    virtual int SetPropVal(int /*number*/, const Value& /*value*/) { return -1; }                      // 22
    virtual int IsPropReadable(int /*number*/) const { return 0; }                                     // 23
    virtual int IsPropWritable(int /*number*/) const { return 0; }                                     // 24
    virtual int GetNMethods() const { return 0; }                                                      // 25
    virtual int FindMethod(const char* /*name*/) const { return -1; }                                  // 26
    virtual const char* GetMethodName(int /*number*/, int /*alias*/) const { return nullptr; }         // 27
    virtual int GetNParams(int /*number*/) const { return 0; }                                         // 28
    virtual int GetParamDefValue(int /*method*/, int /*param*/, Value* /*value*/) const { return 0; }  // 29
    virtual int HasRetVal(int /*number*/) const { return 0; }                                          // 30
    virtual int CallAsProc(int /*number*/, Value** /*args*/) { return 1; }                             // 31
    virtual int CallAsFunc(int /*number*/, Value& /*result*/, Value** /*args*/) { return 1; }          // 32
    virtual int Query33() const { return 0; }                                                          // 33
    virtual int GetClassWord(std::string& /*word*/) const { return 0; }                                // 34
    virtual void* GetInternalData() { return nullptr; }                                                // 35
    virtual int GetExactValue(Value& /*value*/) { return 0; }                                          // 36

    // Identifier of a loaded context (0 for a form's group context).
    virtual int GetLoadedID() const { return 0; }

  private:
    int refs_ = 0;
};

// A loaded 1C module (CBLModule).
class Module {
  public:
    // Index of a procedure or function, negative when absent.
    virtual int FindProc(const char* name, int flag) = 0;
    virtual int FindFunc(const char* name) = 0;
    // Nonzero when the call ran.
    virtual int CallAsProc(int index, int count, Value** args) = 0;
    virtual int CallAsFunc(int index, Value& result, int count, Value** args) = 0;
    // Index of a module variable, negative when absent; setting answers nonzero on success.
    virtual int FindStaticVar(const char* name) = 0;
    virtual int SetStaticVarValue(int index, const Value& value, int flag) = 0;

  protected:
    ~Module() = default;
};

// The metadata container of the default database (CMetaDataCont with CDataBase7's signature).
class MetaData {
  public:
    virtual std::int64_t GetNewID() = 0;
    virtual std::int32_t GetDefDBSign() = 0;
    // Full name of a metadata object ("Обработка.ЧекП"), from its metadata path.
    virtual std::string GetFullName(const std::string& metadataPath) = 0;

  protected:
    ~MetaData() = default;
};

// Forms and documents: the host's document (CGetDoc7) of a form, its frame window and its group
// context (a context of runtime class "CGroupContext" whose members include "CDocContext"s). Used
// by the host interception and the window management object; a host without forms answers with nulls.
class Document {
  public:
    virtual WindowHandle GetFrame() = 0;
    virtual Context* GetGroupContext() = 0;
    // Metadata path of the form's object, empty when it has none.
    virtual std::string GetMetadataPath() = 0;

    // The form's fields in the order of its field list (CGetFieldsArray::GetAt): how many there
    // are, the identifier of a field's control (its child window in the form's frame, -1 when the
    // field has none) and the control's title and formula (CGetField::GetCtrlInfo, then
    // CControlID::SetTitle / SetFormul). A host without field access answers 0 fields.
    virtual int FieldCount() { return 0; }
    virtual int FieldControlId(int /*index*/) { return -1; }
    virtual void SetFieldTitle(int /*index*/, const std::string& /*title*/) {}
    virtual void SetFieldFormula(int /*index*/, const std::string& /*formula*/) {}

  protected:
    ~Document() = default;
};

// The external-event interface of the host (IAsyncEvent). The host buffers events until it is idle
// and keeps only as many as the buffer's depth, 1 unless the add-in sets more; the rest are lost.
class EventSink {
  public:
    virtual void ExternalEvent(const std::string& source, const std::string& message,
                               const std::string& data) = 0;
    virtual void SetEventBufferDepth(long depth) = 0;

  protected:
    ~EventSink() = default;
};

// The host itself: loaded contexts and modules, class registration, run-time errors, the main frame.
class Host {
  public:
    // The default database's metadata container; null when the host has none.
    virtual MetaData* GetMetaData() = 0;

    // After registration 1C code can create the class by name; after unregistration no longer.
    virtual bool RegisterContextClass(const RuntimeClass* cls, const char* name, TypeCode type) = 0;
    virtual void UnRegisterContextClass(const RuntimeClass* cls) = 0;

    // 1 = the global context ("НазваниеНабораПрав", "Константа", "ЗавершитьРаботуСистемы"),
    // 5 offers "КаталогИБ"; null when the host has no such context.
    virtual Context* GetLoadedContext(int number) = 0;

    // Walk of the loaded modules: identifier 0 ends it.
    virtual int GetFirstLoadedModuleID() = 0;
    virtual int GetNextLoadedModuleID(int id) = 0;
    virtual Module* GetLoadedModule(int id) = 0;
    // The module that was running when the add-in was loaded (the configuration's global module).
    virtual Module* GetExecutedModule() = 0;

    // A run-time error in the calling 1C code. The host reports it when the add-in's entry returns.
    virtual void RaiseExtRuntimeError(const char* text, int code) = 0;

    virtual WindowHandle GetMainFrame() = 0;

    // The topmost document of a host dialog form window, or null.
    virtual Document* GetTopmostDocument(WindowHandle dialog) = 0;
    // The active document of a host form frame window, or null.
    virtual Document* GetActiveDocument(WindowHandle frame) = 0;
    // The document a form value's context belongs to, or null.
    virtual Document* GetFormDocument(Context* form) = 0;

    // The runtime class name of the host's own object for a window (its MFC runtime class), or
    // null when the host keeps no object for it.
    virtual const char* WindowClassOf(WindowHandle window) = 0;
    // Members of a group context (CGroupContext::GetSize, GetContext); 0 and null for anything else.
    virtual int GroupSize(Context* group) = 0;
    virtual Context* GroupMember(Context* group, int index) = 0;
    // CDocContext::SetEnableNewLine on a member of runtime class "CDocContext".
    virtual void SetEnableNewLine(Context* docContext, int enable) = 0;

    // The objects a patched host function receives, as this interface sees them: the address is
    // what the host passed (a CBLModule, a CBLContext).
    virtual Module* ModuleAt(void* address) = 0;
    virtual Context* ContextAt(void* address) = 0;

  protected:
    ~Host() = default;
};

}  // namespace klt::host
