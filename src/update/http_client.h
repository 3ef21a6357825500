// The HTTP client of the update exchanges (IdHTTP1). Its work events drive the hourglass.
#pragma once

#include <functional>
#include <string>

class TIdHTTP {
 public:
  explicit TIdHTTP(std::wstring baseAddress) : BaseAddress(std::move(baseAddress)) {}
  std::wstring BaseAddress;
  std::function<void()> OnWorkBegin;
  std::function<void()> OnWorkEnd;
};
