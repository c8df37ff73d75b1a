// Path and file-system helpers over wide strings.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Joins a directory and a relative part with exactly one backslash between them.
std::wstring PathJoin(const std::wstring& dir, const std::wstring& rest);

// The directory part of a path (without the trailing backslash); empty when there is none.
std::wstring PathDirectory(const std::wstring& path);

// The text after the last backslash; the whole path when there is none.
std::wstring PathFileName(const std::wstring& path);

bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
bool PathExists(const std::wstring& path);

// Full path of a module's file (the running executable for nullptr).
std::wstring GetModulePath(HMODULE module = nullptr);
std::wstring GetModuleDirectory(HMODULE module = nullptr);

// The user's temporary directory without a trailing backslash, read into at most maxChars characters.
std::wstring GetTempDirectory(DWORD maxChars = MAX_PATH);

// Creates a directory with all missing parents; true when it exists afterwards.
bool CreateDirectoryTree(const std::wstring& path);

// Calls visit with the name and attributes of every entry of dir matching pattern, "." and ".." left out.
void ForEachDirectoryEntry(const std::wstring& dir, const std::function<void(const std::wstring&, DWORD)>& visit,
                           const wchar_t* pattern = L"*");
