// The launcher's windows in a test process: the data module and the main window set up as the
// program does, with its program folder, documents and application data in a throw-away folder.
#pragma once

#include <memory>
#include <string>

#include "app/dm.h"
#include "app/main_form.h"
#include "win_test_support.h"

namespace kt {

// Puts every process-wide value back to its state at program start.
void ResetProcessState();

class AppHarness {
 public:
  AppHarness();
  ~AppHarness();

  std::wstring ExeDir() const { return root_ / L"app\\"; }
  std::wstring PluginDir() const { return ExeDir() + L"PLUGINS\\"; }
  std::wstring DocDir() const { return ExeDir() + L"DOCUMENTATION\\"; }
  std::wstring Documents() const { return root_ / L"Documents"; }
  std::wstring AppData() const { return root_ / L"AppData"; }
  std::wstring DocsDataFolder() const { return Documents() + L"\\Kestrum Client\\"; }
  std::wstring AppDataFolder() const { return AppData() + L"\\Kestrum Client\\"; }
  std::wstring LogFile() const { return DocsDataFolder() + L"LOG_FOLDER\\KestrumClient_LOG.txt"; }
  std::wstring UpdateLog() const { return ExeDir() + L"KestrumClient_log.txt"; }

  TestPlugin Plugin(const std::wstring& name, const std::vector<std::string>& cfg,
                    const std::wstring& variant = L"tp_full") const {
    return InstallPlugin(PluginDir(), name, cfg, variant);
  }
  void WriteSettings(const std::string& bytes) const;  // Config.txt in the documents data folder

  // Creates the data module and the main window and shows it (the first show does the work).
  Tfm_MAIN_FORM& Start();
  // Creates them without showing.
  Tfm_MAIN_FORM& Create();
  Tfm_MAIN_FORM& form() { return *form_; }
  Tdm_& dm() { return *dm_; }
  bool Running() const { return form_ && form_->Exists(); }
  // Closes and destroys the windows, as the end of the program does.
  void Stop();

  // Selects a country as the user does; returns false when it is not listed.
  bool ChooseCountry(const std::wstring& name);
  bool ChooseDevice(const std::wstring& name);

 private:
  TempDir root_;
  std::unique_ptr<Tdm_> dm_;
  std::unique_ptr<Tfm_MAIN_FORM> form_;
};

}  // namespace kt
