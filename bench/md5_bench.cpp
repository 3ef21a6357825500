// The checksum of a 200 MB file as the update client computes it (MD5File, which decides
// whether an installed file is current) against the system's own MD5 (BCrypt) over the same
// file with the same 1 MB reads. Usage: kc_bench_md5 [file]; without one, it writes its own.
#include <windows.h>
// After windows.h, which defines its types.
#include <bcrypt.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app_harness.h"
#include "bench_support.h"
#include "core/md5.h"
#include "update/upd_progress.h"

namespace {

constexpr long long kFileBytes = 200LL * 1024 * 1024;
constexpr int kRepeats = 5;
constexpr DWORD kChunk = 1 << 20;

std::wstring BcryptMd5(const std::wstring& path) {
  BCRYPT_ALG_HANDLE alg = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (BCryptOpenAlgorithmProvider(&alg, BCRYPT_MD5_ALGORITHM, nullptr, 0) != 0) return L"(no BCrypt MD5)";
  BCryptCreateHash(alg, &hash, nullptr, 0, nullptr, 0, 0);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  std::unique_ptr<UCHAR[]> buffer(new UCHAR[kChunk]);
  DWORD got = 0;
  while (h != INVALID_HANDLE_VALUE && ReadFile(h, buffer.get(), kChunk, &got, nullptr) && got > 0)
    BCryptHashData(hash, buffer.get(), got, 0);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  UCHAR digest[16] = {};
  BCryptFinishHash(hash, digest, 16, 0);
  BCryptDestroyHash(hash);
  BCryptCloseAlgorithmProvider(alg, 0);
  std::wstring hex;
  for (UCHAR c : digest) {
    wchar_t d[3];
    std::swprintf(d, 3, L"%02X", c);
    hex += d;
  }
  return hex;
}

// Hashing alone, on 64 MB already in memory: separates the digest code from the file reads.
void HashOnly() {
  std::vector<unsigned char> data(64u << 20);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 2654435761u >> 13);
  BCRYPT_ALG_HANDLE alg = nullptr;
  BCryptOpenAlgorithmProvider(&alg, BCRYPT_MD5_ALGORITHM, nullptr, 0);
  std::vector<double> ours, system;
  for (int r = 0; r < kRepeats; ++r) {
    ours.push_back(kb::TimeMs([&] {
      core::Md5 md5;
      for (size_t p = 0; p < data.size(); p += kChunk) md5.Update(data.data() + p, kChunk);
      md5.FinalHex();
    }));
    system.push_back(kb::TimeMs([&] {
      BCRYPT_HASH_HANDLE hash = nullptr;
      BCryptCreateHash(alg, &hash, nullptr, 0, nullptr, 0, 0);
      for (size_t p = 0; p < data.size(); p += kChunk) BCryptHashData(hash, data.data() + p, kChunk, 0);
      UCHAR digest[16];
      BCryptFinishHash(hash, digest, 16, 0);
      BCryptDestroyHash(hash);
    }));
  }
  BCryptCloseAlgorithmProvider(alg, 0);
  const double o = 64 / (kb::Median(ours) / 1000), s = 64 / (kb::Median(system) / 1000);
  kb::Say("  hashing alone, 64 MB in memory: core::Md5 %.0f MB/s, BCrypt %.0f MB/s", o, s);
  kb::PrintRow("  hashing alone (MB/s)", kb::Fixed(o, 0), kb::Fixed(s, 0), kb::Fixed(o / s, 2), "report");
}

void WriteSample(const std::wstring& path) {
  HANDLE h =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::vector<unsigned> block(kChunk / 4);
  unsigned x = 2463534242u;
  for (long long left = kFileBytes; left > 0; left -= kChunk) {
    for (unsigned& v : block) {
      x ^= x << 13, x ^= x >> 17, x ^= x << 5;
      v = x;
    }
    DWORD written = 0;
    WriteFile(h, block.data(), kChunk, &written, nullptr);
  }
  CloseHandle(h);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  kb::SetUpProcess();
  {
    std::unique_ptr<kt::TempDir> temp;
    std::wstring path;
    if (argc > 1) {
      path = argv[1];
    } else {
      temp = std::make_unique<kt::TempDir>();
      path = *temp / L"sample.bin";
      WriteSample(path);
    }
    // Both read the file once before timing, so that both find it in the cache.
    std::wstring ours = MD5File(path), system = BcryptMd5(path);
    std::vector<double> launcher, bare;
    for (int r = 0; r < kRepeats; ++r) {
      launcher.push_back(kb::TimeMs([&] { MD5File(path); }));
      bare.push_back(kb::TimeMs([&] { BcryptMd5(path); }));
    }
    const double mb = kFileBytes / (1024.0 * 1024.0);
    const double l = kb::Median(launcher), b = kb::Median(bare);
    kb::Say("md5 200 MB: MD5File %.0f ms (%.0f MB/s), BCrypt loop %.0f ms (%.0f MB/s), median of %d", l,
            mb / (l / 1000), b, mb / (b / 1000), kRepeats);
    kb::Say("  digests: MD5File %ls, BCrypt %ls (%ls)", ours.c_str(), system.c_str(),
            ours == system ? L"agree" : L"DIFFER");
    kb::PrintRow("md5 200 MB (MB/s)", kb::Fixed(mb / (l / 1000), 0), kb::Fixed(mb / (b / 1000), 0),
                 kb::Fixed(b / l, 2), ">= 0.90");
    HashOnly();
  }
  kb::TearDownProcess();
  return 0;
}
