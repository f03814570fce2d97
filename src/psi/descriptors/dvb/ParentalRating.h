#pragma once
// parental_rating_descriptor (tag 0x55): minimum age per country.
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

struct ParentalRatingEntry {
  LanguageCode country_code{};
  uint8_t rating = 0;
};

class CParentalRating : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  std::vector<ParentalRatingEntry> entries;
};
