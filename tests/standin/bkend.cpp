// The stand-in's bkend.dll: types, identifiers, values, the context base with its class registry,
// the loaded contexts 1 (global) and 5, and the default database's metadata.
#define STANDIN_BUILD_BKEND
#include "host_classes.h"
#include "standin.h"
#include "win.h"

namespace {

constexpr int kContextType = 100;
StandinBkendCounters g_counters;
char g_rightsName[64] = "\xc0\xe4\xec\xe8\xed\xe8\xf1\xf2\xf0\xe0\xf2\xee\xf0";  // Администратор
int g_internalData;

struct Registered {
    CRuntimeClass* cls;
    char name[64];
    int typeCode;
};
constexpr int kMaxRegistered = 64;
Registered g_registered[kMaxRegistered];
int g_registeredCount;

bool Same(const char* a, const char* b) {
    return a && b && _stricmp(a, b) == 0;
}

// A context answering a fixed set of methods and properties by name.
struct Member {
    const char* name;
    int params;
    int hasResult;
};

class TableContext : public CBLContext {
  public:
    TableContext(const char* type, const Member* methods, int nMethods, const char* const* props, int nProps)
        : CBLContext(0),
          type_(type),
          methods_(methods),
          nMethods_(nMethods),
          props_(props),
          nProps_(nProps) {}
    const char* GetTypeString() const override { return type_; }
    int GetNMethods() const override { return nMethods_; }
    int FindMethod(const char* name) const override {
        for (int i = 0; i < nMethods_; ++i)
            if (Same(name, methods_[i].name)) return i;
        return -1;
    }
    const char* GetMethodName(int n, int) const override {
        return n >= 0 && n < nMethods_ ? methods_[n].name : nullptr;
    }
    int GetNParams(int n) const override { return n >= 0 && n < nMethods_ ? methods_[n].params : 0; }
    int HasRetVal(int n) const override { return n >= 0 && n < nMethods_ ? methods_[n].hasResult : 0; }
    int GetNProps() const override { return nProps_; }
    int FindProp(const char* name) const override {
        for (int i = 0; i < nProps_; ++i)
            if (Same(name, props_[i])) return i;
        return -1;
    }
    const char* GetPropName(int n, int) const override { return n >= 0 && n < nProps_ ? props_[n] : nullptr; }
    int IsPropReadable(int n) const override { return n >= 0 && n < nProps_; }

  private:
    const char* type_;
    const Member* methods_;
    int nMethods_;
    const char* const* props_;
    int nProps_;
};

// Configuration constants as the front office reads them.
const char* const kConstantNames[] = {
    "\xc2\xfb\xe2\xee\xe4\xe8\xf2\xfc\xd6\xe5\xed\xf3",                          // ВыводитьЦену
    "\xce\xf2\xee\xe1\xf0\xe0\xe6\xe0\xf2\xfc\xca\xe0\xf0\xf2\xe8\xed\xea\xe8",  // ОтображатьКартинки
    "\xce\xf2\xee\xe1\xf0\xe0\xe6\xe0\xf2\xfc\xd2\xe5\xea\xf1\xf2",  // ОтображатьТекст
};
const long kConstantValues[] = {1, 0, 1};

class ConstantsContext : public TableContext {
  public:
    ConstantsContext() : TableContext("Constants", nullptr, 0, kConstantNames, 3) {}
    int GetPropVal(int n, CValue& value) const override {
        if (n < 0 || n >= 3) return 0;
        ++g_counters.constantReads;
        value = kConstantValues[n];
        return 1;
    }
};

const Member kGlobalMethods[] = {
    {"\xcd\xe0\xe7\xe2\xe0\xed\xe8\xe5\xcd\xe0\xe1\xee\xf0\xe0\xcf\xf0\xe0\xe2", 1, 1},  // НазваниеНабораПрав
    {"\xc7\xe0\xe2\xe5\xf0\xf8\xe8\xf2\xfc\xd0\xe0\xe1\xee\xf2\xf3\xd1\xe8\xf1\xf2\xe5\xec\xfb", 1,
     0},  // ЗавершитьРаботуСистемы
};
const char* const kGlobalProps[] = {"\xca\xee\xed\xf1\xf2\xe0\xed\xf2\xe0"};  // Константа

ConstantsContext* g_constants;

class GlobalContext : public TableContext {
  public:
    GlobalContext() : TableContext("Global", kGlobalMethods, 2, kGlobalProps, 1) {}
    int GetPropVal(int n, CValue& value) const override {
        if (n != 0) return 0;
        if (!g_constants) g_constants = new ConstantsContext;
        value.AssignContext(g_constants);
        return 1;
    }
    int CallAsFunc(int n, CValue& result, CValue**) override {
        if (n != 0) return 0;
        ++g_counters.rightsNameCalls;
        result = g_rightsName;
        return 1;
    }
    int CallAsProc(int n, CValue**) override {
        if (n != 1) return 0;
        ++g_counters.shutdownCalls;
        return 1;
    }
};

const Member kIbMethods[] = {{"\xca\xe0\xf2\xe0\xeb\xee\xe3\xc8\xc1", 0, 1}};  // КаталогИБ

class IbContext : public TableContext {
  public:
    IbContext() : TableContext("IB", kIbMethods, 1, nullptr, 0) {}
    int CallAsFunc(int n, CValue& result, CValue**) override {
        if (n != 0) return 0;
        ++g_counters.ibDirectoryCalls;
        char path[260];
        const unsigned long length = GetTempPathA(sizeof path, path);
        result = length > 0 && length < sizeof path ? path : "C:\\";
        return 1;
    }
};

GlobalContext* g_global;
IbContext* g_ib;

const CDBSign g_defaultSign = {{'S', 'B', '1', 0}};
CMetaDataCont g_metadata = {1000};
CDataBase7 g_database = {&g_metadata};

}  // namespace

