#pragma once
// A fake /dev and /sys tree with DVB adapters. Frontends answer FE_GET_INFO,
// FE_GET_PROPERTY (delivery systems, statistics), the tuning and LNB calls
// (recorded) and the status calls; the demux records its filter; the dvr
// device is a real file or FIFO in the tree, read and polled for real.
#include <fcntl.h>
#include <linux/dvb/dmx.h>
#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/linuxdvb/FrontendIo.h"
#include "platform/sync/Event.h"
#include "support/TempDir.h"

struct FakeFrontendSpec {
  int adapter;
  std::string name;
  fe_type type;
  std::vector<uint32_t> delsys;
  std::string usbVendor, usbProduct, manufacturer;  // sysfs values
};

// What a frontend reports about its signal.
struct FakeSignal {
  uint32_t status = 0;                    // fe_status bits
  std::optional<dtv_stats> strength, cnr;  // DVBv5 statistics; none: the driver has none
  std::optional<uint16_t> legacyStrength, legacySnr;
};

using PropertyList = std::vector<std::pair<uint32_t, uint32_t>>;

class FakeFrontendIo final : public FrontendIo {
 public:
  explicit FakeFrontendIo(const TempDir& root) : m_root(root) { SetFrontendIo(this); }
  ~FakeFrontendIo() override { SetFrontendIo(nullptr); }

  std::string DevRoot() const { return m_root / "dev"; }
  std::string SysRoot() const { return m_root / "sys"; }
  std::string DvrPath(int adapter) const { return AdapterDir(adapter) + "/dvr0"; }

