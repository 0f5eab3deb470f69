#pragma once
// The string resource 1C:Enterprise reads when ЗагрузитьВнешнююКомпоненту loads the DLL: the names
// of the objects to create, "Name1|Name2|...", each made a ProgID as "AddIn." + name. Without it
// the host falls back on the file's name, which an installer may have changed.
#define KLT_IDS_ADDIN_NAMES 100
#define KLT_ADDIN_NAMES "KLT_DRV"
