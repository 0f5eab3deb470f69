// The 1C:Enterprise 7.7 host's exported classes as this project relies on them, declared by us
// for the stand-in host: compiled with clang for the i686 MSVC ABI, these declarations give the
// same layouts, virtual slot order and decorated names as the host's own modules. Sources of each
// fact, and how sure we are of it, are listed in docs/host-abi.md.
//
// Module of each class (one macro per stand-in module; a module's own sources define its macro
// to export, everyone else imports):
//   bkend.dll  CType, CDBSign, CObjID, CValue, CBLContext, CDataBase7, CMetaDataCont
//   type32.dll CNumeric
//   blang.dll  CBLModule
//   frame.dll  GetMainFrame, SECStatusBar
//   basic.dll  CGetDlg (the topmost form)
//   mfc42.dll  CString, by ordinal only
#pragma once

#define STANDIN_EXPORT __attribute__((dllexport))
#define STANDIN_IMPORT __attribute__((dllimport))

#ifdef STANDIN_BUILD_BKEND
#define BKEND_API STANDIN_EXPORT
#else
#define BKEND_API STANDIN_IMPORT
#endif
#ifdef STANDIN_BUILD_TYPE32
#define TYPE32_API STANDIN_EXPORT
#else
#define TYPE32_API STANDIN_IMPORT
#endif
#ifdef STANDIN_BUILD_BLANG
#define BLANG_API STANDIN_EXPORT
#else
#define BLANG_API STANDIN_IMPORT
#endif
#ifdef STANDIN_BUILD_FRAME
#define FRAME_API STANDIN_EXPORT
#else
#define FRAME_API STANDIN_IMPORT
#endif
#ifdef STANDIN_BUILD_BASIC
#define BASIC_API STANDIN_EXPORT
#else
#define BASIC_API STANDIN_IMPORT
#endif
#ifdef STANDIN_BUILD_MFC
#define MFC_API  // exported by ordinal only, through mfc42.def
#else
#define MFC_API STANDIN_IMPORT
#endif

typedef unsigned long DWORD;
typedef unsigned short WORD;
typedef unsigned char BYTE;
typedef unsigned int UINT;

class CObject;
class CArchive;
class CDumpContext;
class CValue;
class CBLContext;
class CBLContextInternalData;
class CMetaDataCont;

// MFC 4.2 (_AFXDLL) runtime class record; the create function is __stdcall (PASCAL).
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject*(__stdcall* m_pfnCreateObject)();
    CRuntimeClass*(__stdcall* m_pfnGetBaseClass)();
    CRuntimeClass* m_pNextClass;
};

// MFC's root: a table pointer and nothing else. Its five virtuals come first in every table
// (AssertValid and Dump exist in the _AFXDLL build). Bodies are the stand-in's, inline.
class CObject {
  public:
    virtual CRuntimeClass* GetRuntimeClass() const { return nullptr; }
    virtual ~CObject() {}
    virtual void Serialize(CArchive&) {}
    virtual void AssertValid() const {}
    virtual void Dump(CDumpContext&) const {}
};

// MFC 4.2 CPtrArray: 20 bytes with its table pointer.
class CPtrArray : public CObject {
  public:
    void** m_pData = nullptr;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};

// MFC 4.2 CString: one pointer to the text; a CStringData header {nRefs, nDataLength,
// nAllocLength} stands right before it. mfc42.dll exports these by ordinal only:
// 540 CString(), 537 CString(const char*), 535 CString(const CString&), 800 ~CString(),
// 860 operator=(const char*).
class MFC_API CString {
  public:
    CString();
    CString(const char*);
    CString(const CString&);
    ~CString();
    const CString& operator=(const char*);
    char* m_pchData;
};

// A date as the host stores it inside a value (not called by the add-in).
class CDate {
  public:
    DWORD m_DateNum;
};

// type32.dll
class TYPE32_API CNumeric {
  public:
    CNumeric();
    CNumeric(long);
    CNumeric(double);
    CNumeric(const CNumeric&);
    ~CNumeric();
    CNumeric& operator=(const CNumeric&);
    CNumeric& operator=(long);
    operator long() const;
    long double GetDouble() const;
    CNumeric& FromString(const char*, char**);

  protected:
    int m_0;
    int m_nBufferLen;
    int m_nUsedLen;
    int m_nScaleLen;
    short m_Sign;
    int m_ScaleFactor;
    UINT* m_pBuffer;
    UINT m_Buffer[4];
};

// bkend.dll
class BKEND_API CType {
  public:
    CType(int);
    CType(const CType&);
    ~CType();
    CType& operator=(const CType&);
    int GetTypeCode() const;

    DWORD m_length;
    DWORD m_mdid;
    WORD type;
    BYTE m_prec;
    BYTE m_flags;
};

class BKEND_API CDBSign {
  public:
    char Sign[4];
};

class BKEND_API CObjID {
  public:
    CObjID();
    CObjID(long, const CDBSign&);
    CObjID(const CObjID&);
    CObjID& operator=(const CObjID&);
    static const CDBSign& GetDefDBSign();

    long ObjID;
    CDBSign DBSign;
};

