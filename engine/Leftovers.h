// The restart-time clean-up of everything the file steps could not delete: moved aside and scheduled
// for deletion at the next start of Windows, or, where Windows refuses, deleted by a RunOnce batch file.
#pragma once

#include "engine/FileDelete.h"

#include <string>

// Schedules every leftover (files first, then directories), the drive's hidden ".temp" folder, and
// the batch file when one was written; empties leftovers. False for an empty install directory.
bool ScheduleLeftovers(LeftoverList& leftovers, const std::wstring& installDir);
