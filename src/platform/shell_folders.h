// The user's special folders as the shell resolves them, without a trailing backslash.
#pragma once

#include <string>

namespace platform {

// CSIDL_APPDATA (26) and CSIDL_PERSONAL (5); empty when the shell cannot resolve the folder.
std::wstring SpecialFolder(int csidl);

}  // namespace platform
