#include <gtest/gtest.h>

#include <cstdlib>

#include "DSFilters/PsiRenderer/EpgEventsCOM.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorAtscEit.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorAtscEtt.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorEit.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorMgt.h"
#include "platform/com/Date.h"
#include "psi/SectionBuilder.h"
#include "psi/StreamSections.h"
#include "support/TestData.h"

namespace {

using psitest::Bytes;

std::vector<uint8_t> DvbEitTableIds() {
  std::vector<uint8_t> ids{0x4E};
  for (uint8_t id = 0x50; id <= 0x5F; ++id) ids.push_back(id);
  return ids;
}

// Seconds since the epoch of an MJD date and a UTC time, computed independently.
int64_t UtcSeconds(int mjd, int h, int m, int s) { return (int64_t(mjd) - 40587) * 86400 + h * 3600 + m * 60 + s; }

struct DvbEpg {
  std::shared_ptr<CEpgEvents> events = std::make_shared<CEpgEvents>();
  CPsiProcessorEit processor{events, PsiRenderer_NetworkType_Dvbt};
  int accepted = 0;
  int refused = 0;

  explicit DvbEpg(const std::filesystem::path& stream) {
    processor.SetTableIds(DvbEitTableIds());
    for (const auto& s : psitest::StreamSections(psitest::ReadFile(stream), {0x12}))
      (processor.ProcessSection(s.bytes.data(), uint32_t(s.bytes.size()), s.pid, s.tableId) ? accepted : refused)++;
  }
  const CEpgEvent* Find(int onid, int tsid, int sid, int eventId) {
    auto& entries = events->Entries();
    auto it = entries.find({onid, tsid, sid, eventId});
    return it == entries.end() ? nullptr : &it->second.event;
  }
};

TEST(EpgDvb, Test092EventsInUtcWithJoinedTexts) {
  REQUIRE_SHARED_FILE(plain, "test-092.sections.ts");
  for (const char* name : {"test-092.sections.ts", "test-092.sections.packed.ts"}) {
    DvbEpg epg(testdata::File(name));
    EXPECT_GT(epg.refused, 0) << "EIT other (0x4F) is not registered";
    const CEpgEvent* e = epg.Find(8442, 1, 261, 22);
    ASSERT_NE(e, nullptr) << name;
    EXPECT_EQ(e->m_bstrEventName, u"Le prix du d\u00E9sir");
    EXPECT_EQ(e->m_bstrText,
              u"Feuilleton sentimental. 2017. Saison 1.\r\nLes luttes personnelles et romantiques de trois femmes "
              u"qui ont en commun leur t\u00E9nacit\u00E9 et leur aptitude \u00E0 d\u00E9passer les limites pour "
              u"obtenir ce qu'elles d\u00E9sirent.");
    EXPECT_EQ(e->m_bstrItem, u"");
    // 2019-01-22 is MJD 58505.
    EXPECT_EQ(e->m_llStartTime, UtcSeconds(58505, 12, 15, 0));
    EXPECT_EQ(e->m_llEndTime, UtcSeconds(58505, 13, 5, 0));
    const CEpgEvent* next = epg.Find(8442, 1, 261, 23);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->m_llStartTime, UtcSeconds(58505, 13, 5, 0));
  }
}

TEST(EpgDvb, Test108MatchesTheReferenceEvents) {
  REQUIRE_SHARED_FILE(stream, "test-108.ts");
  DvbEpg epg(stream);
  struct Expected {
    int sid, eventId, h, m;
    int durMinutes;
    const char16_t* name;
  };
  // From the libdvbpsi dump: start MJD 0xE8CB (59595).
  const Expected cases[] = {
      {3404, 60309, 10, 0, 52, u"segue LA FINESTRA SU SAN PIETRO (SANTA MESSA - CEI)"},
      {3404, 60311, 10, 55, 20, u"segue LA FINESTRA SU SAN PIETRO - ANGELUS"},
      {3405, 59503, 9, 35, 85, u"LILLO E GREG 610"},
      {3406, 59559, 10, 50, 70, u"I CONCERTI DEL QUIRINALE:"},
  };
  size_t actual = 0;
  for (auto& [key, entry] : epg.events->Entries()) actual += std::get<1>(key) == 18432;
  // The reference lists the events of the tables it saw complete; every
  // section refreshes the events here, so incomplete tables add some.
  EXPECT_GE(actual, 6u);
  for (const Expected& c : cases) {
    auto it = std::find_if(epg.events->Entries().begin(), epg.events->Entries().end(), [&](auto& kv) {
      return std::get<2>(kv.first) == c.sid && std::get<3>(kv.first) == c.eventId;
    });
    ASSERT_NE(it, epg.events->Entries().end()) << c.eventId;
    const CEpgEvent& e = it->second.event;
    EXPECT_EQ(e.m_bstrEventName, c.name);
    EXPECT_EQ(e.m_llStartTime, UtcSeconds(59595, c.h, c.m, 0));
    EXPECT_EQ(e.m_llEndTime - e.m_llStartTime, c.durMinutes * 60);
  }
}

