#include "live/HostLnb.h"

#include <charconv>
#include <regex>
#include <vector>

#include "platform/com/Utf.h"

namespace {
constexpr LONG kKHzPerMHz = 1000;
// Oscillators and switch frequencies of real LNBs lie well below this (MHz).
constexpr LONG kMaxMHz = 30000;

std::vector<std::string> Fields(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t colon = text.find(':', start);
    fields.push_back(text.substr(start, colon - start));
    if (colon == std::string::npos) return fields;
    start = colon + 1;
  }
}

std::optional<LONG> Number(const std::string& text, LONG low, LONG high) {
  LONG value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (failure != std::errc() || end != text.data() + text.size() || text.empty() || value < low || value > high)
    return std::nullopt;
  return value;
}
}  // namespace

std::optional<LnbSetting> ParseLnb(const std::string& text, std::string& error) {
  const std::vector<std::string> fields = Fields(text);
  error = "--lnb " + text + ": ";
  if (fields.size() != 5) {
    error += "give POS:SAT:LOW:HIGH:SWITCH, e.g. 1:192E:9750:10600:11700";
    return std::nullopt;
  }
  LnbSetting setting;
  const auto position = Number(fields[0], 1, 4);
  if (!position) {
    error += "the position is 1 to 4";
    return std::nullopt;
  }
  static const std::regex orbital(R"(\d{1,4}[EW])");
  if (!fields[1].empty() && !std::regex_match(fields[1], orbital)) {
    error += "the satellite is an orbital position in tenths of a degree, e.g. 192E (empty: blind search)";
    return std::nullopt;
  }
  const auto low = Number(fields[2], 1, kMaxMHz), high = Number(fields[3], 0, kMaxMHz),
             switchAt = Number(fields[4], 0, kMaxMHz);
  if (!low || !high || !switchAt) {
    error += "the oscillators and the switch frequency are MHz, e.g. 9750:10600:11700";
    return std::nullopt;
  }
  setting.position = *position;
  setting.satellite = fields[1];
  setting.lowKHz = *low * kKHzPerMHz;
  setting.highKHz = *high * kKHzPerMHz;
  setting.switchKHz = *switchAt * kKHzPerMHz;
  return setting;
}

CHostLnb::CHostLnb(const LnbSetting& setting)
    : m_name(u"LNB " + Utf8ToUtf16(std::to_string(setting.position))),
      m_satellite(Utf8ToUtf16(setting.satellite)),
      m_position(setting.position),
      m_low(setting.lowKHz),
      m_high(setting.highKHz),
      m_switch(setting.switchKHz) {}

HRESULT CHostLnb::put_Name(BSTR name) {
  m_name.assign(name ? name : u"", name ? SysStringLen(name) : 0);
  return S_OK;
}

HRESULT CHostLnb::put_SatellitePosition(BSTR position) {
  m_satellite.assign(position ? position : u"", position ? SysStringLen(position) : 0);
  return S_OK;
}

HRESULT CHostLnb::Put(LONG& field, LONG value) {
  field = value;
  return S_OK;
}

HRESULT CHostLnb::Get(LONG field, LONG* out) {
  if (!out) return E_POINTER;
  *out = field;
  return S_OK;
}
