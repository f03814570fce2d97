#pragma once
// The order of tuning-data groups: a locale's collation of the names (the
// user's own by default), so lists read the way the user expects.
#include <locale>
#include <string>

class GroupNameOrder {
 public:
  explicit GroupNameOrder(const std::locale& locale);

  // Names that the collation ranks equal are told apart by their code units,
  // so every exact name stays a group of its own.
  bool operator()(const std::u16string& a, const std::u16string& b) const;

 private:
  std::locale m_locale;
  const std::collate<char>* m_collate;
};

// The locale the environment names (LC_ALL, LC_COLLATE, LANG); the classic
// locale when that one is not installed.
std::locale UserDefaultLocale();
