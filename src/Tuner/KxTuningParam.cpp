#include "Tuner/KxTuningParam.h"

#include <array>
#include <utility>

int32_t InnerFecFromText(std::u16string_view text) {
  static constexpr std::array<std::pair<std::u16string_view, int32_t>, 14> kRates{{
      {u"1/2", 1}, {u"2/3", 2}, {u"3/4", 3}, {u"3/5", 4}, {u"4/5", 5}, {u"5/6", 6}, {u"5/11", 7},
      {u"7/8", 8}, {u"1/4", 9}, {u"1/3", 10}, {u"2/5", 11}, {u"6/7", 12}, {u"8/9", 13}, {u"9/10", 14},
  }};
  for (const auto& [rate, code] : kRates) {
    if (rate == text) return code;
  }
  return -1;
}

int32_t PolarisationFromText(std::u16string_view text) {
  if (text == u"H") return 1;
  if (text == u"V") return 2;
  if (text == u"L") return 3;
  return 4;
}
