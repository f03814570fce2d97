#include "psi/ts/PsiSection.h"

#include "psi/ts/Crc32.h"

namespace {

// Time and date tables (TDT, TOT, running status, stuffing) use the short
// section form; TDT/RST/ST carry no CRC.
bool IsShortFormTable(uint8_t tableId) { return tableId >= 0x70 && tableId <= 0x73; }
bool HasNoCrc(uint8_t tableId) { return tableId >= 0x70 && tableId <= 0x72; }

// DVB EIT sections and ATSC ETT sections may be up to 4096 bytes long.
bool IsLongSectionTable(uint8_t tableId) { return (tableId >= 0x4E && tableId <= 0x6F) || tableId == 0xCC; }

}  // namespace

void CPsiSection::Clear() {
  total_length = 0;
  table_id = 0;
  section_syntax_indicator = false;
  section_length = 0;
  section_number = 0;
  last_section_number = 0;
  version_number = 0;
  current_next_indicator = false;
  data = nullptr;
}

bool CPsiSection::Parse(const uint8_t* bytes, uint32_t length) {
  Clear();
  if (!bytes || length < 12) return false;
  data = bytes;
  table_id = bytes[0];
  section_syntax_indicator = (bytes[1] & 0x80) != 0;
  section_length = static_cast<uint16_t>(((bytes[1] & 0x0F) << 8) | bytes[2]);
  total_length = section_length + 3u;
  version_number = (bytes[5] >> 1) & 0x1F;
  current_next_indicator = (bytes[5] & 0x01) != 0;
  section_number = bytes[6];
  last_section_number = bytes[7];
  // The CRC runs over total_length bytes, so they must all be there.
  if (total_length > length) return false;
  if (m_bValidated) return IsHeaderValid() && IsCurrent();
  return IsValid();
}

bool CPsiSection::ParseValidated(const uint8_t* bytes, uint32_t length) {
  m_bValidated = true;
  const bool valid = Parse(bytes, length);
  m_bValidated = false;
  return valid;
}

bool CPsiSection::IsValid() const {
  if (!IsHeaderValid() || !IsCurrent()) return false;
  return HasNoCrc(table_id) || IsCrcValid();
}

bool CPsiSection::IsHeaderValid() const {
  const uint16_t maxLength = IsLongSectionTable(table_id) ? 4093 : 1021;
  if (section_length > maxLength || section_length < 5) return false;
  if (!IsShortFormTable(table_id) && last_section_number < section_number) return false;
  switch (table_id) {
    case 0x70:
    case 0x71:
    case 0x73:
      return !section_syntax_indicator;
    case 0x72:
      return true;
    default:
      return section_syntax_indicator;
  }
}

bool CPsiSection::IsCurrent() const { return IsShortFormTable(table_id) || current_next_indicator; }

bool CPsiSection::IsCrcValid() const {
  if (total_length == 0 || !data) return false;
  return Crc32Mpeg2(data, total_length) == 0;
}
