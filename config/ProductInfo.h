// Facts about the product read from its identity file next to the executable.
#pragma once

#include <string>

// File name of the product's main executable.
std::wstring GetMainExeName();
