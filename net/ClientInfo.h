// The values that describe this installation in the requests: versions and the product id.
#pragma once

#include <string>

// HKEY_CURRENT_USER\Software\ZuduvAvodUzadi "pid", trimmed of white space; empty when missing.
std::wstring ReadProductId();
// The file version of the product's main executable in the installation directory; empty when unknown.
std::wstring MainExeVersionText();
// The file version of the running uninstaller; empty when unknown.
std::wstring OwnVersionText();
// "http://" + host + pathAndQuery.
std::wstring ServiceUrl(const wchar_t* host, const std::wstring& pathAndQuery);
// The GET address of one of the two configuration requests: the format filled with appver, modver and pid.
std::wstring VersionQueryUrl(const wchar_t* host, const wchar_t* pathFormat);
