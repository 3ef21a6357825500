// Message boxes; see my_dialogs.h.
#include "app/my_dialogs.h"

#include "platform/errors.h"

namespace {
template <typename Fn>
auto Prefixed(const wchar_t* prefix, Fn fn) {
  try {
    return fn();
  } catch (const std::exception& e) {
    throw platform::Exception(prefix + platform::MessageOf(e));
  }
}
}  // namespace

int TMyDialogs::Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
  HWND h = owner ? owner : MyHandle;
  const std::wstring& c = caption.empty() ? FMyCaption : caption;
  return MessageBoxW(h, text.c_str(), c.c_str(), style | (h ? 0u : MB_TASKMODAL));
}

void TMyDialogs::MyAlert(HWND handle, const std::wstring& text, const std::wstring& caption, TMyDialogTypes type) {
  Prefixed(L"MyDialogs.MyAlert: ", [&] {
    if (type == inf_OkBtn) Show(handle, text, caption, MB_OK | MB_ICONWARNING);
  });
}

void TMyDialogs::MyInformation(HWND handle, const std::wstring& text, const std::wstring& caption,
                               TMyDialogTypes type) {
  Prefixed(L"MyDialogs.MyInformation: ", [&] {
    if (type == inf_OkBtn) Show(handle, text, caption, MB_OK | MB_ICONINFORMATION);
  });
}

int32_t TMyDialogs::MyQuestion(HWND handle, const std::wstring& text, const std::wstring& caption,
                               TMyDialogTypes type) {
  return Prefixed(L"MyDialogs.MyQuestion: ", [&]() -> int32_t {
    switch (type) {
      case qstn_YesNo_FBtn: return Show(handle, text, caption, MB_YESNO | MB_ICONQUESTION);
      case qstn_YesNo_SBtn: return Show(handle, text, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
      default: return IDNO;
    }
  });
}
