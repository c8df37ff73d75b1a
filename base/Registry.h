// Reading and writing registry string values through owned keys.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/ScopedHandle.h"

// Opens an existing key; the result is empty when it cannot be opened.
UniqueHKey OpenRegKey(HKEY root, const std::wstring& subKey, REGSAM access);

// Reads a string value (REG_SZ or REG_EXPAND_SZ, unexpanded) into at most maxChars characters,
// including the terminator; longer data is cut. Empty optional when the key or value is missing.
std::optional<std::wstring> RegReadString(HKEY root, const std::wstring& subKey, const std::wstring& name,
                                          size_t maxChars = MAX_PATH, REGSAM view = 0);

// Writes a REG_SZ value whose byte count is the text's length times two, without the terminator.
bool RegWriteStringNoTerminator(HKEY root, const std::wstring& subKey, const std::wstring& name,
                                const std::wstring& value, REGSAM view = 0);

bool RegDeleteValueOf(HKEY root, const std::wstring& subKey, const std::wstring& name, REGSAM view = 0);
