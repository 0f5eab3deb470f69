// The stand-in host's own controls, beside the host's classes: what the test program sets before
// it starts the add-in and reads back after a call. Exported by name in plain C; the host has no
// such functions.
#pragma once
#include "host_classes.h"

struct StandinBkendCounters {
    int rightsNameCalls;     // global context, "НазваниеНабораПрав"
    int shutdownCalls;       // global context, "ЗавершитьРаботуСистемы"
    int constantReads;       // properties read from the constants context
    int ibDirectoryCalls;    // loaded context 5, "КаталогИБ"
    int contextsAlive;       // CBLContext objects constructed and not yet destroyed
    int initObjectByName;    // base InitObject(const char*)
    int initObjectByType;    // base InitObject(const CType&)
    int selectByID;          // base SelectByID
    long lastSelectedObjID;  // its identifier and number
    long lastSelectedNumber;
    int lastInitTypeCode;
};

extern "C" {
BKEND_API void StandinSetRightsName(const char* cp1251);
BKEND_API int StandinRegisteredCount();
BKEND_API CRuntimeClass* StandinRegisteredClass(const char* name);
BKEND_API void StandinGetBkendCounters(StandinBkendCounters* out);
BKEND_API void* StandinInternalDataMark();

// The last run-time error raised through CBLModule::RaiseExtRuntimeError; answers how many were
// raised since the last call and forgets them.
BLANG_API int StandinTakeRuntimeErrors(char* text, int size, int* code);
BLANG_API int StandinAssignContextCalls(CBLContext** last);

FRAME_API void* StandinCreateMainFrame(const char* title);
FRAME_API void StandinDestroyMainFrame();
FRAME_API int StandinSetIndicatorsCalls();
}
