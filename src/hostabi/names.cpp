#include "hostabi/names.h"

namespace klt::hostabi {

// Decorations: clang++ --target=i686-pc-windows-msvc on our own declarations of these members (see
// docs/host-abi.md for the declarations' sources). Ordinals: mfc42.dll as shipped with the host.
const FnName kFnNames[static_cast<int>(Fn::Count)] = {
    {Fn::TypeConstruct, "??0CType@@QAE@H@Z", 0},
    {Fn::TypeDestroy, "??1CType@@QAE@XZ", 0},
    {Fn::TypeCode, "?GetTypeCode@CType@@QBEHXZ", 0},
    {Fn::NumericFromLong, "??0CNumeric@@QAE@J@Z", 0},
    {Fn::NumericFromDouble, "??0CNumeric@@QAE@N@Z", 0},
    {Fn::NumericDestroy, "??1CNumeric@@QAE@XZ", 0},
    {Fn::NumericToLong, "??BCNumeric@@QBEJXZ", 0},
    {Fn::NumericGetDouble, "?GetDouble@CNumeric@@QBEOXZ", 0},
    {Fn::NumericFromString, "?FromString@CNumeric@@QAEAAV1@PBDPAPAD@Z", 0},
    {Fn::ObjIdConstruct, "??0CObjID@@QAE@JABVCDBSign@@@Z", 0},
    {Fn::DefDBSign, "?GetDefDBSign@CObjID@@SAABVCDBSign@@XZ", 0},
    {Fn::ValueConstruct, "??0CValue@@QAE@XZ", 0},
    {Fn::ValueCopy, "??0CValue@@QAE@ABV0@@Z", 0},
    {Fn::ValueDestroy, "??1CValue@@UAE@XZ", 0},
    {Fn::ValueAssign, "??4CValue@@QAEABV0@ABV0@@Z", 0},
    {Fn::ValueAssignLong, "??4CValue@@QAEABV0@J@Z", 0},
    {Fn::ValueAssignText, "??4CValue@@QAEABV0@PBD@Z", 0},
    {Fn::ValueAssignNumeric, "??4CValue@@QAEABV0@ABVCNumeric@@@Z", 0},
    {Fn::ValueAssignContext, "?AssignContext@CValue@@QAEHPAVCBLContext@@@Z", 0},
    {Fn::ValueGetContext, "?GetContext@CValue@@QBEPAVCBLContext@@XZ", 0},
    {Fn::ValueGetNumeric, "?GetNumeric@CValue@@QBEABVCNumeric@@XZ", 0},
    {Fn::ValueGetString, "?GetString@CValue@@QBEABVCString@@XZ", 0},
    {Fn::ValueTypeString, "?GetTypeString@CValue@@QBEPBDXZ", 0},
    {Fn::ValueReset, "?Reset@CValue@@QAEXXZ", 0},
    {Fn::ContextConstruct, "??0CBLContext@@QAE@H@Z", 0},
    {Fn::ContextDestroy, "??1CBLContext@@UAE@XZ", 0},
    {Fn::ContextIncrRef, "?IncrRef@CBLContext@@UAEXXZ", 0},
    {Fn::ContextDecrRef, "?DecrRef@CBLContext@@UAEXXZ", 0},
    {Fn::ContextInitObjectType, "?InitObject@CBLContext@@UAEXABVCType@@@Z", 0},
    {Fn::ContextInitObjectName, "?InitObject@CBLContext@@UAEXPBD@Z", 0},
    {Fn::ContextSelectByID, "?SelectByID@CBLContext@@UAEXVCObjID@@J@Z", 0},
    {Fn::ContextGetInternalData, "?GetInternalData@CBLContext@@UAEPAVCBLContextInternalData@@XZ", 0},
    {Fn::ContextGetExactValue, "?GetExactValue@CBLContext@@UAEXAAVCValue@@@Z", 0},
    {Fn::ContextRegisterClass, "?RegisterContextClass@CBLContext@@SAXPAUCRuntimeClass@@PBDABVCType@@@Z", 0},
    {Fn::ContextUnRegisterClass, "?UnRegisterContextClass@CBLContext@@SAXPAUCRuntimeClass@@@Z", 0},
    {Fn::ContextGetLoaded, "?GetLoadedContext@CBLContext@@SAPAV1@K@Z", 0},
    {Fn::ContextGetLoadedID, "?GetLoadedID@CBLContext@@QBEKXZ", 0},
    {Fn::ContextRuntimeClass, "?classCBLContext@CBLContext@@2UCRuntimeClass@@B", 0},
    {Fn::ModuleExecuted, "?GetExecutedModule@CBLModule@@SAPAV1@XZ", 0},
    {Fn::ModuleFirstLoadedID, "?GetFirstLoadedModuleID@CBLModule@@SAKXZ", 0},
    {Fn::ModuleNextLoadedID, "?GetNextLoadedModuleID@CBLModule@@SAKK@Z", 0},
    {Fn::ModuleGetLoaded, "?GetLoadedModule@CBLModule@@SAPAV1@K@Z", 0},
    {Fn::ModuleRaiseError, "?RaiseExtRuntimeError@CBLModule@@SAXPBDH@Z", 0},
    {Fn::ModuleFindFunc, "?FindFunc@CBLModule@@QBEHPBD@Z", 0},
    {Fn::ModuleFindProc, "?FindProc@CBLModule@@QBEHPBDH@Z", 0},
    {Fn::ModuleCallAsFunc, "?CallAsFunc@CBLModule@@QAEHHAAVCValue@@HPAPAV2@@Z", 0},
    {Fn::ModuleCallAsProc, "?CallAsProc@CBLModule@@QAEHHHPAPAVCValue@@@Z", 0},
    {Fn::ModuleFindStaticVar, "?FindStaticVar@CBLModule@@QBEHPBD@Z", 0},
    {Fn::ModuleSetStaticVar, "?SetStaticVarValue@CBLModule@@QAEHHABVCValue@@H@Z", 0},
    {Fn::DataBaseDefault, "?GetDefault@CDataBase7@@SAPAV1@XZ", 0},
    {Fn::DataBaseMetaData, "?GetMD@CDataBase7@@QBEPAVCMetaDataCont@@XZ", 0},
    {Fn::MetaDataNewID, "?GetNewID@CMetaDataCont@@QAEJXZ", 0},
    {Fn::TopmostDocument, "?GetTopmostDocunent@CGetDlg@@SAPAVCGetDoc7@@XZ", 0},
    {Fn::DocumentFrame, "?GetFrame@CGetDoc7@@QAEPAVCWnd@@XZ", 0},
    {Fn::DocumentGroupContext, "?GetGroupContext@CGetDoc7@@QAEPAVCGroupContext@@XZ", 0},
    {Fn::GroupSize, "?GetSize@CGroupContext@@QBEHXZ", 0},
    {Fn::GroupContextAt, "?GetContext@CGroupContext@@QBEPAVCBLContext@@H@Z", 0},
    {Fn::DocContextEnableNewLine, "?SetEnableNewLine@CDocContext@@QAEXH@Z", 0},
    {Fn::MainFrame, "?GetMainFrame@@YAPAVCMDIFrameWnd@@XZ", 0},
    {Fn::StringConstruct, nullptr, 540},
    {Fn::StringDestroy, nullptr, 800},
    {Fn::StringAssignText, nullptr, 860},
};

// The 1C:Enterprise 7.7 modules that export the classes above; which one holds which class does
// not matter, all loaded ones are searched.
const char* const kHostModules[] = {"blang.dll", "type32.dll", "bkend.dll",   "basic.dll",   "frame.dll",
                                    "seven.dll", "br32.dll",   "userdef.dll", "dbeng32.dll", "editr.dll",
                                    "moxel.dll", "txtedt.dll", "rgproc.dll"};
const int kHostModuleCount = static_cast<int>(sizeof kHostModules / sizeof kHostModules[0]);

}  // namespace klt::hostabi
