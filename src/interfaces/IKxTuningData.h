#pragma once
// The host's tuning-data interfaces: the frequency list a tuner scans, its
// group names, the items of one group and the properties of one item.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

inline constexpr char16_t KxTuningDataType_Dvbs[] = u"KxTuningDataType_Dvbs";
inline constexpr char16_t KxTuningDataType_Dvbt[] = u"KxTuningDataType_Dvbt";
inline constexpr char16_t KxTuningDataType_Dvbc[] = u"KxTuningDataType_Dvbc";

inline constexpr char16_t KxTuningItemProperty_Frequency[] = u"KxTuningItemProperty_Frequency";
inline constexpr char16_t KxTuningItemProperty_Bandwidth[] = u"KxTuningItemProperty_Bandwidth";
inline constexpr char16_t KxTuningItemProperty_Polarisation[] = u"KxTuningItemProperty_Polarisation";
inline constexpr char16_t KxTuningItemProperty_SymbolRate[] = u"KxTuningItemProperty_SymbolRate";
inline constexpr char16_t KxTuningItemProperty_Modulation[] = u"KxTuningItemProperty_Modulation";
inline constexpr char16_t KxTuningItemProperty_InnerFec[] = u"KxTuningItemProperty_InnerFec";
inline constexpr char16_t KxTuningItemProperty_Pilot[] = u"KxTuningItemProperty_Pilot";
inline constexpr char16_t KxTuningItemProperty_Rolloff[] = u"KxTuningItemProperty_Rolloff";

struct IKxStringList : IUnknown {
  DTV_DECLARE_IID("{DC3C6B09-447A-4F7D-B199-15C9E96B86AA}");
  virtual HRESULT get_Count(LONG* plCount) = 0;
  virtual HRESULT get_StringByIndex(LONG lIndex, BSTR* pbstrString) = 0;

 protected:
  ~IKxStringList() = default;
};

struct IKxTuningItem : IUnknown {
  DTV_DECLARE_IID("{34CE5529-19ED-4B30-BD84-E1C0180AC039}");
  // One of the KxTuningItemProperty_* values as a 32-bit integer.
  virtual HRESULT get_Property(BSTR bstrName, VARIANT* pvarValue) = 0;

 protected:
  ~IKxTuningItem() = default;
};

struct IKxTuningItemList : IUnknown {
  DTV_DECLARE_IID("{422895C1-2F3E-4491-824D-A28E4C47CDF0}");
  virtual HRESULT get_Count(LONG* plCount) = 0;
  virtual HRESULT get_ItemByIndex(LONG lIndex, IKxTuningItem** ppItem) = 0;

 protected:
  ~IKxTuningItemList() = default;
};

struct IKxTuningData : IUnknown {
  DTV_DECLARE_IID("{71BEABA0-D6A0-48B6-8BBD-19A0E545997D}");
  // One of the KxTuningDataType_* values.
  virtual HRESULT GetType(BSTR* pbstrType) = 0;
  virtual HRESULT GetGroupList(IKxStringList** ppList) = 0;
  virtual HRESULT GetTuningItemListByGroup(BSTR bstrGroup, IKxTuningItemList** ppList) = 0;
  // Appends the groups and items of `pSource`; `plLocation` must be given and
  // is left untouched.
  virtual HRESULT AddTuningData(IKxTuningData* pSource, LONG* plLocation) = 0;

 protected:
  ~IKxTuningData() = default;
};

struct IKxDvbsSatelliteInfo : IUnknown {
  DTV_DECLARE_IID("{0D4C1A7F-82C3-4C56-AD88-976B9B4443F2}");
  virtual HRESULT get_SatelliteCount(LONG* plCount) = 0;
  virtual HRESULT get_SatelliteNameByIndex(LONG lIndex, BSTR* pbstrName) = 0;
  // Orbital position such as "192E".
  virtual HRESULT get_SatellitePositionByIndex(LONG lIndex, BSTR* pbstrSat) = 0;

 protected:
  ~IKxDvbsSatelliteInfo() = default;
};
