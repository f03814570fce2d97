// SDT, NIT and EIT of real streams, through the section splitter, against
// the dumps of two independent decoders.
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include "psi/ReferenceTables.h"
#include "psi/StreamSections.h"
#include "psi/descriptors/dvb/ServiceDescriptor.h"
#include "psi/descriptors/dvb/ShortEventDescriptor.h"
#include "psi/dvb/DvbTime.h"
#include "psi/dvb/EitDvb.h"
#include "psi/dvb/Nit.h"
#include "psi/dvb/Sdt.h"
#include "psi/text/DvbText.h"
#include "support/TestData.h"

using namespace psitest;

namespace {

constexpr uint16_t kNitPid = 0x0010, kSdtPid = 0x0011, kEitPid = 0x0012;

unsigned RunningStatus(const std::string& name) {
  static const std::map<std::string, unsigned> kNames = {{"undefined", 0}, {"not running", 1},
                                                         {"starts in a few seconds", 2}, {"pausing", 3},
                                                         {"running", 4}, {"off-air", 5}};
  return kNames.at(name);
}

// The first value that pattern captures in the table's lines.
unsigned First(const ReferenceTable& table, const char* pattern) {
  std::smatch m;
  for (const std::string& line : table.lines)
    if (Match(line, pattern, m)) return Dec(m[1]);
  ADD_FAILURE() << "no " << pattern << " in " << table.name;
  return 0;
}

void CheckSdt(const ReferenceTable& reference, const CSdtSubtable& sdt) {
  EXPECT_TRUE(sdt.IsComplete());
  CDescriptorCursor cursor;
  size_t service = 0;
  for (const std::string& line : reference.lines) {
    std::smatch m;
    if (Match(line, R"re(Service Id: 0x\w+ \((\d+)\), EITs: (yes|no), EITp/f: (yes|no), CA mode: (free|controlled))re", m)) {
      ASSERT_LT(service, sdt.services.size()) << line;
      const SdtService& s = sdt.services[service++];
      EXPECT_EQ(s.service_id, Dec(m[1]));
      EXPECT_EQ(s.eit_schedule_flag, m[2] == "yes" ? 1 : 0);
      EXPECT_EQ(s.eit_present_following_flag, m[3] == "yes" ? 1 : 0);
      EXPECT_EQ(s.free_ca_mode, m[4] == "controlled" ? 1 : 0);
      cursor.Enter(s.descriptors);
    } else if (Match(line, R"re(^    Running status: (.+)$)re", m)) {
      EXPECT_EQ(sdt.services.at(service - 1).running_status, RunningStatus(m[1].str()));
    } else {
      cursor.Check(line);
    }
  }
  EXPECT_EQ(service, sdt.services.size());
}

void CheckNit(const ReferenceTable& reference, const CNitSubtable& nit) {
  EXPECT_TRUE(nit.IsComplete());
  CDescriptorCursor cursor;
  size_t stream = 0;
  for (const std::string& line : reference.lines) {
    std::smatch m;
    if (Match(line, R"re(^    Network Id: 0x\w+ \((\d+)\))re", m)) {
      EXPECT_EQ(nit.network_id, Dec(m[1]));
      cursor.Enter(nit.descriptors);
    } else if (Match(line, R"re(Transport Stream Id: 0x\w+ \((\d+)\), Original Network Id: 0x\w+ \((\d+)\))re", m)) {
      ASSERT_LT(stream, nit.transport_streams.size()) << line;
      const NitTransportStream& ts = nit.transport_streams[stream++];
      EXPECT_EQ(ts.transport_stream_id, Dec(m[1]));
      EXPECT_EQ(ts.original_network_id, Dec(m[2]));
      cursor.Enter(ts.descriptors);
    } else {
      cursor.Check(line);
    }
  }
  EXPECT_EQ(stream, nit.transport_streams.size());
}

void CheckEit(const ReferenceTable& reference, const CEitDvbSubtable& eit) {
  EXPECT_TRUE(eit.IsComplete());
  CDescriptorCursor cursor;
  size_t index = 0;
  for (const std::string& line : reference.lines) {
    std::smatch m;
    if (Match(line, R"re(- Event Id: 0x\w+ \((\d+)\))re", m)) {
      ASSERT_LT(index, eit.events.size()) << line;
      EXPECT_EQ(eit.events[index].event_id, Dec(m[1]));
      cursor.Enter(eit.events[index++].descriptors);
      continue;
    }
    if (index == 0) continue;
    const EitDvbEvent& event = eit.events[index - 1];
    if (Match(line, R"re(Start UTC: 1970/01/01 00:00:00)re", m)) {
      int64_t start = 0;  // the reference's form of an undefined start time (all bits set)
      EXPECT_FALSE(MjdUtcToTime(event.start_time.data(), start)) << line;
    } else if (Match(line, R"re(Start UTC: (\d{4})/(\d\d)/(\d\d) (\d\d):(\d\d):(\d\d))re", m)) {
      int64_t start = 0;
      ASSERT_TRUE(MjdUtcToTime(event.start_time.data(), start)) << line;
      const time_t t = static_cast<time_t>(start);
      tm utc{};
      gmtime_r(&t, &utc);
      EXPECT_EQ(std::make_tuple(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec),
                std::make_tuple(int(Dec(m[1])), int(Dec(m[2])), int(Dec(m[3])), int(Dec(m[4])), int(Dec(m[5])),
                                int(Dec(m[6]))))
          << line;
    } else if (Match(line, R"re(Duration: (\d\d):(\d\d):(\d\d))re", m)) {
      uint64_t seconds = 0;
      ASSERT_TRUE(BcdDurationToSeconds(event.duration.data(), seconds));
      EXPECT_EQ(seconds, (Dec(m[1]) * 60 + Dec(m[2])) * 60 + Dec(m[3])) << line;
    } else if (Match(line, R"re(^      Running status: (.+)$)re", m)) {
      EXPECT_EQ(event.running_status, RunningStatus(m[1].str()));
    } else if (Match(line, R"re(^      CA mode: (free|controlled)$)re", m)) {
      EXPECT_EQ(event.free_ca_mode, m[1] == "controlled" ? 1 : 0);
    } else {
      cursor.Check(line);
    }
  }
  EXPECT_EQ(index, eit.events.size());
}

// Checks every table of one table_id of the dump against the container fed
// with that table_id, and that the container holds no further sub-table.
template <typename TContainer, typename TKeyOf, typename TCheck>
void CheckContainer(const std::vector<ReferenceTable>& reference, const std::vector<ReceivedSection>& sections,
                    uint16_t pid, uint8_t tableId, TKeyOf keyOf, TCheck check) {
  TContainer container;
  Feed(container, sections, pid, tableId);
  std::set<typename TContainer::Key> keys;
  for (const ReferenceTable& table : reference) {
    if (table.tableId != tableId) continue;
    const auto key = keyOf(table);
    if (!keys.insert(key).second) continue;  // a later version of a table already checked
    SCOPED_TRACE(table.name);
    const auto it = container.GetSubtables().find(key);
    ASSERT_NE(it, container.GetSubtables().end());
    check(table, *it->second);
  }
  EXPECT_EQ(container.GetSubtables().size(), keys.size()) << "table_id " << int(tableId);
}

class DvbDumps : public testing::TestWithParam<std::pair<const char*, const char*>> {};

}  // namespace

