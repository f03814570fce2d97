#pragma once
// The graph settings: by id, a 64-bit number or a string. A missing id is
// not set; reading a missing number gives 0.
#include <cstdint>
#include <map>
#include <string>
#include <variant>

#include "platform/com/Types.h"

enum KxGraphSetting : LONG {
  KxGraphSetting_GraphType = 1,
  KxGraphSetting_OutputFormat = 2,
  KxGraphSetting_CaptureFilePath = 3,
  KxGraphSetting_VideoRenderer = 4,
  KxGraphSetting_AudioRenderer = 5,
  KxGraphSetting_FrameDuration = 10,
  KxGraphSetting_FilterGraphTimeout = 28,
};

class CGraphSettings {
 public:
  bool Has(LONG id) const { return m_values.count(id) != 0; }
  int64_t Number(LONG id) const;
  std::u16string Text(LONG id) const;
  void SetNumber(LONG id, int64_t value) { m_values[id] = value; }
  void SetText(LONG id, std::u16string value) { m_values[id] = std::move(value); }
  void Remove(LONG id) { m_values.erase(id); }
  void Clear() { m_values.clear(); }

 private:
  std::map<LONG, std::variant<int64_t, std::u16string>> m_values;
};

// Writes the settings of a graph about to be built as a block to the log.
void LogGraphSettings(const CGraphSettings& settings);
