#pragma once
// The device-type cache shared by all processes: an XML file in the user's
// temporary directory, written only by the process that holds it exclusively.
#include <pugixml.hpp>

#include <string>

#include "platform/com/BStr.h"

class BdaTempStore {
 public:
  BdaTempStore() = default;
  BdaTempStore(const BdaTempStore&) = delete;
  BdaTempStore& operator=(const BdaTempStore&) = delete;
  ~BdaTempStore() { Close(); }

  // The file: the temporary directory ($TMPDIR, else /tmp) followed by the store name.
  static std::string Path();

  // Exclusive when nobody else has the file open, else shared reading,
  // retried every 10 ms for up to 3000 ms; E_ACCESSDENIED when it never opens.
  HRESULT Open();
  bool IsOpen() const { return m_fd >= 0; }
  bool IsLocked() const { return m_locked; }

  // The stored type of a moniker; 0 when absent or not a number.
  LONG GetDeviceType(std::u16string_view moniker) const;
  HRESULT SetDeviceType(std::u16string_view moniker, LONG type);

  // Writes the document back when held exclusively, then closes the file.
  void Close();

 private:
  void ReadDocument();

  int m_fd = -1;
  bool m_locked = false;
  bool m_hasDocument = false;
  pugi::xml_document m_doc;
};
