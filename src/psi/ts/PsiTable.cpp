#include "psi/ts/PsiTable.h"

#include <nettle/md5.h>

#include "psi/ts/PsiSection.h"

void CPsiTable::Reset() {
  m_setSeenDigests.clear();
  m_mapSections.clear();
  m_nLastSectionNumber = -1;
}

bool CPsiTable::AddSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
  CPsiSection header;
  if (!header.Parse(data, length)) return false;

  DigestKey key{};
  key[0] = static_cast<uint8_t>(tableId & 0xFF);
  md5_ctx ctx;
  md5_init(&ctx);
  md5_update(&ctx, length, data);
  md5_digest(&ctx, MD5_DIGEST_SIZE, key.data() + 1);
  if (m_setSeenDigests.contains(key)) return true;

  m_nLastSectionNumber = header.last_section_number;
  bool& parsed = m_mapSections[header.section_number];
  if (parsed) return true;  // this number is taken; a changed copy waits for Reset
  if (!ParseSection(data, length, pid, tableId)) return true;
  parsed = true;
  m_setSeenDigests.insert(key);
  return true;
}

bool CPsiTable::IsComplete() const {
  if (m_nLastSectionNumber < 0) return false;
  if (m_mapSections.size() != static_cast<size_t>(m_nLastSectionNumber) + 1) return false;
  for (int32_t s = 0; s <= m_nLastSectionNumber; ++s) {
    auto it = m_mapSections.find(s);
    if (it == m_mapSections.end() || !it->second) return false;
  }
  return true;
}
