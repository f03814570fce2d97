#include "psi/text/Charset.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <map>

namespace {

constexpr const char* kUtf16Native = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kReplacement = 0xFFFD;

// Opening a converter loads its tables, so each thread keeps the ones it used.
class ConverterCache {
 public:
  ~ConverterCache() {
    for (auto& [name, cd] : m_mapConverters)
      if (cd != Invalid()) iconv_close(cd);
  }

  iconv_t Get(const char* charset) {
    auto [it, inserted] = m_mapConverters.try_emplace(charset, Invalid());
    if (inserted) it->second = iconv_open(kUtf16Native, charset);
    return it->second;
  }

  static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }

 private:
  std::map<std::string, iconv_t> m_mapConverters;
};

}  // namespace

std::optional<std::u16string> DecodeCharset(const char* charset, const uint8_t* bytes, size_t length) {
  thread_local ConverterCache cache;
  iconv_t cd = cache.Get(charset);
  if (cd == ConverterCache::Invalid()) return std::nullopt;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);

  std::u16string out;
  char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
  size_t inLeft = bytes ? length : 0;
  char16_t chunk[256];
  while (inLeft > 0) {
    char* outPtr = reinterpret_cast<char*>(chunk);
    size_t outLeft = sizeof chunk;
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(chunk, (sizeof chunk - outLeft) / sizeof(char16_t));
    if (rc != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // Invalid or truncated sequence: mark it and go on with the next byte.
    out.push_back(kReplacement);
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

std::u16string DecodeWithFallback(const char* charset, const uint8_t* bytes, size_t length) {
  if (auto text = DecodeCharset(charset, bytes, length)) return *std::move(text);
  if (auto text = DecodeCharset(kDefault8BitCharset, bytes, length)) return *std::move(text);
  return {};
}
