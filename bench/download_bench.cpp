// A 100 MB download through the launcher's file request against a bare WinHTTP read loop, both
// from a loopback server in this process: throughput, and whether memory stays flat (the
// launcher must stream to disk, never hold a plugin or installer in memory).
#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h: windows.h alone would pull in the old winsock.h.
#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app_harness.h"
#include "bench_support.h"
#include "core/multipart.h"
#include "platform/process.h"
#include "update/http_client.h"
#include "update/upd_progress.h"

namespace {

constexpr long long kFileBytes = 100LL * 1024 * 1024;
constexpr int kRepeats = 7;

// Answers every request on 127.0.0.1 with the same 100 MB body, sent from one small buffer so
// that the server adds nothing to the memory figures of the process.
class StreamServer {
 public:
  StreamServer() : pattern_(1 << 20) {
    for (size_t i = 0; i < pattern_.size(); ++i) pattern_[i] = static_cast<char>(i * 131 + (i >> 9));
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof(a));
    listen(listener_, 4);
    int len = sizeof(a);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~StreamServer() {
    stop_ = true;
    closesocket(listener_);
    thread_.join();
    WSACleanup();
  }
  int Port() const { return port_; }

 private:
  void Serve() {
    while (!stop_) {
      SOCKET c = accept(listener_, nullptr, nullptr);
      if (c == INVALID_SOCKET) return;
      Answer(c);
      closesocket(c);
    }
  }
  // Reads the request with its body (as announced), then streams the answer.
  void Answer(SOCKET c) {
    std::string in;
    char buf[4096];
    size_t headerEnd = std::string::npos;
    long long bodyLength = 0;
    for (;;) {
      if (headerEnd != std::string::npos && in.size() >= headerEnd + 4 + bodyLength) break;
      int n = recv(c, buf, sizeof buf, 0);
      if (n <= 0) return;
      in.append(buf, n);
      if (headerEnd == std::string::npos && (headerEnd = in.find("\r\n\r\n")) != std::string::npos) {
        std::string head = in.substr(0, headerEnd);
        for (auto& ch : head) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
        size_t p = head.find("content-length:");
        if (p != std::string::npos) bodyLength = std::atoll(head.c_str() + p + 15);
      }
    }
    char header[256];
    int h =
        std::snprintf(header, sizeof header,
                      "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: %lld\r\n"
                      "Connection: close\r\n\r\n",
                      kFileBytes);
    if (!SendAll(c, header, h)) return;
    for (long long left = kFileBytes; left > 0;) {
      int n = static_cast<int>(std::min<long long>(left, static_cast<long long>(pattern_.size())));
      if (!SendAll(c, pattern_.data(), n)) return;
      left -= n;
    }
    shutdown(c, SD_SEND);
  }
  static bool SendAll(SOCKET c, const char* p, int n) {
    while (n > 0) {
      int sent = send(c, p, n, 0);
      if (sent <= 0) return false;
      p += sent;
      n -= sent;
    }
    return true;
  }
  std::vector<char> pattern_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA d{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) return -1;
  return (static_cast<long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

// The baseline: one POST, the answer read in 64 KB pieces straight into a file. With `pump`, the
// message queue is also run after every piece, as the launcher does to keep its window alive.
bool BareDownload(int port, const std::wstring& target, bool pump) {
  HINTERNET session =
      WinHttpOpen(L"bench", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
  HINTERNET connection = WinHttpConnect(session, L"127.0.0.1", static_cast<INTERNET_PORT>(port), 0);
  HINTERNET request = WinHttpOpenRequest(connection, L"POST", L"/file.php?id=1", L"HTTP/1.0",
                                         WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0);
  static const char body[] = "id=1";
  bool ok = request &&
            WinHttpSendRequest(request, L"Content-Type: application/x-www-form-urlencoded\r\n",
                               static_cast<DWORD>(-1L), const_cast<char*>(body), 4, 4, 0) &&
            WinHttpReceiveResponse(request, nullptr);
  HANDLE file =
      CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::vector<char> chunk(64 * 1024);
  while (ok) {
    DWORD got = 0, written = 0;
    if (!WinHttpReadData(request, chunk.data(), static_cast<DWORD>(chunk.size()), &got)) ok = false;
    if (!ok || got == 0) break;
    ok = WriteFile(file, chunk.data(), got, &written, nullptr) && written == got;
    if (pump) platform::ProcessMessages();
  }
  ok = ok && FlushFileBuffers(file);
  CloseHandle(file);
  WinHttpCloseHandle(request);
  WinHttpCloseHandle(connection);
  WinHttpCloseHandle(session);
  return ok;
}

double MbPerS(double ms) {
  return (kFileBytes / (1024.0 * 1024.0)) / (ms / 1000.0);
}

}  // namespace

int main() {
  kb::SetUpProcess();
  {
    StreamServer server;
    kb::MemorySampler sampler;
    kt::TempDir temp;
    kt::AppHarness app;
    Tfm_MAIN_FORM& f = app.Start();
    f.IdHTTP1->BaseAddress = L"http://127.0.0.1:" + std::to_wstring(server.Port()) + L"/";
    auto window = std::make_unique<Tfm_UPD_PROGRESS>(f.Handle());
    fm_UPD_PROGRESS = window.get();
    const std::wstring row =
        L"\"1\",\"10001\",\"Big.bin\",\"desc\",\"2026-12-01\",\"2.0.0.0\",\"2\",\"0\",\"0\",\"0\",\"100\","
        L"\"\",\"\",\"\",\"\",\"\",\"file.php?id=1\",\"\"";
    const std::wstring launcherFile = temp / L"launcher.bin", bareFile = temp / L"bare.bin";

    auto launcherRun = [&] {
      core::MultipartForm form(NewBoundary());
      bool ok = false;
      double ms = kb::TimeMs([&] { ok = window->REQUEST_FILE(row, launcherFile, form); });
      if (!ok || FileSize(launcherFile) != kFileBytes) kb::Say("  launcher download failed or incomplete");
      DeleteFileW(launcherFile.c_str());
      return ms;
    };
    auto bareRun = [&](bool pump = false) {
      bool ok = false;
      double ms = kb::TimeMs([&] { ok = BareDownload(server.Port(), bareFile, pump); });
      if (!ok || FileSize(bareFile) != kFileBytes) kb::Say("  bare download failed or incomplete");
      DeleteFileW(bareFile.c_str());
      return ms;
    };

    // The launcher runs first, so that the process's lifetime peak before and after is its own.
    kt::PumpFor(100);
    const kb::Memory idle = kb::MemoryNow();
    std::vector<double> launcher, bare, pumped;
    sampler.Start();
    launcher.push_back(launcherRun());
    const kb::Memory during = sampler.Stop();
    const kb::Memory after = kb::MemoryNow();
    sampler.Start();
    bare.push_back(bareRun());
    const kb::Memory bareDuring = sampler.Stop();
    pumped.push_back(bareRun(true));
    // Taken in turns, so that a busy moment of the machine falls on all three alike.
    for (int r = 1; r < kRepeats; ++r) {
      launcher.push_back(launcherRun());
      bare.push_back(bareRun());
      pumped.push_back(bareRun(true));
    }
    const double l = MbPerS(kb::Median(launcher)), b = MbPerS(kb::Median(bare)),
                 p = MbPerS(kb::Median(pumped));
    kb::Say(
        "download 100 MB: launcher %.0f MB/s, bare WinHTTP loop %.0f MB/s, bare loop with a message pump per "
        "64 KB %.0f MB/s (medians of %d)",
        l, b, p, kRepeats);
    auto show = [](const char* what, const kb::Memory& m) {
      kb::Say(
          "  %-31s committed private %6.1f MB, working set %6.1f MB, lifetime peak WS %6.1f MB, "
          "PrivateUsage %.1f MB",
          what, m.committedMb, m.workingSetMb, m.peakWorkingSetMb, m.privateMb);
    };
    show("idle:", idle);
    show("highest during the launcher's:", during);
    show("after it:", after);
    show("highest during the bare loop's:", bareDuring);
    kb::PrintRow("download 100 MB (MB/s)", kb::Fixed(l, 0), kb::Fixed(b, 0), kb::Fixed(l / b, 2), ">= 0.90");
    kb::PrintRow("  bare + message pump (MB/s)", kb::Fixed(l, 0), kb::Fixed(p, 0), kb::Fixed(l / p, 2),
                 "report");
    kb::PrintRow("  committed above idle (MB)", kb::Fixed(during.committedMb - idle.committedMb, 1),
                 kb::Fixed(bareDuring.committedMb - idle.committedMb, 1), "-", "< 8");
    kb::PrintRow("  working set above idle (MB)", kb::Fixed(during.workingSetMb - idle.workingSetMb, 1),
                 kb::Fixed(bareDuring.workingSetMb - idle.workingSetMb, 1), "-", "< 8");
    kb::PrintRow("  lifetime peak WS rise (MB)", kb::Fixed(after.peakWorkingSetMb - idle.peakWorkingSetMb, 1),
                 "-", "-", "< 8");
    fm_UPD_PROGRESS = nullptr;
    window.reset();
  }
  kb::TearDownProcess();
  return 0;
}
