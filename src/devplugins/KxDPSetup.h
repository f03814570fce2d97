#pragma once
// The object a device plug-in keeps for the life of the graph: access to the
// graph's filters and to the graph state.
#include "devplugins/DPGraphManager.h"
#include "interfaces/IKxDevicePlugin.h"
#include "platform/com/ComObject.h"

class CKxDPSetup : public IKxDPSetup {
 public:
  using InterfaceMap = ::InterfaceMap<IKxDPSetup>;

  static HRESULT CreateInstance(IDPGraphManager* graphManager, IKxDPSetup** out);

  explicit CKxDPSetup(IDPGraphManager* graphManager) : m_pGraphManager(graphManager) {}
  virtual ~CKxDPSetup() = default;

  HRESULT put_Property(LONG id, VARIANT value) override;
  HRESULT get_Property(LONG id, VARIANT* value) override;

 private:
  IDPGraphManager* m_pGraphManager;
};
