#pragma once
// The host's hardware configuration: Linux DVB adapters under <dev>/dvb and
// the virtual tuners of the descriptions it is given, as network-tuner filters.
#include <string>
#include <vector>

#include "hwconfig/HWDevice.h"
#include "interfaces/IKxHWConfig.h"
#include "platform/com/ComObject.h"
#include "platform/sync/RecursiveLock.h"

struct HWConfigOptions {
  std::string devRoot = "/dev";
  std::string sysRoot = "/sys";
  // Virtual-tuner descriptions added to the default ones.
  std::vector<std::string> virtualDescriptions;
  // Whether the default descriptions (DefaultVirtualDescriptions) are used.
  bool defaultVirtualTuners = true;
};

class CHWConfig : public IKxHWConfig {
 public:
  using InterfaceMap = ::InterfaceMap<IKxHWConfig>;
  explicit CHWConfig(HWConfigOptions options);
  virtual ~CHWConfig() = default;

  HRESULT Refresh() override;
  HRESULT AddVirtualTuners(BSTR descriptionPath) override;
  HRESULT GetFilterCount(BSTR category, LONG* count) override;
  HRESULT GetFilterByIndex(BSTR category, LONG index, IKxFilterInfo** filter) override;
  HRESULT GetHWInfo(IKxFilterInfo* filter, IKxHWInfo** info) override;
  HRESULT GetPhysicalDeviceID(IKxHWInfo* info, BSTR* id) override;

  // Why devices were left out by the last Refresh or AddVirtualTuners: one
  // line each for a person, with the fix where there is one.
  std::vector<std::string> Problems() const;

 private:
  const HWDevice* FindByMoniker(const std::string& moniker) const;
  // Adds the tuners of one description; false with a problem when it is
  // broken or was added before.
  bool AddDescription(const std::string& path);

  mutable RecursiveLock m_lock;
  HWConfigOptions m_options;
  std::vector<HWDevice> m_devices;
  std::vector<std::string> m_descriptionsAdded;  // absolute paths
  std::vector<std::string> m_problems;
};

// The bundled demo description (data/virtual/demo.xml of the source tree,
// or $DTV_VIRTUAL_TUNERS, a ':'-separated list, when set). Sets
// $DTV_DEMO_DIR to the build tree's demo directory unless it is set.
std::vector<std::string> DefaultVirtualDescriptions();

HRESULT CreateHWConfig(const HWConfigOptions& options, IKxHWConfig** config);
