#pragma once
// What a frequency list holds: its networks or satellites and their entries.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct FrequencyListGroup {
  std::string kind;      // "Satellite" or "Network"
  std::string name;
  std::string position;  // orbital position of a satellite, else empty
  std::size_t entries = 0;
};

struct FrequencyListSummary {
  std::string networkType;  // "DVB-S", "DVB-C", "DVB-T"
  std::vector<FrequencyListGroup> groups;

  std::size_t TotalEntries() const;
};

// Reads a frequency list document; HostError when it is not one.
FrequencyListSummary SummariseFrequencyList(std::u16string_view xml);
