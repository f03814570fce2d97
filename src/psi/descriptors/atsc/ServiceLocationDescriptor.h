#pragma once
// service_location_descriptor of ATSC A/65 (tag 0xA1): the streams of a virtual channel.
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

struct ServiceLocationElement {
  uint8_t stream_type = 0;
  uint16_t elementary_pid = 0;
  LanguageCode language_code{};
};

class CServiceLocationDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint16_t pcr_pid = 0;
  std::vector<ServiceLocationElement> elements;
};