// --- CType ---

CType::CType(int code) : m_length(0), m_mdid(0), type(static_cast<WORD>(code)), m_prec(0), m_flags(0) {}
CType::CType(const CType& o) = default;
CType::~CType() {}
CType& CType::operator=(const CType& o) = default;
int CType::GetTypeCode() const {
    return type;
}

// --- CObjID ---

CObjID::CObjID() : ObjID(0), DBSign{{0, 0, 0, 0}} {}
CObjID::CObjID(long id, const CDBSign& sign) : ObjID(id), DBSign(sign) {}
CObjID::CObjID(const CObjID& o) = default;
CObjID& CObjID::operator=(const CObjID& o) = default;
const CDBSign& CObjID::GetDefDBSign() {
    return g_defaultSign;
}

// --- CValue: type codes 0 empty, 1 number, 2 string, 100 context ---

CValue::CValue()
    : CType(0), m_Number(0L), m_String(), m_Date{0}, ValTypeID(0), m_Context(nullptr), m_ObjID() {}

CValue::CValue(const CValue& o) : CValue() {
    *this = o;
}

CValue::CValue(long v) : CValue() {
    *this = v;
}

CValue::CValue(const char* text) : CValue() {
    *this = text;
}

CValue::~CValue() {
    Reset();
}

int CValue::IsTypeSafe() const {
    return 1;
}

const CValue& CValue::operator=(const CValue& o) {
    if (this == &o) return *this;
    if (o.type == kContextType) {
        AssignContext(o.m_Context);
        return *this;
    }
    Reset();
    CType::operator=(o);
    m_Number = o.m_Number;
    m_String = o.m_String.m_pchData;
    return *this;
}

const CValue& CValue::operator=(const CNumeric& n) {
    Reset();
    type = 1;
    m_Number = n;
    return *this;
}

const CValue& CValue::operator=(long v) {
    return *this = CNumeric(v);
}

const CValue& CValue::operator=(const char* text) {
    Reset();
    type = 2;
    m_String = text ? text : "";
    return *this;
}

// The value holds a reference: the new context is counted before the old one is let go, so
// assigning a value its own context never frees it.
int CValue::AssignContext(CBLContext* context) {
    if (context) context->IncrRef();
    Reset();
    if (!context) return 0;
    type = kContextType;
    m_Context = context;
    return 1;
}

CBLContext* CValue::GetContext() const {
    return type == kContextType ? m_Context : nullptr;
}

const CNumeric& CValue::GetNumeric() const {
    return m_Number;
}

const CString& CValue::GetString() const {
    return m_String;
}

const char* CValue::GetTypeString() const {
    switch (type) {
        case 1:
            return "\xd7\xe8\xf1\xeb\xee";  // Число
        case 2:
            return "\xd1\xf2\xf0\xee\xea\xe0";  // Строка
        case 3:
            return "\xc4\xe0\xf2\xe0";  // Дата
        case kContextType:
            return m_Context ? m_Context->GetTypeString() : "";
        default:
            return "";
    }
}

void CValue::Reset() {
    CBLContext* held = type == kContextType ? m_Context : nullptr;
    m_Context = nullptr;
    type = 0;
    m_Number = 0L;
    m_String = "";
    if (held) held->DecrRef();
}

// --- CBLContext ---

const CRuntimeClass CBLContext::classCBLContext = {
    "CBLContext", sizeof(CBLContext), 0xFFFF, &CBLContext::CreateObject, &CBLContext::_GetBaseClass, nullptr};

CRuntimeClass* __stdcall CBLContext::_GetBaseClass() {
    return nullptr;
}
CRuntimeClass* CBLContext::GetRuntimeClass() const {
    return const_cast<CRuntimeClass*>(&classCBLContext);
}
CObject* __stdcall CBLContext::CreateObject() {
    return new CBLContext(1);
}

CBLContext::CBLContext(int autoDestroy) : m_RefCount(0), m_FlagAutoDestroy(autoDestroy) {
    ++g_counters.contextsAlive;
}
CBLContext::~CBLContext() {
    --g_counters.contextsAlive;
}

