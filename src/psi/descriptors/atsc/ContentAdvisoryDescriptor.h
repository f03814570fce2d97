#pragma once
// content_advisory_descriptor of ATSC A/65 (tag 0x87): ratings per rating region.
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

struct RatingDimension {
  uint8_t rating_dimension = 0;
  uint8_t rating_value = 0;
};

struct RatingRegion {
  uint8_t rating_region = 0;
  std::vector<RatingDimension> dimensions;
  RawText<256> rating_description;  // multiple string structure, raw
};

class CContentAdvisoryDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  std::vector<RatingRegion> regions;
};
