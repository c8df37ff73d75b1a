#include "sysinfo/MachineId.h"

bool GetMidW(wchar_t*, int) { return false; }

HRESULT GetMid2(wchar_t*, int) { return E_FAIL; }
