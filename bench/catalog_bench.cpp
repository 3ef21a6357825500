// How long a country change takes with 10, 50 and 200 plugins in PLUGINS\, against the floor
// that any host pays: loading, asking and freeing each library once. The change visits every
// plugin, so this is the wait a technician feels on every country pick.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app_harness.h"
#include "bench_support.h"
#include "plugins/plugin_abi.h"

using namespace plugin_abi;

namespace {

constexpr int kRepeats = 5;

std::wstring PluginName(int i) {
  wchar_t name[32];
  std::swprintf(name, 32, L"P%03d.dll", i);
  return name;
}

std::vector<std::string> PluginConfig(int i) {
  char id[16];
  std::snprintf(id, sizeof id, "%03d", i);
  const std::string n = id;
  return {"GetCountry.text=BULGARIA", "GetDeviceName.text=Bench plugin " + n,
          "GetPluginIfno.3.text=Device " + n + "-A\\r\\nDevice " + n + "-B\\r\\nDevice " + n + "-C"};
}

// The baseline of the goal: load, look up GetTypeDll, call it, free; once per library.
void BareLoop(const std::vector<std::wstring>& visits) {
  for (const std::wstring& path : visits) {
    HMODULE m = LoadLibraryW(path.c_str());
    if (!m) continue;
    if (auto fn = Find<GetTypeDllFn>(m, kGetTypeDll)) fn();
    FreeLibrary(m);
  }
}

// The same export calls a country change makes, without the window: it separates what the
// plugins themselves cost from what the launcher adds around them.
void SameCallsLoop(const std::vector<std::wstring>& files, const std::wstring& selected) {
  ExchangeBuffer b;
  auto text = [&](HMODULE m, const char* name) {
    if (auto fn = Find<TextOutFn>(m, name)) fn(b.data(), &b.count);
  };
  auto info = [&](HMODULE m, int index) {
    if (auto fn = Find<GetPluginIfnoFn>(m, kGetPluginIfno)) fn(index, b.data(), &b.count);
  };
  auto commType = [&](HMODULE m) {
    int32_t type = 0;
    if (auto fn = Find<GetTypeCommunicationFn>(m, kGetTypeCommunication)) fn(&type);
  };
  for (const std::wstring& path : files) {
    HMODULE m = LoadLibraryW(path.c_str());
    if (!m) continue;
    if (auto fn = Find<GetTypeDllFn>(m, kGetTypeDll)) fn();
    text(m, kAreYouMine);
    text(m, kGetCountry);
    text(m, kGetDeviceName);
    commType(m);
    info(m, 3);
    FreeLibrary(m);
  }
  // The selected device's plugin: its communication type, then its description twice.
  HMODULE m = LoadLibraryW(selected.c_str());
  commType(m);
  FreeLibrary(m);
  for (int k = 0; k < 2; ++k) {
    m = LoadLibraryW(selected.c_str());
    text(m, kAreYouMine);
    for (int index : {0, 2, 1}) info(m, index);
    FreeLibrary(m);
  }
}

// Where the launcher's own time goes: filling the device list (a look-up and an add per device,
// as the change does) on the visible list, then with its redrawing held off, then the adds alone.
void FillCost(Tfm_MAIN_FORM& f, int devices) {
  std::vector<std::wstring> names;
  for (int i = 0; i < devices; ++i) names.push_back(L"Device " + std::to_wstring(100000 + i));
  ui::ListBox& list = f.lbx_DEVICES_2;
  auto fill = [&](bool lookUp) {
    list.Clear();
    return kb::TimeMs([&] {
      for (const auto& n : names)
        if (!lookUp || list.IndexOfText(n) < 0) list.Add(n);
    });
  };
  auto hold = [&](bool held) { SendMessageW(list.Handle(), WM_SETREDRAW, held ? FALSE : TRUE, 0); };
  std::vector<double> visible, held, adds;
  for (int r = 0; r < 3; ++r) {
    visible.push_back(fill(true));
    hold(true);
    held.push_back(fill(true));
    adds.push_back(fill(false));
    hold(false);
  }
  InvalidateRect(list.Handle(), nullptr, TRUE);
  kb::Say(
      "  device list fill, %d look-ups and adds: visible %.1f ms, redraw held off %.1f ms (adds alone %.1f "
      "ms)",
      devices, kb::Median(visible), kb::Median(held), kb::Median(adds));
}

int CountCalls(const std::vector<kt::TestPlugin>& plugins) {
  int n = 0;
  for (const auto& p : plugins) n += static_cast<int>(p.Calls().size());
  return n;
}

void ClearCalls(const std::vector<kt::TestPlugin>& plugins) {
  for (const auto& p : plugins) p.ClearCalls();
}

void Measure(int count) {
  kt::AppHarness app;
  std::vector<kt::TestPlugin> plugins;
  for (int i = 0; i < count; ++i) plugins.push_back(app.Plugin(PluginName(i), PluginConfig(i)));
  Tfm_MAIN_FORM& f = app.Start();
  const int bulgaria = f.lbx_COUNTRY_BG.IndexOfText(L"BULGARIA");
  f.lbx_COUNTRY_BG.SetItemIndex(bulgaria);

  std::vector<std::wstring> files;
  for (const auto& p : plugins) files.push_back(p.dll);
  std::vector<std::wstring> visits = files;  // N + 2: every plugin, then the selected one twice
  visits.push_back(files[0]);
  visits.push_back(files[0]);

  f.lbx_COUNTRY_BGChange();  // warm-up: the first change fills the lists and the file cache
  BareLoop(visits);
  SameCallsLoop(files, files[0]);

  // What one change does, counted by the plugins themselves.
  ClearCalls(plugins);
  const size_t logBefore = kt::ReadBytes(app.LogFile()).size();
  f.lbx_COUNTRY_BGChange();
  const int launcherCalls = CountCalls(plugins);
  const size_t logGrowth = kt::ReadBytes(app.LogFile()).size() - logBefore;
  const int devices = f.lbx_DEVICES_2.Count();
  const bool firstSelected = f.GET_DLLNAME_EX1(f.lbx_DEVICES_2.Item(f.lbx_DEVICES_2.ItemIndex())) == files[0];
  ClearCalls(plugins);
  BareLoop(visits);
  const int bareCalls = CountCalls(plugins);
  ClearCalls(plugins);
  SameCallsLoop(files, files[0]);
  const int sameCalls = CountCalls(plugins);

  // Timed without the fixture's call log, which would otherwise dominate.
  for (int i = 0; i < count; ++i) {
    std::vector<std::string> cfg = PluginConfig(i);
    cfg.push_back("record=0");
    plugins[static_cast<size_t>(i)].Configure(cfg);
  }
  std::vector<double> launcher, bare, same;
  for (int r = 0; r < kRepeats; ++r) {
    ClearCalls(plugins);
    launcher.push_back(kb::TimeMs([&] { f.lbx_COUNTRY_BGChange(); }));
    ClearCalls(plugins);
    bare.push_back(kb::TimeMs([&] { BareLoop(visits); }));
    ClearCalls(plugins);
    same.push_back(kb::TimeMs([&] { SameCallsLoop(files, files[0]); }));
  }
  ClearCalls(plugins);

  // One device-name look-up on the filled list: the change makes one per listed device.
  std::vector<double> lookup;
  for (int r = 0; r < 5; ++r)
    lookup.push_back(kb::TimeMs([&] { f.lbx_DEVICES_2.IndexOfText(L"no such device"); }));
  const double lookupMs = kb::Median(lookup);

  const double l = kb::Median(launcher), b = kb::Median(bare), s = kb::Median(same);
  kb::Say("catalog N=%d: change %.1f ms, bare loop (N+2 visits) %.1f ms, same-calls loop %.1f ms", count, l,
          b, s);
  kb::Say("  per change: %d devices listed, first plugin selected: %s, log grew %u bytes", devices,
          firstSelected ? "yes" : "no", static_cast<unsigned>(logGrowth));
  kb::Say("  export calls: change %d, bare loop %d, same-calls loop %d", launcherCalls, bareCalls, sameCalls);
  kb::Say("  one look-up in the %d-item device list: %.3f ms", devices, lookupMs);
  FillCost(f, devices);
  kb::PrintRow("catalog N=" + std::to_string(count) + " (ms)", kb::Fixed(l, 1), kb::Fixed(b, 1),
               kb::Fixed(l / b, 2), "<= 1.20");
  kb::PrintRow("  same calls, N=" + std::to_string(count) + " (ms)", kb::Fixed(l, 1), kb::Fixed(s, 1),
               kb::Fixed(l / s, 2), "report");
}

}  // namespace

int main() {
  kb::SetUpProcess();
  for (int count : {10, 50, 200}) Measure(count);
  kb::TearDownProcess();
  return 0;
}
