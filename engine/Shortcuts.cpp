#include "engine/Shortcuts.h"

// Shortcuts are not handled yet: there is nothing to restore.
bool RestoreShortcuts(const std::wstring&) { return false; }
