// Who may start a silent uninstall, and the parent-process query behind that decision.
#pragma once

#include <windows.h>

#include <string>

// Nonzero when the call is authorised: every non-silent call, and silent ones from the product's
// own channel started by a signed program (first launch) or with a valid call token (the copy).
BOOL CheckLegalCall();

// The parent process's id from the native process-information query; false when it cannot be asked.
bool QueryParentProcessId(DWORD& parentId);

// Full path of the parent process's executable (long form, at most 259 characters), or empty.
std::wstring GetParentProcessPath();

// The token the first launch hands to its silent copy after "/CHK=": the fixed word encrypted
// under this machine's identifier.
std::wstring MakeCallToken();
