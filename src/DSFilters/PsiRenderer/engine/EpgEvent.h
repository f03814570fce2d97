#pragma once
// One EPG event as the EIT/ETT processors build it. Times are seconds since
// 1970-01-01 00:00:00 UTC.
#include <cstdint>
#include <string>

class CEpgEvent {
 public:
  CEpgEvent() = default;
  CEpgEvent(int32_t eventId, int32_t serviceId, int32_t transportStreamId, int32_t originalNetworkId)
      : m_lEventId(eventId),
        m_lTransportStreamId(transportStreamId),
        m_lServiceId(serviceId),
        m_lOriginalNetworkId(originalNetworkId) {}
  CEpgEvent(const CEpgEvent&) = default;
  CEpgEvent& operator=(const CEpgEvent&) = default;
  virtual ~CEpgEvent() = default;

  int32_t m_lEventId = -1;
  int32_t m_lTransportStreamId = -1;  // DVB only
  int32_t m_lServiceId = -1;          // DVB service_id, ATSC source_id
  int32_t m_lOriginalNetworkId = -1;  // DVB only
  std::u16string m_bstrEventName;
  std::u16string m_bstrText;
  std::u16string m_bstrItem;
  std::u16string m_bstrItemDescription;
  int64_t m_llStartTime = 0;
  int64_t m_llEndTime = 0;
  int32_t m_lReserved = 0;
};
