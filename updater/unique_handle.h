// Kernel handles of Brevan.exe, closed on every path out of a function, also when a later step
// fails or returns early.
#pragma once

#include <windows.h>

#include <memory>

namespace brevan {

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// INVALID_HANDLE_VALUE (a failed CreateFileW) becomes an empty handle.
inline UniqueHandle Own(HANDLE h) {
  return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

}  // namespace brevan
