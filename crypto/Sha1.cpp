#include "crypto/Sha1.h"
#include "crypto/ByteOrder.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kInitialState[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
constexpr uint32_t kRoundConstants[4] = {0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC, 0xCA62C1D6};
constexpr size_t kLengthOffset = kSha1BlockSize - 8;
constexpr uint8_t kPaddingMark = 0x80;

uint32_t RotateLeft(uint32_t value, int bits)
{
    return (value << bits) | (value >> (32 - bits));
}

uint32_t RoundFunction(int round, uint32_t b, uint32_t c, uint32_t d)
{
    switch (round / 20) {
    case 0:
        return (b & c) | (~b & d);
    case 2:
        return (b & c) | (b & d) | (c & d);
    default:
        return b ^ c ^ d;
    }
}

void Transform(uint32_t state[5], const uint8_t* block)
{
    uint32_t w[80];
    for (int i = 0; i < 16; ++i) {
        w[i] = ReadBigEndian(block + 4 * i);
    }
    for (int i = 16; i < 80; ++i) {
        w[i] = RotateLeft(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    }
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    for (int i = 0; i < 80; ++i) {
        const uint32_t next = RotateLeft(a, 5) + RoundFunction(i, b, c, d) + e + w[i] + kRoundConstants[i / 20];
        e = d;
        d = c;
        c = RotateLeft(b, 30);
        b = a;
        a = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
}

void AddToBitCount(Sha1Context& context, size_t length)
{
    const uint64_t bits = static_cast<uint64_t>(length) * 8;
    const uint32_t low = context.bitCount[0] + static_cast<uint32_t>(bits);
    const uint32_t carry = low < context.bitCount[0] ? 1 : 0;
    context.bitCount[0] = low;
    context.bitCount[1] += static_cast<uint32_t>(bits >> 32) + carry;
}

}  // namespace

int Sha1Init(Sha1Context& context)
{
    std::memcpy(context.state, kInitialState, sizeof(kInitialState));
    std::memset(context.bitCount, 0, sizeof(context.bitCount));
    std::memset(context.buffer, 0, sizeof(context.buffer));
    context.buffered = 0;
    return 1;
}

int Sha1Update(Sha1Context& context, const uint8_t* data, size_t length)
{
    if (length == 0) {
        return 1;
    }
    AddToBitCount(context, length);
    if (context.buffered > 0) {
        const size_t take = std::min(length, kSha1BlockSize - context.buffered);
        std::memcpy(context.buffer + context.buffered, data, take);
        context.buffered += static_cast<uint32_t>(take);
        data += take;
        length -= take;
        if (context.buffered < kSha1BlockSize) {
            return 1;
        }
        Transform(context.state, context.buffer);
        context.buffered = 0;
    }
    for (; length >= kSha1BlockSize; data += kSha1BlockSize, length -= kSha1BlockSize) {
        Transform(context.state, data);
    }
    std::memcpy(context.buffer, data, length);
    context.buffered = static_cast<uint32_t>(length);
    return 1;
}

int Sha1Final(uint8_t digest[kSha1DigestSize], Sha1Context& context)
{
    size_t used = context.buffered;
    context.buffer[used++] = kPaddingMark;
    if (used > kLengthOffset) {
        std::memset(context.buffer + used, 0, kSha1BlockSize - used);
        Transform(context.state, context.buffer);
        used = 0;
    }
    std::memset(context.buffer + used, 0, kLengthOffset - used);
    WriteBigEndian(context.bitCount[1], context.buffer + kLengthOffset);
    WriteBigEndian(context.bitCount[0], context.buffer + kLengthOffset + 4);
    Transform(context.state, context.buffer);
    SecureZeroMemory(context.buffer, sizeof(context.buffer));
    context.buffered = 0;
    for (int i = 0; i < 5; ++i) {
        WriteBigEndian(context.state[i], digest + 4 * i);
    }
    return 1;
}
