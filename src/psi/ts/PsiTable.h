#pragma once
// Base of every table: collects the sections of one table (or DVB sub-table),
// parses each new section once and tells when sections 0..last_section_number
// have all been parsed. A cyclic retransmission of a taken section is
// recognised by its length, CRC_32 and table_id before anything is parsed.
// (These identify the copy taken under a section number as the digest of its
// bytes would: a copy whose bytes equal a taken section carries its number.)
#include <cstddef>
#include <cstdint>
#include <map>

enum class TableAddResult {
  Invalid,  // bad header (or CRC, for unvalidated bytes)
  Known,    // a repeat, or a section the table could not parse
  Changed,  // other content under a section number already taken (a new version): ignored until Reset
  Taken,    // new content was parsed into the table
};

class CPsiTable {
 public:
  virtual ~CPsiTable() = default;

  // Empties the table. Overrides also clear their own content and call this.
  virtual void Reset();
  // false when the section header (or CRC) is invalid; true otherwise, also
  // for repeats and for sections that ParseSection rejected.
  virtual bool AddSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId);
  // AddSection for a section whose CRC was checked where it was assembled.
  TableAddResult AddValidSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId);
  virtual bool IsComplete() const;
  // Whether any section was parsed since the last Reset.
  bool HasContent() const { return m_nTaken != 0; }

  int32_t LastSectionNumber() const { return m_nLastSectionNumber; }
  bool HasSection(int32_t sectionNumber) const;

 protected:
  // Parses one validated section with the table's section class and merges its content.
  virtual bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) = 0;

 private:
  struct SectionState {
    bool parsed = false;
    uint32_t length = 0;  // of the copy taken
    uint32_t crc = 0;     // its CRC_32 field
    uint8_t tableId = 0;  // low byte of the tableId it came with
  };

  size_t m_nTaken = 0;
  int32_t m_nLastSectionNumber = -1;
  std::map<int32_t, SectionState> m_mapSections;  // section_number -> the copy taken
};
