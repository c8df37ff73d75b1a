// Fresh GUID-named entries of a temporary directory.
#pragma once

#include <string>

// "{XXXXXXXX-XXXX-xxxx-XXXX-XXXXXXXXXXXX}" of a fresh GUID (third group lower case).
std::wstring FormatTempGuid();

// The first of up to 10 fresh names "<dir>\<guid>.tmp" that does not exist yet; empty when all exist.
std::wstring ChooseFreshTempPath(const std::wstring& dir);
