#pragma once
// The output properties of a capture graph and the graph settings they are
// kept in.
#include "GraphManager/GraphSettings.h"
#include "platform/com/Variant.h"

class COutputProperties {
 public:
  explicit COutputProperties(CGraphSettings& settings) : m_settings(settings) {}
  // E_INVALIDARG for an id outside 1..26; else the conversion's result.
  HRESULT Put(LONG id, const VARIANT& value);
  HRESULT Get(LONG id, VARIANT* value) const;
  // Forgets the one property kept outside the settings.
  void Reset() { m_property20 = false; }

 private:
  CGraphSettings& m_settings;
  bool m_property20 = false;  // true when it was set to 0
};
