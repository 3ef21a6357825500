// The plugin catalog with real plugin DLLs: countries, devices, positions and the rules for
// plugins that answer nonsense.
#include <gtest/gtest.h>

#include <algorithm>

#include "app_harness.h"
#include "core/country_table.h"
#include "l10n/bilingual.h"
#include "platform/errors.h"
#include "support/err_log.h"

using namespace kt;

namespace {
std::vector<std::wstring> Sorted(std::vector<std::wstring> v) {
  std::sort(v.begin(), v.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
  });
  return v;
}
int Count(const std::vector<std::wstring>& v, const std::wstring& s) {
  return static_cast<int>(std::count(v.begin(), v.end(), s));
}
}  // namespace

TEST(Catalog, PluginCountriesJoinTheFixedNamesSortedAndOnce) {
  AppHarness app;
  app.Plugin(L"A.dll", {"GetCountry.text=ATLANTIS"});
  app.Plugin(L"B.dll", {"GetCountry.text=Bulgaria"});          // a fixed name in other letter case
  app.Plugin(L"C.dll", {"GetCountry.text=POLAND,ROMANIA"});    // several countries: not listed
  app.Plugin(L"D.dll", {"GetCountry.text=   "});               // blank
  app.Plugin(L"E.dll", {"GetCountry.text=ATLANTIS"});          // already listed
  app.Plugin(L"F.dll", {"GetCountry.text= Ruritania "});       // kept untrimmed
  Tfm_MAIN_FORM& f = app.Start();
  auto items = f.lbx_COUNTRY_BG.Items();
  EXPECT_EQ(items, Sorted(items));
  EXPECT_EQ(Count(items, L"ATLANTIS"), 1);
  EXPECT_EQ(Count(items, L"Bulgaria"), 1);
  EXPECT_EQ(Count(items, L"BULGARIA"), 0) << "the plugin's spelling was added first";
  EXPECT_EQ(Count(items, L"POLAND,ROMANIA"), 0);
  EXPECT_EQ(Count(items, L" Ruritania "), 1);
  EXPECT_EQ(items.size(), 28u + 2u);
  // Every visited library is logged.
  std::string log = ReadBytes(app.LogFile());
  for (const char* name : {"A.dll", "B.dll", "C.dll", "D.dll", "E.dll", "F.dll"})
    EXPECT_NE(log.find(std::string(":DLLName: ") + Narrow(app.PluginDir()) + name), std::string::npos) << name;
  EXPECT_EQ(f.DLLHandle, nullptr);
}

TEST(Catalog, ChoosingACountryListsTheDevicesOfItsPlugins) {
  AppHarness app;
  app.Plugin(L"Bg.dll", {"GetCountry.text=BULGARIA", "GetPluginIfno.3.text=Zeta 1\\r\\nalpha 2\\r\\nMid 3"});
  app.Plugin(L"Multi.dll", {"GetCountry.text=POLAND,BULGARIA", "GetPluginIfno.3.text=Beta"});
  app.Plugin(L"Pl.dll", {"GetCountry.text=POLAND", "GetPluginIfno.3.text=Polish only"});
  Tfm_MAIN_FORM& f = app.Start();
  ASSERT_TRUE(app.ChooseCountry(L"BULGARIA"));
  EXPECT_EQ(f.lbx_DEVICES_2.Items(), (std::vector<std::wstring>{L"alpha 2", L"Beta", L"Mid 3", L"Zeta 1"}));
  EXPECT_EQ(f.lbx_DEVICES_2.ItemIndex(), 0) << "the first device is selected";
  EXPECT_EQ(f.DLL_LIST->Count(), 2);
  EXPECT_EQ(f.GET_DLLNAME_EX1(L"Zeta 1"), app.PluginDir() + L"Bg.dll");
  EXPECT_EQ(f.GET_DLLNAME_EX1(L"Beta"), app.PluginDir() + L"Multi.dll");
  EXPECT_EQ(f.GET_DLLNAME_EX1(L"zeta 1"), L"") << "look-ups by name are exact";
  EXPECT_EQ(f.GET_DLLNAME(L"Test plugin"), app.PluginDir() + L"Bg.dll");
  EXPECT_EQ(f.GET_DEVINDEX_BYNAME(L"Mid 3"), 2);
  EXPECT_TRUE(LANG_IS_BG);
  ASSERT_TRUE(app.ChooseCountry(L"POLAND"));
  EXPECT_EQ(f.lbx_DEVICES_2.Items(), (std::vector<std::wstring>{L"Beta", L"Polish only"}));
  EXPECT_FALSE(LANG_IS_BG);
  // A plugin with several countries is taken for every country.
  ASSERT_TRUE(app.ChooseCountry(L"JAPAN"));
  EXPECT_EQ(f.lbx_DEVICES_2.Items(), (std::vector<std::wstring>{L"Beta"}));
  app.Plugin(L"Multi.dll", {"GetCountry.text=POLAND"});
  ASSERT_TRUE(app.ChooseCountry(L"KENYA"));
  EXPECT_EQ(f.lbx_DEVICES_2.Count(), 0);
  EXPECT_EQ(f.DEVICES_LIST->Count(), 0);
  f.CALC_DEVICE_INDEX();
  EXPECT_EQ(f.DEVICE_INDEX(), -1);
}

