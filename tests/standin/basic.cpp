// The stand-in's basic.dll: forms. No form is ever open here: there is no topmost document, and
// a document has neither frame nor contexts.
#define STANDIN_BUILD_BASIC
#include "host_classes.h"

CGetDoc7* CGetDlg::GetTopmostDocunent() {
    return nullptr;
}
CWnd* CGetDoc7::GetFrame() {
    return nullptr;
}
CGroupContext* CGetDoc7::GetGroupContext() {
    return nullptr;
}
// The stand-in's document contexts have no table part to add lines to.
void CDocContext::SetEnableNewLine(int) {}
