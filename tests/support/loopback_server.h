// A small HTTP server on 127.0.0.1 inside the test process, on its own thread: it records every
// request and answers through a handler, so tests can check exact requests and make the server
// fail in each way (error status, cut body, silence, garbage).
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kt {

struct HttpRequest {
  std::string method, target, version;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  std::string Header(const std::string& name) const;  // case-insensitive, empty when absent
  // The multipart form fields in order (name, value).
  std::vector<std::pair<std::string, std::string>> FormFields() const;
};

struct HttpReply {
  int status = 200;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
  long long announcedLength = -1;  // Content-Length to send; -1: the body's size
  int silenceMs = 0;               // wait this long before answering (a hung server)
  bool closeWithoutAnswer = false;
  std::string raw;                 // when set, sent as is instead of a formed answer
};

class LoopbackServer {
 public:
  using Handler = std::function<HttpReply(const HttpRequest&)>;
  explicit LoopbackServer(Handler handler);
  ~LoopbackServer();
  int Port() const { return port_; }
  std::wstring BaseAddress() const;  // http://127.0.0.1:PORT/
  std::vector<HttpRequest> Requests();

 private:
  void Serve();
  void Answer(uintptr_t client);
  Handler handler_;
  uintptr_t listener_ = ~uintptr_t(0);
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<HttpRequest> requests_;
  std::thread thread_;
};

}  // namespace kt
