// MD5 (RFC 1321) for the update protocol's keys and the checksums of offered files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

class Md5 {
 public:
  Md5();
  void Update(const void* data, size_t size);
  // 32 uppercase hexadecimal digits; the object must not be updated afterwards.
  std::string FinalHex();

 private:
  void Block(const unsigned char* p);
  uint32_t state_[4];
  uint64_t length_ = 0;
  unsigned char buffer_[64];
  size_t buffered_ = 0;
};

std::string Md5Hex(std::string_view bytes);

// The digest of a text taken one byte per character as 7-bit ASCII, "?" for other characters.
std::wstring MD5(std::wstring_view text);

// lowercase(MD5(lowercase(MD5(text)))): the form fields "key" and "filename".
std::wstring DoubleDigest(std::wstring_view text);

// 32 hexadecimal digits, either letter case.
bool IsWellFormedMd5(std::wstring_view text);

}  // namespace core
