#pragma once
// <windows.h> as the Win32 backend wants it: the portable headers name a method MessageBox, which
// the UNICODE macro of the same name would otherwise rename inside every file of this folder.
#include <windows.h>

#ifdef MessageBox
#undef MessageBox
#endif
