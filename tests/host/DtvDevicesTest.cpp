// End to end: "dtv devices" lists the bundled demo's virtual tuners.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "DtvRun.h"

namespace {

TEST(DtvDevices, ListsTheDemoTunersOnAFreshMachine) {
  const DtvRun run = RunDtv("devices --dev-root /nonexistent");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  for (const char* text : {"0: Virtual DVB-T Tuner 1\n", "   delivery system: DVB-T\n",
                           "1: Virtual DVB-T Tuner 2\n", "   hardware id:     VIRTUAL\\DVBT&DEMO_02\n",
                           "   in use:          no\n"})
    EXPECT_NE(run.output.find(text), std::string::npos) << text << "\n" << run.output;
}

TEST(DtvDevices, AddsGivenVirtualTunersAndRejectsBrokenOnes) {
  const std::string path = ::testing::TempDir() + "extra-tuners.xml";
  std::ofstream(path) << "<virtualTuners><tuner id=\"s\" system=\"DVB-S2\" friendlyName=\"Sat Box\">"
                         "<multiplex frequency=\"11493750\" polarisation=\"H\" symbolRate=\"22000\" file=\"x.ts\"/>"
                         "</tuner></virtualTuners>";
  DtvRun run = RunDtv("devices --no-demo --dev-root /nonexistent --virtual-tuners " + path);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("0: Sat Box\n   delivery system: DVB-S\n"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("Virtual DVB-T"), std::string::npos);

  std::ofstream(path) << "<virtualTuners><tuner";
  run = RunDtv("devices --no-demo --dev-root /nonexistent --virtual-tuners " + path);
  EXPECT_NE(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("dtv: "), std::string::npos) << run.output;
}

}  // namespace
