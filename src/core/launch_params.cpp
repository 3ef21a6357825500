// Parameter strings per communication type; see launch_params.h.
#include "core/launch_params.h"

#include "core/text.h"

namespace core {

int32_t ComNumberOf(const std::wstring& text) {
  if (IsBlank(text)) return -1;
  std::wstring rest = text;
  if (size_t p = text.find(L"COM "); p != std::wstring::npos) rest = text.substr(p + 4);
  else if (size_t q = text.find(L"COM"); q != std::wstring::npos) rest = text.substr(q + 3);
  return ReadLeadingInteger(rest).value_or(-1);
}

namespace {

class Builder {
 public:
  Builder& Add(const std::wstring& value) {
    text_ += value;
    text_ += L',';
    return *this;
  }
  Builder& Add(int32_t value) { return Add(ToDecimal(value)); }
  std::wstring Take() { return std::move(text_); }

 private:
  std::wstring text_;
};

void DefaultSerialAndBaud(PanelModel& p) {
  if (p.comPort.index < 0) p.comPort.Select(0);
  if (p.baudrate.index < 0) p.baudrate.Select(p.baudrate.Count() - 1);
}

}  // namespace

std::optional<LaunchString> BuildLaunchString(int32_t type, PanelModel& p, const std::wstring& country,
                                              int32_t dev) {
  if (type < kMinCommType || type > kMaxCommType) return std::nullopt;
  Builder b;
  auto com = [&] { return ComNumberOf(p.comPort.Text()); };
  auto baud = [&] { return p.baudrate.Text(); };
  auto ip = [&] { return Trim(p.ipAdr.text); };
  auto port = [&] { return Trim(p.ipPort.text); };
  auto log = [&] { return Trim(p.logical.text); };
  switch (type) {
    case 0: break;
    case 1: b.Add(com()).Add(baud()); break;
    case 2: b.Add(port()).Add(ip()); break;
    case 3: b.Add(com()); break;
    case 4:
      ApplyLogicalNumberDefault(p.logical);
      b.Add(port()).Add(ip()).Add(dev).Add(log());
      break;
    case 5: b.Add(dev); break;
    case 6:
    case 7: b.Add(com()).Add(baud()).Add(dev); break;
    case 8: {
      // The port number is taken before its default is filled in.
      int32_t comNumber = com();
      if (p.commType.index < 0) p.commType.Select(0);
      ApplyLogicalNumberDefault(p.logical);
      DefaultSerialAndBaud(p);
      if (IsBlank(p.ipAdr.text)) p.ipAdr.text = L"127.0.0.1";
      if (IsBlank(p.ipPort.text)) p.ipPort.text = L"4999";
      int32_t ct = p.commType.index;
      b.Add(ct);
      if (ct == 0) b.Add(comNumber).Add(baud());
      else if (ct == 1) b.Add(ip()).Add(port());
      b.Add(log()).Add(dev);
      break;
    }
    case 9: b.Add(com()).Add(baud()).Add(dev).Add(std::wstring(L"0")); break;
    case 10: b.Add(com()).Add(baud()).Add(dev).Add(country).Add(p.flowControl.index); break;
    case 11: {
      int32_t comNumber = com();
      p.commType.Select(0);
      ApplyLogicalNumberDefault(p.logical);
      DefaultSerialAndBaud(p);
      b.Add(comNumber).Add(baud()).Add(log()).Add(dev);
      break;
    }
    case 12: b.Add(com()).Add(baud()).Add(dev).Add(country); break;
  }
  return LaunchString{b.Take(), (type == 10 || type == 12) ? 1252u : 1251u};
}

}  // namespace core
