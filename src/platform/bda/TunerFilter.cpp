#include "platform/bda/TunerFilter.h"

#include "platform/bda/ControlNodes.h"

CBdaTunerFilter::CBdaTunerFilter(std::u16string name, const std::vector<DeliverySystem>& systems,
                                 size_t sampleCapacity)
    : CSourceFilter(std::move(name), GUID_NULL, sampleCapacity),
      CBdaTopology(TunerTopologyNodes(systems)),
      m_input(this, &m_lock) {}

CBasePin* CBdaTunerFilter::GetPin(int index) {
  if (index == 0) return &m_input;
  return index == 1 ? CSourceFilter::GetPin(0) : nullptr;
}

HRESULT CBdaTunerFilter::GetControlNode(ULONG, ULONG, ULONG nodeType, IUnknown** node) {
  if (!node) return E_POINTER;
  *node = nullptr;
  if (nodeType >= NodeFunctions().size()) return E_INVALIDARG;
  const GUID& function = NodeFunctions()[nodeType];
  if (function == KSNODE_BDA_RF_TUNER) return ComObject<CRfTunerNode>::CreateAndQuery(node, this);
  return ComObject<CDemodulatorNode>::CreateAndQuery(node, this, function);
}

HRESULT CBdaTunerFilter::StartChanges() {
  std::lock_guard lock(m_settingsMutex);
  m_changing = true;
  return S_OK;
}

HRESULT CBdaTunerFilter::CheckChanges() {
  std::lock_guard lock(m_settingsMutex);
  return m_changing ? S_OK : E_UNEXPECTED;
}

HRESULT CBdaTunerFilter::CommitChanges() {
  TunerSettings settings;
  {
    std::lock_guard lock(m_settingsMutex);
    m_changing = false;
    settings = m_pending;
  }
  // Settings without a frequency (a DiSEqC input chosen ahead of the tune)
  // are kept for the tune that follows.
  return settings.frequencyKHz == 0 ? S_OK : Tune(settings);
}

HRESULT CBdaTunerFilter::GetChangeState(ULONG* state) {
  if (!state) return E_POINTER;
  std::lock_guard lock(m_settingsMutex);
  *state = m_changing ? BDA_CHANGES_PENDING : BDA_CHANGES_COMPLETE;
  return S_OK;
}

TunerSettings CBdaTunerFilter::PendingSettings() const {
  std::lock_guard lock(m_settingsMutex);
  return m_pending;
}

void CBdaTunerFilter::ChangePending(const std::function<void(TunerSettings&)>& change) {
  std::lock_guard lock(m_settingsMutex);
  change(m_pending);
}
