// The plugin catalog: which libraries in PLUGINS\ are plugins, the countries they serve and the
// devices they offer. Nothing is cached; every visit loads, asks and releases its library.
#include "app/main_form.h"
#include "core/country_table.h"
#include "core/text.h"
#include "l10n/bilingual.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "plugins/plugin_abi.h"
#include "support/dstr_parser.h"
#include "support/err_log.h"

using namespace plugin_abi;

namespace {
// Calls a text export into the visit's buffer: the text, or a raised plugin error.
std::wstring AskText(HMODULE library, const char* name, ExchangeBuffer& b, int32_t& PLGN_ERR) {
  auto fn = Find<TextOutFn>(library, name);
  if (!fn) throw EMyException(kMissingExport);
  b.count = 0;
  PLGN_ERR = fn(b.data(), &b.count);
  if (PLGN_ERR != 0) throw EMyException(PLGN_ERR);
  return DecodeOutput(b, name);
}
}  // namespace

// One library visit: its exchange buffer lives as long as the visit.
struct CatalogVisit {
  Tfm_MAIN_FORM& form;
  ExchangeBuffer buffer;
  explicit CatalogVisit(Tfm_MAIN_FORM& f) : form(f) { form.visitBuffer_ = &buffer; }
  ~CatalogVisit() { form.visitBuffer_ = nullptr; }
};

ExchangeBuffer& Tfm_MAIN_FORM::VisitBuffer() {
  if (!visitBuffer_) throw platform::Exception(L"No exchange buffer");
  return *visitBuffer_;
}

std::wstring Tfm_MAIN_FORM::PluginFolder() const { return EXE_FOLDER + L"PLUGINS\\"; }

void Tfm_MAIN_FORM::ADD_SUPPORTED_COUNTRIES() {
  SCAN_PLUGINS();
  Invalidate();
}

void Tfm_MAIN_FORM::SCAN_PLUGINS() {
  for (const std::wstring& path : platform::ListFiles(PluginFolder(), L"*.dll")) LoadInfo(path);
  ADD_DEFAULT_COUNTRIES();
}

void Tfm_MAIN_FORM::ADD_DEFAULT_COUNTRIES() {
  for (const wchar_t* name : core::kDefaultCountries)
    if (lbx_COUNTRY_BG.IndexOfText(name) < 0) lbx_COUNTRY_BG.Add(name);
}

void Tfm_MAIN_FORM::LoadInfo(const std::wstring& path) {
  LoadPluginLibrary(path);
  Log(L"DLLName: " + path);
  try {
    CatalogVisit visit(*this);
    if (CHECK_PLUGIN() && GET_PLUGIN_COUNTRY() && !core::IsBlank(PLGN_COUNTRY) &&
        lbx_COUNTRY_BG.IndexOfText(PLGN_COUNTRY) < 0 && !core::Contains(PLGN_COUNTRY, L","))
      lbx_COUNTRY_BG.Add(PLGN_COUNTRY);
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.LoadInfo :" + platform::MessageOf(e));
  }
  try {
    ReleasePluginLibrary();
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.LoadInfo :" + platform::MessageOf(e));
  }
}

bool Tfm_MAIN_FORM::CHECK_PLUGIN() {
  PLGN_ERR = -1;
  try {
    auto getTypeDll = Find<GetTypeDllFn>(DLLHandle, kGetTypeDll);
    if (!getTypeDll || getTypeDll() != 1) return false;
    auto areYouMine = Find<TextOutFn>(DLLHandle, kAreYouMine);
    if (!areYouMine) return false;
    ExchangeBuffer& b = VisitBuffer();
    b.count = 0;
    PLGN_ERR = areYouMine(b.data(), &b.count);
  } catch (const std::exception&) {
  }
  return PLGN_ERR == 0;
}

