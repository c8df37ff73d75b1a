// Calling the product's hook programs and DLL exports, each optionally after a signature check.
#pragma once

#include <string>

// Terminates a running copy of path, then starts it with commandLine (waiting up to waitMs when
// synchronous); logs the start and the result. Nothing happens when path does not exist.
void CallExe(const std::wstring& path, const std::wstring& commandLine, bool verify, bool synchronous, unsigned waitMs);

// Loads the DLL and calls its export with one wide-string argument (standard calling convention).
// With verify set, a DLL without the maker's signature is logged and not loaded.
void CallDllExport(const std::wstring& path, const char* exportName, const std::wstring& argument, bool verify);

// Loads the DLL and calls its export (parameter, output buffer, capacity) → int; a positive answer n asks
// for a second call with n + 1 characters of room. Answers the text the export wrote, empty on refusal.
std::wstring CallDllInterfaceEx(const wchar_t* path, const char* exportName, const std::wstring& parameter,
                                bool verify);
