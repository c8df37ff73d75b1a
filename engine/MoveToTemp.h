// Moving a file or directory that cannot be deleted out of the way, under a fresh name in a
// temporary folder of its own drive.
#pragma once

#include <string>

// The hidden folder "X:\.temp" of the drive whose letter starts path.
std::wstring HiddenTempFolderOf(const std::wstring& path);

// Moves path into the user's temporary folder (same drive as Windows) or into the drive's hidden
// ".temp" folder (created on demand), under "<GUID>.tmp"; true with newPath set when the source is gone.
// A junction or symbolic link is refused (false), so that nothing it points at is ever moved.
bool MoveToTemp(const std::wstring& path, std::wstring& newPath);
