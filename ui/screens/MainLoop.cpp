#include "ui/screens/MainLoop.h"

// The screens do not exist yet: no main window can be created, so there is nothing to pump.
void RunMainLoop() {}
