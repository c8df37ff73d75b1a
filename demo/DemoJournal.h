// The demo product's call journal: every program start and every hook call of a demo component
// appends one line, so that tests can see what was called, with what, and in which order.
//
// File: the path in the environment variable KELVO_DEMO_JOURNAL, or else
// "<common application data>\KelvoDemo\journal.txt" (outside the installation, so that it survives
// the uninstall; the service and programs started by others find it without the variable).
// Line: UTF-8, "<component file name>\t<entry>\t<argument text>\r\n", where entry is "main" for a
// program start (argument: its command-line tail), "close" or "broadcast" for a window message the
// main program received, and the export name for a DLL call (argument: the wide-string argument; the
// three-argument "Uninst" adds " capacity=<n>").
#pragma once

#include <windows.h>

#include <string>

// The journal file's path as described above.
std::wstring DemoJournalPath();

// Appends one line; concurrent writers from several processes are serialised.
void AppendJournal(const std::wstring& component, const std::wstring& entry, const std::wstring& argument);

// The file name of a module of this process (the executable for nullptr).
std::wstring ModuleFileName(HMODULE module);
