// The temporary work directory of the copy and its locked-down creation.
#pragma once

#include <string>

// The access rules of a work directory for the running user, in security descriptor text form:
// a protected DACL, inherited by everything created inside, that gives SYSTEM and Administrators
// full control and the user read and execute. Empty when the user's SID cannot be read.
std::wstring WorkDirSecurityText();

// Creates dir (with missing parents) so that SYSTEM and Administrators have full control and the
// user only read and execute; falls back to an ordinary directory, logged, when that cannot be applied,
// and logs when the file system did not keep the rules.
// True when the directory exists afterwards.
bool CreateSecuredWorkDirectory(const std::wstring& dir);

// True when dir is a work directory that a first launch made: named by a GUID ("{...}.tmp") and
// lying directly in the user's temporary directory.
bool IsFirstLaunchWorkDir(const std::wstring& dir);
