#pragma once
// 128-bit class and interface identifiers in the platform's memory layout.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];

  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
  friend constexpr bool operator<(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1) return a.Data1 < b.Data1;
    if (a.Data2 != b.Data2) return a.Data2 < b.Data2;
    if (a.Data3 != b.Data3) return a.Data3 < b.Data3;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return a.Data4[i] < b.Data4[i];
    return false;
  }
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const GUID&;
using REFCLSID = const GUID&;

constexpr GUID GUID_NULL{};

namespace guid_detail {
constexpr int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
// Reads `digits` hex digits at `pos`; false when one is not a hex digit.
constexpr bool ReadHex(std::string_view text, size_t pos, int digits, uint64_t& value) {
  value = 0;
  for (int i = 0; i < digits; ++i) {
    const int v = HexValue(text[pos + i]);
    if (v < 0) return false;
    value = value * 16 + static_cast<uint64_t>(v);
  }
  return true;
}
}  // namespace guid_detail

// Parses the registry-string form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
constexpr std::optional<GUID> ParseGuid(std::string_view text) {
  if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' || text[14] != '-' ||
      text[19] != '-' || text[24] != '-')
    return std::nullopt;
  GUID g{};
  uint64_t v = 0;
  if (!guid_detail::ReadHex(text, 1, 8, v)) return std::nullopt;
  g.Data1 = static_cast<uint32_t>(v);
  if (!guid_detail::ReadHex(text, 10, 4, v)) return std::nullopt;
  g.Data2 = static_cast<uint16_t>(v);
  if (!guid_detail::ReadHex(text, 15, 4, v)) return std::nullopt;
  g.Data3 = static_cast<uint16_t>(v);
  constexpr size_t kBytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!guid_detail::ReadHex(text, kBytePos[i], 2, v)) return std::nullopt;
    g.Data4[i] = static_cast<uint8_t>(v);
  }
  return g;
}

// For identifiers written in the source: a malformed literal fails to compile.
consteval GUID MakeGuid(std::string_view text) {
  const auto g = ParseGuid(text);
  if (!g) throw "malformed GUID literal";
  return *g;
}

// Upper-case registry-string form with braces.
std::string GuidToString(const GUID& g);

// Declares the identifier of an interface or class inside its definition.
#define DTV_DECLARE_IID(text) static constexpr GUID kIid = MakeGuid(text)

template <class Interface>
constexpr const GUID& IidOf() {
  return Interface::kIid;
}
