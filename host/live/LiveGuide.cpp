#include "live/LiveGuide.h"

#include <cmath>
#include <ctime>

#include "channels/ChannelRecord.h"
#include "platform/com/BStr.h"

namespace {
// Days between 1899-12-30, where DATE counts from, and 1970-01-01.
constexpr double kEpochDays = 25569.0;

std::u16string Text(IKxEpgEvent* event, HRESULT (IKxEpgEvent::*get)(BSTR*)) {
  BStr value;
  return SUCCEEDED((event->*get)(value.Put())) ? std::u16string(value.View()) : std::u16string();
}

int32_t Number(IKxEpgEvent* event, HRESULT (IKxEpgEvent::*get)(LONG*)) {
  LONG value = -1;
  return SUCCEEDED((event->*get)(&value)) ? static_cast<int32_t>(value) : -1;
}

int64_t Time(IKxEpgEvent* event, HRESULT (IKxEpgEvent::*get)(DATE*)) {
  DATE value = 0;
  return SUCCEEDED((event->*get)(&value)) && value != 0 ? LocalDateToUtcSeconds(value) : 0;
}
}  // namespace

int64_t LocalDateToUtcSeconds(DATE date) {
  // The DATE's calendar fields are local time; mktime finds their UTC instant.
  const auto local = static_cast<int64_t>(std::llround((date - kEpochDays) * 86400.0));
  const time_t asUtc = static_cast<time_t>(local);
  std::tm fields{};
  if (!gmtime_r(&asUtc, &fields)) return 0;
  fields.tm_isdst = -1;
  return static_cast<int64_t>(std::mktime(&fields));
}

void LiveGuide::AddEvents(IKxEpgEvents* received) {
  LONG count = 0;
  if (!received || FAILED(received->get_Count(&count))) return;
  AutoLock lock(events->Lock());
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxEpgEvent> item;
    if (FAILED(received->get_Item(i, item.Put())) || !item) continue;
    CEpgEvent& e = events->GetOrCreateEvent(Number(item.Get(), &IKxEpgEvent::get_EventId),
                                            Number(item.Get(), &IKxEpgEvent::get_ServiceId),
                                            Number(item.Get(), &IKxEpgEvent::get_TransportStreamId),
                                            Number(item.Get(), &IKxEpgEvent::get_NetworkId));
    e.m_bstrEventName = Text(item.Get(), &IKxEpgEvent::get_EventName);
    e.m_bstrText = Text(item.Get(), &IKxEpgEvent::get_Text);
    e.m_bstrItem = Text(item.Get(), &IKxEpgEvent::get_ExtendedItem);
    e.m_bstrItemDescription = Text(item.Get(), &IKxEpgEvent::get_ExtendedItemDescription);
    e.m_llStartTime = Time(item.Get(), &IKxEpgEvent::get_StartTime);
    e.m_llEndTime = Time(item.Get(), &IKxEpgEvent::get_EndTime);
  }
}

void LiveGuide::AddChannels(const ChannelList& stored) {
  for (const ComPtr<IKxChannel>& channel : stored) {
    const CChannel record = ChannelRecordOf(channel.Get());
    *channels->CreateChannel(record.m_nProgramNumber) = record;
  }
}
