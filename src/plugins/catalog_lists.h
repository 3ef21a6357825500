// The catalog's records and the lists that own them: one record per listed device and one per
// plugin accepted for the current country.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

struct TDEVICE_REC {
  int32_t DEVICE_INDEX = 0;  // position of the device's line in its plugin's device text
  std::wstring DEVICE_NAME;  // the line as the plugin gave it
  std::wstring DLL_NAME;     // full path of the plugin library
};

struct TDLL_REC {
  std::wstring DLL_NAME;
  std::wstring PLUGIN_NAME;  // what GetDeviceName reported
};

// A list that owns copies of its records, in the order added.
template <typename REC>
class TRecordList {
 public:
  // Appends a copy: 0, or -2 when the copy cannot be stored.
  int32_t ADD_REC(const REC& TRGT_REC) {
    try {
      items_.push_back(std::make_unique<REC>(TRGT_REC));
      return 0;
    } catch (const std::bad_alloc&) {
      return -2;
    }
  }
  void Clear() { items_.clear(); }
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  const REC& MY_PRECS(int32_t INDX) const { return *items_.at(static_cast<size_t>(INDX)); }
  // Writing a position destroys the record it replaces.
  void SetMY_PRECS(int32_t INDX, const REC& rec) { items_.at(static_cast<size_t>(INDX)) = std::make_unique<REC>(rec); }

 private:
  std::vector<std::unique_ptr<REC>> items_;
};

using TDEVICES_LIST = TRecordList<TDEVICE_REC>;
using TDLL_LIST = TRecordList<TDLL_REC>;
