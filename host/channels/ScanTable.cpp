#include "channels/ScanTable.h"

#include <fmt/format.h>

#include <pugixml.hpp>
#include <regex>
#include <sstream>

#include "channels/Dvbv5Values.h"

namespace {
const char* NetworkTypeName(PsiRenderer_NetworkType system) {
  switch (system) {
    case PsiRenderer_NetworkType_Dvbs: return "DVB-S";
    case PsiRenderer_NetworkType_Dvbc: return "DVB-C";
    default: return "DVB-T";
  }
}

// Tuning data's polarisation letters.
const char* PolarisationLetter(LONG bdaPolarisation) {
  switch (bdaPolarisation) {
    case 1: return "H";
    case 2: return "V";
    case 3: return "L";
    default: return "R";
  }
}

bool AddParam(pugi::xml_node group, const Dvbv5Entry& entry, PsiRenderer_NetworkType system) {
  const auto frequency = entry.Number("FREQUENCY");
  if (!frequency || *frequency <= 0) return false;
  pugi::xml_node param = group.append_child("param");
  // Tuning data keeps kHz; libdvbv5 satellite frequencies are kHz already.
  param.append_attribute("frequency") = system == PsiRenderer_NetworkType_Dvbs ? *frequency : *frequency / 1000;
  if (system == PsiRenderer_NetworkType_Dvbt)
    param.append_attribute("bandwidth") = entry.Number("BANDWIDTH_HZ").value_or(8000000) / 1000000;
  if (system != PsiRenderer_NetworkType_Dvbs) return true;
  const std::string* polarisation = entry.Find("POLARIZATION");
  param.append_attribute("polarisation") = PolarisationLetter(polarisation ? BdaPolarisationOfDvbv5(*polarisation) : -1);
  param.append_attribute("symbolrate") = entry.Number("SYMBOL_RATE").value_or(0) / 1000;
  if (const std::string* modulation = entry.Find("MODULATION"); modulation && BdaModulationOfDvbv5(*modulation) != -1)
    param.append_attribute("modulation") = BdaModulationOfDvbv5(*modulation);
  if (const std::string* fec = entry.Find("INNER_FEC"); fec && CodeRateOfText(*fec) != -1)
    param.append_attribute("fec") = fec->c_str();
  return true;
}
}  // namespace

std::optional<std::string> SatellitePositionOfName(const std::string& name) {
  static const std::regex pattern(R"(S(\d{1,3})(?:\.(\d))?([EW]))");
  std::smatch match;
  if (!std::regex_match(name, match, pattern)) return std::nullopt;
  return match[1].str() + (match[2].matched ? match[2].str() : "0") + match[3].str();
}

std::optional<std::string> TuningDataXmlOfScanTable(const std::vector<Dvbv5Entry>& entries, const std::string& name,
                                                    std::string& error) {
  if (entries.empty()) {
    error = "no transponders in it";
    return std::nullopt;
  }
  std::optional<PsiRenderer_NetworkType> system;
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string* delivery = entries[i].Find("DELIVERY_SYSTEM");
    const auto entrySystem = delivery ? NetworkTypeOfDvbv5(*delivery) : std::nullopt;
    if (!entrySystem || entrySystem == PsiRenderer_NetworkType_Atsc || (system && entrySystem != system)) {
      error = fmt::format("transponder {} [{}]: {}", i + 1, entries[i].name,
                          !delivery ? "no DELIVERY_SYSTEM"
                          : !entrySystem || entrySystem == PsiRenderer_NetworkType_Atsc
                              ? "DELIVERY_SYSTEM " + *delivery + " has no tuning data"
                              : "DELIVERY_SYSTEM " + *delivery + " differs from the first transponder's");
      return std::nullopt;
    }
    system = entrySystem;
  }
  pugi::xml_document document;
  pugi::xml_node root = document.append_child("NetworkType");
  root.append_attribute("name") = NetworkTypeName(*system);
  pugi::xml_node group;
  if (*system == PsiRenderer_NetworkType_Dvbs) {
    group = root.append_child("Satellite");
    group.append_attribute("name") = name.c_str();
    group.append_attribute("position") = SatellitePositionOfName(name).value_or(name).c_str();
  } else {
    group = root.append_child("Network");
    group.append_attribute("name") = name.c_str();
  }
  for (size_t i = 0; i < entries.size(); ++i)
    if (!AddParam(group, entries[i], *system)) {
      error = fmt::format("transponder {} [{}]: no FREQUENCY", i + 1, entries[i].name);
      return std::nullopt;
    }
  std::ostringstream text;
  document.save(text, "\t", pugi::format_default, pugi::encoding_utf8);
  return text.str();
}
