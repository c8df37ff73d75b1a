// Helpers of the engine tests: the configuration the uninstaller ships, links made the way Wine
// shows a junction, the restart-time deletions, the demo product's installation and its journal.
#pragma once

#include "base/ScopedHandle.h"
#include "config/SetupConfig.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace enginetest {

// The project file and root list that the built Uninstall.exe carries, loaded as the program does.
std::unique_ptr<CSetupConfig> LoadShippedConfig();

// Makes link a symbolic link to the directory target. Wine shows such a link as a directory
// reparse point, as Windows shows a junction; made with the host's system call, since Wine 8 cannot
// create junctions itself. False when that is not possible.
bool MakeDirectoryLink(const std::wstring& link, const std::wstring& target);

// Maps a further drive letter of the prefix to dir, as Wine's drive configuration does.
bool MapDrive(wchar_t letter, const std::wstring& dir);

// Simulates a restart of Windows: pending deletions and RunOnce values are carried out.
void SimulateRestart();

// The demo product's components and its installer in the build.
std::wstring DemoFile(const std::wstring& name);
// Runs demo_install.exe for dir; true when it succeeded.
bool InstallDemoProduct(const std::wstring& dir);

// Points the demo components' journal at a fresh file in the temporary directory and answers its path.
std::wstring UseFreshJournal();
// The journal's lines without their line ends.
std::vector<std::wstring> ReadJournal();

// Starts a program with a command-line tail without waiting; the process handle, empty on failure.
UniqueHandle StartProgram(const std::wstring& path, const std::wstring& tail);

// Waits until the journal has a line that begins with prefix; false on time-out.
bool WaitForJournalLine(const std::wstring& prefix, DWORD timeoutMs = 10000);

bool IsRunning(const UniqueHandle& process);

}  // namespace enginetest
