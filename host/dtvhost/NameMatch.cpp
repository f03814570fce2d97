#include "dtvhost/NameMatch.h"

#include <algorithm>
#include <charconv>

namespace {
bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

template <class Equal>
std::vector<size_t> Matches(const std::vector<std::string>& names, const std::string& text, Equal equal) {
  std::vector<size_t> found;
  for (size_t i = 0; i < names.size(); ++i)
    if (equal(names[i], text)) found.push_back(i);
  return found;
}
}  // namespace

std::optional<size_t> ListNumber(const std::string& text) {
  size_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || text.front() == '-' || text.front() == '+')
    return std::nullopt;
  return value;
}

std::vector<size_t> MatchingNames(const std::vector<std::string>& names, const std::string& text) {
  std::vector<size_t> exact = Matches(names, text, std::equal_to<>());
  return exact.empty() ? Matches(names, text, EqualIgnoringCase) : exact;
}

std::vector<size_t> NumbersOf(const std::vector<size_t>& indices, size_t first) {
  std::vector<size_t> numbers;
  for (size_t index : indices) numbers.push_back(index + first);
  return numbers;
}