  // Adds <dev>/dvb/adapterN/{frontend0,demux0,dvr0} and its sysfs device (a
  // USB interface below its USB device).
  std::string Add(const FakeFrontendSpec& spec) {
    const std::string a = std::to_string(spec.adapter);
    const std::string path = m_root.Write("dev/dvb/adapter" + a + "/frontend0", "");
    m_root.Write("dev/dvb/adapter" + a + "/demux0", "");
    m_root.Write("dev/dvb/adapter" + a + "/dvr0", "");
    m_frontends[path] = {spec, {}};
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

  void SetSignal(const std::string& frontend, const FakeSignal& signal) {
    std::lock_guard lock(m_mutex);
    m_frontends.at(frontend).signal = signal;
  }
  // The dvr device serves these bytes, then ends.
  void ServeDvr(int adapter, const std::string& bytes) { m_root.Write(DvrPath(adapter).substr(m_root.Path().size() + 1), bytes); }
  // The dvr device becomes a FIFO: reads block until someone writes to it.
  void ServeDvrFifo(int adapter) {
    std::filesystem::remove(DvrPath(adapter));
    ::mkfifo(DvrPath(adapter).c_str(), 0600);
  }
  // The `n`th read of the dvr device from now (from 1) fails with EOVERFLOW.
  void OverflowAtRead(int n) {
    m_reads = 0;
    m_overflowAtRead = n;
  }

  int Open(const std::string& path, int flags) override {
    std::lock_guard lock(m_mutex);
    const std::string name = std::filesystem::path(path).filename().string();
    Kind kind = Kind::Frontend;
    int fd = -1;
    if (m_frontends.count(path)) {
      fd = m_nextFake++;
    } else if (name == "demux0" && std::filesystem::exists(path)) {
      kind = Kind::Demux;
      fd = m_nextFake++;
    } else if (name == "dvr0") {
      kind = Kind::Dvr;
      fd = ::open(path.c_str(), flags | O_CLOEXEC);
      if (fd < 0) return -1;
    } else {
      errno = ENOENT;
      return -1;
    }
    m_fds[fd] = {kind, path};
    return fd;
  }

  int Ioctl(int fd, unsigned long request, void* arg) override {
    std::lock_guard lock(m_mutex);
    const OpenFile& file = m_fds.at(fd);
    if (file.kind == Kind::Demux) return DemuxIoctl(request, arg);
    if (file.kind == Kind::Frontend) return FrontendIoctl(m_frontends.at(file.path), request, arg);
    errno = ENOTTY;
    return -1;
  }

  void Close(int fd) override {
    std::lock_guard lock(m_mutex);
    if (m_fds.count(fd) && m_fds[fd].kind == Kind::Dvr) ::close(fd);
    m_fds.erase(fd);
    ++closed;
  }

  ssize_t Read(int fd, void* buffer, size_t size) override {
    if (++m_reads == m_overflowAtRead) {
      errno = EOVERFLOW;
      return -1;
    }
    return ::read(fd, buffer, size);
  }

  int Poll(pollfd* fds, nfds_t count, int timeoutMs) override {
    pollEntered.Set();
    const int result = ::poll(fds, count, timeoutMs);
    // Woken by something else than the dvr device: the stop's wake-up.
    std::lock_guard lock(m_mutex);
    wokenByOther = false;
    for (nfds_t i = 0; i < count; ++i)
      if ((fds[i].revents & POLLIN) && (!m_fds.count(fds[i].fd) || m_fds[fds[i].fd].kind != Kind::Dvr))
        wokenByOther = true;
    return result;
  }

  // Recorded calls.
  int closed = 0;
  std::vector<PropertyList> propertySets;  // one per FE_SET_PROPERTY
  std::vector<std::string> secCalls;       // "tone on", "voltage 18", "diseqc e0 10 38 f7"
  std::optional<dmx_pes_filter_params> pesFilter;
  Event pollEntered{Event::Reset::Auto};
  bool wokenByOther = false;

 private:
  enum class Kind { Frontend, Demux, Dvr };
  struct OpenFile {
    Kind kind;
    std::string path;
  };
  struct Frontend {
    FakeFrontendSpec spec;
    FakeSignal signal;
  };

  std::string AdapterDir(int adapter) const { return DevRoot() + "/dvb/adapter" + std::to_string(adapter); }

  int DemuxIoctl(unsigned long request, void* arg) {
    if (request == DMX_SET_PES_FILTER) {
      pesFilter = *static_cast<dmx_pes_filter_params*>(arg);
      return 0;
    }
    errno = ENOTTY;
    return -1;
  }

  int FrontendIoctl(const Frontend& fe, unsigned long request, void* arg) {
    const auto value = reinterpret_cast<uintptr_t>(arg);
    switch (request) {
      case FE_GET_INFO: {
        auto* info = static_cast<dvb_frontend_info*>(arg);
        *info = {};
        std::strncpy(info->name, fe.spec.name.c_str(), sizeof info->name - 1);
        info->type = fe.spec.type;
        return 0;
      }
      case FE_GET_PROPERTY: return GetProperties(fe, *static_cast<dtv_properties*>(arg));
      case FE_SET_PROPERTY: {
        const auto* props = static_cast<dtv_properties*>(arg);
        PropertyList list;
        for (uint32_t i = 0; i < props->num; ++i) list.emplace_back(uint32_t{props->props[i].cmd}, uint32_t{props->props[i].u.data});
        propertySets.push_back(list);
        return 0;
      }
      case FE_SET_TONE: secCalls.push_back(value == SEC_TONE_ON ? "tone on" : "tone off"); return 0;
      case FE_SET_VOLTAGE: secCalls.push_back(value == SEC_VOLTAGE_18 ? "voltage 18" : "voltage 13"); return 0;
      case FE_DISEQC_SEND_MASTER_CMD: {
        const auto* cmd = static_cast<dvb_diseqc_master_cmd*>(arg);
        std::string text = "diseqc";
        char byte[4];
        for (int i = 0; i < cmd->msg_len; ++i) {
          std::snprintf(byte, sizeof byte, " %02x", cmd->msg[i]);
          text += byte;
        }
        secCalls.push_back(text);
        return 0;
      }
      case FE_READ_STATUS: *static_cast<fe_status_t*>(arg) = static_cast<fe_status_t>(fe.signal.status); return 0;
      case FE_READ_SIGNAL_STRENGTH: return Legacy(fe.signal.legacyStrength, arg);
      case FE_READ_SNR: return Legacy(fe.signal.legacySnr, arg);
    }
    errno = ENOTTY;
    return -1;
  }

  static int Legacy(const std::optional<uint16_t>& value, void* arg) {
    if (!value) {
      errno = ENOTTY;
      return -1;
    }
    *static_cast<uint16_t*>(arg) = *value;
    return 0;
  }

  static int GetProperties(const Frontend& fe, dtv_properties& props) {
    for (uint32_t i = 0; i < props.num; ++i) {
      dtv_property& p = props.props[i];
      if (p.cmd == DTV_ENUM_DELSYS && !fe.spec.delsys.empty()) {
        p.u.buffer.len = static_cast<uint32_t>(fe.spec.delsys.size());
        for (size_t d = 0; d < fe.spec.delsys.size(); ++d) p.u.buffer.data[d] = static_cast<uint8_t>(fe.spec.delsys[d]);
      } else if (p.cmd == DTV_STAT_SIGNAL_STRENGTH || p.cmd == DTV_STAT_CNR) {
        const auto& stat = p.cmd == DTV_STAT_CNR ? fe.signal.cnr : fe.signal.strength;
        p.u.st.len = stat ? 1 : 0;
        if (stat) p.u.st.stat[0] = *stat;
      } else {
        errno = EINVAL;
        return -1;
      }
    }
    return 0;
  }

  const TempDir& m_root;
  std::mutex m_mutex;
  std::map<std::string, Frontend> m_frontends;
  std::map<int, OpenFile> m_fds;
  int m_nextFake = 100000;  // far from the real descriptors of the dvr files
  std::atomic<int> m_reads{0};
  std::atomic<int> m_overflowAtRead{0};
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
