// The stand-in's blang.dll: the module statics. No configuration modules are loaded here, so the
// module walk is empty; a run-time error is kept for the test program to read after the call.
#define STANDIN_BUILD_BLANG
#include "host_classes.h"
#include "standin.h"
#include "win.h"

namespace {
char g_errorText[512];
int g_errorCode;
int g_errorCount;
volatile int g_assignContextCalls;
CBLContext* volatile g_assignedContext;
}  // namespace

CBLModule::~CBLModule() {}

CBLModule* CBLModule::GetExecutedModule() {
    return nullptr;
}
unsigned long CBLModule::GetFirstLoadedModuleID() {
    return 0;
}
unsigned long CBLModule::GetNextLoadedModuleID(unsigned long) {
    return 0;
}
CBLModule* CBLModule::GetLoadedModule(unsigned long) {
    return nullptr;
}

void CBLModule::RaiseExtRuntimeError(const char* text, int code) {
    strncpy(g_errorText, text ? text : "", sizeof g_errorText - 1);
    g_errorCode = code;
    ++g_errorCount;
}

// The add-in overwrites the first six bytes of this function with a jump and puts them back to
// run it: the body must be longer than that, and it is, with two stores to memory.
void CBLModule::AssignContext(CBLContext* context) {
    g_assignedContext = context;
    g_assignContextCalls = g_assignContextCalls + 1;
}

int CBLModule::FindFunc(const char*) const {
    return -1;
}
int CBLModule::FindProc(const char*, int) const {
    return -1;
}
int CBLModule::CallAsFunc(int, CValue&, int, CValue**) {
    return 0;
}
int CBLModule::CallAsProc(int, int, CValue**) {
    return 0;
}
int CBLModule::FindStaticVar(const char*) const {
    return -1;
}
int CBLModule::SetStaticVarValue(int, const CValue&, int) {
    return 0;
}

int StandinTakeRuntimeErrors(char* text, int size, int* code) {
    const int count = g_errorCount;
    if (text && size > 0) {
        strncpy(text, g_errorText, size - 1);
        text[size - 1] = 0;
    }
    if (code) *code = g_errorCode;
    g_errorCount = 0;
    g_errorText[0] = 0;
    g_errorCode = 0;
    return count;
}

int StandinAssignContextCalls(CBLContext** last) {
    if (last) *last = g_assignedContext;
    return g_assignContextCalls;
}
