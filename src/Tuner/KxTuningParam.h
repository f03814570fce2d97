#pragma once
// One entry of a frequency list: every field is -1 when the list did not give it.
#include <cstdint>
#include <string_view>

struct KxTuningParam {
  int32_t nFrequency = -1;    // kHz
  int32_t nSymbolRate = -1;   // ksymbols/s
  int32_t nPolarisation = -1; // 1 H, 2 V, 3 L, 4 R
  int32_t nModulation = -1;   // BDA modulation numbering
  int32_t nBandwidth = -1;    // MHz
  int32_t nInnerFec = -1;     // BDA code-rate numbering
  int32_t nPilot = -1;
  int32_t nRolloff = -1;

  friend bool operator==(const KxTuningParam&, const KxTuningParam&) = default;
};

// "1/2" -> 1 ... "9/10" -> 14 (BDA code rates); -1 for any other text.
int32_t InnerFecFromText(std::u16string_view text);
// "H" 1, "V" 2, "L" 3, anything else 4 (circular right).
int32_t PolarisationFromText(std::u16string_view text);
