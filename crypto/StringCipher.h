// The Blowfish string cipher: texts and byte strings encrypted with a key and carried as Base64 text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encrypts the UTF-8 form of plainText with the UTF-8 key into Base64 text; empty on failure.
std::wstring EncryptString(const std::wstring& plainText, const std::wstring& key);

// Decrypts Base64 text with the UTF-8 key and answers the UTF-8 text before the first zero byte; empty on failure.
std::wstring DecryptString(const std::wstring& cipherText, const std::wstring& key);

// Encrypts bytes zero-padded to whole blocks with the key bytes into Base64 text; false for empty bytes or key.
bool EncryptBytes(const std::vector<uint8_t>& bytes, const std::string& key, std::string& cipherText);

// Decrypts Base64 text with the key bytes into exactly the decoded count of bytes (padding kept); false on bad input.
bool DecryptBytes(const std::string& cipherText, const std::string& key, std::vector<uint8_t>& bytes);