TEST_P(DvbDumps, SdtNitAndEitMatchTheReferenceDump) {
  REQUIRE_SHARED_FILE(streamPath, GetParam().first);
  REQUIRE_SHARED_FILE(referencePath, std::string("reference/") + GetParam().second);
  const auto reference = ReadReferenceTables(referencePath);
  const auto sections = StreamSections(ReadFile(streamPath), {kNitPid, kSdtPid, kEitPid});

  const auto sdtKey = [](const ReferenceTable& t) {
    return SdtKey(First(t, R"re(Original Network Id: 0x\w+ \((\d+)\))re"), First(t, R"re(Transport Stream Id: 0x\w+ \((\d+)\))re"));
  };
  const auto nitKey = [](const ReferenceTable& t) { return uint16_t(First(t, R"re(Network Id: 0x\w+ \((\d+)\))re")); };
  const auto eitKey = [](const ReferenceTable& t) {
    return EitDvbKey(First(t, R"re(Original Network Id: 0x\w+ \((\d+)\))re"), First(t, R"re(TS Id: 0x\w+ \((\d+)\))re"),
                     First(t, R"re(Service Id: 0x\w+ \((\d+)\))re"));
  };
  for (uint8_t tableId : {0x42, 0x46}) CheckContainer<CSdt>(reference, sections, kSdtPid, tableId, sdtKey, CheckSdt);
  for (uint8_t tableId : {0x40, 0x41}) CheckContainer<CNit>(reference, sections, kNitPid, tableId, nitKey, CheckNit);
  for (uint8_t tableId = 0x4E; tableId <= 0x6F; ++tableId)
    CheckContainer<CEitDvb>(reference, sections, kEitPid, tableId, eitKey, CheckEit);
}

