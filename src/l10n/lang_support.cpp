// Language-support files: the selected country's file replaces the main window's captions; and
// the country-change handler that ties devices, language file and language flag together.
#include "app/main_form.h"
#include "core/lang_file.h"
#include "core/text.h"
#include "l10n/bilingual.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/err_log.h"
#include "support/text_file.h"

std::wstring Tfm_MAIN_FORM::CALC_LANG_SUPPORT() {
  const std::wstring folder = EXE_FOLDER + L"DOCUMENTATION\\";
  std::wstring name = core::LanguageFileName(lbx_COUNTRY_BG.Text());
  if (name != core::kDefaultLanguageFile && platform::FileExists(folder + name)) return folder + name;
  return folder + core::kDefaultLanguageFile;
}

void Tfm_MAIN_FORM::LOAD_LANG_SUPPORT(const std::wstring& TRGT_LANG_FILE) {
  try {
    TextFileContent file = LoadTextFile(TRGT_LANG_FILE);
    if (file.lines.size() > core::kLangLastLine) file.lines.resize(core::kLangLastLine);
    using T = core::LangTarget;
    for (const auto& [target, text] : core::LanguageAssignments(file.lines)) {
      switch (target) {
        case T::lb_Country: lb_Country.SetCaption(text); break;
        case T::lb_COMMTYPE: lb_COMMTYPE.SetCaption(text); break;
        case T::lb_COMPORT: lb_COMPORT.SetCaption(text); break;
        case T::lb_Baudrate: lb_Baudrate.SetCaption(text); break;
        case T::lb_IPADR: lb_IPADR.SetCaption(text); break;
        case T::lb_IPPORT: lb_IPPORT.SetCaption(text); break;
        case T::lb_Logical: lb_Logical.SetCaption(text); break;
        case T::btn_StartPlugin: btn_StartPlugin.SetCaption(text); break;
        case T::btn_Exit: btn_Exit.SetCaption(text); break;
        case T::btn_StartPluginHint: btn_StartPlugin.SetHint(text); break;
        case T::mn_HELP1: mn_HELP1.SetCaption(text); break;
        case T::mn_HELP2: mn_HELP2.SetCaption(text); break;
        case T::mn_ADDITIONAL: mn_ADDITIONAL.SetCaption(text); break;
        case T::mn_CHECKFORUPDATES: mn_CHECKFORUPDATES.SetCaption(text); break;
        case T::mn_ABOUT: mn_ABOUT.SetCaption(text); break;
        case T::mn_Kestrum_UPDATES: mn_Kestrum_UPDATES.SetCaption(text); break;
        case T::mn_Commands: mn_Commands.SetCaption(text); break;
        case T::mn_StartPlugin: mn_StartPlugin.SetCaption(text); break;
        case T::mn_Plugin: mn_Plugin.SetCaption(text); break;
        case T::mn_CheckUpdatesOnStart: mn_CheckUpdatesOnStart.SetCaption(text); break;
      }
    }
    DrawMenuBar(Handle());
    RECT client;
    GetClientRect(Handle(), &client);
    OnResize(client.right, client.bottom);
  } catch (const std::exception& e) {
    Log(L"LOAD_LANG_SUPPORT :" + platform::MessageOf(e));
  }
}

void Tfm_MAIN_FORM::lbx_COUNTRYChange() {
  try {
    if (lbx_DEVICES_2.Count() > 0) lbx_DEVICES_2.Clear();
    LOAD_COUNTRY(lbx_COUNTRY_BG.ItemIndex());
    std::wstring path = CALC_LANG_SUPPORT();
    if (platform::FileExists(path)) LOAD_LANG_SUPPORT(path);
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.lbx_COUNTRYChange :" + platform::MessageOf(e));
  }
  Invalidate();
  LANG_IS_BG = IsBulgarianSelection(lbx_COUNTRY_BG.Text());
}
