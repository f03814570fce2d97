#pragma once
// The frequency-list tuners of regional networks (DVB-T, DVB-C): the networks
// of the tuning data that fit the host's country, flattened into scan records.
#include <string>
#include <vector>

#include "Tuner/KxTunerDigitalDvb.h"

class CKxTunerRegional : public CKxTunerDigitalDvb {
 protected:
  // `tuningDataType` is the built-in list used when the host set none.
  CKxTunerRegional(const char16_t* tuningDataType, const char* logFile, bool australia)
      : m_tuningDataType(tuningDataType), m_logFile(logFile), m_australia(australia) {}

  HRESULT LoadFrequencyList() override;
  // Appends the records of one network's items.
  virtual HRESULT LoadFrequencyListFromTuningItemList(IKxTuningItemList* list) = 0;

  // Appends a transponder the NIT announced unless the list has it already
  // (every field but the frequency equal, the frequency within 2 MHz).
  bool AppendAnnouncedRecord(const KxScanRecord& record);

  LONG m_lCountryCode = 0;

 private:
  std::vector<std::u16string> NetworkNames() const;

  const char16_t* const m_tuningDataType;
  const char* const m_logFile;
  const bool m_australia;  // terrestrial lists have Australia's own network
};

// The 32-bit value of a tuning item's property `name`.
HRESULT ReadItemNumber(IKxTuningItem* item, const char16_t* name, int32_t& value);
