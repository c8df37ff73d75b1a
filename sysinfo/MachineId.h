// The machine identifiers sent with every report.
#pragma once

#include <windows.h>

bool GetMidW(wchar_t* buf, int capacity);
HRESULT GetMid2(wchar_t* buf, int capacity);