// An EIT p/f actual section with one event and the given descriptor loop.
Bytes EitSection(const Bytes& descriptors, uint8_t tableId = 0x4E) {
  Bytes body = {0x00, 0x01, 0x00, 0x02, 0x00, 0x4E};  // tsid 1, onid 2, segment last 0, last table 0x4E
  const Bytes event = {0x00, 0x07, 0xC0, 0x79, 0x12, 0x45, 0x00, 0x01, 0x30, 0x00};
  body.insert(body.end(), event.begin(), event.end());
  body.push_back(static_cast<uint8_t>(0x80 | (descriptors.size() >> 8)));
  body.push_back(static_cast<uint8_t>(descriptors.size() & 0xFF));
  body.insert(body.end(), descriptors.begin(), descriptors.end());
  return psitest::BuildSection({tableId, 0x0003, 0, true, 0, 0, body});
}

Bytes ShortEvent(const std::string& name, const std::string& text) {
  Bytes d = {0x4D, static_cast<uint8_t>(5 + name.size() + text.size()), 'e', 'n', 'g',
             static_cast<uint8_t>(name.size())};
  d.insert(d.end(), name.begin(), name.end());
  d.push_back(static_cast<uint8_t>(text.size()));
  d.insert(d.end(), text.begin(), text.end());
  return d;
}

Bytes ExtendedEvent(const std::vector<std::pair<std::string, std::string>>& items, const std::string& text) {
  Bytes loop;
  for (const auto& [description, item] : items) {
    loop.push_back(static_cast<uint8_t>(description.size()));
    loop.insert(loop.end(), description.begin(), description.end());
    loop.push_back(static_cast<uint8_t>(item.size()));
    loop.insert(loop.end(), item.begin(), item.end());
  }
  Bytes d = {0x4E, 0, 0x00, 'e', 'n', 'g', static_cast<uint8_t>(loop.size())};
  d.insert(d.end(), loop.begin(), loop.end());
  d.push_back(static_cast<uint8_t>(text.size()));
  d.insert(d.end(), text.begin(), text.end());
  d[1] = static_cast<uint8_t>(d.size() - 2);
  return d;
}

TEST(EpgDvb, JoinsLanguagesAndStarsItems) {
  auto events = std::make_shared<CEpgEvents>();
  CPsiProcessorEit processor(events, PsiRenderer_NetworkType_Dvbs);
  processor.SetTableIds(DvbEitTableIds());
  const Bytes section = EitSection(psitest::Concat(
      {ShortEvent("News", "Today"), ShortEvent("Nachrichten", "Heute"), ExtendedEvent({{"D1", "I1"}, {"D2", "I2"}}, "More")}));
  ASSERT_EQ(processor.ProcessSection(section.data(), uint32_t(section.size()), 0x12, 0x4E), 1);
  const CEpgEvent& e = events->Entries().begin()->second.event;
  EXPECT_EQ(e.m_lEventId, 7);
  EXPECT_EQ(e.m_lServiceId, 3);
  EXPECT_EQ(e.m_bstrEventName, u"News\r\nNachrichten");
  EXPECT_EQ(e.m_bstrText, u"Today\r\nHeute\r\nMore");
  EXPECT_EQ(e.m_bstrItem, u"*I1*I2");
  EXPECT_EQ(e.m_bstrItemDescription, u"*D1*D2");
  // MJD 0xC079 12:45:00 is 1993-10-13 12:45:00 UTC, duration 01:30:00.
  EXPECT_EQ(e.m_llStartTime, 750516300);
  EXPECT_EQ(e.m_llEndTime, 750516300 + 5400);

  const Bytes other = EitSection(ShortEvent("x", "y"), 0x60);
  EXPECT_EQ(processor.ProcessSection(other.data(), uint32_t(other.size()), 0x12, 0x60), 0);
  EXPECT_EQ(events->Count(), 1u);
}

