#include "channels/DeliverySystem.h"

#include "interfaces/IKxChannel.h"

std::optional<PsiRenderer_NetworkType> NetworkTypeOfChannel(LONG channelType) {
  switch (channelType) {
    case KxChannelType_AtscRadio:
    case KxChannelType_AtscTv: return PsiRenderer_NetworkType_Atsc;
    case KxChannelType_DvbtRadio:
    case KxChannelType_DvbtTv: return PsiRenderer_NetworkType_Dvbt;
    case KxChannelType_DvbsRadio:
    case KxChannelType_DvbsTv: return PsiRenderer_NetworkType_Dvbs;
    case KxChannelType_DvbcRadio:
    case KxChannelType_DvbcTv: return PsiRenderer_NetworkType_Dvbc;
    default: return std::nullopt;
  }
}

const char* DeliverySystemName(std::optional<PsiRenderer_NetworkType> system) {
  if (!system) return "-";
  switch (*system) {
    case PsiRenderer_NetworkType_Dvbs: return "DVB-S";
    case PsiRenderer_NetworkType_Dvbc: return "DVB-C";
    case PsiRenderer_NetworkType_Dvbt: return "DVB-T";
    case PsiRenderer_NetworkType_Atsc: return "ATSC";
  }
  return "-";
}

LONG ChannelTypeOf(PsiRenderer_NetworkType system, int32_t serviceType) {
  if (system == PsiRenderer_NetworkType_Atsc)
    return serviceType == 2 ? KxChannelType_AtscTv : serviceType == 3 ? KxChannelType_AtscRadio : 0;
  // DVB service types: digital TV, MPEG-2 HD, advanced codec SD/HD, HEVC;
  // digital radio and advanced codec radio.
  const bool tv = serviceType == 1 || serviceType == 17 || serviceType == 22 || serviceType == 25 || serviceType == 31;
  const bool radio = serviceType == 2 || serviceType == 10;
  if (!tv && !radio) return 0;
  switch (system) {
    case PsiRenderer_NetworkType_Dvbs: return tv ? KxChannelType_DvbsTv : KxChannelType_DvbsRadio;
    case PsiRenderer_NetworkType_Dvbc: return tv ? KxChannelType_DvbcTv : KxChannelType_DvbcRadio;
    default: return tv ? KxChannelType_DvbtTv : KxChannelType_DvbtRadio;
  }
}
