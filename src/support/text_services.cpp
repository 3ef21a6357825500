// Forced formats and version numbers; see text_services.h.
#include "support/text_services.h"

#include "core/format_settings.h"
#include "platform/errors.h"
#include "platform/version_resource.h"
#include "support/err_log.h"

void SET_LOCAL_SHITS(wchar_t dateSeparator, wchar_t timeSeparator, wchar_t decimalSeparator,
                     const std::wstring& shortDateFormat, const std::wstring& shortTimeFormat,
                     const std::wstring& longTimeFormat) {
  try {
    core::FormatSettings& fs = core::ProcessFormatSettings();
    fs.DateSeparator = dateSeparator;
    fs.TimeSeparator = timeSeparator;
    fs.DecimalSeparator = decimalSeparator;
    fs.ShortDateFormat = shortDateFormat;
    fs.ShortTimeFormat = shortTimeFormat;
    fs.LongTimeFormat = longTimeFormat;
  } catch (const std::exception& e) {
    WRITE_LOG_IF_OK(L"SET_LOCAL_SHITS :" + platform::MessageOf(e));
  }
}

void FORCE_LOCAL_FORMATS() { SET_LOCAL_SHITS(L'.', L':', L'.', L"dd.mm.yyyy", L"hh:mm:ss", L"hh:mm:ss"); }

void GET_VERSION_NUMBERS(const std::wstring& fileName, int32_t& major, int32_t& minor, int32_t& release,
                         int32_t& build, std::wstring& text) {
  try {
    if (auto v = platform::ReadFileVersion(fileName)) {
      major = v->major;
      minor = v->minor;
      release = v->release;
      build = v->build;
    }
    text = std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(release) + L"." +
           std::to_wstring(build);
  } catch (const std::exception& e) {
    WRITE_LOG_IF_OK(L" :" + platform::MessageOf(e));
  }
}
