#include "Tuner/GroupNameOrder.h"

#include <stdexcept>

#include "platform/com/Utf.h"

GroupNameOrder::GroupNameOrder(const std::locale& locale)
    : m_locale(locale), m_collate(&std::use_facet<std::collate<char>>(m_locale)) {}

bool GroupNameOrder::operator()(const std::u16string& a, const std::u16string& b) const {
  // The C library collates multibyte text in the locale's own encoding (UTF-8).
  const std::string left = Utf16ToUtf8(a);
  const std::string right = Utf16ToUtf8(b);
  const int order = m_collate->compare(left.data(), left.data() + left.size(), right.data(), right.data() + right.size());
  if (order != 0) return order < 0;
  return a < b;
}

std::locale UserDefaultLocale() {
  try {
    return std::locale("");
  } catch (const std::runtime_error&) {
    return std::locale::classic();
  }
}
