// Removal of directory trees: with leftovers tracked for the restart-time clean-up, forced with
// restart-time deletion of what is in use, and the purge of one file extension. Links (junctions and
// symbolic links) inside a tree are removed as links and never entered.
#pragma once

#include "engine/FileDelete.h"

#include <functional>
#include <string>

// Called once per file of a tracked removal, whatever became of the file.
using FileProgress = std::function<void()>;

// True for a directory argument the tree operations accept: not empty and shorter than 260 characters.
bool IsAcceptedTreePath(const std::wstring& dir);

// Deletes every file below dir and then dir itself through DeleteFileOrQueue; survivors go to leftovers.
bool DeleteTreeTracked(const std::wstring& dir, LeftoverList& leftovers, const FileProgress& progress = nullptr);

// Deletes the tree now, scheduling whatever is in use (and dir itself when it stays) for the next start.
bool DeleteTreeForce(const std::wstring& dir);

// Deletes every file below dir whose extension (".tmp") matches ignoring case; what cannot go now
// is moved aside and scheduled for the next start.
bool PurgeExtension(const std::wstring& dir, const std::wstring& extension);