TEST(Catalog, DevicePositionsCountEveryLineAndNamesKeepTheirBlanks) {
  AppHarness app;
  app.Plugin(L"P.dll", {"GetPluginIfno.3.text=First\\r\\n\\r\\n  Third  \\n"});
  Tfm_MAIN_FORM& f = app.Start();
  ASSERT_TRUE(app.ChooseCountry(L"BULGARIA"));
  EXPECT_EQ(f.lbx_DEVICES_2.Items(), (std::vector<std::wstring>{L"  Third  ", L"First"}));
  EXPECT_EQ(f.GET_DEVINDEX_BYNAME(L"First"), 0);
  EXPECT_EQ(f.GET_DEVINDEX_BYNAME(L"  Third  "), 2);
  app.ChooseDevice(L"  Third  ");
  f.CALC_DEVICE_INDEX();
  EXPECT_EQ(f.DEVICE_INDEX(), 2);
}

TEST(Catalog, TheFirstPluginInTheEnumerationOwnsADuplicateDevice) {
  AppHarness app;
  app.Plugin(L"One.dll", {"GetPluginIfno.3.text=Shared\\r\\nOwn"});
  app.Plugin(L"Two.dll", {"GetPluginIfno.3.text=SHARED\\r\\nOther"});
  Tfm_MAIN_FORM& f = app.Start();
  ASSERT_TRUE(app.ChooseCountry(L"BULGARIA"));
  auto items = f.lbx_DEVICES_2.Items();
  ASSERT_EQ(items.size(), 3u);
  int shared = (Count(items, L"Shared") ? 1 : 0) + (Count(items, L"SHARED") ? 1 : 0);
  EXPECT_EQ(shared, 1);
  std::wstring listed = Count(items, L"Shared") ? L"Shared" : L"SHARED";
  std::wstring owner = f.GET_DLLNAME_EX1(listed);
  EXPECT_EQ(owner, app.PluginDir() + (listed == L"Shared" ? L"One.dll" : L"Two.dll"));
}

TEST(Catalog, PluginsInOtherLetterCaseAndTheExactCountryRule) {
  AppHarness app;
  app.Plugin(L"First.dll", {"GetCountry.text=Bulgaria", "GetPluginIfno.3.text=From first"});
  app.Plugin(L"Second.dll", {"GetCountry.text=BULGARIA", "GetPluginIfno.3.text=From second"});
  Tfm_MAIN_FORM& f = app.Start();
  // Which of the two is visited first depends on the folder order; the listed spelling is its.
  std::wstring listed = f.lbx_COUNTRY_BG.IndexOfText(L"BULGARIA") >= 0
                            ? f.lbx_COUNTRY_BG.Item(f.lbx_COUNTRY_BG.IndexOfText(L"BULGARIA"))
                            : L"";
  ASSERT_TRUE(listed == L"Bulgaria" || listed == L"BULGARIA");
  ASSERT_TRUE(app.ChooseCountry(listed));
  EXPECT_EQ(f.lbx_DEVICES_2.Items(),
            (std::vector<std::wstring>{listed == L"Bulgaria" ? L"From first" : L"From second"}));
  EXPECT_FALSE(LANG_IS_BG && listed == L"Bulgaria");
}

TEST(Catalog, CommunicationType10IsAskedForItsCountryIn1252) {
  AppHarness app;
  TestPlugin p = app.Plugin(L"Ten.dll", {"GetCountry.text=CAF\\xC9,X", "GetTypeCommunication.type=10",
                                         "GetSupportedDevices_Ex.text=Ten A"});
  TestPlugin q = app.Plugin(L"One.dll", {"GetCountry.text=POLAND", "GetPluginIfno.3.text=One A"});
  Tfm_MAIN_FORM& f = app.Start();
  p.ClearCalls();
  q.ClearCalls();
  ASSERT_TRUE(app.ChooseCountry(L"POLAND"));
  EXPECT_EQ(f.lbx_DEVICES_2.Items(), (std::vector<std::wstring>{L"One A", L"Ten A"}));
  bool asked = false;
  for (const auto& c : p.Calls())
    if (c.rfind("GetSupportedDevices_Ex count=", 0) == 0) {
      EXPECT_EQ(c, "GetSupportedDevices_Ex count=6 country=" + Hex("POLAND"));
      asked = true;
    }
  EXPECT_TRUE(asked);
  for (const auto& c : p.Calls()) EXPECT_NE(c, "GetPluginIfno.3") << "a type-10 plugin is asked for its devices only";
  bool infoAsked = false;
  for (const auto& c : q.Calls()) infoAsked |= c == "GetPluginIfno.3";
  EXPECT_TRUE(infoAsked);
}

