#pragma once
// A temporary directory that stands in for the settings roots and the lock
// directory while a test runs.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TempRoot {
 public:
  TempRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dtv-settings-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
    ::setenv("DTV_SETTINGS_ROOT", m_path.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
  }
  ~TempRoot() {
    ::unsetenv("DTV_SETTINGS_ROOT");
    ::unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(m_path);
  }
  TempRoot(const TempRoot&) = delete;
  TempRoot& operator=(const TempRoot&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

  // Writes the settings file of "user" or "machine".
  void WriteSettings(const std::string& root, const std::string& text) const {
    const auto directory = m_path / root / "Vexa" / "LogFile";
    std::filesystem::create_directories(directory);
    std::ofstream(directory / "VexaCaptureAPI.conf") << text;
  }

 private:
  std::filesystem::path m_path;
};
