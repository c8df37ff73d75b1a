// SHA-1 message digest (FIPS 180), fed incrementally through a context.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kSha1BlockSize = 64;
constexpr size_t kSha1DigestSize = 20;

struct Sha1Context {
    uint32_t state[5];
    uint32_t bitCount[2];  // low, high
    uint8_t buffer[kSha1BlockSize];
    uint32_t buffered;
};

// Sets the standard chaining values and clears everything after them; answers 1.
int Sha1Init(Sha1Context& context);

// Hashes length more bytes of the message; answers 1.
int Sha1Update(Sha1Context& context, const uint8_t* data, size_t length);

// Pads, hashes the length, writes the 20-byte big-endian digest and wipes the block buffer; answers 1.
int Sha1Final(uint8_t digest[kSha1DigestSize], Sha1Context& context);