// Type codes (CType::GetTypeCode): 0 empty, 1 number, 2 string, 3 date, 100 a context.
class BKEND_API CValue : public CType {
  public:
    CValue();
    CValue(const CValue&);
    CValue(long);
    CValue(const char*);
    const CValue& operator=(const CValue&);
    const CValue& operator=(const CNumeric&);
    const CValue& operator=(long);
    const CValue& operator=(const char*);
    int AssignContext(CBLContext*);
    CBLContext* GetContext() const;
    const CNumeric& GetNumeric() const;
    const CString& GetString() const;
    const char* GetTypeString() const;
    void Reset();

  protected:
    virtual int IsTypeSafe() const;

  public:
    virtual ~CValue();

    CNumeric m_Number;
    CString m_String;
    CDate m_Date;
    long ValTypeID;
    CBLContext* m_Context;
    CObjID m_ObjID;
};

// The host's context base: 0x20 bytes, 37 virtual slots (5 of CObject, 32 of its own).
class BKEND_API CBLContext : public CObject {
  protected:
    static CRuntimeClass* __stdcall _GetBaseClass();

  public:
    static const CRuntimeClass classCBLContext;
    CRuntimeClass* GetRuntimeClass() const override;
    static CObject* __stdcall CreateObject();

    CBLContext(int = 1);
    ~CBLContext() override;

    virtual void IncrRef();
    virtual void DecrRef();
    virtual int GetDestroyUnRefd() const;
    virtual int IsOleContext() const;
    virtual CType GetValueType() const;
    virtual long GetTypeID() const;
    virtual CObjID GetID() const;
    virtual const char* GetCode() const;
    virtual int IsExactValue() const;
    // Overloads sit in the table in reverse order of declaration: this order puts
    // InitObject(const char*) at slot 14 and InitObject(const CType&) at slot 15.
    virtual void InitObject(const CType&);
    virtual void InitObject(const char*);
    virtual void SelectByID(CObjID, long);
    virtual const char* GetTypeString() const;
    virtual int GetNProps() const;
    virtual int FindProp(const char*) const;
    virtual const char* GetPropName(int, int) const;
    virtual int GetPropVal(int, CValue&) const;
    virtual int SetPropVal(int, const CValue&);
    virtual int IsPropReadable(int) const;
    virtual int IsPropWritable(int) const;
    virtual int GetNMethods() const;
    virtual int FindMethod(const char*) const;
    virtual const char* GetMethodName(int, int) const;
    virtual int GetNParams(int) const;
    virtual int GetParamDefValue(int, int, CValue*) const;
    virtual int HasRetVal(int) const;
    virtual int CallAsProc(int, CValue**);
    virtual int CallAsFunc(int, CValue&, CValue**);
    virtual int IsSerializable();
    virtual int SaveToString(CString&);
    virtual CBLContextInternalData* GetInternalData();
    virtual void GetExactValue(CValue&);

    static void RegisterContextClass(CRuntimeClass*, const char*, const CType&);
    static void UnRegisterContextClass(CRuntimeClass*);
    static CBLContext* GetLoadedContext(unsigned long);
    unsigned long GetLoadedID() const;

    int m_RefCount;
    int m_FlagAutoDestroy;
    CPtrArray m_Array;
};

// A form's contexts (0x48 bytes in the host); the stand-in never opens a form, so never makes one.
class BKEND_API CGroupContext : public CBLContext {
  public:
    int GetSize() const;
    CBLContext* GetContext(int) const;

    CPtrArray m_ContextArray;
    DWORD m_nPropsCount;
    DWORD m_nMethodsCount;
    DWORD m_dwGroupContext3;
    DWORD m_dwGroupContext4;
    CString m_strTypeString;
};

class BKEND_API CMetaDataCont {
  public:
    long GetNewID();

    long m_lastID;
};

class BKEND_API CDataBase7 {
  public:
    static CDataBase7* GetDefault();
    CMetaDataCont* GetMD() const;

    CMetaDataCont* m_md;
};

// blang.dll: a table pointer and the internals pointer.
class BLANG_API CBLModule {
  public:
    virtual ~CBLModule();

    static CBLModule* GetExecutedModule();
    static unsigned long GetFirstLoadedModuleID();
    static unsigned long GetNextLoadedModuleID(unsigned long);
    static CBLModule* GetLoadedModule(unsigned long);
    static void RaiseExtRuntimeError(const char*, int);

    void AssignContext(CBLContext*);
    int FindFunc(const char*) const;
    int FindProc(const char*, int) const;
    int CallAsFunc(int, CValue&, int, CValue**);
    int CallAsProc(int, int, CValue**);
    int FindStaticVar(const char*) const;
    int SetStaticVarValue(int, const CValue&, int);

    void* pIntInfo;
};

// frame.dll. CWnd is MFC's; the stand-in's main frame keeps the window handle where MFC 4.2's
// CWnd keeps m_hWnd in the shared-library build, at +0x20 (after CCmdTarget's table pointer, six
// words and its module state).
class CMDIFrameWnd;
FRAME_API CMDIFrameWnd* GetMainFrame();

class FRAME_API SECStatusBar {
  public:
    int SetIndicators(const UINT*, int);
};

// basic.dll: forms. Only the functions the add-in calls; no form is ever open in the stand-in.
class CWnd;
class BASIC_API CGetDoc7 {
  public:
    CWnd* GetFrame();
    CGroupContext* GetGroupContext();
};

class BASIC_API CGetDlg {
  public:
    static CGetDoc7* GetTopmostDocunent();
};

class BASIC_API CDocContext : public CBLContext {
  public:
    void SetEnableNewLine(int);
};
