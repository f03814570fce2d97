#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Epg/KxEpgEvent.h"
#include "Epg/KxEpgEvents.h"

namespace {

struct EventData {
  LONG eventId, tsId, serviceId, networkId, sourceId;
  std::u16string name, text, item, description;
  DATE start, end;
};

HRESULT OutText(const std::u16string& text, BSTR* out) { return AllocOutString(text, out); }

// A PSI renderer event snapshot; `failTextAt` makes get_Text fail.
class FakeEpgEvent : public IEpgEvent {
 public:
  using InterfaceMap = ::InterfaceMap<IEpgEvent>;
  FakeEpgEvent(EventData data, bool failText) : m_data(std::move(data)), m_failText(failText) {}
  virtual ~FakeEpgEvent() = default;

  HRESULT get_EventId(LONG* p) override { return Out(p, m_data.eventId); }
  HRESULT get_TransportStreamId(LONG* p) override { return Out(p, m_data.tsId); }
  HRESULT get_ServiceId(LONG* p) override { return Out(p, m_data.serviceId); }
  HRESULT get_NetworkId(LONG* p) override { return Out(p, m_data.networkId); }
  HRESULT get_SourceId(LONG* p) override { return Out(p, m_data.sourceId); }
  HRESULT get_EventName(BSTR* p) override { return OutText(m_data.name, p); }
  HRESULT get_Text(BSTR* p) override { return m_failText ? E_FAIL : OutText(m_data.text, p); }
  HRESULT get_ExtendedItem(BSTR* p) override { return OutText(m_data.item, p); }
  HRESULT get_ExtendedItemDescription(BSTR* p) override { return OutText(m_data.description, p); }
  HRESULT get_StartTime(DATE* p) override { return Out(p, m_data.start); }
  HRESULT get_EndTime(DATE* p) override { return Out(p, m_data.end); }

 private:
  template <class T>
  static HRESULT Out(T* p, T v) {
    *p = v;
    return S_OK;
  }
  EventData m_data;
  bool m_failText;
};

class FakeEpgEvents : public IEpgEvents {
 public:
  using InterfaceMap = ::InterfaceMap<IEpgEvents>;
  explicit FakeEpgEvents(std::vector<EventData> events, LONG failTextAt = -1)
      : m_events(std::move(events)), m_failTextAt(failTextAt) {}
  virtual ~FakeEpgEvents() = default;

  HRESULT get_Count(LONG* p) override {
    *p = static_cast<LONG>(m_events.size());
    return S_OK;
  }
  HRESULT get_Item(LONG l, IEpgEvent** pp) override {
    return ComObject<FakeEpgEvent>::CreateAndQuery(pp, m_events[l], l == m_failTextAt);
  }

