// Facts about the product read from its encrypted identity file next to the executable.
#pragma once

#include <string>

// Each query reads and decrypts the file again and falls back to the standard product's value on any problem.
// The overloads taking exePath read the identity file of that executable instead of the running one's.

// Publisher shown in the uninstall entry ("company").
std::wstring GetCompany();
std::wstring GetCompany(const std::wstring& exePath);

// File name of the product's main executable ("main_exe").
std::wstring GetMainExeName();
std::wstring GetMainExeName(const std::wstring& exePath);

// Display name of the product ("name").
std::wstring GetProductName();
std::wstring GetProductName(const std::wstring& exePath);

// PNG resource id of one of the image keys (product::kUninstallBgKey and its neighbours); 0 for another key.
int GetSkinImageId(const std::wstring& key);
int GetSkinImageId(const std::wstring& key, const std::wstring& exePath);

// Path of the identity file of the executable at exePath: the executable's path joined with "..\product".
std::wstring IdentityFilePath(const std::wstring& exePath);
