// The one launcher of executables: optional signature check first, optional wait for the end.
#pragma once

#include <windows.h>

// Starts path with parameters through the shell ("open"). Refuses an empty, over-long (more than
// 260 characters) or missing path, and with verify set a file without the maker's signature.
// With wait set, waits up to waitMs; exitCode (optional) receives the exit code, STILL_ACTIVE on time-out.
// Answers whether the program was started (false with an exit-code out when the start failed).
bool RunProgram(const wchar_t* path, const wchar_t* parameters, int show, bool verify, bool wait,
                DWORD* exitCode, DWORD waitMs);
