#include "DSFilters/PsiRenderer/engine/PsiProcessorVct.h"

#include "logging/LogFile.h"
#include "platform/com/Utf.h"
#include "psi/text/Utf16Be.h"

void CPsiProcessorVct::Evaluate() {
  for (const VctChannel& entry : m_Vct.channels) {
    auto channel = m_pChannels->FindByProgramNumber(entry.program_number);
    if (!channel) {
      log(4, "Error in CPsiProcessorVct::ProcessSection(): can't find a channel prog_num: %d", entry.program_number);
      continue;
    }
    std::u16string name = Utf16BeToString(entry.short_name.data(), entry.short_name.size());
    name.resize(name.find(u'\0') == std::u16string::npos ? name.size() : name.find(u'\0'));  // NUL padding
    channel->m_bstrServiceName = BStr(name);
    channel->m_nMajorChannelNumber = entry.major_channel_number;
    channel->m_nMinorChannelNumber = entry.minor_channel_number;
    channel->m_nModulation = entry.modulation_mode;
    channel->m_nCarrierFrequency = static_cast<int32_t>(entry.carrier_frequency);
    channel->m_nChannelTsId = entry.channel_tsid;
    channel->m_nServiceType = entry.service_type;
    channel->m_nSourceId = entry.source_id;
    // Without this every ATSC channel would read as scrambled (the unset flag counts as CA).
    channel->m_nCa = entry.access_controlled ? 1 : 0;
    log(5, "CPsiProcessorVct::ProcessSection() service_name: %s, ts_id: %d, source_id: %d, service_type: %d",
        Utf16ToUtf8(name).c_str(), entry.channel_tsid, entry.source_id, entry.service_type);
  }
}