TEST(EpgAtsc, MgtListsEitAndEttPidsOnly) {
  Bytes body = {0x00, 0x00, 0x03};  // protocol_version, tables_defined = 3
  for (auto [type, pid] : {std::pair{0x0100, 0x1D00}, {0x0200, 0x1E00}, {0x0180, 0x1F00}}) {
    const Bytes entry = {uint8_t(type >> 8), uint8_t(type), uint8_t(0xE0 | (pid >> 8)), uint8_t(pid), 0xE0, 0, 0, 0, 0, 0xF0, 0};
    body.insert(body.end(), entry.begin(), entry.end());
  }
  body.insert(body.end(), {0xF0, 0x00});
  const Bytes section = psitest::BuildSection({0xC7, 0x0000, 0, true, 0, 0, body});
  CPsiProcessorMgt mgt(PsiRenderer_NetworkType_Atsc);
  ASSERT_EQ(mgt.ProcessSection(section.data(), uint32_t(section.size()), 0x1FFB, 0xC7), 1);
  EXPECT_TRUE(mgt.IsComplete());
  EXPECT_EQ(mgt.EitPids(), std::vector<uint16_t>{0x1D00});
  EXPECT_EQ(mgt.EttPids(), std::vector<uint16_t>{0x1E00});
}

Bytes Mss(const std::string& text) {
  Bytes m = {0x01, 'e', 'n', 'g', 0x01, 0x00, 0x00, static_cast<uint8_t>(text.size())};
  m.insert(m.end(), text.begin(), text.end());
  return m;
}

TEST(EpgAtsc, EventTimesAreUtcFromGpsAndEttSetsText) {
  auto events = std::make_shared<CEpgEvents>();
  CPsiProcessorAtscEit eit(events, PsiRenderer_NetworkType_Atsc);
  // A title compressed with the A/65 title table.
  const Bytes title = {0x01, 'e', 'n', 'g', 0x01, 0x01, 0x00, 12, 0xA7, 0xA7, 0xF1, 0x54,
                       0xF1, 0x49, 0x3A, 0x81, 0x26, 0x8E, 0x48, 0x60};
  const uint32_t gps = 1'000'000'000;
  Bytes body = {0x00, 0x01};  // protocol_version, num_events_in_section
  const Bytes event = {0xC0, 0x01, uint8_t(gps >> 24), uint8_t(gps >> 16), uint8_t(gps >> 8), uint8_t(gps),
                       0xC0 | 0x10, 0x07, 0x08, uint8_t(title.size())};  // etm_location 1, length 1800 s
  body.insert(body.end(), event.begin(), event.end());
  body.insert(body.end(), title.begin(), title.end());
  body.insert(body.end(), {0xF0, 0x00});
  const Bytes section = psitest::BuildSection({0xCB, 0x0001, 0, true, 0, 0, body});  // source_id 1
  eit.SetGpsUtcOffset(17);
  ASSERT_EQ(eit.ProcessSection(section.data(), uint32_t(section.size()), 0x1D00, 0xCB), 1);

  CPsiProcessorAtscEtt ett(events, PsiRenderer_NetworkType_Atsc);
  const Bytes text = Mss("Headlines of the day");
  Bytes ettBody = {0x00, 0x00, 0x01, 0x00, 0x06};  // protocol_version, ETM_id: source 1, event 1, type 2
  ettBody.insert(ettBody.end(), text.begin(), text.end());
  const Bytes ettSection = psitest::BuildSection({0xCC, 0x0000, 0, true, 0, 0, ettBody});
  ASSERT_EQ(ett.ProcessSection(ettSection.data(), uint32_t(ettSection.size()), 0x1E00, 0xCC), 1);

  ASSERT_EQ(events->Count(), 1u);
  const CEpgEvent& e = events->Entries().begin()->second.event;
  EXPECT_EQ(e.m_lServiceId, 1);
  EXPECT_EQ(e.m_lEventId, 1);
  EXPECT_EQ(e.m_lTransportStreamId, -1);
  EXPECT_EQ(e.m_bstrEventName, u"MythTV is cool!");
  EXPECT_EQ(e.m_bstrText, u"Headlines of the day");
  EXPECT_EQ(e.m_llStartTime, 315964800 + gps - 17);
  EXPECT_EQ(e.m_llEndTime - e.m_llStartTime, 1800);
}

