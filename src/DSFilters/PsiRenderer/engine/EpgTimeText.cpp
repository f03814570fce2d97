#include "DSFilters/PsiRenderer/engine/EpgTimeText.h"

#include <ctime>

std::string FormatLocalTime(int64_t seconds, const char* format) {
  const time_t t = static_cast<time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return {};
  char text[64];
  const size_t n = std::strftime(text, sizeof text, format, &local);
  return std::string(text, n);
}
