// MD5 after RFC 1321; see md5.h.
#include "core/md5.h"

#include <cstring>

#include "core/text.h"

namespace core {

namespace {
inline uint32_t Rotl(uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }
inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) { return z ^ (x & (y ^ z)); }
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) { return y ^ (z & (x ^ y)); }
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) { return x ^ y ^ z; }
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) { return y ^ (x | ~z); }
}  // namespace

// One round step; the 64 steps are written out so that the compiler keeps everything in
// registers (a rolled loop with table-driven shifts is markedly slower).
#define KC_MD5_STEP(f, a, b, c, d, x, t, s) a = b + Rotl(a + f(b, c, d) + (x) + (t), s)

Md5::Md5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

void Md5::Block(const unsigned char* p) {
  uint32_t m[16];
  for (int i = 0; i < 16; ++i)
    m[i] = static_cast<uint32_t>(p[i * 4]) | static_cast<uint32_t>(p[i * 4 + 1]) << 8 |
           static_cast<uint32_t>(p[i * 4 + 2]) << 16 | static_cast<uint32_t>(p[i * 4 + 3]) << 24;
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  KC_MD5_STEP(F, a, b, c, d, m[0], 0xd76aa478, 7);
  KC_MD5_STEP(F, d, a, b, c, m[1], 0xe8c7b756, 12);
  KC_MD5_STEP(F, c, d, a, b, m[2], 0x242070db, 17);
  KC_MD5_STEP(F, b, c, d, a, m[3], 0xc1bdceee, 22);
  KC_MD5_STEP(F, a, b, c, d, m[4], 0xf57c0faf, 7);
  KC_MD5_STEP(F, d, a, b, c, m[5], 0x4787c62a, 12);
  KC_MD5_STEP(F, c, d, a, b, m[6], 0xa8304613, 17);
  KC_MD5_STEP(F, b, c, d, a, m[7], 0xfd469501, 22);
  KC_MD5_STEP(F, a, b, c, d, m[8], 0x698098d8, 7);
  KC_MD5_STEP(F, d, a, b, c, m[9], 0x8b44f7af, 12);
  KC_MD5_STEP(F, c, d, a, b, m[10], 0xffff5bb1, 17);
  KC_MD5_STEP(F, b, c, d, a, m[11], 0x895cd7be, 22);
  KC_MD5_STEP(F, a, b, c, d, m[12], 0x6b901122, 7);
  KC_MD5_STEP(F, d, a, b, c, m[13], 0xfd987193, 12);
  KC_MD5_STEP(F, c, d, a, b, m[14], 0xa679438e, 17);
  KC_MD5_STEP(F, b, c, d, a, m[15], 0x49b40821, 22);
  KC_MD5_STEP(G, a, b, c, d, m[1], 0xf61e2562, 5);
  KC_MD5_STEP(G, d, a, b, c, m[6], 0xc040b340, 9);
  KC_MD5_STEP(G, c, d, a, b, m[11], 0x265e5a51, 14);
  KC_MD5_STEP(G, b, c, d, a, m[0], 0xe9b6c7aa, 20);
  KC_MD5_STEP(G, a, b, c, d, m[5], 0xd62f105d, 5);
  KC_MD5_STEP(G, d, a, b, c, m[10], 0x02441453, 9);
  KC_MD5_STEP(G, c, d, a, b, m[15], 0xd8a1e681, 14);
  KC_MD5_STEP(G, b, c, d, a, m[4], 0xe7d3fbc8, 20);
  KC_MD5_STEP(G, a, b, c, d, m[9], 0x21e1cde6, 5);
  KC_MD5_STEP(G, d, a, b, c, m[14], 0xc33707d6, 9);
  KC_MD5_STEP(G, c, d, a, b, m[3], 0xf4d50d87, 14);
  KC_MD5_STEP(G, b, c, d, a, m[8], 0x455a14ed, 20);
  KC_MD5_STEP(G, a, b, c, d, m[13], 0xa9e3e905, 5);
  KC_MD5_STEP(G, d, a, b, c, m[2], 0xfcefa3f8, 9);
  KC_MD5_STEP(G, c, d, a, b, m[7], 0x676f02d9, 14);
  KC_MD5_STEP(G, b, c, d, a, m[12], 0x8d2a4c8a, 20);
  KC_MD5_STEP(H, a, b, c, d, m[5], 0xfffa3942, 4);
  KC_MD5_STEP(H, d, a, b, c, m[8], 0x8771f681, 11);
  KC_MD5_STEP(H, c, d, a, b, m[11], 0x6d9d6122, 16);
  KC_MD5_STEP(H, b, c, d, a, m[14], 0xfde5380c, 23);
  KC_MD5_STEP(H, a, b, c, d, m[1], 0xa4beea44, 4);
  KC_MD5_STEP(H, d, a, b, c, m[4], 0x4bdecfa9, 11);
  KC_MD5_STEP(H, c, d, a, b, m[7], 0xf6bb4b60, 16);
  KC_MD5_STEP(H, b, c, d, a, m[10], 0xbebfbc70, 23);
  KC_MD5_STEP(H, a, b, c, d, m[13], 0x289b7ec6, 4);
  KC_MD5_STEP(H, d, a, b, c, m[0], 0xeaa127fa, 11);
  KC_MD5_STEP(H, c, d, a, b, m[3], 0xd4ef3085, 16);
  KC_MD5_STEP(H, b, c, d, a, m[6], 0x04881d05, 23);
  KC_MD5_STEP(H, a, b, c, d, m[9], 0xd9d4d039, 4);
  KC_MD5_STEP(H, d, a, b, c, m[12], 0xe6db99e5, 11);
  KC_MD5_STEP(H, c, d, a, b, m[15], 0x1fa27cf8, 16);
  KC_MD5_STEP(H, b, c, d, a, m[2], 0xc4ac5665, 23);
  KC_MD5_STEP(I, a, b, c, d, m[0], 0xf4292244, 6);
  KC_MD5_STEP(I, d, a, b, c, m[7], 0x432aff97, 10);
  KC_MD5_STEP(I, c, d, a, b, m[14], 0xab9423a7, 15);
  KC_MD5_STEP(I, b, c, d, a, m[5], 0xfc93a039, 21);
  KC_MD5_STEP(I, a, b, c, d, m[12], 0x655b59c3, 6);
  KC_MD5_STEP(I, d, a, b, c, m[3], 0x8f0ccc92, 10);
  KC_MD5_STEP(I, c, d, a, b, m[10], 0xffeff47d, 15);
  KC_MD5_STEP(I, b, c, d, a, m[1], 0x85845dd1, 21);
  KC_MD5_STEP(I, a, b, c, d, m[8], 0x6fa87e4f, 6);
  KC_MD5_STEP(I, d, a, b, c, m[15], 0xfe2ce6e0, 10);
  KC_MD5_STEP(I, c, d, a, b, m[6], 0xa3014314, 15);
  KC_MD5_STEP(I, b, c, d, a, m[13], 0x4e0811a1, 21);
  KC_MD5_STEP(I, a, b, c, d, m[4], 0xf7537e82, 6);
  KC_MD5_STEP(I, d, a, b, c, m[11], 0xbd3af235, 10);
  KC_MD5_STEP(I, c, d, a, b, m[2], 0x2ad7d2bb, 15);
  KC_MD5_STEP(I, b, c, d, a, m[9], 0xeb86d391, 21);
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

#undef KC_MD5_STEP

void Md5::Update(const void* data, size_t size) {
  auto* p = static_cast<const unsigned char*>(data);
  length_ += size;
  if (buffered_) {
    size_t take = std::min(size, 64 - buffered_);
    std::memcpy(buffer_ + buffered_, p, take);
    buffered_ += take;
    p += take;
    size -= take;
    if (buffered_ < 64) return;
    Block(buffer_);
    buffered_ = 0;
  }
  for (; size >= 64; p += 64, size -= 64) Block(p);
  std::memcpy(buffer_, p, size);
  buffered_ = size;
}

std::string Md5::FinalHex() {
  uint64_t bits = length_ * 8;
  static const unsigned char pad[64] = {0x80};
  Update(pad, buffered_ < 56 ? 56 - buffered_ : 120 - buffered_);
  unsigned char len[8];
  for (int i = 0; i < 8; ++i) len[i] = static_cast<unsigned char>(bits >> (8 * i));
  Update(len, 8);
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (uint32_t word : state_)
    for (int i = 0; i < 4; ++i) {
      unsigned char byte = static_cast<unsigned char>(word >> (8 * i));
      hex += digits[byte >> 4];
      hex += digits[byte & 15];
    }
  return hex;
}

std::string Md5Hex(std::string_view bytes) {
  Md5 m;
  m.Update(bytes.data(), bytes.size());
  return m.FinalHex();
}

std::wstring MD5(std::wstring_view text) {
  std::string ascii;
  ascii.reserve(text.size());
  for (wchar_t c : text) ascii += (static_cast<uint32_t>(c) < 0x80) ? static_cast<char>(c) : '?';
  std::string hex = Md5Hex(ascii);
  return std::wstring(hex.begin(), hex.end());
}

std::wstring DoubleDigest(std::wstring_view text) { return AsciiLowerText(MD5(AsciiLowerText(MD5(text)))); }

bool IsWellFormedMd5(std::wstring_view text) {
  if (text.size() != 32) return false;
  for (wchar_t c : text)
    if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'))) return false;
  return true;
}

}  // namespace core
