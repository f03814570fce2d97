#include "platform/virtualdvb/VirtualDescription.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/os/RegularFile.h"

namespace fs = std::filesystem;

namespace {
// A description lists tuners and files: far below this.
constexpr size_t kMaxDescriptionBytes = 16u << 20;

// "${NAME}" from the environment; an unset name stays as written so that the
// missing setting shows in the file name when the stream cannot be opened.
std::string ExpandEnvironment(const std::string& text) {
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = text.find("${", pos);
    const size_t end = start == std::string::npos ? std::string::npos : text.find('}', start);
    if (end == std::string::npos) {
      out += text.substr(pos);
      break;
    }
    out += text.substr(pos, start - pos);
    const char* value = std::getenv(text.substr(start + 2, end - start - 2).c_str());
    out += value ? std::string(value) : text.substr(start, end - start + 1);
    pos = end + 1;
  }
  return out;
}

bool ReadMultiplex(const pugi::xml_node& node, const fs::path& base, bool satellite, VirtualMultiplex& mux,
                   std::string& error) {
  mux.frequencyKHz = node.attribute("frequency").as_uint();
  mux.symbolRate = node.attribute("symbolRate").as_uint();
  const std::string file = node.attribute("file").as_string();
  if (mux.frequencyKHz == 0 || file.empty()) {
    error = "a multiplex needs a frequency (kHz) and a file";
    return false;
  }
  if (satellite) {
    mux.lnbPosition = node.attribute("lnb").as_int(0);
    const std::string pol = node.attribute("polarisation").as_string();
    if (pol.size() != 1 || std::string("HVLR").find(pol[0]) == std::string::npos || mux.symbolRate == 0) {
      error = "a satellite multiplex needs polarisation H, V, L or R and a symbol rate";
      return false;
    }
    mux.polarisation = pol[0];
  }
  mux.bitrate = node.attribute("bitrate").as_uint();
  mux.strength = std::clamp(node.attribute("strength").as_int(100), 0, 100);
  mux.quality = std::clamp(node.attribute("quality").as_int(100), 0, 100);
  mux.locked = node.attribute("locked").as_bool(true);
  const fs::path expanded(ExpandEnvironment(file));
  mux.file = (expanded.is_absolute() ? expanded : base / expanded).lexically_normal().string();
  return true;
}
}  // namespace

std::optional<VirtualDescription> LoadVirtualDescription(const std::string& path, std::string& error) {
  const std::optional<std::string> text = ReadRegularFile(path, kMaxDescriptionBytes, error);
  if (!text) {
    error = path + ": " + error;
    return std::nullopt;
  }
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(text->data(), text->size());
  if (!parsed) {
    error = path + ": " + parsed.description();
    return std::nullopt;
  }
  const pugi::xml_node root = doc.child("virtualTuners");
  if (!root) {
    error = path + ": root element \"virtualTuners\" missing";
    return std::nullopt;
  }
  VirtualDescription description;
  description.path = fs::absolute(path).lexically_normal().string();
  const fs::path base = fs::path(description.path).parent_path();
  std::set<std::string> ids;
  for (const pugi::xml_node& node : root.children("tuner")) {
    VirtualTuner tuner;
    tuner.id = node.attribute("id").as_string();
    if (tuner.id.empty() || !ids.insert(tuner.id).second) {
      error = path + ": every tuner needs an id of its own";
      return std::nullopt;
    }
    // The moniker ends in "#<id>".
    if (tuner.id.find('#') != std::string::npos) {
      error = path + ": tuner id \"" + tuner.id + "\" contains '#'";
      return std::nullopt;
    }
    const std::string system = node.attribute("system").as_string();
    if (!system.empty()) {
      tuner.system = ParseDeliverySystem(system);
      if (!tuner.system) {
        error = path + ": tuner " + tuner.id + ": unknown delivery system \"" + system + "\"";
        return std::nullopt;
      }
    }
    tuner.moniker = kVirtualMonikerPrefix + description.path + "#" + tuner.id;
    tuner.friendlyName = node.attribute("friendlyName").as_string(tuner.id.c_str());
    tuner.manufacturer = node.attribute("manufacturer").as_string();
    tuner.hardwareId = node.attribute("hardwareId").as_string();
    tuner.physicalDeviceId = node.attribute("physicalDeviceId").as_string();
    tuner.driverDescription = node.attribute("driver").as_string();
    tuner.driverVersion = node.attribute("driverVersion").as_string();
    const bool satellite = tuner.system == DeliverySystem::DvbS || tuner.system == DeliverySystem::DvbS2;
    for (const pugi::xml_node& muxNode : node.children("multiplex")) {
      VirtualMultiplex mux;
      if (!ReadMultiplex(muxNode, base, satellite, mux, error)) {
        error = path + ": tuner " + tuner.id + ": " + error;
        return std::nullopt;
      }
      tuner.multiplexes.push_back(std::move(mux));
    }
    description.tuners.push_back(std::move(tuner));
  }
  return description;
}

bool ParseVirtualMoniker(const std::string& moniker, std::string& path, std::string& id) {
  const std::string prefix = kVirtualMonikerPrefix;
  if (moniker.rfind(prefix, 0) != 0) return false;
  const size_t hash = moniker.rfind('#');
  if (hash == std::string::npos || hash < prefix.size()) return false;
  path = moniker.substr(prefix.size(), hash - prefix.size());
  id = moniker.substr(hash + 1);
  return !path.empty() && !id.empty();
}
