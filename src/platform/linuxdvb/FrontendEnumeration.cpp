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
}  // namespace

// A number out of range makes the name no frontend's: never an exception.
bool ParseNumber(const std::ssub_match& digits, int& value) {
  const char* end = &*digits.second;
  const auto [stop, error] = std::from_chars(&*digits.first, end, value);
  return error == std::errc() && stop == end;
}

bool ParseFrontendPath(const std::string& path, int& adapter, int& frontend) {
  static const std::regex kPattern(R"(.*/adapter([0-9]+)/frontend([0-9]+))");
  std::smatch match;
  if (!std::regex_match(path, match, kPattern)) return false;
  return ParseNumber(match[1], adapter) && ParseNumber(match[2], frontend);
}

std::optional<LinuxDvbFrontend> QueryFrontend(const std::string& path, FrontendIo& io, FrontendProblem* problem) {
  const auto leaveOut = [&](int error, std::string reason) -> std::optional<LinuxDvbFrontend> {
    log(1, "DVB frontend %s %s", path.c_str(), reason.c_str());
    if (problem) *problem = {path, error, std::move(reason)};
    return std::nullopt;
  };
  LinuxDvbFrontend fe;
  fe.path = path;
  if (!ParseFrontendPath(path, fe.adapter, fe.frontend)) return leaveOut(EINVAL, "has no valid adapter and frontend number");
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
      if (auto fe = QueryFrontend(node.path().string(), io, &problem))
        frontends.push_back(std::move(*fe));
      else if (problems)
        problems->push_back(std::move(problem));
    }
  }
  std::sort(frontends.begin(), frontends.end(), [](const LinuxDvbFrontend& a, const LinuxDvbFrontend& b) {
    return a.adapter != b.adapter ? a.adapter < b.adapter : a.frontend < b.frontend;
  });
  return frontends;
}
