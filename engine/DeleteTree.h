// Removal of a whole directory tree, with restart-time deletion of what is in use.
#pragma once

#include <string>

// Deletes every file and directory below dir and dir itself; whatever cannot be deleted now
// is scheduled for deletion at the next start of Windows.
void DeleteTreeForce(const std::wstring& dir);
