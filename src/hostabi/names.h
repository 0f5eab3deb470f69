#pragma once
// The host functions the binding calls, each by the decoration the vendor's compiler gives its
// declaration (32-bit MSVC), and MFC 4.2's CString members by their ordinals in mfc42.dll. Every one
// is looked up at run time in the host's modules already loaded in the process; a missing one is
// told once in the diagnostics and the feature that needs it answers empty.
#include <cstdint>

namespace klt::hostabi {

enum class Fn : int {
    // CType (12 bytes, no table of virtuals)
    TypeConstruct,  // CType::CType(int)
    TypeDestroy,
    TypeCode,  // int CType::GetTypeCode() const
    // CNumeric (44 bytes)
    NumericFromLong,
    NumericFromDouble,
    NumericDestroy,
    NumericToLong,     // operator long() const
    NumericGetDouble,  // long double GetDouble() const: 64-bit in this ABI, returned in ST0
    NumericFromString,
    // CObjID
    ObjIdConstruct,  // CObjID::CObjID(long, const CDBSign&)
    DefDBSign,       // static const CDBSign& CObjID::GetDefDBSign()
    // CValue (84 bytes, virtual destructor)
    ValueConstruct,
    ValueCopy,
    ValueDestroy,
    ValueAssign,
    ValueAssignLong,
    ValueAssignText,
    ValueAssignNumeric,
    ValueAssignContext,
    ValueGetContext,
    ValueGetNumeric,
    ValueGetString,
    ValueTypeString,
    ValueReset,
    // CBLContext
    ContextConstruct,  // CBLContext::CBLContext(int)
    ContextDestroy,
    ContextIncrRef,
    ContextDecrRef,
    ContextInitObjectType,
    ContextInitObjectName,
    ContextSelectByID,
    ContextGetInternalData,
    ContextGetExactValue,
    ContextRegisterClass,
    ContextUnRegisterClass,
    ContextGetLoaded,
    ContextGetLoadedID,
    ContextRuntimeClass,  // data: CBLContext::classCBLContext
    // CBLModule
    ModuleExecuted,
    ModuleFirstLoadedID,
    ModuleNextLoadedID,
    ModuleGetLoaded,
    ModuleRaiseError,
    ModuleFindFunc,
    ModuleFindProc,
    ModuleCallAsFunc,
    ModuleCallAsProc,
    ModuleFindStaticVar,
    ModuleSetStaticVar,
    // CDataBase7, CMetaDataCont
    DataBaseDefault,
    DataBaseMetaData,
    MetaDataNewID,
    // forms
    TopmostDocument,  // CGetDlg::GetTopmostDocunent (the host's own spelling)
    DocumentFrame,
    DocumentGroupContext,
    GroupSize,
    GroupContextAt,
    DocContextEnableNewLine,
    // frame module
    MainFrame,
    // mfc42.dll by ordinal
    StringConstruct,
    StringDestroy,
    StringAssignText,
    Count
};

struct FnName {
    Fn fn;
    const char* name;       // decorated export name; null for an MFC ordinal
    std::uint16_t ordinal;  // mfc42.dll ordinal, 0 for a named export
};

// Indexed by Fn.
extern const FnName kFnNames[static_cast<int>(Fn::Count)];

// The host's modules searched for named exports, in this order.
extern const char* const kHostModules[];
extern const int kHostModuleCount;
inline constexpr const char* kMfcModule = "mfc42.dll";

// The export whose presence in one of the host's modules (bkend.dll in 1C:Enterprise 7.7) says this
// process is the 1C host: the context base's constructor.
inline constexpr const char* kHostMarkerExport = "??0CBLContext@@QAE@H@Z";

}  // namespace klt::hostabi
