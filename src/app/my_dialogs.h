// Message boxes with a default caption and owner: the one way the system shows its warnings.
// MyDialogs, the global instance, is created by INIT_ERR_SUPPORT at start-up.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

enum TMyDialogTypes { qstn_YesNo_FBtn = 0, qstn_YesNo_SBtn = 1, inf_OkBtn = 2 };

class TMyDialogs {
 public:
  TMyDialogs() = default;

  void SetMyCaption(const std::wstring& caption) { FMyCaption = caption; }
  const std::wstring& MyCaption() const { return FMyCaption; }

  // Each call: an empty caption means FMyCaption, a handle 0 means MyHandle. Failures are raised
  // again with the operation's prefix.
  void MyAlert(HWND TRGT_HANDLE, const std::wstring& MsgText, const std::wstring& MsgCaption, TMyDialogTypes MsgType);
  void MyInformation(HWND TRGT_HANDLE, const std::wstring& MsgText, const std::wstring& MsgCaption,
                     TMyDialogTypes MsgType);
  // The box's answer (IDYES 6, IDNO 7, 0 when it cannot be shown); 7 without a box for inf_OkBtn.
  int32_t MyQuestion(HWND TRGT_HANDLE, const std::wstring& MsgText, const std::wstring& MsgCaption,
                     TMyDialogTypes MsgType);

  HWND MyHandle = nullptr;

 private:
  int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);
  std::wstring FMyCaption;
};

inline std::unique_ptr<TMyDialogs> MyDialogs;
