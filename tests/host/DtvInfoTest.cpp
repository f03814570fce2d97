// End to end: the dtv command loading the built plug-in.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "DtvRun.h"

namespace {

void ExpectListing(const DtvRun& run) {
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string& out = run.output;
  for (const char* line : {
           "Plug-in: DigitalTvPlugin\nVersion: 1\n",
           "KxTuningDataType_Dvbs (DVB-S): 145 satellites, 6331 transponders\n"
           "     28E Rascom QAF 1R: ",
           "     40E Eurobird 4A: ",
           "   1770W NSS 9: ",
           "KxTuningDataType_Dvbc (DVB-C): 3 networks, 253 frequencies\n"
           "  NTSC: 82\n  PAL-D: 50\n  PAL-X: 121\n",
           "KxTuningDataType_Dvbt (DVB-T): 4 networks, 366 frequencies\n"
           "  NTSC: 82\n  PAL-D: 111\n  PAL-X: 121\n  AUSTRALIA: 52\n",
       })
    EXPECT_NE(out.find(line), std::string::npos) << "missing: " << line << "\nin:\n" << out;
}

TEST(DtvInfo, ListsThePluginNextToDtv) { ExpectListing(RunDtv("info --lists")); }

TEST(DtvInfo, WithoutListsShowsOneLinePerList) {
  const DtvRun run = RunDtv("info");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("KxTuningDataType_Dvbs (DVB-S): 145 satellites, 6331 transponders\n"
                            "KxTuningDataType_Dvbc (DVB-C): 3 networks, 253 frequencies\n"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("Rascom"), std::string::npos);
}

TEST(DtvInfo, LoadsThePluginNamedOnTheCommandLine) {
  ExpectListing(RunDtv(std::string("info --lists --plugin '") + DTV_PLUGIN_PATH + "'"));
}

TEST(DtvInfo, ReportsAPluginThatCannotBeLoaded) {
  const DtvRun run = RunDtv("info --plugin /nonexistent/libDigitalTvPlugin.so");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("dtv: cannot load plug-in /nonexistent/libDigitalTvPlugin.so"), std::string::npos)
      << run.output;
}

TEST(DtvInfo, RequiresACommand) { EXPECT_NE(RunDtv("").exitCode, 0); }

}  // namespace
