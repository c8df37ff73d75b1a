// Deleting single files and directories through the chain of fallbacks: delete, reset the attributes
// and delete again, remember the survivor, or leave it to the next start of Windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Paths that could not be deleted during the run, for the restart-time clean-up.
using LeftoverList = std::vector<std::wstring>;

// True for a path that is a junction or symbolic link (removed as a link, never entered).
bool IsReparsePoint(DWORD attributes);

// Deletes a path with the shell (silent, no dialogs, no recycle bin); always true. An empty directory
// goes without the shell; a directory whose tree holds a link is removed only when empty, so that the
// shell never enters the link's target.
bool ShellDelete(const std::wstring& path);

// Deletes a file (resetting read-only and the like on failure) or a directory tree; true when the
// path no longer exists, otherwise the path is appended to leftovers.
bool DeleteFileOrQueue(const std::wstring& path, LeftoverList& leftovers);
// The same for an entry whose attributes a directory enumeration already gave.
bool DeleteEntryOrQueue(const std::wstring& path, DWORD attributes, LeftoverList& leftovers);

// Deletes a file now, or schedules it for deletion at the next start of Windows; true when it is gone.
bool DeleteOrPending(const std::wstring& path);

// Asks Windows to delete path at the next start; true when accepted.
bool ScheduleDeleteAtRestart(const std::wstring& path);
