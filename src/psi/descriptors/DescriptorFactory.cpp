#include "psi/descriptors/DescriptorFactory.h"

#include "psi/descriptors/atsc/Ac3AudioAtscDescriptor.h"
#include "psi/descriptors/atsc/CaptionServiceDescriptor.h"
#include "psi/descriptors/atsc/ComponentNameDescriptor.h"
#include "psi/descriptors/atsc/ContentAdvisoryDescriptor.h"
#include "psi/descriptors/atsc/ServiceLocationDescriptor.h"
#include "psi/descriptors/dvb/Ac3AudioDvbDescriptor.h"
#include "psi/descriptors/dvb/BouquetNameDescriptor.h"
#include "psi/descriptors/dvb/CableDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/ComponentDescriptor.h"
#include "psi/descriptors/dvb/ContentDescriptor.h"
#include "psi/descriptors/dvb/DvbS2SatelliteDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/ExtendedEventDescriptor.h"
#include "psi/descriptors/dvb/LinkageDescriptor.h"
#include "psi/descriptors/dvb/LocalTimeOffsetDescriptor.h"
#include "psi/descriptors/dvb/NetworkNameDescriptor.h"
#include "psi/descriptors/dvb/ParentalRating.h"
#include "psi/descriptors/dvb/PdcDescriptor.h"
#include "psi/descriptors/dvb/SatelliteDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/ServiceDescriptor.h"
#include "psi/descriptors/dvb/ServiceListDescriptor.h"
#include "psi/descriptors/dvb/ShortEventDescriptor.h"
#include "psi/descriptors/dvb/SubtitlingDescriptor.h"
#include "psi/descriptors/dvb/TeletextDescriptor.h"
#include "psi/descriptors/dvb/TerrestrialDeliverySystemDescriptor.h"
#include "psi/descriptors/mpeg/ConditionalAccessDescriptor.h"
#include "psi/descriptors/mpeg/Iso639LanguageDescriptor.h"

namespace {

template <typename T>
std::shared_ptr<CDescriptor> Make(uint8_t tag, uint8_t length) {
  return std::make_shared<T>(tag, length);
}

std::shared_ptr<CDescriptor> MakeDvb(uint8_t tag, uint8_t length) {
  switch (tag) {
    case 0x09: return Make<CConditionalAccessDescriptor>(tag, length);
    case 0x0A: return Make<CIso639LanguageDescriptor>(tag, length);
    case 0x40: return Make<CNetworkNameDescriptor>(tag, length);
    case 0x41: return Make<CServiceListDescriptor>(tag, length);
    case 0x43: return Make<CSatelliteDeliverySystemDescriptor>(tag, length);
    case 0x44: return Make<CCableDeliverySystemDescriptor>(tag, length);
    case 0x47: return Make<CBouquetNameDescriptor>(tag, length);
    case 0x48: return Make<CServiceDescriptor>(tag, length);
    case 0x4A: return Make<CLinkageDescriptor>(tag, length);
    case 0x4D: return Make<CShortEventDescriptor>(tag, length);
    case 0x4E: return Make<CExtendedEventDescriptor>(tag, length);
    case 0x50: return Make<CComponentDescriptor>(tag, length);
    case 0x54: return Make<CContentDescriptor>(tag, length);
    case 0x55: return Make<CParentalRating>(tag, length);
    case 0x56: return Make<CTeletextDescriptor>(tag, length);
    case 0x58: return Make<CLocalTimeOffsetDescriptor>(tag, length);
    case 0x59: return Make<CSubtitlingDescriptor>(tag, length);
    case 0x5A: return Make<CTerrestrialDeliverySystemDescriptor>(tag, length);
    case 0x69: return Make<CPdcDescriptor>(tag, length);
    case 0x6A: return Make<CAc3AudioDvbDescriptor>(tag, length);
    case 0x79: return Make<CDvbS2SatelliteDeliverySystemDescriptor>(tag, length);
    default: return Make<CDescriptor>(tag, length);
  }
}

std::shared_ptr<CDescriptor> MakeAtsc(uint8_t tag, uint8_t length) {
  switch (tag) {
    case 0x09: return Make<CConditionalAccessDescriptor>(tag, length);
    case 0x0A: return Make<CIso639LanguageDescriptor>(tag, length);
    case 0x81: return Make<CAc3AudioAtscDescriptor>(tag, length);
    case 0x86: return Make<CCaptionServiceDescriptor>(tag, length);
    case 0x87: return Make<CContentAdvisoryDescriptor>(tag, length);
    case 0xA1: return Make<CServiceLocationDescriptor>(tag, length);
    case 0xA3: return Make<CComponentNameDescriptor>(tag, length);
    default: return Make<CDescriptor>(tag, length);
  }
}

// Only the language descriptor is decoded in plain MPEG loops (the CAT and the
// PMT read for conditional access); CA descriptors stay generic there.
std::shared_ptr<CDescriptor> MakeMpeg(uint8_t tag, uint8_t length) {
  if (tag == 0x0A) return Make<CIso639LanguageDescriptor>(tag, length);
  return Make<CDescriptor>(tag, length);
}

}  // namespace

std::shared_ptr<CDescriptor> CreateDescriptor(CPsiStream& reader, uint32_t& consumed, DescriptorContext context) {
  if (reader.Remaining() == 0) return nullptr;
  const uint8_t tag = reader.ReadUInt8();
  const uint8_t length = reader.ReadUInt8();
  const uint8_t* body = reader.ReadBytes(length);
  consumed = length + 2u;
  return DecodeDescriptor(tag, length, body, context);
}

bool IsDecodableContext(DescriptorContext context) {
  return context == DescriptorContext_Dvb || context == DescriptorContext_Atsc || context == DescriptorContext_Mpeg;
}

std::shared_ptr<CDescriptor> DecodeDescriptor(uint8_t tag, uint8_t length, const uint8_t* body,
                                              DescriptorContext context) {
  std::shared_ptr<CDescriptor> descriptor;
  switch (context) {
    case DescriptorContext_Dvb: descriptor = MakeDvb(tag, length); break;
    case DescriptorContext_Atsc: descriptor = MakeAtsc(tag, length); break;
    case DescriptorContext_Mpeg: descriptor = MakeMpeg(tag, length); break;
    default: return nullptr;
  }
  // The body gets a reader of its own, so no descriptor can read past it.
  CPsiStream bodyReader(body, length);
  descriptor->Parse(bodyReader);
  return descriptor;
}
