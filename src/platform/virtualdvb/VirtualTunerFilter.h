#pragma once
// The tuner filter of a virtual tuner: for now its topology, whose
// demodulator node tells the tuner's delivery system.
#include <string>

#include "platform/bda/Topology.h"
#include "platform/virtualdvb/VirtualDescription.h"

class CVirtualTunerFilter : public CBdaTopology {
 public:
  explicit CVirtualTunerFilter(VirtualTuner tuner);
  ~CVirtualTunerFilter() override = default;

  const VirtualTuner& Tuner() const { return m_tuner; }

  // Loads the description named in a virtual moniker and creates the filter
  // of its tuner.
  static HRESULT Create(const std::string& moniker, IUnknown** filter);

 private:
  VirtualTuner m_tuner;
};
