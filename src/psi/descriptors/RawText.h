#pragma once
// Text and byte fields kept exactly as broadcast. The array is one byte
// larger than any length the field can carry, so the text stays NUL-terminated.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "psi/ts/PsiStream.h"

template <size_t N, typename TLength = uint8_t>
struct RawText {
  TLength length = 0;
  std::array<uint8_t, N> bytes{};

  // Reads count bytes; a count that cannot leave a terminating NUL is rejected.
  void Read(CPsiStream& reader, size_t count) {
    if (count >= N) throw CPsiStreamException();
    reader.Read(bytes.data(), count);
    length = static_cast<TLength>(count);
  }

  std::span<const uint8_t> View() const { return {bytes.data(), length}; }
};

using LanguageCode = std::array<uint8_t, 3>;

inline LanguageCode ReadLanguageCode(CPsiStream& reader) {
  LanguageCode code{};
  reader.Read(code.data(), code.size());
  return code;
}
