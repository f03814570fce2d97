#pragma once
// Reads the table dumps of an independent decoder (reference/*.tstables*.txt)
// and checks decoded descriptors against their lines.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "psi/descriptors/Descriptors.h"

namespace psitest {

// One table of the dump: "* PMT, TID 0x02 (2), PID 0x0262 (610)" and its lines.
struct ReferenceTable {
  std::string name;  // "PMT", "SDT Actual", ...
  uint8_t tableId = 0;
  uint16_t pid = 0;
  std::vector<std::string> lines;
};

// The valid tables of a dump; the dump's invalid-section entries are left out.
std::vector<ReferenceTable> ReadReferenceTables(const std::filesystem::path& path);

// Matches line against pattern; the captures stay valid while line does.
bool Match(const std::string& line, const char* pattern, std::smatch& captures);
unsigned Dec(const std::ssub_match& capture);
unsigned Hex(const std::ssub_match& capture);
std::u16string Utf8(const std::string& text);

// Follows the "- Descriptor N: ..." lines of a dump through the descriptor
// loops of a decoded table and checks each descriptor's tag, length and the
// detail lines the dump prints for the classes decoded here.
class CDescriptorCursor {
 public:
  ~CDescriptorCursor() { Leave(); }
  // The loop that the following descriptor lines describe.
  void Enter(const CDescriptors& loop);
  // Checks that the dump listed every descriptor of the current loop.
  void Leave();
  void Check(const std::string& line);
  size_t CheckedDescriptors() const { return m_nChecked; }

 private:
  void CheckDetail(const std::string& line);

  const CDescriptors* m_pLoop = nullptr;
  size_t m_nSeen = 0;
  std::shared_ptr<const CDescriptor> m_pCurrent;
  size_t m_nEntry = 0;
  size_t m_nChecked = 0;
};

}  // namespace psitest
