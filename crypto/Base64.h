// Base64 text form of bytes (RFC 4648 alphabet, "=" padding, no line breaks) with a strict decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Encodes length bytes into padded Base64 text.
std::string Base64Encode(const uint8_t* data, size_t length);

// Decodes strict Base64 (whole quartets, alphabet only, "=" only as the last one or two); false on anything else.
bool Base64Decode(const char* text, size_t length, std::vector<uint8_t>& bytes);
