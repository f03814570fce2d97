#include "DSFilters/PsiRenderer/engine/PsiProcessorSdt.h"

#include "logging/LogFile.h"
#include "platform/com/Utf.h"
#include "psi/descriptors/dvb/ServiceDescriptor.h"
#include "psi/text/DvbText.h"

namespace {
void ApplyService(CChannel& channel, const SdtService& service) {
  channel.m_nServiceId = service.service_id;
  channel.m_nRunningStatus = service.running_status;
  log(5, "CPsiProcessorSdt::ProcessSection(): service_id: %d, free_ca: %d, running: %d", service.service_id,
      service.free_ca_mode, service.running_status);
  for (const auto& descriptor : service.descriptors) {
    if (const auto* sd = descriptor.As<CServiceDescriptor>()) {
      const std::u16string provider =
          DvbTextToString(sd->service_provider_name.bytes.data(), sd->service_provider_name.length);
      const std::u16string name = DvbTextToString(sd->service_name.bytes.data(), sd->service_name.length);
      channel.m_bstrServiceProvider = BStr(provider);
      channel.m_bstrServiceName = BStr(name);
      channel.m_nServiceType = sd->service_type;
      log(5, "CPsiProcessorSdt::ProcessSection(): service_provider: %s, service_name: %s, service_type: %d",
          Utf16ToUtf8(provider).c_str(), Utf16ToUtf8(name).c_str(), sd->service_type);
    } else if (descriptor.tag == 0x53) {
      log(5, "CPsiProcessorSdt::ProcessSection(): CA identifier descriptor found");
    }
  }
  channel.m_nCa = service.free_ca_mode;
}
}  // namespace

void CPsiProcessorSdt::Evaluate() {
  for (const auto& [key, subtable] : m_Sdt.GetSubtables()) {
    log(5, "CPsiProcessorSdt::ProcessSection(): orig_network_id: %d, ts_id: %d", subtable->original_network_id,
        subtable->transport_stream_id);
    for (size_t i = 0; auto channel = m_pChannels->GetChannel(i); ++i)
      if (channel->m_nTransportStreamId == subtable->transport_stream_id)
        channel->m_nOriginalNetworkId = subtable->original_network_id;
    for (const SdtService& service : subtable->services) {
      if (auto channel = m_pChannels->FindByProgramNumber(service.service_id))
        ApplyService(*channel, service);
      else
        log(4, "Error in CPsiProcessorSdt::ProcessSection(): can't find a channel service_id: %d", service.service_id);
    }
  }
}
