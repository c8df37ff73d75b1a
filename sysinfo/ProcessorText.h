// The processor descriptions the machine identifiers are built from, read with CPUID once per process.
#pragma once

#include <string>

// Vendor text of leaf 0 with one known misspelt vendor corrected, ":" and the leaf 1 EDX value
// as 8 hexadecimal digits.
std::string ProcessorTextForMid();

// Vendor text, the leaf 1 EAX value in hexadecimal and the trimmed brand text, separated by commas.
std::string ProcessorTextForMid2();

// The vendor text as the identifiers use it: "GenuineIotel" becomes "GenuineIntel".
std::string FixedVendorText(const std::string& vendor);
