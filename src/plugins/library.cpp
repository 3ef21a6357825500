// The one plugin library the main window holds at a time (DLLHandle).
#include "app/main_form.h"
#include "platform/errors.h"

void Tfm_MAIN_FORM::LoadPluginLibrary(const std::wstring& path) {
  if (DLLHandle) {
    try {
      ReleasePluginLibrary();
    } catch (const std::exception& e) {
      Log(L"Tfm_MAIN_FORM.LoadPluginLibrary :" + platform::MessageOf(e));
    }
  }
  // No error boxes for a file that is not a loadable library: the catalog skips it quietly.
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  DLLHandle = LoadLibraryW(path.c_str());
  SetErrorMode(previous);
}

void Tfm_MAIN_FORM::ReleasePluginLibrary() {
  HMODULE library = DLLHandle;
  DLLHandle = nullptr;
  if (library && !FreeLibrary(library)) throw platform::Exception(L"ERROR FREEING LIB");
}
