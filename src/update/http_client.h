// The HTTP client of the update exchanges (IdHTTP1), on WinHTTP: HTTP/1.0 with fixed request
// headers, cookies kept for the life of the client, no redirects, no proxy. Every exchange is
// bounded by connect and read time-outs, so a server that accepts and then says nothing ends
// the exchange with an error instead of freezing the update window. A transfer that ends with
// a transport error, an error status or fewer bytes than announced raises platform::Exception.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <functional>
#include <string>

#include "core/multipart.h"

class TIdHTTP {
 public:
  explicit TIdHTTP(std::wstring baseAddress);
  ~TIdHTTP();
  TIdHTTP(const TIdHTTP&) = delete;
  TIdHTTP& operator=(const TIdHTTP&) = delete;

  std::wstring BaseAddress;  // ends with "/"
  int ConnectTimeoutMs = 10000;
  int ReadTimeoutMs = 30000;  // no data for this long ends the exchange
  std::function<void()> OnWorkBegin;
  std::function<void()> OnWorkEnd;

  // The answer's body read as UTF-8.
  std::wstring Get(const std::wstring& url);
  std::wstring Post(const std::wstring& url, const core::MultipartForm& form);
  // The answer's body written byte for byte into the open file.
  void PostToFile(const std::wstring& url, const core::MultipartForm& form, HANDLE file);

  static constexpr const wchar_t* kUserAgent = L"Mozilla/3.0 (compatible; Indy Library)";

 private:
  using Sink = std::function<void(const char*, DWORD)>;
  void Exchange(const std::wstring& url, const wchar_t* verb, const core::MultipartForm* form, const Sink& sink);
  HINTERNET Session();
  HINTERNET session_ = nullptr;
};
