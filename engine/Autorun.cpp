#include "engine/Autorun.h"

// Autorun is not handled yet: nothing is registered.
void RestoreAutorun(const std::wstring&) {}
