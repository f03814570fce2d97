#include "dtvhost/FrequencyListSummary.h"

#include <fmt/format.h>

#include <iterator>
#include <numeric>
#include <pugixml.hpp>

#include "dtvhost/HostError.h"

std::size_t FrequencyListSummary::TotalEntries() const {
  return std::accumulate(groups.begin(), groups.end(), std::size_t{0},
                         [](std::size_t sum, const FrequencyListGroup& g) { return sum + g.entries; });
}

FrequencyListSummary SummariseFrequencyList(std::u16string_view xml) {
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed =
      doc.load_buffer(xml.data(), xml.size() * sizeof(char16_t), pugi::parse_default, pugi::encoding_utf16);
  if (!parsed)
    throw HostError(fmt::format("frequency list is not valid XML: {} at offset {}", parsed.description(),
                                parsed.offset));
  const pugi::xml_node root = doc.child("NetworkType");
  if (!root) throw HostError("frequency list has no NetworkType element");

  FrequencyListSummary summary;
  summary.networkType = root.attribute("name").value();
  for (const pugi::xml_node group : root.children()) {
    if (group.type() != pugi::node_element) continue;
    FrequencyListGroup g;
    g.kind = group.name();
    g.name = group.attribute("name").value();
    g.position = group.attribute("position").value();
    const auto params = group.children("param");
    g.entries = static_cast<std::size_t>(std::distance(params.begin(), params.end()));
    summary.groups.push_back(std::move(g));
  }
  return summary;
}