TEST(Catalog, PluginsThatAnswerNonsenseAreSkippedQuietly) {
  AppHarness app;
  std::string huge(2048, 'H');
  app.Plugin(L"NotOurs.dll", {"GetTypeDll=2", "GetCountry.text=NOTOURS"});
  app.Plugin(L"Refuses.dll", {"AreYouMine.rc=5", "GetCountry.text=REFUSES"});
  app.Plugin(L"BadCountry.dll", {"GetCountry.rc=3", "GetCountry.text=BADCOUNTRY"});
  app.Plugin(L"NoCountry.dll", {"GetCountry.text=NOCOUNTRY"}, L"tp_no_GetCountry");
  app.Plugin(L"NoType.dll", {"GetCountry.text=BULGARIA", "GetPluginIfno.3.text=No type"}, L"tp_no_GetTypeCommunication");
  app.Plugin(L"NoName.dll", {"GetCountry.text=BULGARIA", "GetPluginIfno.3.text=No name"}, L"tp_no_GetDeviceName");
  app.Plugin(L"BlankName.dll", {"GetCountry.text=BULGARIA", "GetDeviceName.text= ", "GetPluginIfno.3.text=Blank"});
  app.Plugin(L"NoList.dll", {"GetCountry.text=BULGARIA"}, L"tp_no_GetPluginIfno");
  app.Plugin(L"Huge.dll", {"GetCountry.text=HUGE", "GetCountry.count=100000", "GetPluginIfno.3.count=-3"});
  app.Plugin(L"Long.dll", {"GetCountry.text=" + huge, "GetCountry.count=5000"});
  app.Plugin(L"Good.dll", {"GetCountry.text=BULGARIA", "GetPluginIfno.3.text=Good device"});
  WriteBytes(app.PluginDir() + L"Broken.dll", "MZ this is not a library");
  Tfm_MAIN_FORM& f = app.Start();
  auto items = f.lbx_COUNTRY_BG.Items();
  for (const wchar_t* name : {L"NOTOURS", L"REFUSES", L"BADCOUNTRY", L"NOCOUNTRY"}) EXPECT_EQ(Count(items, name), 0);
  // A count above the buffer is cut at 2048 bytes: the text reads up to the first zero byte.
  EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const std::wstring& s) { return s.rfind(L"HUGE", 0) == 0; }), 1);
  EXPECT_EQ(Count(items, std::wstring(2048, L'H')), 1);
  ASSERT_TRUE(app.ChooseCountry(L"BULGARIA"));
  EXPECT_EQ(f.lbx_DEVICES_2.Items(), (std::vector<std::wstring>{L"Good device"}));
  EXPECT_EQ(f.DLLHandle, nullptr);
  std::string log = ReadBytes(app.LogFile());
  EXPECT_NE(log.find("reported 100000 bytes"), std::string::npos);
}

TEST(Catalog, TheLibraryHandleHoldsOneLibraryAtATime) {
  AppHarness app;
  TestPlugin a = app.Plugin(L"A.dll", {});
  TestPlugin b = app.Plugin(L"B.dll", {}, L"tp_no_ShowPlugin");
  Tfm_MAIN_FORM& f = app.Start();
  f.LoadPluginLibrary(a.dll);
  HMODULE first = f.DLLHandle;
  ASSERT_NE(first, nullptr);
  f.LoadPluginLibrary(b.dll);  // releases A first
  EXPECT_NE(f.DLLHandle, nullptr);
  EXPECT_EQ(GetModuleHandleW(a.dll.c_str()), nullptr) << "the first library was released";
  f.LoadPluginLibrary(app.PluginDir() + L"missing.dll");  // a failed load raises nothing
  EXPECT_EQ(f.DLLHandle, nullptr);
  EXPECT_EQ(GetModuleHandleW(b.dll.c_str()), nullptr);
  // A release that fails still leaves no handle, and says so.
  f.DLLHandle = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x7ff0));
  try {
    f.ReleasePluginLibrary();
    ADD_FAILURE() << "no error";
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(), L"ERROR FREEING LIB");
  }
  EXPECT_EQ(f.DLLHandle, nullptr);
}
