// The in-process loopback HTTP server; see loopback_server.h.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "loopback_server.h"

#include <algorithm>

namespace kt {

namespace {
std::string Lower(std::string s) {
  for (auto& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}
void SendAll(SOCKET s, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    int n = send(s, data.data() + done, static_cast<int>(std::min<size_t>(data.size() - done, 1 << 16)), 0);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}
}  // namespace

std::string HttpRequest::Header(const std::string& name) const {
  for (const auto& [k, v] : headers)
    if (Lower(k) == Lower(name)) return v;
  return {};
}

std::vector<std::pair<std::string, std::string>> HttpRequest::FormFields() const {
  std::vector<std::pair<std::string, std::string>> fields;
  std::string type = Header("Content-Type");
  size_t b = type.find("boundary=");
  if (b == std::string::npos) return fields;
  std::string boundary = "--" + type.substr(b + 9);
  size_t pos = body.find(boundary);
  while (pos != std::string::npos) {
    pos += boundary.size();
    if (body.compare(pos, 2, "--") == 0) break;
    size_t headEnd = body.find("\r\n\r\n", pos);
    size_t next = body.find(boundary, pos);
    if (headEnd == std::string::npos || next == std::string::npos) break;
    std::string head = body.substr(pos, headEnd - pos);
    std::string value = body.substr(headEnd + 4, next - headEnd - 4);
    if (value.size() >= 2 && value.compare(value.size() - 2, 2, "\r\n") == 0) value.resize(value.size() - 2);
    size_t n = head.find("name=\"");
    std::string name = n == std::string::npos ? "" : head.substr(n + 6, head.find('"', n + 6) - n - 6);
    fields.emplace_back(name, value);
    pos = next;
  }
  return fields;
}

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
  int len = sizeof(addr);
  getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  listen(s, 16);
  listener_ = s;
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  closesocket(static_cast<SOCKET>(listener_));
  thread_.join();
}

std::wstring LoopbackServer::BaseAddress() const { return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/"; }

std::vector<HttpRequest> LoopbackServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LoopbackServer::Serve() {
  while (!stop_) {
    SOCKET client = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    Answer(client);
    closesocket(client);
  }
}

void LoopbackServer::Answer(uintptr_t c) {
  SOCKET client = static_cast<SOCKET>(c);
  std::string data;
  char buf[65536];
  size_t headerEnd = std::string::npos;
  while (headerEnd == std::string::npos) {
    int n = recv(client, buf, sizeof buf, 0);
    if (n <= 0) return;
    data.append(buf, static_cast<size_t>(n));
    headerEnd = data.find("\r\n\r\n");
  }
  HttpRequest req;
  std::string head = data.substr(0, headerEnd);
  size_t lineEnd = head.find("\r\n");
  std::string first = head.substr(0, lineEnd);
  size_t a = first.find(' '), b = first.rfind(' ');
  req.method = first.substr(0, a);
  req.target = first.substr(a + 1, b - a - 1);
  req.version = first.substr(b + 1);
  size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
  while (pos < head.size()) {
    size_t e = head.find("\r\n", pos);
    std::string line = head.substr(pos, e == std::string::npos ? std::string::npos : e - pos);
    size_t colon = line.find(':');
    if (colon != std::string::npos) {
      std::string v = line.substr(colon + 1);
      while (!v.empty() && v.front() == ' ') v.erase(v.begin());
      req.headers.emplace_back(line.substr(0, colon), v);
    }
    if (e == std::string::npos) break;
    pos = e + 2;
  }
  size_t length = static_cast<size_t>(atoll(req.Header("Content-Length").c_str()));
  req.body = data.substr(headerEnd + 4);
  while (req.body.size() < length) {
    int n = recv(client, buf, sizeof buf, 0);
    if (n <= 0) break;
    req.body.append(buf, static_cast<size_t>(n));
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(req);
  }
  HttpReply reply = handler_(req);
  for (int waited = 0; waited < reply.silenceMs && !stop_; waited += 50) Sleep(50);
  if (reply.closeWithoutAnswer) return;
  if (!reply.raw.empty()) {
    SendAll(client, reply.raw);
    return;
  }
  std::string out = "HTTP/1.0 " + std::to_string(reply.status) + (reply.status == 200 ? " OK" : " Error") + "\r\n";
  for (const auto& [k, v] : reply.headers) out += k + ": " + v + "\r\n";
  long long announced = reply.announcedLength >= 0 ? reply.announcedLength : static_cast<long long>(reply.body.size());
  out += "Content-Length: " + std::to_string(announced) + "\r\n\r\n";
  SendAll(client, out);
  SendAll(client, reply.body);
}

}  // namespace kt
