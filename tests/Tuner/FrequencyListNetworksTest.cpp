// The built-in DVB-C and DVB-T lists: their networks, sizes, bandwidths and first frequencies.
#include <string>
#include <utility>
#include <vector>

#include "Tuner/FrequencyListDocument.h"

namespace {

struct NetworkCase {
  int list;
  const char* name;
  size_t entries;
  std::vector<std::pair<int, size_t>> bandwidthRuns;  // (MHz, entries) in order; none for DVB-C
  std::vector<int> firstFrequencies;
};

std::vector<NetworkCase> Cases() {
  return {
      {kFrequencyListDvbc, "NTSC", 82, {}, {57000, 63000, 69000, 79000}},
      {kFrequencyListDvbc, "PAL-D", 50, {}, {}},
      {kFrequencyListDvbc, "PAL-X", 121, {}, {50500, 57500, 64500}},
      {kFrequencyListDvbt, "NTSC", 82, {{6, 82}}, {57000, 63000}},
      {kFrequencyListDvbt, "PAL-D", 111, {{8, 111}}, {52500, 62000, 80000}},
      {kFrequencyListDvbt, "PAL-X", 121, {{7, 39}, {8, 82}}, {50500}},
      {kFrequencyListDvbt, "AUSTRALIA", 52, {{7, 52}}, {170500, 177500, 184500}},
  };
}

std::vector<std::string> NetworkNames(int list) {
  std::vector<std::string> names;
  for (const NetworkCase& c : Cases())
    if (c.list == list) names.push_back(c.name);
  return names;
}

TEST(NetworkLists, HoldExactlyTheTableNetworksInOrder) {
  for (int list : {kFrequencyListDvbc, kFrequencyListDvbt}) {
    const pugi::xml_document doc = ParseFrequencyList(list);
    std::vector<std::string> names;
    for (pugi::xml_node network : doc.document_element().children()) {
      EXPECT_STREQ(network.name(), "Network");
      names.push_back(network.attribute("name").value());
    }
    EXPECT_EQ(names, NetworkNames(list)) << list;
  }
}

TEST(NetworkLists, NetworksHaveTheirSizesBandwidthsAndFirstFrequencies) {
  for (const NetworkCase& c : Cases()) {
    SCOPED_TRACE(std::to_string(c.list) + " " + c.name);
    const pugi::xml_document doc = ParseFrequencyList(c.list);
    const pugi::xml_node network = doc.document_element().find_child_by_attribute("Network", "name", c.name);
    ASSERT_TRUE(network);

    std::vector<int> frequencies;
    std::vector<std::pair<int, size_t>> runs;
    for (pugi::xml_node param : network.children()) {
      ASSERT_STREQ(param.name(), "param");
      const size_t attributes = std::distance(param.attributes_begin(), param.attributes_end());
      EXPECT_EQ(attributes, c.list == kFrequencyListDvbt ? 2u : 1u);
      const int frequency = param.attribute("frequency").as_int();
      EXPECT_GT(frequency, 0);
      frequencies.push_back(frequency);
      if (c.list != kFrequencyListDvbt) continue;
      const int bandwidth = param.attribute("bandwidth").as_int();
      if (runs.empty() || runs.back().first != bandwidth) runs.emplace_back(bandwidth, 0);
      ++runs.back().second;
    }
    EXPECT_EQ(frequencies.size(), c.entries);
    EXPECT_EQ(runs, c.bandwidthRuns);
    ASSERT_GE(frequencies.size(), c.firstFrequencies.size());
    EXPECT_EQ(std::vector<int>(frequencies.begin(), frequencies.begin() + c.firstFrequencies.size()),
              c.firstFrequencies);
  }
}

}  // namespace
