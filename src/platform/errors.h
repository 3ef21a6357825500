// The exception type of the system: a wide message like the platform's own error texts, plus the
// input/output error that the log writers raise. Everything the system throws derives from it.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace platform {

class Exception : public std::exception {
 public:
  explicit Exception(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return "Kestrum Client error (see Message())"; }

 private:
  std::wstring message_;
};

// Failing to open, write or close a file.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
};

// The platform's text for an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD code);

// The message of any exception caught by a handler.
std::wstring MessageOf(const std::exception& e);

[[noreturn]] void RaiseLastError(const std::wstring& what);

}  // namespace platform
