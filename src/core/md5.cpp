// MD5 after RFC 1321; see md5.h.
#include "core/md5.h"

#include <cstring>

#include "core/text.h"

namespace core {

namespace {
constexpr uint32_t kK[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
constexpr int kS[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 5, 9,  14, 20, 5, 9,
                        14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                        4, 11, 16, 23, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

inline uint32_t Rotl(uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }
}  // namespace

Md5::Md5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

void Md5::Block(const unsigned char* p) {
  uint32_t m[16];
  for (int i = 0; i < 16; ++i)
    m[i] = static_cast<uint32_t>(p[i * 4]) | static_cast<uint32_t>(p[i * 4 + 1]) << 8 |
           static_cast<uint32_t>(p[i * 4 + 2]) << 16 | static_cast<uint32_t>(p[i * 4 + 3]) << 24;
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  for (int i = 0; i < 64; ++i) {
    uint32_t f;
    int g;
    if (i < 16) {
      f = (b & c) | (~b & d);
      g = i;
    } else if (i < 32) {
      f = (d & b) | (~d & c);
      g = (5 * i + 1) & 15;
    } else if (i < 48) {
      f = b ^ c ^ d;
      g = (3 * i + 5) & 15;
    } else {
      f = c ^ (b | ~d);
      g = (7 * i) & 15;
    }
    uint32_t next = d;
    d = c;
    c = b;
    b = b + Rotl(a + f + kK[i] + m[g], kS[i]);
    a = next;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

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
