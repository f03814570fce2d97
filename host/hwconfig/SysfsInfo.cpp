#include "hwconfig/SysfsInfo.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {
std::string ReadLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

// "0x1ade" or "1ade" as four upper-case hex digits.
std::string Hex4(std::string text) {
  if (text.rfind("0x", 0) == 0) text = text.substr(2);
  unsigned value = 0;
  if (std::sscanf(text.c_str(), "%x", &value) != 1) return "0000";
  char out[8];
  std::snprintf(out, sizeof out, "%04X", value & 0xFFFF);
  return out;
}
}  // namespace

void ReadSysfsInfo(const std::string& sysRoot, int adapter, int frontend, HWDevice& device) {
  const fs::path root = fs::weakly_canonical(sysRoot);
  const fs::path node = root / "class" / "dvb" / ("dvb" + std::to_string(adapter) + ".frontend" + std::to_string(frontend));
  std::error_code ec;
  const fs::path busDevice = fs::canonical(node / "device", ec);
  if (ec) return;
  const fs::path driver = fs::read_symlink(busDevice / "driver", ec);
  if (!ec) device.driverDescription = driver.filename().string();
  if (!device.driverDescription.empty())
    device.driverVersion = ReadLine(root / "module" / device.driverDescription / "version");

  // The USB device is the interface's parent; a PCI card is the device itself.
  for (fs::path dir = busDevice; dir.string().size() > root.string().size(); dir = dir.parent_path()) {
    if (fs::exists(dir / "idVendor") && fs::exists(dir / "idProduct")) {
      device.hardwareId = "USB\\VID_" + Hex4(ReadLine(dir / "idVendor")) + "&PID_" + Hex4(ReadLine(dir / "idProduct"));
      device.manufacturer = ReadLine(dir / "manufacturer");
      device.physicalDeviceId = dir.lexically_relative(root / "devices").string();
      return;
    }
    if (fs::exists(dir / "vendor") && fs::exists(dir / "device")) {
      device.hardwareId = "PCI\\VEN_" + Hex4(ReadLine(dir / "vendor")) + "&DEV_" + Hex4(ReadLine(dir / "device"));
      device.physicalDeviceId = dir.lexically_relative(root / "devices").string();
      return;
    }
  }
}
