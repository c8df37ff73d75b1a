#include "net/HttpModule.h"

// The library is not loaded yet: the program works offline.
bool LoadHttpModule() { return false; }