TEST(EpgSnapshot, OrdersByKeyAndDeliversOnlyNewOnRequest) {
  CEpgEvents events;
  for (const auto& [service, name] : {std::pair{2, u"b"}, std::pair{1, u"a"}}) {  // same event id, other service
    CEpgEvent& event = events.GetOrCreateEvent(5, service, 1, 1);
    event.m_bstrEventName = name;
    event.m_llStartTime = 1000;
  }
  ComPtr<IEpgEvents> all;
  ASSERT_EQ(CEpgEventsCOM::CreateInstance(events, true, all.Put()), S_OK);
  LONG count = 0;
  all->get_Count(&count);
  EXPECT_EQ(count, 2);
  ComPtr<IEpgEvent> first;
  ASSERT_EQ(all->get_Item(0, first.Put()), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(first->get_EventName(&name), S_OK);
  EXPECT_EQ(BStr::Attach(name).View(), u"a");
  LONG service = 0, source = 0;
  first->get_ServiceId(&service);
  first->get_SourceId(&source);
  EXPECT_EQ(service, source);
  EXPECT_EQ(all->get_Item(2, first.Put()), E_INVALIDARG);
  EXPECT_EQ(all->get_Item(-1, first.Put()), E_INVALIDARG);

  events.GetOrCreateEvent(6, 1, 1, 1).m_llStartTime = 1000;
  ComPtr<IEpgEvents> fresh;
  ASSERT_EQ(CEpgEventsCOM::CreateInstance(events, true, fresh.Put()), S_OK);
  fresh->get_Count(&count);
  EXPECT_EQ(count, 1);
  ASSERT_EQ(CEpgEventsCOM::CreateInstance(events, false, fresh.Put()), S_OK);  // clears every mark
  ASSERT_EQ(CEpgEventsCOM::CreateInstance(events, true, fresh.Put()), S_OK);
  fresh->get_Count(&count);
  EXPECT_EQ(count, 3);
}

// The background EPG's batches: an event goes again when what the host shows
// of it changed (the host replaces it by its id), and never without a start.
TEST(EpgSnapshot, ChangedEventsAreDeliveredAgainAndTimelessOnesNever) {
  CEpgEvents events;
  const auto deliveredIds = [&events] {
    ComPtr<IEpgEvents> batch;
    EXPECT_EQ(CEpgEventsCOM::CreateInstance(events, true, batch.Put()), S_OK);
    LONG count = 0;
    batch->get_Count(&count);
    std::vector<LONG> ids;
    for (LONG i = 0; i < count; ++i) {
      ComPtr<IEpgEvent> event;
      EXPECT_EQ(batch->get_Item(i, event.Put()), S_OK);
      LONG id = 0;
      event->get_EventId(&id);
      ids.push_back(id);
    }
    return ids;
  };
  for (int id = 1; id <= 4; ++id) events.GetOrCreateEvent(id, 1, 1, 1).m_llStartTime = 100 * id;
  events.GetOrCreateEvent(5, 1, 1, 1).m_bstrText = u"an ETT before its EIT";
  EXPECT_EQ(deliveredIds(), (std::vector<LONG>{1, 2, 3, 4}));
  EXPECT_TRUE(deliveredIds().empty()) << "nothing changed";

  events.GetOrCreateEvent(1, 1, 1, 1).m_bstrEventName = u"renamed";
  events.GetOrCreateEvent(2, 1, 1, 1).m_bstrText = u"its ETT";
  events.GetOrCreateEvent(3, 1, 1, 1).m_llEndTime = 400;
  events.GetOrCreateEvent(5, 1, 1, 1).m_llStartTime = 500;  // its EIT came
  EXPECT_EQ(deliveredIds(), (std::vector<LONG>{1, 2, 3, 5}));
}

// A stream with an endless supply of event ids cannot take all memory.
TEST(EpgEventList, EventsBeyondTheCapAreCountedNotKept) {
  CEpgEvents events;
  AutoLock lock(events.Lock());
  for (size_t id = 0; id < CEpgEvents::kMaxEvents + 5; ++id)
    events.GetOrCreateEvent(static_cast<int32_t>(id % 60000), static_cast<int32_t>(id / 60000), 1, 1).m_bstrEventName =
        u"x";
  EXPECT_EQ(events.Count(), CEpgEvents::kMaxEvents);
  EXPECT_EQ(events.DroppedCount(), 5u);
  events.GetOrCreateEvent(0, 0, 1, 1).m_bstrEventName = u"kept";  // a stored event is still written
  EXPECT_EQ(events.Entries().begin()->second.event.m_bstrEventName, u"kept");
  EXPECT_EQ(events.DroppedCount(), 5u);
}

TEST(EpgSnapshot, UnsetStartIsTheEpochInLocalTime) {
  setenv("TZ", "Europe/Paris", 1);
  tzset();
  CEpgEvents events;
  events.GetOrCreateEvent(1, 1, 1, 1);
  ComPtr<IEpgEvents> list;
  ASSERT_EQ(CEpgEventsCOM::CreateInstance(events, false, list.Put()), S_OK);
  ComPtr<IEpgEvent> e;
  ASSERT_EQ(list->get_Item(0, e.Put()), S_OK);
  DATE start = 0;
  ASSERT_EQ(e->get_StartTime(&start), S_OK);
  EXPECT_DOUBLE_EQ(start, CalendarToDate(1970, 1, 1, 1, 0, 0));  // UTC+1 in winter
  EXPECT_EQ(e->get_EndTime(nullptr), E_POINTER);
  unsetenv("TZ");
  tzset();
}

}  // namespace
