// The "delete all files" step over the installation directory: counts what will go for the
// progress bar, then deletes the product's top-level entries and everything below them.
#pragma once

#include "config/SetupConfig.h"
#include "engine/DeleteTree.h"

#include <string>

// True when a top-level entry of the installation directory belongs to the product: listed in the
// root-dir list (by its lower-cased name) or signed by the maker. Logs the entries that are not.
bool IsProductEntry(const std::wstring& installDir, const std::wstring& name, IUninstallRootDirList& rootList);

// Adds to total the files below dir that the removal will visit; top-level entries of installDir
// outside the product are left out. Links are not entered.
bool CountListedFiles(const std::wstring& dir, int& total, const std::wstring& installDir,
                      IUninstallRootDirList& rootList);

// Deletes the product's entries of installDir (survivors to leftovers, progress once per file),
// sets filesTotal from the count first, and removes installDir when it is empty.
void DeleteInstallDir(const std::wstring& installDir, ISetupConfig& config, LeftoverList& leftovers, int& filesTotal,
                      const FileProgress& progress);
