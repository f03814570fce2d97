#include "live/TuningDataFile.h"

#include <charconv>
#include <cstring>
#include <pugixml.hpp>

#include "channels/Dvbv5Values.h"
#include "platform/com/Utf.h"
#include "platform/os/RegularFile.h"

namespace {
constexpr size_t kMaxTuningDataBytes = 16u << 20;

std::optional<int32_t> Number(const char* text) {
  int32_t value = 0;
  const char* end = text + std::strlen(text);
  const auto [stop, failure] = std::from_chars(text, end, value);
  if (failure != std::errc() || stop != end || *text == '\0') return std::nullopt;
  return value;
}

std::optional<int32_t> PolarisationOfLetter(const std::string& letter) {
  if (letter == "H") return 1;
  if (letter == "V") return 2;
  if (letter == "L") return 3;
  if (letter == "R") return 4;
  return std::nullopt;
}

struct Attribute {
  const char* name;
  const char16_t* property;
  bool required;
};

// Reads one <param>; false with error naming what is wrong.
bool ReadParam(const pugi::xml_node param, bool satellite, bool terrestrial, TuningItemProperties& item,
               std::string& error) {
  const std::vector<Attribute> numbers =
      satellite ? std::vector<Attribute>{{"frequency", KxTuningItemProperty_Frequency, true},
                                         {"symbolrate", KxTuningItemProperty_SymbolRate, true},
                                         {"modulation", KxTuningItemProperty_Modulation, false},
                                         {"pilot", KxTuningItemProperty_Pilot, false},
                                         {"rolloff", KxTuningItemProperty_Rolloff, false}}
                : std::vector<Attribute>{{"frequency", KxTuningItemProperty_Frequency, true},
                                         {"bandwidth", KxTuningItemProperty_Bandwidth, terrestrial}};
  for (const Attribute& a : numbers) {
    const pugi::xml_attribute attribute = param.attribute(a.name);
    if (!attribute && !a.required) continue;
    const auto value = Number(attribute.value());
    if (!value || *value < 0) {
      error = std::string("transponder at offset ") + std::to_string(param.offset_debug()) + ": " +
              (attribute ? "invalid " : "no ") + a.name;
      return false;
    }
    item[a.property] = *value;
  }
  if (!satellite) return true;
  const auto polarisation = PolarisationOfLetter(param.attribute("polarisation").value());
  if (!polarisation) {
    error = "transponder at offset " + std::to_string(param.offset_debug()) + ": polarisation is not H, V, L or R";
    return false;
  }
  item[KxTuningItemProperty_Polarisation] = *polarisation;
  // Tuning data without a code rate leaves it to the tuner (-1: not set).
  item[KxTuningItemProperty_InnerFec] = param.attribute("fec") ? CodeRateOfText(param.attribute("fec").value()) : -1;
  if (!item.count(KxTuningItemProperty_Modulation)) item[KxTuningItemProperty_Modulation] = -1;
  return true;
}

std::optional<std::u16string> TypeOfNetwork(const std::string& name) {
  if (name == "DVB-S") return KxTuningDataType_Dvbs;
  if (name == "DVB-T") return KxTuningDataType_Dvbt;
  if (name == "DVB-C") return KxTuningDataType_Dvbc;
  return std::nullopt;
}
}  // namespace

HRESULT CHostTuningData::GetType(BSTR* type) { return AllocOutString(m_type, type); }

HRESULT CHostTuningData::GetGroupList(IKxStringList** list) {
  if (!list) return E_POINTER;
  std::vector<std::u16string> names;
  for (const TuningGroup& group : m_groups) names.push_back(Satellite() ? group.position : group.name);
  *list = ComObject<CHostStringList>::Make(std::move(names)).Detach();
  return *list ? S_OK : E_OUTOFMEMORY;
}

HRESULT CHostTuningData::GetTuningItemListByGroup(BSTR name, IKxTuningItemList** list) {
  if (!name || !list) return E_POINTER;
  *list = nullptr;
  const std::u16string wanted(name, SysStringLen(name));
  std::vector<TuningItemProperties> items;
  bool found = false;
  for (const TuningGroup& group : m_groups) {
    if (Satellite() && group.position != wanted) continue;
    items.insert(items.end(), group.items.begin(), group.items.end());
    found = true;
  }
  if (!found) return E_INVALIDARG;
  *list = ComObject<CHostTuningItemList>::Make(std::move(items)).Detach();
  return *list ? S_OK : E_OUTOFMEMORY;
}

const TuningGroup* CHostTuningData::Group(LONG index) const {
  if (!Satellite() || index < 0 || static_cast<size_t>(index) >= m_groups.size()) return nullptr;
  return &m_groups[static_cast<size_t>(index)];
}

HRESULT CHostTuningData::get_SatelliteCount(LONG* count) {
  if (!count) return E_POINTER;
  *count = Satellite() ? static_cast<LONG>(m_groups.size()) : 0;
  return S_OK;
}

HRESULT CHostTuningData::get_SatelliteNameByIndex(LONG index, BSTR* name) {
  const TuningGroup* group = Group(index);
  return group ? AllocOutString(group->name, name) : E_INVALIDARG;
}

HRESULT CHostTuningData::get_SatellitePositionByIndex(LONG index, BSTR* position) {
  const TuningGroup* group = Group(index);
  return group ? AllocOutString(group->position, position) : E_INVALIDARG;
}

ComPtr<ComObject<CHostTuningData>> LoadTuningDataFile(const std::string& path, std::string& error) {
  std::string reason;
  const std::optional<std::string> text = ReadRegularFile(path, kMaxTuningDataBytes, reason);
  if (!text) {
    error = "cannot read " + path + ": " + reason;
    return {};
  }
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(text->data(), text->size());
  if (!parsed) {
    error = path + ": not tuning data: " + parsed.description() + " at offset " + std::to_string(parsed.offset);
    return {};
  }
  const pugi::xml_node root = document.document_element();
  const auto type = TypeOfNetwork(root.attribute("name").value());
  if (std::strcmp(root.name(), "NetworkType") != 0 || !type) {
    error = path + ": not tuning data: the root is not <NetworkType name=\"DVB-S|DVB-T|DVB-C\">";
    return {};
  }
  const bool satellite = *type == KxTuningDataType_Dvbs;
  std::vector<TuningGroup> groups;
  for (const pugi::xml_node node : root.children(satellite ? "Satellite" : "Network")) {
    TuningGroup group{Utf8ToUtf16(node.attribute("name").value()), Utf8ToUtf16(node.attribute("position").value()), {}};
    if (satellite && group.position.empty()) {
      error = path + ": satellite at offset " + std::to_string(node.offset_debug()) + " without its position";
      return {};
    }
    for (const pugi::xml_node param : node.children("param")) {
      TuningItemProperties item;
      if (!ReadParam(param, satellite, *type == KxTuningDataType_Dvbt, item, reason)) {
        error = path + ": " + reason;
        return {};
      }
      group.items.push_back(std::move(item));
    }
    groups.push_back(std::move(group));
  }
  if (groups.empty()) {
    error = path + ": no transponders in it";
    return {};
  }
  return ComObject<CHostTuningData>::Make(*type, std::move(groups));
}