 private:
  std::vector<EventData> m_events;
  LONG m_failTextAt;
};

EventData Sample(LONG id) {
  return {id,
          1019,
          28106,
          1,
          77,
          u"Tagesschau " + std::u16string(1, u'0' + id),
          u"Nachrichten \u00fcber alles",
          u"Moderation",
          u"Jan Hofer",
          46000.75 + id,
          46000.8 + id};
}

ComPtr<ComObject<CKxEpgEvents>> Collection() {
  ComPtr<ComObject<CKxEpgEvents>> events = ComObject<CKxEpgEvents>::Make();
  EXPECT_TRUE(events);
  return events;
}

LONG CountOf(IKxEpgEvents* events) {
  LONG count = -1;
  EXPECT_EQ(S_OK, events->get_Count(&count));
  return count;
}

std::u16string Text(IKxEpgEvent* event, HRESULT (IKxEpgEvent::*getter)(BSTR*)) {
  BStr value;
  EXPECT_EQ(S_OK, (event->*getter)(value.Put()));
  return std::u16string(value.View());
}

LONG Number(IKxEpgEvent* event, HRESULT (IKxEpgEvent::*getter)(LONG*)) {
  LONG value = -1;
  EXPECT_EQ(S_OK, (event->*getter)(&value));
  return value;
}

TEST(KxEpgEventTest, NewEventIsEmptyAndKeepsWhatIsPut) {
  ComPtr<IKxEpgEvent> event;
  ASSERT_EQ(S_OK, ComObject<CKxEpgEvent>::CreateAndQuery(event.Put()));
  EXPECT_EQ(0, Number(event.Get(), &IKxEpgEvent::get_EventId));
  EXPECT_EQ(u"", Text(event.Get(), &IKxEpgEvent::get_EventName));
  DATE start = -1;
  EXPECT_EQ(S_OK, event->get_StartTime(&start));
  EXPECT_EQ(0.0, start);
  EXPECT_EQ(E_POINTER, event->get_StartTime(nullptr));
  EXPECT_EQ(E_POINTER, event->get_NetworkId(nullptr));
  EXPECT_EQ(E_POINTER, event->get_Text(nullptr));
}

TEST(KxEpgEventsTest, AddCopiesEveryField) {
  auto events = Collection();
  ComPtr<IEpgEvents> source;
  ASSERT_EQ(S_OK, ComObject<FakeEpgEvents>::CreateAndQuery(source.Put(), std::vector<EventData>{Sample(1), Sample(2)}));
  ASSERT_EQ(S_OK, events->Add(source.Get()));
  ASSERT_EQ(2, CountOf(events.Get()));
  for (LONG i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const EventData expected = Sample(i + 1);
    ComPtr<IKxEpgEvent> event;
    ASSERT_EQ(S_OK, events->get_Item(i, event.Put()));
    EXPECT_EQ(expected.eventId, Number(event.Get(), &IKxEpgEvent::get_EventId));
    EXPECT_EQ(expected.tsId, Number(event.Get(), &IKxEpgEvent::get_TransportStreamId));
    EXPECT_EQ(expected.serviceId, Number(event.Get(), &IKxEpgEvent::get_ServiceId));
    EXPECT_EQ(expected.networkId, Number(event.Get(), &IKxEpgEvent::get_NetworkId));
    EXPECT_EQ(expected.sourceId, Number(event.Get(), &IKxEpgEvent::get_SourceId));
    EXPECT_EQ(expected.name, Text(event.Get(), &IKxEpgEvent::get_EventName));
    EXPECT_EQ(expected.text, Text(event.Get(), &IKxEpgEvent::get_Text));
    EXPECT_EQ(expected.item, Text(event.Get(), &IKxEpgEvent::get_ExtendedItem));
    EXPECT_EQ(expected.description, Text(event.Get(), &IKxEpgEvent::get_ExtendedItemDescription));
    DATE start = 0, end = 0;
    event->get_StartTime(&start);
    event->get_EndTime(&end);
    EXPECT_EQ(expected.start, start);
    EXPECT_EQ(expected.end, end);
  }
}

TEST(KxEpgEventsTest, AddReplacesThePreviousContents) {
  auto events = Collection();
  ComPtr<IEpgEvents> first, second, empty;
  ComObject<FakeEpgEvents>::CreateAndQuery(first.Put(), std::vector<EventData>{Sample(1), Sample(2), Sample(3)});
  ComObject<FakeEpgEvents>::CreateAndQuery(second.Put(), std::vector<EventData>{Sample(7)});
  ComObject<FakeEpgEvents>::CreateAndQuery(empty.Put(), std::vector<EventData>{});
  ASSERT_EQ(S_OK, events->Add(first.Get()));
  ASSERT_EQ(S_OK, events->Add(second.Get()));
  ASSERT_EQ(1, CountOf(events.Get()));
  ComPtr<IKxEpgEvent> event;
  ASSERT_EQ(S_OK, events->get_Item(0, event.Put()));
  EXPECT_EQ(7, Number(event.Get(), &IKxEpgEvent::get_EventId));
  ASSERT_EQ(S_OK, events->Add(empty.Get()));
  EXPECT_EQ(0, CountOf(events.Get()));
  EXPECT_EQ(E_POINTER, events->Add(nullptr));
}

TEST(KxEpgEventsTest, FailedCopyKeepsTheEventsCopiedSoFar) {
  auto events = Collection();
  ComPtr<IEpgEvents> source;
  ComObject<FakeEpgEvents>::CreateAndQuery(source.Put(), std::vector<EventData>{Sample(1), Sample(2), Sample(3)}, 1);
  EXPECT_EQ(E_FAIL, events->Add(source.Get()));
  EXPECT_EQ(1, CountOf(events.Get()));
}

TEST(KxEpgEventsTest, GetItemChecksItsArguments) {
  auto events = Collection();
  ComPtr<IEpgEvents> source;
  ComObject<FakeEpgEvents>::CreateAndQuery(source.Put(), std::vector<EventData>{Sample(1), Sample(2)});
  ASSERT_EQ(S_OK, events->Add(source.Get()));
  ComPtr<IKxEpgEvent> event;
  EXPECT_EQ(E_INVALIDARG, events->get_Item(2, event.Put()));
  EXPECT_EQ(nullptr, event.Get());
  EXPECT_EQ(E_INVALIDARG, events->get_Item(-1, event.Put()));
  EXPECT_EQ(E_POINTER, events->get_Item(0, nullptr));
  EXPECT_EQ(E_POINTER, events->get_Count(nullptr));
  // Each item is handed out with a reference of its own and stays the same object.
  ComPtr<IKxEpgEvent> again;
  ASSERT_EQ(S_OK, events->get_Item(1, event.Put()));
  ASSERT_EQ(S_OK, events->get_Item(1, again.Put()));
  EXPECT_EQ(event.Get(), again.Get());
}

}  // namespace