INSTANTIATE_TEST_SUITE_P(Dumps, DvbDumps,
                         testing::Values(std::make_pair("test-092.sections.ts", "test-092.tstables.text.txt"),
                                         std::make_pair("test-092.sections.packed.ts", "test-092.tstables.text.txt"),
                                         std::make_pair("test-002.sections.ts", "test-002.tstables.text.txt")));

TEST(DvbStreams, ServiceNameWithIso8859_9SelectorDecodesToUnicode) {
  REQUIRE_SHARED_FILE(path, "test-092.sections.ts");
  CSdt sdt;
  Feed(sdt, StreamSections(ReadFile(path), {kSdtPid}), kSdtPid, 0x42);
  ASSERT_TRUE(sdt.IsComplete());
  const CSdtSubtable& subtable = *sdt.GetSubtables().at({8442, 1});
  const auto service = std::find_if(subtable.services.begin(), subtable.services.end(),
                                    [](const SdtService& s) { return s.service_id == 0x0105; });
  ASSERT_NE(service, subtable.services.end());
  const auto descriptor = std::dynamic_pointer_cast<const CServiceDescriptor>(service->descriptors.Get(0));
  ASSERT_TRUE(descriptor);
  EXPECT_EQ(descriptor->service_name.bytes[0], 0x05);
  EXPECT_EQ(DvbTextToString(descriptor->service_name.bytes.data(), descriptor->service_name.length), u"France Ô");
}

namespace {

std::vector<uint8_t> Unescape(const std::string& text) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      bytes.push_back(uint8_t(std::stoul(text.substr(i + 2, 2), nullptr, 16)));
      i += 3;
    } else {
      bytes.push_back(uint8_t(text[i]));
    }
  }
  return bytes;
}

std::string Hex(const uint8_t* bytes, size_t count) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < count; ++i) out += {kDigits[bytes[i] >> 4], kDigits[bytes[i] & 0x0F]};
  return out;
}

// service_id, free_CA_mode, running_status, service_type, raw name
using DvbpsiService = std::tuple<unsigned, unsigned, unsigned, unsigned, std::vector<uint8_t>>;
// service_id, event_id, start hex, duration hex, raw name
using DvbpsiEvent = std::tuple<unsigned, unsigned, std::string, std::string, std::vector<uint8_t>>;

class CapturedDvbStreams : public testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(CapturedDvbStreams, SdtNitAndEitMatchLibdvbpsi) {
  const std::string name = GetParam();
  REQUIRE_SHARED_FILE(streamPath, name + ".ts");
  REQUIRE_SHARED_FILE(referencePath, "reference/" + name + ".libdvbpsi.txt");

