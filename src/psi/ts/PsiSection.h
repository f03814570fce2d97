#pragma once
// Header of one PSI/SI section and its validity checks (length limits,
// section numbering, syntax indicator, current/next, CRC-32). Every section
// class derives from it and overrides Parse.
#include <cstdint>

// Big-endian 16-bit field at p, for header fields read without a reader.
inline uint16_t ReadUInt16At(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

class CPsiSection {
 public:
  virtual ~CPsiSection() = default;

  // Clears the fields, decodes the header from data and returns IsValid().
  // length must cover the whole section; fewer than 12 bytes are invalid.
  virtual bool Parse(const uint8_t* data, uint32_t length);
  virtual bool IsHeaderValid() const;
  virtual bool IsCurrent() const;
  virtual bool IsCrcValid() const;

  bool IsValid() const;
  // Parse for a section that was validated where it was assembled: the
  // header is decoded and checked, the CRC is not computed again.
  bool ParseValidated(const uint8_t* data, uint32_t length);

  uint32_t total_length = 0;  // section_length + 3
  uint8_t table_id = 0;
  bool section_syntax_indicator = false;
  uint16_t section_length = 0;
  uint8_t section_number = 0;
  uint8_t last_section_number = 0;
  uint32_t version_number = 0;
  bool current_next_indicator = false;
  const uint8_t* data = nullptr;  // not owned

 private:
  void Clear();

  bool m_bValidated = false;  // set only during ParseValidated
};
