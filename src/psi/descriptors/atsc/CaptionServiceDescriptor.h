#pragma once
// caption_service_descriptor of ATSC A/65 (tag 0x86): line-21 and digital caption services.
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

struct CaptionService {
  LanguageCode language_code{};
  bool digital_cc = false;
  uint8_t line21_field = 0;            // when digital_cc is false
  uint8_t caption_service_number = 0;  // when digital_cc is true
  bool easy_reader = false;
  bool wide_aspect_ratio = false;
};

class CCaptionServiceDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  std::vector<CaptionService> services;
};