bool Tfm_MAIN_FORM::GET_PLUGIN_COUNTRY() {
  PLGN_ERR = -1;
  std::wstring text;
  try {
    text = AskText(DLLHandle, kGetCountry, VisitBuffer(), PLGN_ERR);
  } catch (const EMyException&) {
    text.clear();
  }
  PLGN_COUNTRY = text;
  return !core::IsBlank(text) && PLGN_ERR == 0;
}

bool Tfm_MAIN_FORM::GET_PLUGIN_DEVICENAME() {
  PLGN_ERR = -1;
  PLGN_DEVICENAME.clear();
  try {
    PLGN_DEVICENAME = AskText(DLLHandle, kGetDeviceName, VisitBuffer(), PLGN_ERR);
  } catch (const EMyException&) {
    PLGN_DEVICENAME.clear();
  }
  return !core::IsBlank(PLGN_DEVICENAME) && PLGN_ERR == 0;
}

bool Tfm_MAIN_FORM::GET_PLUGIN_COMMTYPE() {
  PLGN_COMMTYPE = 0;
  auto fn = Find<GetTypeCommunicationFn>(DLLHandle, kGetTypeCommunication);
  if (!fn) return false;
  int32_t type = 0;
  if (fn(&type) != 0) return false;
  PLGN_COMMTYPE = type;
  return true;
}

void Tfm_MAIN_FORM::LOAD_COUNTRY(int32_t index) {
  if (index < 0 || index >= lbx_COUNTRY_BG.Count()) return;
  try {
    std::vector<std::wstring> files = platform::ListFiles(PluginFolder(), L"*.dll");
    if (!files.empty()) {
      DLL_LIST->Clear();
      lbx_DEVICES_2.Clear();
      DEVICES_LIST->Clear();
      const std::wstring country = lbx_COUNTRY_BG.Text();
      // The list is drawn once, when it is complete.
      struct Redraw {
        ui::ListBox& list;
        ~Redraw() { list.SetRedraw(true); }
      } redraw{lbx_DEVICES_2};
      lbx_DEVICES_2.SetRedraw(false);
      for (const std::wstring& path : files) LOAD_COUNTRY_2(path, country);
      if (lbx_DEVICES_2.Count() > 0) {
        lbx_DEVICES_2.SetItemIndex(0);
        SET_COMM_PANEL();
      }
    }
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.LOAD_COUNTRY :" + platform::MessageOf(e));
  }
  LOAD_PLUGIN_INFO();  // a plugin error here passes on to the country-change handler
  Invalidate();
  LANG_IS_BG = IsBulgarianSelection(lbx_COUNTRY_BG.Text());
}

void Tfm_MAIN_FORM::LOAD_COUNTRY_2(const std::wstring& path, const std::wstring& country) {
  LoadPluginLibrary(path);
  try {
    CatalogVisit visit(*this);
    if (CHECK_PLUGIN() && GET_PLUGIN_COUNTRY() &&
        !(core::Trim(PLGN_COUNTRY) != core::Trim(country) && !core::Contains(PLGN_COUNTRY, L",")) &&
        GET_PLUGIN_DEVICENAME() && GET_PLUGIN_COMMTYPE()) {
      PLGN_FILENAME = path;
      DLL_LIST->ADD_REC(TDLL_REC{path, PLGN_DEVICENAME});
      LOAD_DEVICES();
    }
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.LOAD_COUNTRY_2 :" + platform::MessageOf(e));
  }
  try {
    ReleasePluginLibrary();
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.LOAD_COUNTRY_2 :" + platform::MessageOf(e));
  }
}

bool Tfm_MAIN_FORM::LOAD_DEVICES() {
  std::wstring text = GET_SUPPORTED_DEVICES();
  if (text.empty()) return false;
  SET_FILTER(text);
  return true;
}

