#include "hwconfig/HWConfig.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "hwconfig/SysfsInfo.h"
#include "logging/LogFile.h"
#include "platform/bda/Topology.h"
#include "platform/com/Utf.h"
#include "platform/linuxdvb/FrontendEnumeration.h"
#include "platform/virtualdvb/VirtualDescription.h"

namespace {
class CFilterInfo : public IKxFilterInfo {
 public:
  using InterfaceMap = ::InterfaceMap<IKxFilterInfo>;
  explicit CFilterInfo(HWDevice device) : m_device(std::move(device)) {}
  virtual ~CFilterInfo() = default;
  HRESULT get_MonikerName(BSTR* name) override { return AllocOutString(Utf8ToUtf16(m_device.moniker), name); }
  HRESULT get_FriendlyName(BSTR* name) override { return AllocOutString(Utf8ToUtf16(m_device.friendlyName), name); }

 private:
  HWDevice m_device;
};

class CHWInfo : public IKxHWInfo {
 public:
  using InterfaceMap = ::InterfaceMap<IKxHWInfo>;
  explicit CHWInfo(HWDevice device) : m_device(std::move(device)) {}
  virtual ~CHWInfo() = default;
  HRESULT get_MonikerName(BSTR* name) override { return AllocOutString(Utf8ToUtf16(m_device.moniker), name); }
  HRESULT get_ValueString(LONG valueType, BSTR* value) override {
    switch (valueType) {
      case KxHWValueType_DriverDescription: return Out(m_device.driverDescription, value);
      case KxHWValueType_DriverVersion: return Out(m_device.driverVersion, value);
      case KxHWValueType_Manufacturer: return Out(m_device.manufacturer, value);
      case KxHWValueType_FriendlyName: return Out(m_device.friendlyName, value);
      case KxHWValueType_HardwareID: return Out(m_device.hardwareId, value);
      default: return E_INVALIDARG;
    }
  }

 private:
  static HRESULT Out(const std::string& text, BSTR* out) { return AllocOutString(Utf8ToUtf16(text), out); }
  HWDevice m_device;
};

bool IsTunerCategory(BSTR category) {
  return category && Utf16ToUtf8(std::u16string_view(category, SysStringLen(category))) ==
                         GuidToString(KSCATEGORY_BDA_NETWORK_TUNER);
}

std::string Moniker(IKxFilterInfo* filter) {
  BStr name;
  return SUCCEEDED(filter->get_MonikerName(name.Put())) ? name.Utf8() : std::string();
}

std::string Moniker(IKxHWInfo* info) {
  BStr name;
  return SUCCEEDED(info->get_MonikerName(name.Put())) ? name.Utf8() : std::string();
}

// What a person can do about a frontend that cannot be opened.
std::string FrontendProblemText(const FrontendProblem& problem) {
  std::string text = "DVB frontend " + problem.path + " " + problem.reason;
  if (problem.error == EACCES || problem.error == EPERM)
    text += "; add yourself to the video group: sudo usermod -aG video $USER (then log in again)";
  else if (problem.error == EBUSY)
    text += "; another program is using it";
  return text;
}
}  // namespace

std::vector<std::string> DefaultVirtualDescriptions() {
  // The demo streams are generated into the build tree.
  ::setenv("DTV_DEMO_DIR", DTV_DEFAULT_DEMO_DIR, 0);
  const char* configured = std::getenv("DTV_VIRTUAL_TUNERS");
  if (!configured) return {std::string(DTV_DATA_DIR) + "/virtual/demo.xml"};
  std::vector<std::string> paths;
  std::stringstream list(configured);
  for (std::string path; std::getline(list, path, ':');)
    if (!path.empty()) paths.push_back(path);
  return paths;
}

CHWConfig::CHWConfig(HWConfigOptions options) : m_options(std::move(options)) {
  if (m_options.defaultVirtualTuners) {
    std::vector<std::string> descriptions = DefaultVirtualDescriptions();
    descriptions.insert(descriptions.end(), m_options.virtualDescriptions.begin(), m_options.virtualDescriptions.end());
    m_options.virtualDescriptions = std::move(descriptions);
  }
  Refresh();
}

