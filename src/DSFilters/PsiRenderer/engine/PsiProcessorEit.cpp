#include "DSFilters/PsiRenderer/engine/PsiProcessorEit.h"

#include "DSFilters/PsiRenderer/engine/EpgTimeText.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"
#include "psi/descriptors/dvb/ExtendedEventDescriptor.h"
#include "psi/descriptors/dvb/ShortEventDescriptor.h"
#include "psi/dvb/DvbTime.h"
#include "psi/text/DvbText.h"

namespace {
constexpr uint8_t kFirstScheduleTableId = 0x50;

template <size_t N>
std::u16string Decode(const RawText<N>& text) {
  return DvbTextToString(text.bytes.data(), text.length);
}

void AppendLine(std::u16string& target, const std::u16string& text) {
  if (!target.empty()) target += u"\r\n";
  target += text;
}
}  // namespace

void CPsiProcessorEit::SetTableIds(const std::vector<uint8_t>& tableIds) {
  m_mapTables.clear();
  for (uint8_t id : tableIds) m_mapTables[id] = std::make_unique<CEitDvb>();
}

int CPsiProcessorEit::ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
  const auto it = m_mapTables.find(static_cast<uint8_t>(tableId));
  if (it == m_mapTables.end()) return 0;
  const CEitDvbSubtable* added = nullptr;
  TableAddResult result = it->second->AddValidSection(data, length, pid, tableId, &added);
  if (result == TableAddResult::Changed && m_bFollowVersions) {
    it->second->ResetSubtableOf(data);
    result = it->second->AddValidSection(data, length, pid, tableId, &added);
  }
  if (result == TableAddResult::Invalid) return 0;
  if (!added) return 1;  // a repeat, or a number already taken: nothing new to decode
  AutoLock lock(m_pEvents->Lock());
  for (size_t i = added->last_section_first_event; i < added->events.size(); ++i) UpdateEvent(*added, added->events[i]);
  return 1;
}

void CPsiProcessorEit::UpdateEvent(const CEitDvbSubtable& subtable, const EitDvbEvent& source) {
  CEpgEvent& event = m_pEvents->GetOrCreateEvent(source.event_id, subtable.service_id, subtable.transport_stream_id,
                                                 subtable.original_network_id);
  event.m_lTransportStreamId = subtable.transport_stream_id;
  event.m_lOriginalNetworkId = subtable.original_network_id;
  log(5, "CPsiProcessorEit::ProcessSection(): Event event_id: %d, service_id %d", source.event_id,
      subtable.service_id);

  int64_t start = 0;
  uint64_t duration = 0;
  if (MjdUtcToTime(source.start_time.data(), start) && BcdDurationToSeconds(source.duration.data(), duration)) {
    event.m_llStartTime = start;
    event.m_llEndTime = start + static_cast<int64_t>(duration);
    log(5, "CPsiProcessorEit::ProcessSection() Event start: %s, end: %s",
        FormatLocalTime(start, "%d.%m.%Y %H:%M").c_str(), FormatLocalTime(event.m_llEndTime, "%H:%M").c_str());
  }

  // The text items of consecutive extended event descriptors are one continuous text.
  std::u16string name, text, extendedText, items, itemDescriptions;
  for (const auto& descriptor : source.descriptors) {
    if (const auto* shortEvent = descriptor.As<CShortEventDescriptor>()) {
      const std::u16string decodedName = Decode(shortEvent->event_name);
      const std::u16string decodedText = Decode(shortEvent->text);
      AppendLine(name, decodedName);
      AppendLine(text, decodedText);
      log(5, "CPsiProcessorEit::ProcessSection() Event name: %s, text: %s", Utf16ToUtf8(decodedName).c_str(),
          Utf16ToUtf8(decodedText).c_str());
    } else if (const auto* extended = descriptor.As<CExtendedEventDescriptor>()) {
      extendedText += Decode(extended->text);
      for (const ExtendedEventItem& item : extended->items) {
        items += u"*" + Decode(item.item);
        itemDescriptions += u"*" + Decode(item.item_description);
      }
    }
  }
  if (!extendedText.empty()) AppendLine(text, extendedText);
  event.m_bstrEventName = std::move(name);
  event.m_bstrText = std::move(text);
  event.m_bstrItem = std::move(items);
  event.m_bstrItemDescription = std::move(itemDescriptions);
}

bool CPsiProcessorEit::HasSubtable(uint8_t tableId, const EitDvbKey& key) const {
  const auto table = m_mapTables.find(tableId);
  return table != m_mapTables.end() && table->second->GetSubtables().count(key) != 0;
}

// Complete when every sub-table received is, and each service's tables up to
// its last_table_id are there: a schedule in fewer tables than the range
// allows has nothing in the others. Present/following comes far more often
// than the schedule, so without a schedule sub-table nothing says the guide
// is whole; once there is one, a service with present/following but no
// schedule yet is still to come.
int CPsiProcessorEit::IsComplete() {
  bool any = false;
  const auto schedule = m_mapTables.find(kFirstScheduleTableId);
  const bool scheduled = schedule != m_mapTables.end() && !schedule->second->GetSubtables().empty();
  for (const auto& [id, table] : m_mapTables) {
    for (const auto& [key, subtable] : table->GetSubtables()) {
      if (!subtable->IsComplete()) return 0;
      for (unsigned next = id + 1u; next <= subtable->last_table_id; ++next)
        if (!HasSubtable(static_cast<uint8_t>(next), key)) return 0;
      if (scheduled && id < kFirstScheduleTableId && !HasSubtable(kFirstScheduleTableId, key)) return 0;
      any = true;
    }
  }
  return any && scheduled ? 1 : 0;
}

void CPsiProcessorEit::Reset() {
  for (auto& [id, table] : m_mapTables) table->Clear();
}
