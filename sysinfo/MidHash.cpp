#include "sysinfo/MidHash.h"

#include "base/StringUtil.h"

namespace {

constexpr uint32_t kShift[64] = {
    7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
    5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
    4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
    6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

// floor(abs(sin(i + 1)) * 2^32), the constants of the 64 steps.
constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

uint32_t RotateLeft(uint32_t value, uint32_t bits) { return (value << bits) | (value >> (32 - bits)); }

uint32_t ReadLittleEndian(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) | (uint32_t(bytes[3]) << 24);
}

void Compress(uint32_t state[4], const uint8_t block[64])
{
    uint32_t words[16];
    for (int i = 0; i < 16; ++i) {
        words[i] = ReadLittleEndian(block + 4 * i);
    }
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (uint32_t i = 0; i < 64; ++i) {
        uint32_t f = 0;
        uint32_t g = 0;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const uint32_t next = b + RotateLeft(a + f + kSine[i] + words[g], kShift[i]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

void Md5Init(Md5Context& context)
{
    context.state[0] = 0x67452301;
    context.state[1] = 0xefcdab89;
    context.state[2] = 0x98badcfe;
    context.state[3] = 0x10325476;
    context.byteCount = 0;
}

void Md5Update(Md5Context& context, const uint8_t* data, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        const size_t position = context.byteCount % 64;
        context.block[position] = data[i];
        ++context.byteCount;
        if (position == 63) {
            Compress(context.state, context.block);
        }
    }
}

void Md5Finish(Md5Context& context)
{
    const uint64_t bits = context.byteCount * 8;
    const uint8_t marker = 0x80;
    const uint8_t zero = 0;
    Md5Update(context, &marker, 1);
    while (context.byteCount % 64 != 56) {
        Md5Update(context, &zero, 1);
    }
    for (int i = 0; i < 8; ++i) {
        context.block[56 + i] = static_cast<uint8_t>(bits >> (8 * i));
    }
    Compress(context.state, context.block);
}

std::string Md5StateHex(const Md5Context& context)
{
    unsigned char bytes[16];
    for (int i = 0; i < 16; ++i) {
        bytes[i] = static_cast<unsigned char>(context.state[i / 4] >> (8 * (i % 4)));
    }
    return ToLowerHex(bytes, sizeof(bytes));
}

std::string MidHash(const std::string& text)
{
    const size_t length = text.size() < kMidHashInputLimit ? text.size() : kMidHashInputLimit;
    Md5Context context;
    Md5Init(context);
    Md5Update(context, reinterpret_cast<const uint8_t*>(text.data()), length);
    Md5Finish(context);
    Md5Finish(context);
    return Md5StateHex(context);
}
