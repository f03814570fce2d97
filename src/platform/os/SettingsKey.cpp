#include "platform/os/SettingsKey.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/os/RegularFile.h"

namespace {

constexpr const char* kKeyPath = "/Vexa/LogFile/VexaCaptureAPI.conf";
// A settings file is a handful of short lines; anything far larger is not one.
constexpr size_t kMaxFileBytes = 1 << 20;
constexpr size_t kMaxLineBytes = 4096;

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string RootDirectory(SettingsRoot root) {
  const bool user = root == SettingsRoot::CurrentUser;
  if (const char* redirected = std::getenv("DTV_SETTINGS_ROOT"); redirected && *redirected)
    return std::string(redirected) + (user ? "/user" : "/machine");
  if (!user) return "/etc";
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) return config;
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.config";
  return {};
}

}  // namespace

std::string SettingsKey::PathOf(SettingsRoot root) {
  const std::string directory = RootDirectory(root);
  return directory.empty() ? std::string() : directory + kKeyPath;
}

std::optional<SettingsKey::Value> SettingsKey::ParseValue(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return Value{true, text.substr(1, text.size() - 2), 0};
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const unsigned long long number = std::strtoull(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || number > UINT32_MAX) return std::nullopt;
  return Value{false, {}, static_cast<uint32_t>(number)};
}

std::optional<SettingsKey> SettingsKey::Open(SettingsRoot root) {
  const std::string path = PathOf(root);
  if (path.empty()) return std::nullopt;
  std::string error;
  const std::optional<std::string> content = ReadRegularFile(path, kMaxFileBytes, error);
  if (!content) return std::nullopt;
  std::map<std::string, Value> values;
  std::istringstream file(*content);
  std::string line;
  while (std::getline(file, line)) {
    if (line.size() > kMaxLineBytes) continue;
    line = Trim(line);
    if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') continue;
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = Trim(line.substr(0, equals));
    if (name.empty()) continue;
    if (auto value = ParseValue(Trim(line.substr(equals + 1)))) values[name] = *value;
  }
  return SettingsKey(std::move(values));
}

std::optional<SettingsKey> SettingsKey::OpenFirst() {
  if (auto user = Open(SettingsRoot::CurrentUser)) return user;
  return Open(SettingsRoot::LocalMachine);
}

std::optional<uint32_t> SettingsKey::GetNumber(const std::string& name) const {
  const auto it = m_values.find(name);
  if (it == m_values.end() || it->second.isString) return std::nullopt;
  return it->second.number;
}

std::optional<std::string> SettingsKey::GetString(const std::string& name) const {
  const auto it = m_values.find(name);
  if (it == m_values.end() || !it->second.isString) return std::nullopt;
  return it->second.text;
}
