#include "psi/descriptors/dvb/ParentalRating.h"

void CParentalRating::Parse(CPsiStream& reader) {
  ReadEntries(reader, 4, entries, [](CPsiStream& r) {
    ParentalRatingEntry entry;
    entry.country_code = ReadLanguageCode(r);
    entry.rating = r.ReadUInt8();
    return entry;
  });
}
