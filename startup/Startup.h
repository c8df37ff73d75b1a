// The program's run from entry to exit: the start-up order, the four kinds of run and the tear-down.
#pragma once

#include <windows.h>

// Runs the whole program for the given instance and command-line tail; always answers 0.
int RunUninstaller(HINSTANCE instance, const wchar_t* tail);