void CBLContext::IncrRef() {
    ++m_RefCount;
}
// The last reference gone, an object that destroys itself goes through its own deleting destructor.
void CBLContext::DecrRef() {
    if (--m_RefCount <= 0 && GetDestroyUnRefd()) delete this;
}
int CBLContext::GetDestroyUnRefd() const {
    return m_FlagAutoDestroy;
}
int CBLContext::IsOleContext() const {
    return 0;
}
CType CBLContext::GetValueType() const {
    return CType(kContextType);
}
long CBLContext::GetTypeID() const {
    return 0;
}
CObjID CBLContext::GetID() const {
    return CObjID();
}
const char* CBLContext::GetCode() const {
    return "";
}
int CBLContext::IsExactValue() const {
    return 0;
}
void CBLContext::InitObject(const CType& type) {
    ++g_counters.initObjectByType;
    g_counters.lastInitTypeCode = type.GetTypeCode();
}
void CBLContext::InitObject(const char*) {
    ++g_counters.initObjectByName;
}
void CBLContext::SelectByID(CObjID id, long number) {
    ++g_counters.selectByID;
    g_counters.lastSelectedObjID = id.ObjID;
    g_counters.lastSelectedNumber = number;
}
const char* CBLContext::GetTypeString() const {
    return "";
}
int CBLContext::GetNProps() const {
    return 0;
}
int CBLContext::FindProp(const char*) const {
    return -1;
}
const char* CBLContext::GetPropName(int, int) const {
    return nullptr;
}
int CBLContext::GetPropVal(int, CValue&) const {
    return 0;
}
int CBLContext::SetPropVal(int, const CValue&) {
    return 0;
}
int CBLContext::IsPropReadable(int) const {
    return 0;
}
int CBLContext::IsPropWritable(int) const {
    return 0;
}
int CBLContext::GetNMethods() const {
    return 0;
}
int CBLContext::FindMethod(const char*) const {
    return -1;
}
const char* CBLContext::GetMethodName(int, int) const {
    return nullptr;
}
int CBLContext::GetNParams(int) const {
    return 0;
}
int CBLContext::GetParamDefValue(int, int, CValue*) const {
    return 0;
}
int CBLContext::HasRetVal(int) const {
    return 0;
}
int CBLContext::CallAsProc(int, CValue**) {
    return 0;
}
int CBLContext::CallAsFunc(int, CValue&, CValue**) {
    return 0;
}
int CBLContext::IsSerializable() {
    return 0;
}
int CBLContext::SaveToString(CString&) {
    return 0;
}
CBLContextInternalData* CBLContext::GetInternalData() {
    return reinterpret_cast<CBLContextInternalData*>(&g_internalData);
}
// The exact value of a context is the context itself.
void CBLContext::GetExactValue(CValue& value) {
    value.AssignContext(this);
}

void CBLContext::RegisterContextClass(CRuntimeClass* cls, const char* name, const CType& type) {
    if (!cls || !name) return;
    int slot = 0;
    while (slot < g_registeredCount && !Same(g_registered[slot].name, name)) ++slot;
    if (slot == g_registeredCount) {
        if (g_registeredCount == kMaxRegistered) return;
        ++g_registeredCount;
    }
    g_registered[slot].cls = cls;
    strncpy(g_registered[slot].name, name, sizeof g_registered[slot].name - 1);
    g_registered[slot].typeCode = type.GetTypeCode();
}

void CBLContext::UnRegisterContextClass(CRuntimeClass* cls) {
    int kept = 0;
    for (int i = 0; i < g_registeredCount; ++i)
        if (g_registered[i].cls != cls) g_registered[kept++] = g_registered[i];
    g_registeredCount = kept;
}

CBLContext* CBLContext::GetLoadedContext(unsigned long id) {
    if (id == 1) {
        if (!g_global) g_global = new GlobalContext;
        return g_global;
    }
    if (id == 5) {
        if (!g_ib) g_ib = new IbContext;
        return g_ib;
    }
    return nullptr;
}

unsigned long CBLContext::GetLoadedID() const {
    if (this == g_global) return 1;
    if (this == g_ib) return 5;
    return 0;
}

// --- a form's contexts ---

int CGroupContext::GetSize() const {
    return m_ContextArray.m_nSize;
}
CBLContext* CGroupContext::GetContext(int i) const {
    return i >= 0 && i < m_ContextArray.m_nSize ? static_cast<CBLContext*>(m_ContextArray.m_pData[i])
                                                : nullptr;
}

// --- the default database ---

CDataBase7* CDataBase7::GetDefault() {
    return &g_database;
}
CMetaDataCont* CDataBase7::GetMD() const {
    return m_md;
}
long CMetaDataCont::GetNewID() {
    return ++m_lastID;
}

// --- controls of the test program ---

void StandinSetRightsName(const char* name) {
    strncpy(g_rightsName, name, sizeof g_rightsName - 1);
}
int StandinRegisteredCount() {
    return g_registeredCount;
}
CRuntimeClass* StandinRegisteredClass(const char* name) {
    for (int i = 0; i < g_registeredCount; ++i)
        if (strcmp(g_registered[i].name, name) == 0 && g_registered[i].typeCode == kContextType)
            return g_registered[i].cls;
    return nullptr;
}
void StandinGetBkendCounters(StandinBkendCounters* out) {
    *out = g_counters;
}
void* StandinInternalDataMark() {
    return &g_internalData;
}
