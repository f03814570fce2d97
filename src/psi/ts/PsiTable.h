#pragma once
// Base of every table: collects the sections of one table (or DVB sub-table),
// parses each new section once and tells when sections 0..last_section_number
// have all been parsed. Identical repeats are recognised by an MD5 digest of
// the section bytes, so cyclic retransmissions cost one hash and one lookup.
#include <array>
#include <cstdint>
#include <map>
#include <set>

class CPsiTable {
 public:
  virtual ~CPsiTable() = default;

  // Empties the table. Overrides also clear their own content and call this.
  virtual void Reset();
  // false when the section header (or CRC) is invalid; true otherwise, also
  // for repeats and for sections that ParseSection rejected.
  virtual bool AddSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId);
  virtual bool IsComplete() const;

  int32_t LastSectionNumber() const { return m_nLastSectionNumber; }

 protected:
  // Parses one section with the table's section class and merges its content.
  virtual bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) = 0;

 private:
  using DigestKey = std::array<uint8_t, 17>;  // low byte of tableId, then MD5

  std::set<DigestKey> m_setSeenDigests;
  int32_t m_nLastSectionNumber = -1;
  std::map<int32_t, bool> m_mapSections;  // section_number -> parsed successfully
};
