#pragma once
// The tuner filter of a Linux DVB frontend: for now its topology, whose
// demodulator nodes tell what the frontend receives.
#include "platform/bda/Topology.h"
#include "platform/linuxdvb/FrontendEnumeration.h"

class CLinuxDvbTunerFilter : public CBdaTopology {
 public:
  explicit CLinuxDvbTunerFilter(LinuxDvbFrontend frontend);
  ~CLinuxDvbTunerFilter() override = default;

  const LinuxDvbFrontend& Frontend() const { return m_frontend; }

  // Opens the frontend at `path` (the moniker name) and creates its filter.
  static HRESULT Create(const std::string& path, IUnknown** filter);

 private:
  LinuxDvbFrontend m_frontend;
};
