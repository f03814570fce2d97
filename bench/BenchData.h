#pragma once
// Shared test streams for benchmarks, and the PSI PIDs they carry.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "psi/ts/PsiSectionSplitter.h"

namespace benchdata {

inline std::vector<uint8_t> ReadStream(const char* name) {
  const char* dir = std::getenv("DTV_SHARED_DIR");
  const std::filesystem::path path = std::filesystem::path(dir ? dir : DTV_SHARED_DIR) / "testdata" / name;
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The fixed PSI/SI PIDs plus the PMT PIDs announced by the stream's PAT.
inline std::set<uint16_t> PsiPids(const std::vector<uint8_t>& stream) {
  class PatReader : public CPsiSectionSplitter {
   public:
    std::set<uint16_t> pids{0x0000, 0x0001, 0x0010, 0x0011, 0x0012, 0x0014, 0x1FFB};

   protected:
    bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t, uint8_t tableId) override {
      if (tableId != 0x00) return true;
      for (uint32_t i = 8; i + 4 + 4 <= totalLength; i += 4)
        pids.insert(static_cast<uint16_t>(((data[i + 2] & 0x1F) << 8) | data[i + 3]));
      return true;
    }
  } reader;
  reader.AddPid(0x0000);
  reader.Append(stream.data(), static_cast<uint32_t>(stream.size()));
  reader.ProcessBuffer();
  return reader.pids;
}

}  // namespace benchdata
