// The offering loopback server; see offer_server.h.
#include "offer_server.h"

#include <windows.h>

#include <cstdio>

#include "core/md5.h"
#include "core/update_rules.h"

namespace kt {

std::string OfferRow(int id, const std::string& name, const std::string& version, const std::string& md5,
                     const std::string& max) {
  std::string v[4];
  size_t p = 0;
  for (int i = 0; i < 4; ++i) {
    size_t q = version.find('.', p);
    v[i] = version.substr(p, q == std::string::npos ? std::string::npos : q - p);
    p = q + 1;
  }
  return "\"" + std::to_string(id) + "\",\"10001\",\"" + name + "\",\"desc\",\"2026-12-01\",\"" + version + "\",\"" +
         v[0] + "\",\"" + v[1] + "\",\"" + v[2] + "\",\"" + v[3] + "\",\"" + max +
         "\",\"\",\"\",\"\",\"\",\"\",\"file.php?id=" + std::to_string(id) + "\",\"" + md5 + "\"";
}

std::string TodayText() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char buf[16];
  snprintf(buf, sizeof buf, "%02d.%02d.%04d", t.wDay, t.wMonth, t.wYear);
  return buf;
}

std::string DoubleDigestOf(const std::string& s) {
  std::wstring d = core::DoubleDigest(std::wstring(s.begin(), s.end()));
  return std::string(d.begin(), d.end());
}

OfferServer::OfferServer()
    : server_(std::make_unique<LoopbackServer>([this](const HttpRequest& r) { return Serve(r); })) {}

void OfferServer::Offer(int id, const std::string& name, const std::string& version, const std::string& bytes,
                        std::string md5) {
  if (md5.empty()) md5 = core::Md5Hex(bytes);
  table.push_back(OfferRow(id, name, version, md5));
  files[std::to_string(id)] = bytes;
}

std::vector<std::string> OfferServer::AskedNames() {
  std::vector<std::string> names;
  for (const auto& r : Requests()) {
    for (auto& [k, v] : r.FormFields()) {
      if (k != "filename" || r.target != "/index.php") continue;
      for (const auto& row : table) {
        std::wstring name = core::GetTableColumn(3, std::wstring(row.begin(), row.end()));
        std::string n(name.begin(), name.end());
        if (DoubleDigestOf(n + TodayText()) == v) names.push_back(n);
      }
    }
  }
  return names;
}

HttpReply OfferServer::Serve(const HttpRequest& r) {
  if (observe) observe(r);
  if (override) {
    HttpReply special = override(r);
    if (special.status != 0) return special;
  }
  if (r.method == "GET" && r.target == "/index.php") return {200, "TOKEN42", {{"Set-Cookie", "sid=s1; path=/"}}};
  auto fields = r.FormFields();
  auto field = [&](const std::string& name) {
    std::string v;
    for (auto& [k, val] : fields)
      if (k == name) v = val;
    return v;
  };
  if (field("key") != DoubleDigestOf("Pet sinkavi kozi!TOKEN42")) return {403, ""};
  if (r.target == "/index.php" && field("filename").empty()) {
    std::string all;
    for (const auto& row : table) all += row + "\r\n";
    return {200, all};
  }
  if (r.target == "/index.php") {
    for (const auto& row : table) {
      std::wstring name = core::GetTableColumn(3, std::wstring(row.begin(), row.end()));
      if (DoubleDigestOf(std::string(name.begin(), name.end()) + TodayText()) == field("filename")) return {200, row};
    }
    return {404, ""};
  }
  if (r.target.rfind("/file.php?id=", 0) == 0) {
    auto it = files.find(r.target.substr(13));
    if (it != files.end()) return {200, it->second, {{"Content-Type", "application/octet-stream"}}};
  }
  return {404, ""};
}

}  // namespace kt
