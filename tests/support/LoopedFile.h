#pragma once
// Checks on bytes received from a virtual tuner that plays a file in a loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// `bytes` is `file` played in a loop, from wherever the delivery began.
inline ::testing::AssertionResult IsFileInALoop(const std::string& bytes, const std::string& file) {
  if (file.empty() || bytes.size() < 188) return ::testing::AssertionFailure() << "nothing to compare";
  const std::string twice = file + file;
  const size_t start = twice.find(bytes.substr(0, std::min<size_t>(bytes.size(), 4096)));
  if (start == std::string::npos || start >= file.size())
    return ::testing::AssertionFailure() << "the first bytes are not in the file";
  for (size_t pos = 0; pos < bytes.size();) {
    const size_t offset = (start + pos) % file.size();
    const size_t n = std::min(file.size() - offset, bytes.size() - pos);
    if (bytes.compare(pos, n, file, offset, n) != 0) {
      size_t at = 0;
      while (bytes[pos + at] == file[offset + at]) ++at;
      return ::testing::AssertionFailure() << "differs at byte " << pos + at << " of " << bytes.size() << " (file offset "
                                           << offset + at << " of " << file.size() << ")";
    }
    pos += n;
  }
  return ::testing::AssertionSuccess();
}
