// The stand-in's basic.dll: no form is ever open here, so there is no topmost document.
#define STANDIN_BUILD_BASIC
#include "host_classes.h"

CGetDoc7* CGetDlg::GetTopmostDocunent() {
    return nullptr;
}
