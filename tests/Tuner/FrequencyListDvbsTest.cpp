// The built-in DVB-S list: its satellites, their order and the figures of its transponders.
#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "Tuner/FrequencyListDocument.h"

namespace {

using Attributes = std::map<std::string, std::string>;

struct Satellite {
  std::string name;
  std::string position;
  std::vector<Attributes> params;
};

class DvbsList : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const pugi::xml_document doc = ParseFrequencyList(kFrequencyListDvbs);
    satellites_ = new std::vector<Satellite>;
    for (pugi::xml_node element : doc.document_element().children()) {
      ASSERT_STREQ(element.name(), "Satellite");
      Satellite satellite{element.attribute("name").value(), element.attribute("position").value(), {}};
      for (pugi::xml_node param : element.children()) {
        ASSERT_STREQ(param.name(), "param");
        Attributes attributes;
        for (pugi::xml_attribute a : param.attributes()) attributes[a.name()] = a.value();
        satellite.params.push_back(attributes);
      }
      satellites_->push_back(satellite);
    }
  }
  static void TearDownTestSuite() { delete satellites_; }

  static std::vector<Attributes> AllParams() {
    std::vector<Attributes> all;
    for (const Satellite& s : *satellites_) all.insert(all.end(), s.params.begin(), s.params.end());
    return all;
  }

  static std::vector<Satellite>* satellites_;
};

std::vector<Satellite>* DvbsList::satellites_ = nullptr;

// East positions first, each side in ascending tenths of a degree.
std::pair<int, int> OrderKey(const std::string& position) {
  return {position.back() == 'E' ? 0 : 1, std::stoi(position)};
}

TEST_F(DvbsList, HasEveryPositionOnceEastThenWestAscending) {
  const std::vector<Satellite>& sats = *satellites_;
  ASSERT_EQ(sats.size(), 145u);
  const std::regex position(R"([1-9][0-9]*[EW])");
  std::set<std::string> seen;
  for (const Satellite& s : sats) {
    EXPECT_TRUE(std::regex_match(s.position, position)) << s.position;
    EXPECT_FALSE(s.name.empty()) << s.position;
    EXPECT_TRUE(seen.insert(s.position).second) << "repeated " << s.position;
  }
  EXPECT_TRUE(std::is_sorted(sats.begin(), sats.end(), [](const Satellite& a, const Satellite& b) {
    return OrderKey(a.position) < OrderKey(b.position);
  }));

  const std::vector<std::pair<std::string, std::string>> firstThree = {
      {"Rascom QAF 1R", "28E"}, {"Eurobird 4A", "40E"}, {"Astra 4A,1E", "48E"}};
  for (size_t i = 0; i < firstThree.size(); ++i) {
    EXPECT_EQ(sats[i].name, firstThree[i].first);
    EXPECT_EQ(sats[i].position, firstThree[i].second);
  }
  const auto firstWest = std::find_if(sats.begin(), sats.end(), [](const Satellite& s) { return s.position.back() == 'W'; });
  ASSERT_NE(firstWest, sats.end());
  EXPECT_EQ(firstWest->position, "8W");
  EXPECT_EQ(sats.back().position, "1770W");
}

TEST_F(DvbsList, TransponderCountsMatchTheBlindScan) {
  size_t total = 0;
  size_t blindScan = 0;
  for (const Satellite& s : *satellites_) {
    EXPECT_FALSE(s.params.empty()) << s.position;
    total += s.params.size();
    blindScan += std::min<size_t>(20, s.params.size());
  }
  EXPECT_EQ(total, 6331u);
  EXPECT_EQ(blindScan, 2560u);
}

TEST_F(DvbsList, HoldsTheTellingRowsExactly) {
  const std::vector<Attributes> all = AllParams();
  const std::vector<Attributes> rows = {
      {{"frequency", "11727000"}, {"polarisation", "H"}, {"symbolrate", "27500"}, {"fec", "5/6"}},
      {{"frequency", "20185000"}, {"polarisation", "L"}, {"symbolrate", "25000"}, {"fec", "1/2"}, {"modulation", "31"}},
  };
  for (const Attributes& row : rows)
    EXPECT_NE(std::find(all.begin(), all.end(), row), all.end()) << row.at("frequency");
}

TEST_F(DvbsList, ValuesStayInsideTheListsRanges) {
  const std::set<std::string> codeRates = {"1/2", "2/3", "3/4", "3/5", "4/5", "5/6", "6/7", "7/8", "8/9", "9/1"};
  const std::set<std::string> polarisations = {"H", "V", "L", "R"};
  const std::set<std::string> required = {"frequency", "polarisation", "symbolrate", "fec"};
  int minFrequency = INT32_MAX, maxFrequency = 0, minRate = INT32_MAX, maxRate = 0;
  int fec9_1 = 0;
  std::set<int> modulations;
  for (const Attributes& p : AllParams()) {
    for (const std::string& name : required) ASSERT_TRUE(p.contains(name)) << name;
    EXPECT_EQ(p.size(), required.size() + p.count("modulation"));
    const int frequency = std::stoi(p.at("frequency"));
    const int rate = std::stoi(p.at("symbolrate"));
    minFrequency = std::min(minFrequency, frequency);
    maxFrequency = std::max(maxFrequency, frequency);
    minRate = std::min(minRate, rate);
    maxRate = std::max(maxRate, rate);
    EXPECT_TRUE(polarisations.contains(p.at("polarisation"))) << p.at("polarisation");
    EXPECT_TRUE(codeRates.contains(p.at("fec"))) << p.at("fec");
    fec9_1 += p.at("fec") == "9/1";
    if (p.contains("modulation")) modulations.insert(std::stoi(p.at("modulation")));
  }
  EXPECT_EQ(minFrequency, 2595000);
  EXPECT_EQ(maxFrequency, 20185000);
  EXPECT_EQ(minRate, 716);
  EXPECT_EQ(maxRate, 53000);
  EXPECT_EQ(fec9_1, 30);
  EXPECT_EQ(modulations, (std::set<int>{29, 30, 31, 32, 33}));
}

}  // namespace
