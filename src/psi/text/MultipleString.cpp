#include "psi/text/MultipleString.h"

#include <optional>

#include "psi/text/AtscHuffman.h"
#include "psi/text/AtscHuffmanTables.h"
#include "psi/text/Charset.h"
#include "psi/text/Utf16Be.h"
#include "psi/ts/PsiStream.h"

namespace {

std::optional<std::u16string> DecodeSegment(uint8_t compression, uint8_t mode, const std::vector<uint8_t>& bytes) {
  switch (compression) {
    case 0:
      if (mode == 0x00) return DecodeWithFallback(kDefault8BitCharset, bytes.data(), bytes.size());
      if (mode == 0x3F) return Utf16BeToString(bytes.data(), bytes.size());
      return std::nullopt;
    case 1:
      return AtscHuffmanDecode(bytes.data(), bytes.size(), kAtscHuffmanTitleTable);
    case 2:
      return AtscHuffmanDecode(bytes.data(), bytes.size(), kAtscHuffmanDescriptionTable);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::vector<MultipleString> MssParse(const uint8_t* bytes, size_t count) {
  std::vector<MultipleString> strings;
  CPsiStream stream(bytes, count);
  try {
    const uint8_t numberStrings = stream.ReadUInt8();
    for (uint8_t i = 0; i < numberStrings; ++i) {
      MultipleString string;
      stream.Read(string.language_code.data(), string.language_code.size());
      const uint8_t numberSegments = stream.ReadUInt8();
      for (uint8_t j = 0; j < numberSegments; ++j) {
        const uint8_t compression = stream.ReadUInt8();
        const uint8_t mode = stream.ReadUInt8();
        const uint8_t numberBytes = stream.ReadUInt8();
        const std::vector<uint8_t> segment = stream.ReadVector(numberBytes);
        if (auto text = DecodeSegment(compression, mode, segment)) string.segments.push_back(*std::move(text));
      }
      strings.push_back(std::move(string));
    }
  } catch (const CPsiStreamException&) {
    // The structure ends at the given bytes.
  }
  return strings;
}

std::u16string MssFirstText(const uint8_t* bytes, size_t count) {
  const std::vector<MultipleString> strings = MssParse(bytes, count);
  if (strings.empty() || strings.front().segments.empty()) return {};
  return strings.front().segments.front();
}