  // The first SDT and NIT as libdvbpsi met them, and every present/following event.
  std::optional<std::pair<unsigned, unsigned>> sdtIds;
  std::vector<DvbpsiService> services;
  std::optional<std::pair<unsigned, unsigned>> nit;  // network_id, transport streams
  std::set<DvbpsiEvent> events;
  std::ifstream in(referencePath);
  bool inFirstSdt = false;
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (Match(line, R"re(^SDT tsid=(\d+) onid=(\d+))re", m)) {
      inFirstSdt = !sdtIds;
      if (inFirstSdt) sdtIds.emplace(Dec(m[1]), Dec(m[2]));
    } else if (Match(line, R"re(^  service (\d+) free_ca=(\d+) running=(\d+) type=(\d+) name="(.*)"$)re", m)) {
      if (inFirstSdt) services.emplace_back(Dec(m[1]), Dec(m[2]), Dec(m[3]), Dec(m[4]), Unescape(m[5].str()));
    } else if (Match(line, R"re(^NIT network=(\d+) version=\d+ ts=(\d+))re", m)) {
      if (!nit) nit.emplace(Dec(m[1]), Dec(m[2]));
      inFirstSdt = false;
    } else if (Match(line, R"re(^EIT tid=0x4e sid=(\d+) event=(\d+) start=(\w+) dur=(\w+) name="(.*)"$)re", m)) {
      events.emplace(Dec(m[1]), Dec(m[2]), m[3].str(), m[4].str(), Unescape(m[5].str()));
    } else {
      inFirstSdt = false;
    }
  }

  const auto sections = StreamSections(ReadFile(streamPath), {kNitPid, kSdtPid, kEitPid});
  if (sdtIds) {
    CSdt sdt;
    Feed(sdt, sections, kSdtPid, 0x42);
    ASSERT_TRUE(sdt.IsComplete());
    ASSERT_EQ(sdt.GetSubtables().size(), 1u);
    const CSdtSubtable& subtable = *sdt.GetSubtables().begin()->second;
    EXPECT_EQ(subtable.transport_stream_id, sdtIds->first);
    EXPECT_EQ(subtable.original_network_id, sdtIds->second);
    std::vector<DvbpsiService> decoded;
    for (const SdtService& s : subtable.services) {
      const auto descriptor = std::dynamic_pointer_cast<const CServiceDescriptor>(s.descriptors.Get(0));
      ASSERT_TRUE(descriptor);
      const auto raw = descriptor->service_name.View();
      decoded.emplace_back(s.service_id, s.free_ca_mode, s.running_status, descriptor->service_type,
                           std::vector<uint8_t>(raw.begin(), raw.end()));
    }
    EXPECT_EQ(decoded, services);
  }
  if (nit) {
    CNit table;
    Feed(table, sections, kNitPid, 0x40);
    ASSERT_TRUE(table.IsComplete());
    const CNitSubtable& subtable = *table.GetSubtables().begin()->second;
    EXPECT_EQ(subtable.network_id, nit->first);
    EXPECT_EQ(subtable.transport_streams.size(), nit->second);
  }

  // The reference lists the events of some services only; those must match exactly.
  std::set<unsigned> referenceServices;
  for (const DvbpsiEvent& event : events) referenceServices.insert(std::get<0>(event));
  CEitDvb eit;
  Feed(eit, sections, kEitPid, 0x4E);
  std::set<DvbpsiEvent> decoded;
  for (const auto& [key, subtable] : eit.GetSubtables()) {
    if (!referenceServices.contains(subtable->service_id)) continue;
    EXPECT_TRUE(subtable->IsComplete()) << "service " << subtable->service_id;
    for (const EitDvbEvent& e : subtable->events) {
      std::vector<uint8_t> eventName;
      for (const auto& descriptor : e.descriptors)
        if (const auto* shortEvent = descriptor.As<CShortEventDescriptor>()) {
          const auto raw = shortEvent->event_name.View();
          eventName.assign(raw.begin(), raw.end());
          break;
        }
      decoded.emplace(subtable->service_id, e.event_id, Hex(e.start_time.data(), 5), Hex(e.duration.data(), 3), eventName);
    }
  }
  EXPECT_EQ(decoded, events);
}

INSTANTIATE_TEST_SUITE_P(Captures, CapturedDvbStreams, testing::Values("test-108", "test-018", "test-103", "test-030"));
