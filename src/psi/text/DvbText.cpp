#include "psi/text/DvbText.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "psi/text/Charset.h"
#include "psi/text/Iso6937.h"

namespace {

// Removes the DVB control codes 0x80..0x9F, keeping 0x8A (CR/LF) as a line feed.
std::vector<uint8_t> FilterControlCodes(const uint8_t* text, size_t length) {
  std::vector<uint8_t> out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    const uint8_t c = text[i];
    if (c == 0x8A)
      out.push_back(0x0A);
    else if (c < 0x80 || c > 0x9F)
      out.push_back(c);
  }
  return out;
}

std::u16string DecodeFiltered(const char* charset, const uint8_t* text, size_t length) {
  const std::vector<uint8_t> filtered = FilterControlCodes(text, length);
  return DecodeWithFallback(charset, filtered.data(), filtered.size());
}

// ISO/IEC 10646 BMP as big-endian 16-bit units, ending at a zero unit; the
// control codes of the two-byte tables are 0xE080..0xE09F, 0xE08A is CR/LF.
std::u16string DecodeUcs2(const uint8_t* text, size_t length) {
  std::u16string out;
  for (size_t i = 0; i + 1 < length; i += 2) {
    const char16_t c = static_cast<char16_t>((text[i] << 8) | text[i + 1]);
    if (c == 0) break;
    if (c == 0xE08A)
      out.push_back(u'\n');
    else if (c < 0xE080 || c > 0xE09F)
      out.push_back(c);
  }
  return out;
}

}  // namespace

std::u16string DvbTextToString(const uint8_t* bytes, size_t length) {
  if (!bytes || length == 0) return {};
  const uint8_t first = bytes[0];
  if (first == 0x11) return DecodeUcs2(bytes + 1, length - 1);

  // The text ends at its first zero byte; two zero bytes behind it let the
  // selector read its parameters safely.
  std::vector<uint8_t> buffer(bytes, bytes + length);
  buffer.resize(length + 2, 0);
  size_t skip = 0;
  std::string charset;
  bool filter = true;
  if (first >= 0x20) {
    if (auto text = Iso6937ToString(buffer.data())) return *std::move(text);
    charset = "ISO-8859-15";
  } else if (first >= 0x01 && first <= 0x0B) {
    charset = "ISO-8859-" + std::to_string(first + 4);
    skip = 1;
  } else if (first == 0x10) {
    charset = "ISO-8859-" + std::to_string((buffer[1] << 8) | buffer[2]);
    skip = 3;
  } else if (first == 0x12) {
    charset = "CP949";  // KS X 1001
    skip = 1;
    filter = false;
  } else if (first == 0x13) {
    charset = "GB2312";
    skip = 1;
    filter = false;
  } else if (first == 0x14) {
    charset = "BIG5";
    skip = 1;
    filter = false;
  } else if (first == 0x15) {
    charset = "UTF-8";
    skip = 1;
    filter = false;
  } else {
    charset = kDefault8BitCharset;
  }
  skip = std::min(skip, length);
  const uint8_t* text = buffer.data() + skip;
  const size_t textLength = strnlen(reinterpret_cast<const char*>(text), length - skip);
  if (filter) return DecodeFiltered(charset.c_str(), text, textLength);
  return DecodeWithFallback(charset.c_str(), text, textLength);
}
