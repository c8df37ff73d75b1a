// The demo product's installer: lays out a complete installation of the product in a Wine prefix (or
// on Windows) as the product's own installer would, from the demo components of a build.
#pragma once

#include <string>
#include <vector>

class DemoInstaller {
public:
    // One file of the installation and the demo component it is copied from.
    struct Component {
        const wchar_t* target;  // relative to the installation directory
        const wchar_t* source;  // file name in the source directory
    };
    // One value of the App Paths "file_pe" or "run_list" list.
    struct HookValue {
        const wchar_t* file;  // relative to the installation directory
        const wchar_t* data;
    };

    // sourceDir holds the demo components and "rootlist.txt"; the uninstaller, "7z.dll" and, when the
    // build has it, "NetKit.dll" are taken from its parent directory.
    DemoInstaller(std::wstring sourceDir, std::wstring installDir);

    // Every step below; false (with a line on standard error) when a file could not be laid out.
    bool Install();

    static const std::vector<Component>& Components();
    static const std::vector<HookValue>& FilePeValues();
    static const std::vector<HookValue>& RunListValues();
    // Files of the user's in the installation directory that the uninstall must leave alone.
    static const std::vector<const wchar_t*>& UserFiles();

private:
    bool CopyComponents();
    bool CopyUninstaller();
    bool WriteRootListPlaceholders();
    void WriteUserFiles();
    void WriteSettings();
    bool WriteRegistry();
    bool WriteUninstallEntry();
    bool WriteRunValues();
    bool CreateShortcuts();
    // The driver service "darovava" over the installation's "darovava.sys" (kernel driver, demand
    // start, not started). A real driver replaces the placeholder file when the build provides one.
    bool RegisterDriverService();

    bool Copy(const std::wstring& from, const std::wstring& relativeTarget);

    std::wstring sourceDir_;
    std::wstring installDir_;
    std::vector<std::wstring> installedFiles_;
};
