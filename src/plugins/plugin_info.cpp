// The description of the selected device's plugin (file, version, author, contacts,
// description) and the window that shows it.
#include "app/main_form.h"
#include "core/text.h"
#include "platform/files.h"
#include "plugins/description_form.h"
#include "plugins/plugin_abi.h"

using namespace plugin_abi;

void Tfm_MAIN_FORM::LOAD_PLUGIN_INFO() {
  if (lbx_DEVICES_2.ItemIndex() < 0) return;
  struct Finally {
    Tfm_MAIN_FORM& f;
    ~Finally() {
      try {
        f.ENSURE_DEVICE_SELECTED();
        f.Invalidate();
      } catch (...) {
      }
    }
  } finally{*this};

  PLGN_FILENAME = GET_DLLNAME_EX1(lbx_DEVICES_2.Item(lbx_DEVICES_2.ItemIndex()));
  if (!platform::FileExists(PLGN_FILENAME)) return;
  LoadPluginLibrary(PLGN_FILENAME);
  struct Release {
    Tfm_MAIN_FORM& f;
    ~Release() {
      try {
        f.ReleasePluginLibrary();
      } catch (const std::exception& e) {
        f.Log(L"Tfm_MAIN_FORM.LOAD_PLUGIN_INFO :" + platform::MessageOf(e));
      }
    }
  } release{*this};
  ExchangeBuffer buffer;
  const std::wstring br = L"\r\n";
  PLUGIN_INFO_TEXT = L" " + br + L"File name:" + br + core::ExtractFileName(PLGN_FILENAME) + br + br;

  auto areYouMine = Find<TextOutFn>(DLLHandle, kAreYouMine);
  if (!areYouMine) return;
  buffer.count = 0;
  if (int32_t rc = areYouMine(buffer.data(), &buffer.count); rc != 0) throw EMyException(rc);
  PLUGIN_INFO_TEXT += L"Version:" + br + DecodeOutput(buffer, kAreYouMine) + br + br;

  auto info = Find<GetPluginIfnoFn>(DLLHandle, kGetPluginIfno);
  if (!info) return;
  auto ask = [&](int32_t index) {
    buffer.count = 0;
    if (int32_t rc = info(index, buffer.data(), &buffer.count); rc != 0) throw EMyException(rc);
    return DecodeOutput(buffer, kGetPluginIfno);
  };
  PLUGIN_INFO_TEXT += L"Autor:" + br + ask(0) + br + br;
  PLUGIN_INFO_TEXT += L"Contacts:" + br + ask(2) + br + br + br;
  PLUGIN_INFO_TEXT += L"Description:" + br + ask(1) + br;
}

void Tfm_MAIN_FORM::mn_ADDITIONALClick() {
  try {
    Tfm_DESCRIPTION description(Handle());
    description.mem_Description.SetText(PLUGIN_INFO_TEXT);
    description.ShowModal(Handle());
  } catch (...) {
    BringToFront();
    throw;
  }
  BringToFront();
}