HRESULT CHWConfig::Refresh() {
  AutoLock lock(m_lock);
  m_devices.clear();
  m_descriptionsAdded.clear();
  m_problems.clear();
  std::vector<FrontendProblem> frontendProblems;
  for (const LinuxDvbFrontend& fe : EnumerateFrontends(m_options.devRoot, CurrentFrontendIo(), &frontendProblems)) {
    HWDevice device;
    device.moniker = fe.moniker;
    // One device of a multi-standard frontend: the name tells which.
    device.friendlyName = fe.moniker == fe.path ? fe.name : fe.name + " (" + DeliverySystemName(fe.systems.front()) + ")";
    ReadSysfsInfo(m_options.sysRoot, fe.adapter, fe.frontend, device);
    m_devices.push_back(std::move(device));
  }
  for (const FrontendProblem& problem : frontendProblems) m_problems.push_back(FrontendProblemText(problem));
  for (const std::string& path : m_options.virtualDescriptions) AddDescription(path);
  return S_OK;
}

bool CHWConfig::AddDescription(const std::string& path) {
  std::string error;
  const auto description = LoadVirtualDescription(path, error);
  if (!description) {
    log(1, "Virtual tuners not added: %s", error.c_str());
    m_problems.push_back(error);
    return false;
  }
  // Twice the same description would give two devices with one moniker.
  if (std::find(m_descriptionsAdded.begin(), m_descriptionsAdded.end(), description->path) !=
      m_descriptionsAdded.end()) {
    m_problems.push_back(path + ": listed twice; its tuners are added once");
    return false;
  }
  m_descriptionsAdded.push_back(description->path);
  for (const VirtualTuner& tuner : description->tuners)
    m_devices.push_back({tuner.moniker, tuner.friendlyName, tuner.manufacturer, tuner.hardwareId,
                         tuner.physicalDeviceId, tuner.driverDescription, tuner.driverVersion});
  return true;
}

HRESULT CHWConfig::AddVirtualTuners(BSTR descriptionPath) {
  if (!descriptionPath) return E_POINTER;
  const std::string path = Utf16ToUtf8(std::u16string_view(descriptionPath, SysStringLen(descriptionPath)));
  AutoLock lock(m_lock);
  if (!AddDescription(path)) return E_FAIL;
  m_options.virtualDescriptions.push_back(path);
  return S_OK;
}

std::vector<std::string> CHWConfig::Problems() const {
  AutoLock lock(m_lock);
  return m_problems;
}

HRESULT CHWConfig::GetFilterCount(BSTR category, LONG* count) {
  if (!category || !count) return E_POINTER;
  AutoLock lock(m_lock);
  *count = IsTunerCategory(category) ? static_cast<LONG>(m_devices.size()) : 0;
  return S_OK;
}

HRESULT CHWConfig::GetFilterByIndex(BSTR category, LONG index, IKxFilterInfo** filter) {
  if (!category || !filter) return E_POINTER;
  *filter = nullptr;
  AutoLock lock(m_lock);
  if (!IsTunerCategory(category) || index < 0 || static_cast<size_t>(index) >= m_devices.size()) return E_INVALIDARG;
  return ComObject<CFilterInfo>::CreateAndQuery(filter, m_devices[static_cast<size_t>(index)]);
}

const HWDevice* CHWConfig::FindByMoniker(const std::string& moniker) const {
  for (const HWDevice& device : m_devices)
    if (device.moniker == moniker) return &device;
  return nullptr;
}

HRESULT CHWConfig::GetHWInfo(IKxFilterInfo* filter, IKxHWInfo** info) {
  if (!filter || !info) return E_POINTER;
  *info = nullptr;
  AutoLock lock(m_lock);
  const HWDevice* device = FindByMoniker(Moniker(filter));
  if (!device) return E_INVALIDARG;
  return ComObject<CHWInfo>::CreateAndQuery(info, *device);
}

HRESULT CHWConfig::GetPhysicalDeviceID(IKxHWInfo* info, BSTR* id) {
  if (!info || !id) return E_POINTER;
  *id = nullptr;
  AutoLock lock(m_lock);
  const HWDevice* device = FindByMoniker(Moniker(info));
  if (!device) return E_INVALIDARG;
  return AllocOutString(Utf8ToUtf16(device->physicalDeviceId), id);
}

HRESULT CreateHWConfig(const HWConfigOptions& options, IKxHWConfig** config) {
  return ComObject<CHWConfig>::CreateAndQuery(config, options);
}
