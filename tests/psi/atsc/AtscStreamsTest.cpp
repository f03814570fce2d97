// MGT and TVCT of real ATSC streams, through the section splitter, against
// the TSDuck dumps.
#include <gtest/gtest.h>

#include "psi/ReferenceTables.h"
#include "psi/StreamSections.h"
#include "psi/atsc/Mgt.h"
#include "psi/atsc/SttSection.h"
#include "psi/atsc/Vct.h"
#include "psi/text/Utf16Be.h"
#include "support/TestData.h"

using namespace psitest;

namespace {

constexpr uint16_t kPsipPid = 0x1FFB;

void CheckMgt(const ReferenceTable& reference, const CMgt& mgt) {
  EXPECT_TRUE(mgt.IsComplete());
  size_t table = 0;
  for (const std::string& line : reference.lines) {
    std::smatch m;
    if (Match(line, R"re(- Table type: .*\(0x([0-9A-F]{4})\)$)re", m)) {
      ASSERT_LT(table, mgt.tables.size()) << line;
      EXPECT_EQ(mgt.tables[table++].table_type, Hex(m[1])) << line;
    } else if (Match(line, R"re(^      PID: 0x\w+ \((\d+)\), version)re", m)) {
      EXPECT_EQ(mgt.tables.at(table - 1).pid, Dec(m[1])) << line;
    }
  }
  EXPECT_EQ(table, mgt.tables.size());
}

void CheckVct(const ReferenceTable& reference, const CVct& vct) {
  EXPECT_TRUE(vct.IsComplete());
  CDescriptorCursor cursor;
  size_t index = 0;
  for (const std::string& line : reference.lines) {
    std::smatch m;
    if (Match(line, R"re(Transport stream id: 0x\w+ \((\d+)\))re", m)) {
      EXPECT_EQ(vct.transport_stream_id, Dec(m[1]));
      continue;
    }
    if (Match(line, R"re(- Channel (\d+)\.(\d+), short name: "(.*)"$)re", m)) {
      ASSERT_LT(index, vct.channels.size()) << line;
      const VctChannel& channel = vct.channels[index++];
      EXPECT_EQ(channel.major_channel_number, Dec(m[1]));
      EXPECT_EQ(channel.minor_channel_number, Dec(m[2]));
      EXPECT_EQ(Utf16BeToString(channel.short_name.data(), channel.short_name.size()), Utf8(m[3].str()));
      cursor.Enter(channel.descriptors);
      continue;
    }
    if (index == 0) continue;
    const VctChannel& channel = vct.channels[index - 1];
    if (Match(line, R"re(Modulation: ATSC 8-VSB, frequency: (\d+))re", m)) {
      EXPECT_EQ(channel.modulation_mode, 0x04);
      EXPECT_EQ(channel.carrier_frequency, Dec(m[1]));
    } else if (Match(line, R"re(TS id: 0x\w+ \((\d+)\), program number: 0x\w+ \((\d+)\))re", m)) {
      EXPECT_EQ(channel.channel_tsid, Dec(m[1]));
      EXPECT_EQ(channel.program_number, Dec(m[2]));
    } else if (Match(line, R"re(ETM location: \d, access controlled: (yes|no))re", m)) {
      EXPECT_EQ(channel.access_controlled, m[1] == "yes" ? 1 : 0);
    } else if (Match(line, R"re(Service type: (.*), source id: 0x\w+ \((\d+)\))re", m)) {
      if (m[1] == "ATSC Digital Television") { EXPECT_EQ(channel.service_type, 0x02); }
      EXPECT_EQ(channel.source_id, Dec(m[2]));
    } else {
      cursor.Check(line);
    }
  }
  EXPECT_EQ(index, vct.channels.size());
  EXPECT_GT(cursor.CheckedDescriptors(), 0u);
}

// The first STT of the stream against the dump's system time and GPS-UTC offset.
void CheckStt(const ReferenceTable& reference, const std::vector<ReceivedSection>& sections) {
  const auto stt = std::find_if(sections.begin(), sections.end(),
                                [](const ReceivedSection& s) { return s.pid == kPsipPid && s.tableId == 0xCD; });
  ASSERT_NE(stt, sections.end());
  CSttSection section;
  ASSERT_TRUE(section.Parse(stt->bytes.data(), static_cast<uint32_t>(stt->bytes.size())));
  size_t checked = 0;
  for (const std::string& line : reference.lines) {
    std::smatch m;
    if (!Match(line, R"re(System time: 0x\w+ \((\d+)\), GPS-UTC offset: 0x\w+ \((\d+)\))re", m)) continue;
    EXPECT_EQ(section.system_time, Dec(m[1]));
    EXPECT_EQ(section.GPS_UTC_offset, Dec(m[2]));
    ++checked;
  }
  EXPECT_EQ(checked, 1u);
}

class AtscDumps : public testing::TestWithParam<std::pair<const char*, const char*>> {};

}  // namespace

TEST_P(AtscDumps, MgtAndTvctMatchTheReferenceDump) {
  REQUIRE_SHARED_FILE(streamPath, GetParam().first);
  REQUIRE_SHARED_FILE(referencePath, std::string("reference/") + GetParam().second);
  const auto sections = StreamSections(ReadFile(streamPath), {kPsipPid});
  size_t checked = 0;
  for (const ReferenceTable& table : ReadReferenceTables(referencePath)) {
    SCOPED_TRACE(table.name);
    if (table.tableId == 0xC7) {
      CMgt mgt;
      Feed(mgt, sections, kPsipPid, 0xC7);
      CheckMgt(table, mgt);
      ++checked;
    } else if (table.tableId == 0xCD) {
      CheckStt(table, sections);
      ++checked;
    } else if (table.tableId == 0xC8) {
      CVct vct;
      Feed(vct, sections, kPsipPid, 0xC8);
      CheckVct(table, vct);
      ++checked;
    }
  }
  EXPECT_GT(checked, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Dumps, AtscDumps,
    testing::Values(std::make_pair("test-040.sections.ts", "test-040.tstables.text.txt"),
                    std::make_pair("test-043.pmtvct.ts", "test-043.tstables.pmtvct.atsc.txt"),
                    std::make_pair("test-043.vctpmt.ts", "test-043.tstables.vctpmt.atsc.txt")));
