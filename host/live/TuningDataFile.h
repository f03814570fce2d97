#pragma once
// Tuning data from a file (XML as `dtv import` writes it) for a channel
// search: the transponders the tuner scans instead of its built-in lists.
// Terrestrial and cable files list one area's own transponders, so every
// network the tuner asks for is answered with all of them.
#include <optional>
#include <string>
#include <vector>

#include "interfaces/IKxTuningData.h"
#include "live/TuningDataObjects.h"
#include "platform/com/ComPtr.h"

struct TuningGroup {
  std::u16string name;
  std::u16string position;  // a satellite's orbital position ("192E"), else empty
  std::vector<TuningItemProperties> items;
};

class CHostTuningData : public IKxTuningData, public IKxDvbsSatelliteInfo {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTuningData, IKxDvbsSatelliteInfo>;
  CHostTuningData(std::u16string type, std::vector<TuningGroup> groups)
      : m_type(std::move(type)), m_groups(std::move(groups)) {}
  virtual ~CHostTuningData() = default;

  HRESULT GetType(BSTR* type) override;
  HRESULT GetGroupList(IKxStringList** list) override;
  HRESULT GetTuningItemListByGroup(BSTR group, IKxTuningItemList** list) override;
  // The file is all there is.
  HRESULT AddTuningData(IKxTuningData*, LONG*) override { return E_NOTIMPL; }

  HRESULT get_SatelliteCount(LONG* count) override;
  HRESULT get_SatelliteNameByIndex(LONG index, BSTR* name) override;
  HRESULT get_SatellitePositionByIndex(LONG index, BSTR* position) override;

  bool Satellite() const { return m_type == KxTuningDataType_Dvbs; }

 private:
  const TuningGroup* Group(LONG index) const;

  std::u16string m_type;
  std::vector<TuningGroup> m_groups;
};

// Null with error ("FILE: reason") when the file cannot be read or is no tuning data.
ComPtr<ComObject<CHostTuningData>> LoadTuningDataFile(const std::string& path, std::string& error);
