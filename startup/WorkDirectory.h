// The temporary work directory of the copy: its GUID name and its locked-down creation.
#pragma once

#include <string>

// "{XXXXXXXX-XXXX-xxxx-XXXX-XXXXXXXXXXXX}" of a fresh GUID (third group lower case), without ".tmp".
std::wstring FormatWorkDirGuid();

// The first of up to 10 fresh names "<temp>\<guid>.tmp" that does not exist yet; empty when all exist.
std::wstring ChooseWorkDirectory(const std::wstring& tempDir);

// The access rules of a work directory for the running user, in security descriptor text form:
// a protected DACL, inherited by everything created inside, that gives SYSTEM and Administrators
// full control and the user read and execute. Empty when the user's SID cannot be read.
std::wstring WorkDirSecurityText();

// Creates dir (with missing parents) so that SYSTEM and Administrators have full control and the
// user only read and execute; falls back to an ordinary directory, logged, when that cannot be applied,
// and logs when the file system did not keep the rules.
// True when the directory exists afterwards.
bool CreateSecuredWorkDirectory(const std::wstring& dir);
