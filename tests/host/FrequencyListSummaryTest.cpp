#include <gtest/gtest.h>

#include <iterator>

#include "dtvhost/FrequencyListSummary.h"
#include "dtvhost/HostError.h"

namespace {

TEST(FrequencyListSummary, CountsParamsPerGroupInFileOrder) {
  const FrequencyListSummary s = SummariseFrequencyList(
      u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!-- c -->\r\n<NetworkType name=\"DVB-S\">\r\n"
      u"<Satellite name=\"Astra 4A,1E\" position=\"48E\"><param frequency=\"1\"/><param frequency=\"2\"/>"
      u"</Satellite>\r\n<Satellite name=\"Empty\" position=\"8W\"></Satellite></NetworkType>\r\n");
  EXPECT_EQ(s.networkType, "DVB-S");
  ASSERT_EQ(s.groups.size(), 2u);
  EXPECT_EQ(s.groups[0].name, "Astra 4A,1E");
  EXPECT_EQ(s.groups[0].position, "48E");
  EXPECT_EQ(s.groups[0].entries, 2u);
  EXPECT_EQ(s.groups[1].entries, 0u);
  EXPECT_EQ(s.TotalEntries(), 2u);
}

TEST(FrequencyListSummary, RejectsWhatIsNotAFrequencyList) {
  const char16_t* bad[] = {u"", u"<NetworkType name=\"DVB-C\">", u"<Other/>", u"not xml"};
  for (size_t i = 0; i < std::size(bad); ++i) EXPECT_THROW(SummariseFrequencyList(bad[i]), HostError) << i;
}

}  // namespace
