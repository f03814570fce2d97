#pragma once
// The settings of the log name "VexaCaptureAPI", kept in one small text file
// per root instead of a registry key:
//   per user:    $XDG_CONFIG_HOME/Vexa/LogFile/VexaCaptureAPI.conf (~/.config when unset)
//   per machine: /etc/Vexa/LogFile/VexaCaptureAPI.conf
// DTV_SETTINGS_ROOT=<dir> moves them to <dir>/user/... and <dir>/machine/...
//
// File format, one value a line, `Name=Value`; blank lines and lines starting
// with '#' or ';' are skipped, as are section headers and malformed lines:
//   LogLevel=5                 a 32-bit number: decimal or 0x-hexadecimal
//   FileName="/tmp/dtv.log"    a string: everything between the outer quotes
// A value read as the other type is absent for the caller.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

enum class SettingsRoot { CurrentUser, LocalMachine };

class SettingsKey {
 public:
  // The file of `root`, or nothing when it does not exist, cannot be read or
  // is no small regular file (lines longer than 4 KB are skipped).
  static std::optional<SettingsKey> Open(SettingsRoot root);
  // The per-user file when there is one, otherwise the per-machine file.
  static std::optional<SettingsKey> OpenFirst();
  static std::string PathOf(SettingsRoot root);

  std::optional<uint32_t> GetNumber(const std::string& name) const;
  std::optional<std::string> GetString(const std::string& name) const;

 private:
  struct Value {
    bool isString;
    std::string text;
    uint32_t number;
  };
  explicit SettingsKey(std::map<std::string, Value> values) : m_values(std::move(values)) {}
  static std::optional<Value> ParseValue(const std::string& text);

  std::map<std::string, Value> m_values;
};
