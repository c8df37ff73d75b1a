// Authenticode checks of the product's files against the maker's signer name.
#pragma once

#include <string>

// True when the file carries a valid signature whose leaf certificate names the maker
// (an untrusted root and an expired certificate are accepted).
bool VerifyMakerSignature(const wchar_t* path);

// True when the file's signature chains to a trusted root (expired accepted) and its leaf names signerName;
// a null signerName answers true without checking.
bool VerifySignerName(const wchar_t* path, const wchar_t* signerName);

// The maker's signer name compiled into the program.
const wchar_t* MakerSignerName();
