// A loopback update server that offers files as the launcher expects them, for the update
// tests: token with a session cookie, the table, per-file rows and file bytes, with hooks to
// make any answer fail.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "loopback_server.h"

namespace kt {

// A row of the update table for a file offered with the given version and MD5.
std::string OfferRow(int id, const std::string& name, const std::string& version, const std::string& md5,
                     const std::string& max = "100");
std::string TodayText();  // DD.MM.YYYY
std::string DoubleDigestOf(const std::string& text);

class OfferServer {
 public:
  OfferServer();
  std::wstring BaseAddress() const { return server_->BaseAddress(); }
  // Offers a file: its row and its bytes (the MD5 of the bytes unless given).
  void Offer(int id, const std::string& name, const std::string& version, const std::string& bytes,
             std::string md5 = "");
  std::vector<HttpRequest> Requests() { return server_->Requests(); }
  // The bare names asked for by per-file queries, in order.
  std::vector<std::string> AskedNames();
  std::vector<std::string> table;
  std::map<std::string, std::string> files;
  // Answers instead of the server when it returns a status other than 0.
  std::function<HttpReply(const HttpRequest&)> override;
  // Called with every request before it is answered (on the server's thread).
  std::function<void(const HttpRequest&)> observe;

 private:
  HttpReply Serve(const HttpRequest& r);
  std::unique_ptr<LoopbackServer> server_;
};

}  // namespace kt
