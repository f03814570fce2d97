// The scan lists of the built-in frequency lists, counted by the steps a
// search takes on a virtual tuner that receives nothing.
#include <algorithm>
#include <functional>

#include "Tuner/TunerTestSupport.h"

namespace {
struct ListCase {
  const char* what;
  const char* system;
  std::function<void(IKxTuner*)> setup;
  size_t steps;
  std::string firstStatus, secondStatus;
  // A log text every step writes once.
  std::string perStepLog;
};

void Dvbt(IKxTuner* tuner, LONG country) { EXPECT_EQ(QueryAs<IKxTunerSetupDvbt>(tuner)->put_CountryCode(country), S_OK); }

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}
}  // namespace

class ScanListTest : public TunerTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ScanListTest, StepsThroughEveryRecordOnce) {
  const ListCase& c = GetParam();
  const auto tuner = NewTuner(std::string("<tuner id=\"t\" system=\"") + c.system + "\"/>");
  ASSERT_TRUE(tuner);
  c.setup(tuner.Get());
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));

  const auto progress = recorder->Progress();
  ASSERT_EQ(progress.size(), c.steps);
  EXPECT_EQ(progress.back(), 100);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  const auto statuses = recorder->Statuses();
  ASSERT_GE(statuses.size(), 2u);
  EXPECT_EQ(statuses[0], c.firstStatus);
  EXPECT_EQ(statuses[1], c.secondStatus);
  EXPECT_EQ(Occurrences(m_log.Text(), c.perStepLog), c.steps) << c.perStepLog;
  EXPECT_TRUE(recorder->Channels().empty());
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
}

INSTANTIATE_TEST_SUITE_P(
    BuiltIn, ScanListTest,
    ::testing::Values(
        ListCase{"DvbcDefaults", "DVB-C", [](IKxTuner*) {}, 1012, "50500", "50500", "Execute Command Tune Request DVB-C"},
        ListCase{"DvbcOneModulationAndSymbolRate", "DVB-C",
                 [](IKxTuner* t) {
                   const auto setup = QueryAs<IKxTunerSetupDvbc>(t);
                   EXPECT_EQ(setup->put_CableSymbolRate(6111), S_OK);
                   EXPECT_EQ(setup->put_CableModulation(5), S_OK);
                 },
                 253, "50500", "57500", "Modulation: 5, Symbol Rate: 6111"},
        ListCase{"DvbtAustralia", "DVB-T", [](IKxTuner* t) { Dvbt(t, 61); }, 52, "170500", "177500", "Bandwidth: 7"},
        ListCase{"DvbtGermany", "DVB-T", [](IKxTuner* t) { Dvbt(t, 49); }, 121, "50500", "57500", "Execute Command Tune Request DVB-T"},
        ListCase{"DvbtRussia", "DVB-T", [](IKxTuner* t) { Dvbt(t, 7); }, 111, "52500", "62000", "Bandwidth: 8"},
        ListCase{"AtscAntenna", "ATSC",
                 [](IKxTuner* t) { EXPECT_EQ(QueryAs<IKxTunerSetupAtsc>(t)->put_TunerInput(1), S_OK); }, 68, "2", "3",
                 "Tuner Input Type: 1"},
        ListCase{"AtscCable", "ATSC",
                 [](IKxTuner* t) { EXPECT_EQ(QueryAs<IKxTunerSetupAtsc>(t)->put_TunerInput(2), S_OK); }, 316, "55250",
                 "55250", "Tuner Input Type: 0"}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.what); });
