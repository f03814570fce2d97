#include "channels/Dvbv5Text.h"

#include <fmt/format.h>

#include <charconv>
#include <sstream>

namespace {
std::string Trimmed(std::string_view text) {
  const size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) return {};
  const size_t end = text.find_last_not_of(" \t\r");
  return std::string(text.substr(begin, end - begin + 1));
}
}  // namespace

const std::string* Dvbv5Entry::Find(const std::string& key) const {
  for (const auto& [k, v] : values)
    if (k == key) return &v;
  return nullptr;
}

std::optional<long long> Dvbv5Entry::Number(const std::string& key) const {
  const std::string* text = Find(key);
  long long value = 0;
  if (!text) return std::nullopt;
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (ec != std::errc() || end != text->data() + text->size()) return std::nullopt;
  return value;
}

std::optional<std::vector<Dvbv5Entry>> ParseDvbv5(const std::string& text, std::string& error) {
  std::vector<Dvbv5Entry> entries;
  std::istringstream lines(text);
  std::string line;
  for (size_t number = 1; std::getline(lines, line); ++number) {
    // Only whole lines are comments: '#' may be part of a channel's name.
    const std::string content = Trimmed(line);
    if (content.empty() || content.front() == '#') continue;
    if (content.front() == '[') {
      if (content.back() != ']') {
        error = fmt::format("line {}: a section name without its closing ']'", number);
        return std::nullopt;
      }
      entries.push_back({Trimmed(std::string_view(content).substr(1, content.size() - 2)), {}});
      continue;
    }
    const size_t equals = content.find('=');
    if (equals == std::string::npos) {
      error = fmt::format("line {}: neither \"[name]\" nor \"KEY = VALUE\"", number);
      return std::nullopt;
    }
    if (entries.empty()) {
      error = fmt::format("line {}: a value before the first \"[name]\"", number);
      return std::nullopt;
    }
    entries.back().Add(Trimmed(std::string_view(content).substr(0, equals)),
                       Trimmed(std::string_view(content).substr(equals + 1)));
  }
  return entries;
}

std::string Dvbv5Text(const std::vector<Dvbv5Entry>& entries) {
  std::string text;
  for (const Dvbv5Entry& entry : entries) {
    text += "[" + entry.name + "]\n";
    for (const auto& [key, value] : entry.values) text += "\t" + key + " = " + value + "\n";
    text += "\n";
  }
  return text;
}
