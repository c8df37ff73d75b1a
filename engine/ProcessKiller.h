// Finding and terminating the product's processes by the path of their executable or of a module
// they have loaded.
#pragma once

#include <windows.h>

#include <string>

// Terminates every process running from below dir, except this process, its parent and the ignore
// list's programs; count (optional) receives how many were terminated. Always 0.
int KillMultiProcesses(const wchar_t* dir, int* count);

// Terminates every process whose executable is exactly path (ignoring case). Always 0.
int KillProcessByPath(const wchar_t* path);

// The executable path of a process (long form) into buffer; its length, 0 on failure.
int GetProcessImagePath(DWORD pid, wchar_t* buffer, int capacity);

// Enables the debug privilege of this process; true when the adjustment was made.
bool GetDebugPrivilege();

// True when the process has a module loaded whose file is modulePath (ignoring case).
bool ProcessHasModule(DWORD pid, const std::wstring& modulePath);

// Terminates every process that has the product's "Utils\Assist.dll" of installDir loaded.
void KillAssistProcesses(const std::wstring& installDir);

// True when an upper-cased image path lies below the upper-cased directory: the directory text is
// followed by a backslash, so that "C:\A\KELVOTOOLS\X.EXE" is not below "C:\A\KELVO".
bool IsBelowDirectory(const std::wstring& upperImage, const std::wstring& upperDir);
