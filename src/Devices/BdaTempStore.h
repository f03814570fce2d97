#pragma once
// The device-type cache: an XML file per user, shared by that user's
// processes and written only by the process that holds it exclusively. An
// entry holds a device's type with the signature of what the device was
// then; a device that changed is not taken from it.
#include <pugixml.hpp>

#include <set>
#include <string>
#include <unordered_map>

#include "platform/com/BStr.h"

class BdaTempStore {
 public:
  BdaTempStore() = default;
  BdaTempStore(const BdaTempStore&) = delete;
  BdaTempStore& operator=(const BdaTempStore&) = delete;
  ~BdaTempStore() { Close(); }

  // The file: the store name in the user's cache directory ($XDG_CACHE_HOME,
  // else ~/.cache; the temporary directory when there is none).
  static std::string Path();

  // Exclusive when nobody else has the file open, else shared reading,
  // retried every 10 ms for up to 3000 ms; E_ACCESSDENIED when it never opens.
  HRESULT Open();
  bool IsOpen() const { return m_fd >= 0; }
  bool IsLocked() const { return m_locked; }

  // The stored type of a moniker whose entry has this signature; 0 when
  // absent, of another signature or not a number. An empty signature (a
  // device that could not be asked) is never cached: 0, and S_FALSE to Set.
  LONG GetDeviceType(std::u16string_view moniker, const std::string& signature);
  HRESULT SetDeviceType(std::u16string_view moniker, const std::string& signature, LONG type);
  // The device is listed: its entry stays (Get and Set count as listing).
  void KeepDevice(std::u16string_view moniker);

  // Writes the document back when held exclusively, without the entries of
  // devices that were not listed, then closes the file.
  void Close();

 private:
  void ReadDocument();
  void DropUnlisted();

  int m_fd = -1;
  bool m_locked = false;
  bool m_hasDocument = false;
  pugi::xml_document m_doc;
  // Entries by moniker, built once per opening.
  std::unordered_map<std::string, pugi::xml_node> m_entries;
  std::set<std::string> m_listed;
};
