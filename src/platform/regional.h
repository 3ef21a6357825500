// The user's regional date and time settings, read into the process-wide format settings.
#pragma once

#include "core/format_settings.h"

namespace platform {

void LoadRegionalFormats(core::FormatSettings& fs);

}  // namespace platform
