// The copy's main loop: the retention window and the message pump.
#pragma once

// Creates the main window and pumps messages until the quit message; returns at once when
// the window cannot be created.
void RunMainLoop();
