#include "psi/descriptors/atsc/ContentAdvisoryDescriptor.h"

void CContentAdvisoryDescriptor::Parse(CPsiStream& reader) {
  regions.clear();
  const uint8_t count = reader.ReadUInt8() & 0x3F;
  for (uint8_t i = 0; i < count; ++i) {
    RatingRegion region;
    region.rating_region = reader.ReadUInt8();
    const uint8_t dimensions = reader.ReadUInt8();
    for (uint8_t d = 0; d < dimensions; ++d) {
      RatingDimension dimension;
      dimension.rating_dimension = reader.ReadUInt8();
      dimension.rating_value = reader.ReadUInt8() & 0x0F;
      region.dimensions.push_back(dimension);
    }
    region.rating_description.Read(reader, reader.ReadUInt8());
    regions.push_back(std::move(region));
  }
}
