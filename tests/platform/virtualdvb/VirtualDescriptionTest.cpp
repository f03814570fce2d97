#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "DSH/DSH.h"
#include "platform/bda/Topology.h"
#include "platform/com/Utf.h"
#include "platform/virtualdvb/VirtualDescription.h"
#include "support/TempDir.h"

TEST(VirtualDescription, ReadsTunersAndMultiplexesWithTheirFiles) {
  TempDir dir;
  ::setenv("DTV_TEST_STREAMS", "/streams", 1);
  ::unsetenv("DTV_TEST_UNSET");
  const std::string path = dir.Write("sat.xml", R"(<virtualTuners>
  <tuner id="sat" system="dvb-s2" friendlyName="Sat" manufacturer="M" hardwareId="H" physicalDeviceId="P"
         driver="drv" driverVersion="2.1">
    <multiplex frequency="11493750" lnb="1" polarisation="H" symbolRate="22000" file="a.ts"/>
    <multiplex frequency="12603000" polarisation="V" symbolRate="27500" file="${DTV_TEST_STREAMS}/b.ts"/>
    <multiplex frequency="10700000" polarisation="L" symbolRate="27500" file="${DTV_TEST_UNSET}/c.ts"/>
  </tuner>
  <tuner id="ter" system="DVB-T"><multiplex frequency="474000" file="/abs/t.ts" bitrate="15000000"
    strength="140" quality="-3" locked="false"/></tuner>
</virtualTuners>)");
  std::string error;
  const auto description = LoadVirtualDescription(path, error);
  ASSERT_TRUE(description) << error;
  ASSERT_EQ(description->tuners.size(), 2u);
  const VirtualTuner& sat = description->tuners[0];
  EXPECT_EQ(sat.moniker, "virtualdvb:" + path + "#sat");
  EXPECT_EQ(sat.system, DeliverySystem::DvbS2);
  EXPECT_EQ(sat.driverVersion, "2.1");
  ASSERT_EQ(sat.multiplexes.size(), 3u);
  EXPECT_EQ(sat.multiplexes[0].frequencyKHz, 11493750u);
  EXPECT_EQ(sat.multiplexes[0].lnbPosition, 1);
  EXPECT_EQ(sat.multiplexes[0].polarisation, 'H');
  EXPECT_EQ(sat.multiplexes[0].symbolRate, 22000u);
  EXPECT_EQ(sat.multiplexes[0].file, dir / "a.ts");
  EXPECT_EQ(sat.multiplexes[1].lnbPosition, 0);
  EXPECT_EQ(sat.multiplexes[1].file, "/streams/b.ts");
  EXPECT_EQ(sat.multiplexes[2].file, dir / "${DTV_TEST_UNSET}/c.ts");
  EXPECT_EQ(description->tuners[1].friendlyName, "ter");
  const VirtualMultiplex& ter = description->tuners[1].multiplexes[0];
  EXPECT_EQ(ter.file, "/abs/t.ts");
  EXPECT_EQ(ter.bitrate, 15000000u);
  EXPECT_EQ(ter.strength, 100);  // beyond the scale: its end
  EXPECT_EQ(ter.quality, 0);
  EXPECT_FALSE(ter.locked);
  EXPECT_EQ(sat.multiplexes[0].bitrate, 0u);
  EXPECT_EQ(sat.multiplexes[0].strength, 100);
  EXPECT_TRUE(sat.multiplexes[0].locked);

  std::string file, id;
  ASSERT_TRUE(ParseVirtualMoniker(sat.moniker, file, id));
  EXPECT_EQ(file, path);
  EXPECT_EQ(id, "sat");
}

