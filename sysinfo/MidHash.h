// The hash that checks and derives the machine identifier: MD5 whose finishing step runs twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kMidHashChars = 32;
constexpr size_t kMidHashInputLimit = 259;

// MD5 state fed incrementally; the byte count decides where the next byte goes in the block.
struct Md5Context {
    uint32_t state[4];
    uint64_t byteCount;
    uint8_t block[64];
};

void Md5Init(Md5Context& context);
void Md5Update(Md5Context& context, const uint8_t* data, size_t length);

// Pads to 56 modulo 64 through the normal update, writes the bit count noted before the padding
// into the last 8 bytes and compresses that block without counting those bytes. Running it again
// on the same context is what the machine identifier's hash does.
void Md5Finish(Md5Context& context);

// The 16-byte state as 32 lower-case hexadecimal characters.
std::string Md5StateHex(const Md5Context& context);

// MD5 of at most the first 259 bytes of text, finished twice, as lower-case hexadecimal.
std::string MidHash(const std::string& text);
