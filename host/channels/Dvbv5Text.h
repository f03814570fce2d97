#pragma once
// The text form of libdvbv5's channel and initial-tuning files ("DVBv5"
// format, as dvbv5-scan writes and dtv-scan-tables ships): "[name]" sections
// of "KEY = VALUE" lines; a line starting with '#' is a comment.
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct Dvbv5Entry {
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;  // in file order

  const std::string* Find(const std::string& key) const;
  // A number value, or nothing when absent or not a decimal number.
  std::optional<long long> Number(const std::string& key) const;
  void Add(const std::string& key, const std::string& value) { values.emplace_back(key, value); }
};

// Nothing with `error` ("line 7: ...") for text that is not in this form.
std::optional<std::vector<Dvbv5Entry>> ParseDvbv5(const std::string& text, std::string& error);
std::string Dvbv5Text(const std::vector<Dvbv5Entry>& entries);
