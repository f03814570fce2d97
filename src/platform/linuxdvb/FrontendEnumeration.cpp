#include "platform/linuxdvb/FrontendEnumeration.h"

#include <fcntl.h>
#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <regex>

#include "logging/LogFile.h"

namespace fs = std::filesystem;

namespace {
std::optional<DeliverySystem> FromDelsys(uint32_t delsys) {
  switch (delsys) {
    case SYS_DVBS: return DeliverySystem::DvbS;
    case SYS_DVBS2: return DeliverySystem::DvbS2;
    case SYS_DVBT: return DeliverySystem::DvbT;
    case SYS_DVBT2: return DeliverySystem::DvbT2;
    case SYS_DVBC_ANNEX_A:
    case SYS_DVBC_ANNEX_C: return DeliverySystem::DvbC;
    case SYS_DVBC_ANNEX_B: return DeliverySystem::DvbCAnnexB;
    case SYS_ATSC: return DeliverySystem::Atsc;
    default: return std::nullopt;
  }
}

// Drivers older than the property interface only report one frontend type.
std::optional<DeliverySystem> FromType(fe_type type) {
  switch (type) {
    case FE_QPSK: return DeliverySystem::DvbS;
    case FE_OFDM: return DeliverySystem::DvbT;
    case FE_QAM: return DeliverySystem::DvbC;
    case FE_ATSC: return DeliverySystem::Atsc;
  }
  return std::nullopt;
}

void AddSystem(std::vector<DeliverySystem>& systems, std::optional<DeliverySystem> system) {
  if (system && std::find(systems.begin(), systems.end(), *system) == systems.end()) systems.push_back(*system);
}

const std::regex& MonikerPattern() {
  static const std::regex kPattern(R"((.*/adapter([0-9]+)/frontend([0-9]+))(#(dvb-s|dvb-t|dvb-c|atsc))?)");
  return kPattern;
}

std::vector<std::string> FamiliesOf(const std::vector<DeliverySystem>& systems) {
  std::vector<std::string> families;
  for (DeliverySystem system : systems)
    if (std::find(families.begin(), families.end(), DeliveryFamily(system)) == families.end())
      families.push_back(DeliveryFamily(system));
  return families;
}

LinuxDvbFrontend OfFamily(const LinuxDvbFrontend& fe, const std::string& family) {
  LinuxDvbFrontend device = fe;
  device.systems.clear();
  for (DeliverySystem system : fe.systems)
    if (family == DeliveryFamily(system)) device.systems.push_back(system);
  return device;
}
}  // namespace

const char* DeliveryFamily(DeliverySystem system) {
  switch (system) {
    case DeliverySystem::DvbS:
    case DeliverySystem::DvbS2: return "dvb-s";
    case DeliverySystem::DvbT:
    case DeliverySystem::DvbT2: return "dvb-t";
    case DeliverySystem::DvbC: return "dvb-c";
    case DeliverySystem::DvbCAnnexB:
    case DeliverySystem::Atsc: return "atsc";
  }
  return "";
}

// A number out of range makes the name no frontend's: never an exception.
bool ParseNumber(const std::ssub_match& digits, int& value) {
  const char* end = &*digits.second;
  const auto [stop, error] = std::from_chars(&*digits.first, end, value);
  return error == std::errc() && stop == end;
}

bool ParseFrontendPath(const std::string& moniker, int& adapter, int& frontend) {
  std::smatch match;
  if (!std::regex_match(moniker, match, MonikerPattern())) return false;
  return ParseNumber(match[2], adapter) && ParseNumber(match[3], frontend);
}

std::optional<LinuxDvbFrontend> QueryFrontend(const std::string& moniker, FrontendIo& io, FrontendProblem* problem) {
  const auto leaveOut = [&](int error, std::string reason) -> std::optional<LinuxDvbFrontend> {
    log(1, "DVB frontend %s %s", moniker.c_str(), reason.c_str());
    if (problem) *problem = {moniker, error, std::move(reason)};
    return std::nullopt;
  };
  std::smatch match;
  LinuxDvbFrontend fe;
  if (!std::regex_match(moniker, match, MonikerPattern()) || !ParseNumber(match[2], fe.adapter) ||
      !ParseNumber(match[3], fe.frontend))
    return leaveOut(EINVAL, "has no valid adapter and frontend number");
  fe.path = match[1];
  fe.moniker = moniker;
  const std::string family = match[5];
  const std::string path = fe.path;
  const int fd = io.Open(path, O_RDONLY | O_NONBLOCK);
  if (fd < 0) {
    const int error = errno;
    return leaveOut(error, std::string("could not be opened: ") + std::strerror(error));
  }
  dvb_frontend_info info{};
  if (io.Ioctl(fd, FE_GET_INFO, &info) != 0) {
    const int error = errno;
    io.Close(fd);
    return leaveOut(error, std::string("does not answer FE_GET_INFO: ") + std::strerror(error));
  }
  fe.name.assign(info.name, strnlen(info.name, sizeof info.name));

  dtv_property prop{};
  prop.cmd = DTV_ENUM_DELSYS;
  dtv_properties props{1, &prop};
  if (io.Ioctl(fd, FE_GET_PROPERTY, &props) == 0) {
    const uint32_t count = std::min<uint32_t>(prop.u.buffer.len, sizeof prop.u.buffer.data);
    for (uint32_t i = 0; i < count; ++i) AddSystem(fe.systems, FromDelsys(prop.u.buffer.data[i]));
  } else {
    AddSystem(fe.systems, FromType(info.type));
  }
  io.Close(fd);
  if (!family.empty()) fe = OfFamily(fe, family);
  if (fe.systems.empty()) return leaveOut(0, "(" + fe.name + ") receives no supported delivery system");
  return fe;
}

std::vector<LinuxDvbFrontend> EnumerateFrontends(const std::string& devRoot, FrontendIo& io,
                                                 std::vector<FrontendProblem>* problems) {
  std::vector<LinuxDvbFrontend> frontends;
  std::error_code ec;
  const fs::path dvb = fs::path(devRoot) / "dvb";
  for (const auto& adapter : fs::directory_iterator(dvb, ec)) {
    if (adapter.path().filename().string().rfind("adapter", 0) != 0) continue;
    std::error_code inner;
    for (const auto& node : fs::directory_iterator(adapter.path(), inner)) {
      if (node.path().filename().string().rfind("frontend", 0) != 0) continue;
      FrontendProblem problem;
      const auto fe = QueryFrontend(node.path().string(), io, &problem);
      if (!fe) {
        if (problems) problems->push_back(std::move(problem));
        continue;
      }
      const std::vector<std::string> families = FamiliesOf(fe->systems);
      if (families.size() == 1) {
        frontends.push_back(*fe);
        continue;
      }
      for (const std::string& family : families) {
        LinuxDvbFrontend device = OfFamily(*fe, family);
        device.moniker = fe->path + "#" + family;
        frontends.push_back(std::move(device));
      }
    }
  }
  std::stable_sort(frontends.begin(), frontends.end(), [](const LinuxDvbFrontend& a, const LinuxDvbFrontend& b) {
    return a.adapter != b.adapter ? a.adapter < b.adapter : a.frontend < b.frontend;
  });
  return frontends;
}