TEST(VirtualDescription, RejectsMalformedDescriptionsWithAReason) {
  struct Case {
    const char* xml;
    const char* reason;
  };
  const Case cases[] = {
      {"<virtualTuners><tuner", "Error parsing"},
      {"<tuners/>", "root element \"virtualTuners\" missing"},
      {"<virtualTuners><tuner system='DVB-T'/></virtualTuners>", "every tuner needs an id"},
      {"<virtualTuners><tuner id='a'/><tuner id='a'/></virtualTuners>", "every tuner needs an id"},
      {"<virtualTuners><tuner id='a' system='DAB'/></virtualTuners>", "unknown delivery system \"DAB\""},
      {"<virtualTuners><tuner id='a' system='DVB-T'><multiplex file='x.ts'/></tuner></virtualTuners>",
       "needs a frequency"},
      {"<virtualTuners><tuner id='a' system='DVB-S'><multiplex frequency='11000000' symbolRate='22000' "
       "file='x.ts'/></tuner></virtualTuners>",
       "polarisation"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(LoadVirtualDescription(dir.Write("d.xml", c.xml), error)) << c.xml;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  std::string error;
  EXPECT_FALSE(LoadVirtualDescription(dir / "absent.xml", error));
  EXPECT_NE(error.find("absent.xml"), std::string::npos);
}

TEST(VirtualTunerFilter, TopologyHasTheDemodulatorOfTheDeliverySystem) {
  TempDir dir;
  const std::string path = dir.Write("t.xml", R"(<virtualTuners>
  <tuner id="c" system="DVB-C"/><tuner id="a" system="ATSC"/><tuner id="none"/></virtualTuners>)");
  struct Case {
    const char* id;
    std::vector<GUID> nodes;
  };
  const Case cases[] = {
      {"c", {KSNODE_BDA_RF_TUNER, KSNODE_BDA_QAM_DEMODULATOR}},
      {"a", {KSNODE_BDA_RF_TUNER, KSNODE_BDA_8VSB_DEMODULATOR}},
      {"none", {KSNODE_BDA_RF_TUNER}},
  };
  for (const Case& c : cases) {
    ComPtr<IUnknown> filter;
    BStr moniker(Utf8ToUtf16("virtualdvb:" + path + "#" + c.id));
    ASSERT_EQ(DSH::CreateFilterByMonikerName(moniker.Get(), filter.Put()), S_OK);
    auto topology = QueryAs<IBDA_Topology>(filter.Get());
    ASSERT_TRUE(topology);
    BDANODE_DESCRIPTOR nodes[10];
    ULONG count = 0;
    ASSERT_EQ(topology->GetNodeDescriptors(&count, 10, nodes), S_OK);
    std::vector<GUID> functions;
    for (ULONG i = 0; i < count; ++i) functions.push_back(nodes[i].guidFunction);
    EXPECT_EQ(functions, c.nodes) << c.id;
  }
  ComPtr<IUnknown> filter;
  BStr unknown(Utf8ToUtf16("virtualdvb:" + path + "#zzz"));
  EXPECT_EQ(DSH::CreateFilterByMonikerName(unknown.Get(), filter.Put()), E_FAIL);
  BStr noId(Utf8ToUtf16("virtualdvb:" + path));
  EXPECT_EQ(DSH::CreateFilterByMonikerName(noId.Get(), filter.Put()), E_INVALIDARG);
}

TEST(VirtualDescription, TheDocumentedExampleLoads) {
  std::ifstream in(DTV_FORMAT_DOC);
  std::ostringstream text;
  text << in.rdbuf();
  const std::string doc = text.str();
  const size_t start = doc.find("```xml\n");
  ASSERT_NE(start, std::string::npos);
  const size_t end = doc.find("```", start + 7);
  TempDir dir;
  std::string error;
  const auto description = LoadVirtualDescription(dir.Write("doc.xml", doc.substr(start + 7, end - start - 7)), error);
  ASSERT_TRUE(description) << error;
  ASSERT_EQ(description->tuners.size(), 2u);
  const VirtualTuner& sat = description->tuners[0];
  ASSERT_EQ(sat.multiplexes.size(), 3u);
  EXPECT_EQ(sat.multiplexes[2].lnbPosition, 1);
  EXPECT_EQ(sat.multiplexes[1].strength, 62);
  EXPECT_EQ(description->tuners[1].multiplexes[0].bitrate, 19905882u);
}
