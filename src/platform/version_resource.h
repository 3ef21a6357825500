// The fixed file version of a file's version resource.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct FileVersion {
  uint16_t major = 0, minor = 0, release = 0, build = 0;
};

// nullopt when the file has no version resource (or no fixed part); throws platform::Exception
// when a resource exists but cannot be read.
std::optional<FileVersion> ReadFileVersion(const std::wstring& path);

}  // namespace platform
