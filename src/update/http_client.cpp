// WinHTTP exchanges; see http_client.h.
#include "update/http_client.h"

#include <memory>
#include <vector>

#include "core/encoding.h"
#include "platform/errors.h"
#include "platform/process.h"

namespace {
struct InternetHandle {
  HINTERNET h = nullptr;
  ~InternetHandle() {
    if (h) WinHttpCloseHandle(h);
  }
};

[[noreturn]] void Fail(const std::wstring& what) {
  DWORD code = GetLastError();
  std::wstring text;
  switch (code) {
    case ERROR_WINHTTP_TIMEOUT: text = L"the server did not answer in time"; break;
    case ERROR_WINHTTP_CANNOT_CONNECT: text = L"cannot connect to the server"; break;
    case ERROR_WINHTTP_CONNECTION_ERROR: text = L"the connection was broken"; break;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: text = L"the server name cannot be resolved"; break;
    default: text = platform::SystemErrorText(code); break;
  }
  throw platform::Exception(what + L": " + text + L" (" + std::to_wstring(code) + L")");
}

// Keeps the hourglass on for the exchange, also when it fails.
struct Work {
  TIdHTTP& http;
  explicit Work(TIdHTTP& h) : http(h) {
    if (http.OnWorkBegin) http.OnWorkBegin();
  }
  ~Work() {
    if (http.OnWorkEnd) http.OnWorkEnd();
  }
};
}  // namespace

TIdHTTP::TIdHTTP(std::wstring baseAddress) : BaseAddress(std::move(baseAddress)) {}

TIdHTTP::~TIdHTTP() {
  if (session_) WinHttpCloseHandle(session_);
}

HINTERNET TIdHTTP::Session() {
  if (!session_) {
    session_ = WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session_) Fail(L"WinHttpOpen");
  }
  WinHttpSetTimeouts(session_, ConnectTimeoutMs, ConnectTimeoutMs, ReadTimeoutMs, ReadTimeoutMs);
  return session_;
}

void TIdHTTP::Exchange(const std::wstring& url, const wchar_t* verb, const core::MultipartForm* form,
                       const Sink& sink) {
  Work work(*this);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  wchar_t host[256] = {}, path[2048] = {};
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = 2048;
  wchar_t extra[2048] = {};
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = 2048;
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) Fail(L"Invalid address " + url);
  const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

  InternetHandle connection{WinHttpConnect(Session(), host, parts.nPort, 0)};
  if (!connection.h) Fail(L"WinHttpConnect");
  std::wstring object = std::wstring(path) + extra;
  InternetHandle request{WinHttpOpenRequest(connection.h, verb, object.c_str(), L"HTTP/1.0", WINHTTP_NO_REFERER,
                                            WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0)};
  if (!request.h) Fail(L"WinHttpOpenRequest");
  DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  WinHttpSetOption(request.h, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof(never));

  std::wstring headers = L"Accept: text/html, */*\r\nAccept-Charset: utf-8\r\nAccept-Encoding: utf-8\r\n";
  std::string body;
  if (form) {
    body = form->Body();
    std::string type = form->ContentType();
    headers += L"Content-Type: " + std::wstring(type.begin(), type.end()) + L"\r\n";
  }
  if (!WinHttpSendRequest(request.h, headers.c_str(), static_cast<DWORD>(-1L), body.empty() ? nullptr : body.data(),
                          static_cast<DWORD>(body.size()), static_cast<DWORD>(body.size()), 0))
    Fail(L"Request to " + url + L" failed");
  if (!WinHttpReceiveResponse(request.h, nullptr)) Fail(L"No answer from " + url);

  DWORD status = 0, size = sizeof(status);
  WinHttpQueryHeaders(request.h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                      &status, &size, WINHTTP_NO_HEADER_INDEX);
  if (status < 200 || status >= 300)
    throw platform::Exception(L"HTTP status " + std::to_wstring(status) + L" from " + url);
  // Content-Length, when the server announced one.
  wchar_t lengthText[32] = {};
  DWORD lengthSize = sizeof(lengthText);
  long long announced = -1;
  if (WinHttpQueryHeaders(request.h, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX, lengthText,
                          &lengthSize, WINHTTP_NO_HEADER_INDEX))
    announced = _wtoi64(lengthText);

  std::vector<char> chunk(64 * 1024);
  long long received = 0;
  for (;;) {
    DWORD got = 0;
    if (!WinHttpReadData(request.h, chunk.data(), static_cast<DWORD>(chunk.size()), &got)) Fail(L"Reading " + url);
    if (got == 0) break;
    received += got;
    sink(chunk.data(), got);
    platform::ProcessMessages();  // the update window keeps painting during long transfers
  }
  if (announced >= 0 && received < announced)
    throw platform::Exception(L"Incomplete answer from " + url + L": " + std::to_wstring(received) + L" of " +
                              std::to_wstring(announced) + L" bytes");
}

std::wstring TIdHTTP::Get(const std::wstring& url) {
  std::string bytes;
  Exchange(url, L"GET", nullptr, [&](const char* p, DWORD n) { bytes.append(p, n); });
  return core::DecodeUtf8(bytes);
}

std::wstring TIdHTTP::Post(const std::wstring& url, const core::MultipartForm& form) {
  std::string bytes;
  Exchange(url, L"POST", &form, [&](const char* p, DWORD n) { bytes.append(p, n); });
  return core::DecodeUtf8(bytes);
}

void TIdHTTP::PostToFile(const std::wstring& url, const core::MultipartForm& form, HANDLE file) {
  Exchange(url, L"POST", &form, [&](const char* p, DWORD n) {
    DWORD written = 0;
    if (!WriteFile(file, p, n, &written, nullptr) || written != n) Fail(L"Writing the download");
  });
}
