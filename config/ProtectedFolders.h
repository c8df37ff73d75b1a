// Folders that are never a product's installation directory: removing "everything in the
// installation directory" there would wreck the system or the user's data.
#pragma once

#include <string>

// True for a drive or share root, the Windows folder or anything below it, a Program Files or
// ProgramData root, the Users root and any user profile root (compared without regard to case,
// after making the path full and long).
bool IsProtectedFolder(const std::wstring& dir);
