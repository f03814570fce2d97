#pragma once
// Tuning data: the frequency list a tuner scans, as groups (a satellite
// position or a regional network) of tuning records, read from frequency-list
// XML and merged from other tuning data.
#include <locale>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "Tuner/GroupNameOrder.h"
#include "Tuner/KxTuningParam.h"
#include "interfaces/IKxTuningData.h"
#include "platform/com/ComObject.h"

class CKxTuningData : public IKxTuningData, public IKxDvbsSatelliteInfo {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTuningData, IKxDvbsSatelliteInfo>;

  // Groups are ordered by the collation of `locale`.
  explicit CKxTuningData(const std::locale& locale = UserDefaultLocale());

  // Sets the type (a KxTuningDataType_* value) and loads the list `bstrXml`.
  HRESULT InitializeByString(BSTR bstrType, BSTR bstrXml);

  HRESULT GetType(BSTR* pbstrType) override;
  HRESULT GetGroupList(IKxStringList** ppList) override;
  HRESULT GetTuningItemListByGroup(BSTR bstrGroup, IKxTuningItemList** ppList) override;
  HRESULT AddTuningData(IKxTuningData* pSource, LONG* plLocation) override;

  HRESULT get_SatelliteCount(LONG* plCount) override;
  HRESULT get_SatelliteNameByIndex(LONG lIndex, BSTR* pbstrName) override;
  HRESULT get_SatellitePositionByIndex(LONG lIndex, BSTR* pbstrSat) override;

  virtual ~CKxTuningData() = default;

 private:
  enum class Kind { Dvbs, Dvbt, Dvbc, Other };

  HRESULT LoadTuningParams(BSTR bstrXml);
  HRESULT MergeGroup(IKxTuningData* pSource, const BStr& group, Kind kind);
  Kind TypeKind() const;
  HRESULT Append(const std::u16string& group, const KxTuningParam& param);
  HRESULT AddSatellite(const std::u16string& name, const std::u16string& position);

  mutable std::mutex m_lock;
  std::u16string m_type;
  std::map<std::u16string, std::vector<KxTuningParam>, GroupNameOrder> m_groups;
  std::vector<BStr> m_vecSatNames;
  std::vector<BStr> m_vecSatPositions;
};
