#pragma once
// Feeds a transport-stream file into a graph through a test source, in
// samples of a size that is not a multiple of the packet size.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/graph/TestFilters.h"

inline std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void FeedBytes(CTestSource& source, const std::vector<uint8_t>& bytes, size_t chunk) {
  auto sample = ComObject<CMediaSample>::Make(chunk);
  uint8_t* buffer = nullptr;
  sample->GetPointer(&buffer);
  for (size_t at = 0; at < bytes.size(); at += chunk) {
    const size_t n = std::min(chunk, bytes.size() - at);
    std::memcpy(buffer, bytes.data() + at, n);
    sample->SetActualDataLength(static_cast<LONG>(n));
    source.Push(sample.Get());
  }
  source.Output().DeliverEndOfStream();
}

// The packets of `pid`, in order.
inline std::vector<std::vector<uint8_t>> PacketsOf(const std::vector<uint8_t>& ts, uint16_t pid) {
  std::vector<std::vector<uint8_t>> packets;
  for (size_t at = 0; at + 188 <= ts.size(); at += 188) {
    const uint8_t* p = ts.data() + at;
    if (p[0] == 0x47 && ((p[1] & 0x1F) << 8 | p[2]) == pid) packets.emplace_back(p, p + 188);
  }
  return packets;
}
