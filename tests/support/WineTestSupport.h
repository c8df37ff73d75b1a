// Helpers for tests that run the real programs under Wine: paths of the build, files, processes,
// the registry of a test installation, and the message boxes the programs show.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wintest {

// The folder of the built programs (build/bin), as a Windows path.
std::wstring BinDir();
std::wstring BinFile(const std::wstring& name);

// Deletes a directory tree of the test's own (no restart-time fallbacks).
void RemoveTree(const std::wstring& dir);

// A fresh empty directory under the temporary directory.
std::wstring MakeScratchDir(const std::wstring& name);

void WriteTextFile(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
void CopyOrFail(const std::wstring& from, const std::wstring& to);

// Relative paths of all files below dir, sorted.
std::vector<std::wstring> ListFilesBelow(const std::wstring& dir);

// Starts a command line as a child of this process; answers its exit code, or -1 when it could not
// be started or did not end within timeoutMs (it is then left running).
int RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 60000);

// Waits until no process whose executable lies below dir is running; false on time-out.
bool WaitForProcessesUnder(const std::wstring& dir, DWORD timeoutMs = 60000);

// Answers every message box that another process of this prefix shows, with "No" when it has that
// button, otherwise "OK", and records the texts it saw.
class DialogWatcher {
public:
    DialogWatcher();
    ~DialogWatcher();
    std::vector<std::wstring> Texts();

private:
    void Run();
    std::atomic<bool> stop_{false};
    std::mutex lock_;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

// The uninstaller's log file in the temporary directory.
std::wstring LogPath();
// The log as text (code page 936), with CR LF line ends as written.
std::wstring ReadLogText();

// The registry value the installer leaves: the installation directory in App Paths.
void SetInstallDirValue(const std::wstring& dir);
void DeleteInstallDirValue();
// The value as raw registry data, or empty; type receives its registry type.
std::wstring ReadInstallDirValueRaw(DWORD& type, DWORD& bytes);

// The paths that PendingFileRenameOperations deletes at the next restart (entries without a target),
// without the native "\??\" prefix.
std::vector<std::wstring> PendingDeletions();
// Whether a pending deletion names path (compared without regard to case).
bool IsScheduledForDeletion(const std::wstring& path);

}  // namespace wintest
