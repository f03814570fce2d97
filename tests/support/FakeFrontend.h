#pragma once
// A fake /dev and /sys tree with DVB frontends that answer the frontend
// ioctls: FE_GET_INFO and FE_GET_PROPERTY(DTV_ENUM_DELSYS).
#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/linuxdvb/FrontendIo.h"
#include "support/TempDir.h"

struct FakeFrontendSpec {
  int adapter;
  std::string name;
  fe_type type;
  std::vector<uint32_t> delsys;
  std::string usbVendor, usbProduct, manufacturer;  // sysfs values
};

class FakeFrontendIo final : public FrontendIo {
 public:
  explicit FakeFrontendIo(const TempDir& root) : m_root(root) { SetFrontendIo(this); }
  ~FakeFrontendIo() override { SetFrontendIo(nullptr); }

  std::string DevRoot() const { return m_root / "dev"; }
  std::string SysRoot() const { return m_root / "sys"; }

  // Adds <dev>/dvb/adapterN/frontend0 and its sysfs device (a USB interface
  // below its USB device).
  std::string Add(const FakeFrontendSpec& spec) {
    const std::string a = std::to_string(spec.adapter);
    const std::string path = m_root.Write("dev/dvb/adapter" + a + "/frontend0", "");
    m_root.Write("dev/dvb/adapter" + a + "/demux0", "");
    m_frontends[path] = spec;
    const std::string usb = "sys/devices/pci0000:00/0000:00:14.0/usb1/1-" + a;
    m_root.Write(usb + "/idVendor", spec.usbVendor + "\n");
    m_root.Write(usb + "/idProduct", spec.usbProduct + "\n");
    m_root.Write(usb + "/manufacturer", spec.manufacturer + "\n");
    m_root.Write(usb + "/1-" + a + ":1.0/uevent", "");
    m_root.Write("sys/bus/usb/drivers/dvb_usb_fake/.keep", "");
    namespace fs = std::filesystem;
    fs::create_directory_symlink("../../../../../../bus/usb/drivers/dvb_usb_fake",
                                 m_root / (usb + "/1-" + a + ":1.0/driver"));
    fs::create_directories(m_root / ("sys/class/dvb/dvb" + a + ".frontend0"));
    fs::create_directory_symlink("../../../devices/pci0000:00/0000:00:14.0/usb1/1-" + a + "/1-" + a + ":1.0",
                                 m_root / ("sys/class/dvb/dvb" + a + ".frontend0/device"));
    return path;
  }

  int Open(const std::string& path, int) override {
    if (!m_frontends.count(path)) {
      errno = ENOENT;
      return -1;
    }
    m_open.push_back(path);
    return static_cast<int>(m_open.size()) + 100;
  }

  int Ioctl(int fd, unsigned long request, void* arg) override {
    const FakeFrontendSpec& fe = m_frontends.at(m_open.at(static_cast<size_t>(fd - 101)));
    if (request == FE_GET_INFO) {
      auto* info = static_cast<dvb_frontend_info*>(arg);
      *info = {};
      std::strncpy(info->name, fe.name.c_str(), sizeof info->name - 1);
      info->type = fe.type;
      return 0;
    }
    if (request == FE_GET_PROPERTY && !fe.delsys.empty()) {
      auto* props = static_cast<dtv_properties*>(arg);
      dtv_property& p = props->props[0];
      if (props->num != 1 || p.cmd != DTV_ENUM_DELSYS) {
        errno = EINVAL;
        return -1;
      }
      p.u.buffer.len = static_cast<uint32_t>(fe.delsys.size());
      for (size_t i = 0; i < fe.delsys.size(); ++i) p.u.buffer.data[i] = static_cast<uint8_t>(fe.delsys[i]);
      return 0;
    }
    errno = ENOTTY;
    return -1;
  }

  void Close(int) override { ++closed; }

  int closed = 0;

 private:
  const TempDir& m_root;
  std::map<std::string, FakeFrontendSpec> m_frontends;
  std::vector<std::string> m_open;
};

// One DVB-S2, one DVB-T2 and one ATSC adapter, as in a mixed machine.
inline const std::vector<FakeFrontendSpec>& ThreeAdapters() {
  static const std::vector<FakeFrontendSpec> specs = {
      {0, "STV0903 DVB-S2", FE_QPSK, {SYS_DVBS, SYS_DVBS2}, "0x2040", "0x5B10", "Hauppauge"},
      {1, "Silicon Labs Si2168", FE_OFDM, {SYS_DVBT, SYS_DVBT2, SYS_DVBC_ANNEX_A}, "1ade", "3038", "PCTV Systems"},
      {2, "LG Electronics LGDT3306A", FE_ATSC, {SYS_ATSC, SYS_DVBC_ANNEX_B}, "2040", "0265", "Hauppauge"},
  };
  return specs;
}
