// The first launch: prepares the temporary work directory and starts the copy that does the work.
#pragma once

#include <string>

// Copies the uninstaller and its libraries into a fresh work directory and starts the copy with
// the tail plus "/READYUNINSTALL". Nonzero when the copy was started, 0 on any failure.
int PrepareAndRelaunch(const wchar_t* tail);

// The parent's name from its path: the file name cut before its last dot; empty when the path is
// empty, has no backslash, or the file name has no dot.
std::wstring ParentNameFromPath(const std::wstring& path);

// The copy's command line: the tail, two spaces, "/READYUNINSTALL", and in silent runs two more
// spaces and "/CHK=" with the call token.
std::wstring BuildCopyCommandLine(const std::wstring& tail, bool silent, const std::wstring& token);
