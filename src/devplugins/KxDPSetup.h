#pragma once
// The object a device plug-in keeps for the life of the graph: access to the
// graph's filters and to the graph state. A plug-in may keep it longer than
// the graph manager lives: once detached, every call fails cleanly.
#include <mutex>
#include <shared_mutex>

#include "devplugins/DPGraphManager.h"
#include "interfaces/IKxDevicePlugin.h"
#include "platform/com/ComObject.h"

class CKxDPSetup : public IKxDPSetup {
 public:
  using InterfaceMap = ::InterfaceMap<IKxDPSetup>;

  static HRESULT CreateInstance(IDPGraphManager* graphManager, IKxDPSetup** out);
  static HRESULT CreateInstance(IDPGraphManager* graphManager, ComPtr<ComObject<CKxDPSetup>>* out);

  explicit CKxDPSetup(IDPGraphManager* graphManager) : m_pGraphManager(graphManager) {}
  virtual ~CKxDPSetup() = default;

  HRESULT put_Property(LONG id, VARIANT value) override;
  HRESULT get_Property(LONG id, VARIANT* value) override;

  // The graph manager goes: waits for calls in progress; later calls give E_UNEXPECTED.
  void Detach();

 private:
  HRESULT PutProperty(LONG id, const VARIANT& value);
  HRESULT GetProperty(LONG id, VARIANT* value);

  std::shared_mutex m_detachLock;
  IDPGraphManager* m_pGraphManager;
};
