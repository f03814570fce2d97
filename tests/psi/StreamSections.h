#pragma once
// Runs a shared stream through the section splitter and feeds tables with its sections.
#include <cstdint>
#include <set>
#include <vector>

#include "psi/TsTestSupport.h"

namespace psitest {

// Every valid section of the registered PIDs, in stream order (repeats included).
inline std::vector<ReceivedSection> StreamSections(const Bytes& stream, const std::set<uint16_t>& pids) {
  SectionCollector collector;
  for (uint16_t pid : pids) collector.AddPid(pid);
  collector.Push(stream);
  return collector.sections;
}

// Hands a table (or sub-table container) every section of pid and tableId.
template <typename TTable>
void Feed(TTable& table, const std::vector<ReceivedSection>& sections, uint16_t pid, uint8_t tableId) {
  for (const ReceivedSection& s : sections)
    if (s.pid == pid && s.tableId == tableId) table.AddSection(s.bytes.data(), uint32_t(s.bytes.size()), pid, tableId);
}

}  // namespace psitest
