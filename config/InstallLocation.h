// The installation directory as the product's installer registered it.
#pragma once

#include <optional>
#include <string>

// The App Paths value "path" (at most 260 characters), or nothing when it cannot be read.
std::optional<std::wstring> ReadInstallDirValue();

// The registered installation directory when it can be read and exists.
std::optional<std::wstring> ReadExistingInstallDir();