std::wstring Tfm_MAIN_FORM::GET_SUPPORTED_DEVICES() {
  PLGN_ERR = -1;
  try {
    ExchangeBuffer& b = VisitBuffer();
    b.count = 0;
    if (PLGN_COMMTYPE == 10) {
      auto fn = Find<GetSupportedDevicesExFn>(DLLHandle, kGetSupportedDevicesEx);
      if (!fn) return {};
      std::unique_ptr<char[]> block(new char[kBufferSize]);
      std::string country = DStrParser::WideStringToAnsiString(lbx_COUNTRY_BG.Text(), 1252);
      int32_t n = static_cast<int32_t>(std::min<size_t>(country.size(), kBufferSize));
      std::copy_n(country.data(), n, block.get());
      PLGN_ERR = fn(block.get(), n, b.data(), &b.count);
    } else {
      auto fn = Find<GetPluginIfnoFn>(DLLHandle, kGetPluginIfno);
      if (!fn) return {};
      PLGN_ERR = fn(3, b.data(), &b.count);
    }
    if (PLGN_ERR != 0) return {};
    std::wstring text = DecodeOutput(b, PLGN_COMMTYPE == 10 ? kGetSupportedDevicesEx : kGetPluginIfno);
    return core::IsBlank(text) ? std::wstring() : text;
  } catch (const std::exception&) {
    return {};
  }
}

void Tfm_MAIN_FORM::SET_FILTER(const std::wstring& text) {
  try {
    std::vector<std::wstring> lines = core::SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
      // A blank line names no device; it still counts for the positions after it.
      if (core::IsBlank(lines[i]) || lbx_DEVICES_2.IndexOfText(lines[i]) >= 0) continue;
      TDEVICE_REC rec{static_cast<int32_t>(i), lines[i], PLGN_FILENAME};
      if (DEVICES_LIST->ADD_REC(rec) == 0) lbx_DEVICES_2.Add(lines[i]);
    }
  } catch (const std::exception& e) {
    Log(L"SET_FILTER :" + platform::MessageOf(e));
  }
}

void Tfm_MAIN_FORM::CALC_DEVICE_INDEX() {
  if (lbx_DEVICES_2.Count() == 0) {
    SetDEVICE_INDEX(-1);
    return;
  }
  if (lbx_DEVICES_2.ItemIndex() < 0) lbx_DEVICES_2.SetItemIndex(0);
  SetDEVICE_INDEX(GET_DEVINDEX_BYNAME(lbx_DEVICES_2.Item(lbx_DEVICES_2.ItemIndex())));
}

int32_t Tfm_MAIN_FORM::GET_DEVINDEX_BYNAME(const std::wstring& name) {
  try {
    for (int32_t i = 0; i < DEVICES_LIST->Count(); ++i)
      if (DEVICES_LIST->MY_PRECS(i).DEVICE_NAME == name) return DEVICES_LIST->MY_PRECS(i).DEVICE_INDEX;
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.GET_DEVINDEX_BYNAME:" + platform::MessageOf(e));
  }
  return -1;
}

std::wstring Tfm_MAIN_FORM::GET_DLLNAME_EX1(const std::wstring& name) {
  try {
    for (int32_t i = 0; i < DEVICES_LIST->Count(); ++i)
      if (DEVICES_LIST->MY_PRECS(i).DEVICE_NAME == name) return DEVICES_LIST->MY_PRECS(i).DLL_NAME;
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.GET_DLLNAME_EX1:" + platform::MessageOf(e));
  }
  return {};
}

std::wstring Tfm_MAIN_FORM::GET_DLLNAME(const std::wstring& name) {
  try {
    for (int32_t i = 0; i < DLL_LIST->Count(); ++i)
      if (DLL_LIST->MY_PRECS(i).PLUGIN_NAME == name) return DLL_LIST->MY_PRECS(i).DLL_NAME;
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.GET_DLLNAME:" + platform::MessageOf(e));
  }
  return {};
}

void Tfm_MAIN_FORM::ENSURE_DEVICE_SELECTED() {
  if (lbx_DEVICES_2.Count() == 0) return;
  if (lbx_DEVICES_2.ItemIndex() < 0) lbx_DEVICES_2.SetItemIndex(0);
  CALC_DEVICE_INDEX();
}
