#include "platform/os/SettingsKey.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/TempSettingsRoot.h"

namespace {

TEST(SettingsKey, PathsFollowTheRedirectedRoot) {
  TempRoot root;
  EXPECT_EQ(SettingsKey::PathOf(SettingsRoot::CurrentUser), (root.Path() / "user/Vexa/LogFile/VexaCaptureAPI.conf").string());
  EXPECT_EQ(SettingsKey::PathOf(SettingsRoot::LocalMachine), (root.Path() / "machine/Vexa/LogFile/VexaCaptureAPI.conf").string());
}

TEST(SettingsKey, DefaultPathsUseXdgConfigHomeAndEtc) {
  ::unsetenv("DTV_SETTINGS_ROOT");
  ::setenv("XDG_CONFIG_HOME", "/home/someone/.cfg", 1);
  EXPECT_EQ(SettingsKey::PathOf(SettingsRoot::CurrentUser), "/home/someone/.cfg/Vexa/LogFile/VexaCaptureAPI.conf");
  EXPECT_EQ(SettingsKey::PathOf(SettingsRoot::LocalMachine), "/etc/Vexa/LogFile/VexaCaptureAPI.conf");
  ::unsetenv("XDG_CONFIG_HOME");
}

TEST(SettingsKey, UserFileWinsAndMachineValuesStayReadable) {
  TempRoot root;
  EXPECT_FALSE(SettingsKey::OpenFirst());
  root.WriteSettings("machine", "LogLevel=7\nDigitalStreamDump=1\n");
  ASSERT_TRUE(SettingsKey::OpenFirst());
  EXPECT_EQ(SettingsKey::OpenFirst()->GetNumber("LogLevel"), 7u);

  // The user file holds the key: no value of it comes from the machine file.
  root.WriteSettings("user", "Flush=1\n");
  const auto first = SettingsKey::OpenFirst();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->GetNumber("Flush"), 1u);
  EXPECT_FALSE(first->GetNumber("LogLevel"));
  const auto machine = SettingsKey::Open(SettingsRoot::LocalMachine);
  ASSERT_TRUE(machine);
  EXPECT_EQ(machine->GetNumber("DigitalStreamDump"), 1u);
}

struct TypedCase {
  const char* line;
  std::optional<uint32_t> number;
  std::optional<std::string> text;
};

TEST(SettingsKey, ValuesAreNumbersOrQuotedStrings) {
  const TypedCase cases[] = {
      {"Value=5", 5u, std::nullopt},
      {"  Value = 0x1F  ", 31u, std::nullopt},
      {"Value=4294967295", 4294967295u, std::nullopt},
      {"Value=4294967296", std::nullopt, std::nullopt},
      {"Value=-1", std::nullopt, std::nullopt},
      {"Value=12abc", std::nullopt, std::nullopt},
      {"Value=\"5\"", std::nullopt, "5"},
      {"Value=\"/tmp/a b.log\"", std::nullopt, "/tmp/a b.log"},
      {"Value=\"\"", std::nullopt, ""},
      {"Value=unquoted", std::nullopt, std::nullopt},
      {"Value=", std::nullopt, std::nullopt},
      {"# Value=5", std::nullopt, std::nullopt},
      {"[Value]", std::nullopt, std::nullopt},
  };
  TempRoot root;
  for (const TypedCase& c : cases) {
    SCOPED_TRACE(c.line);
    root.WriteSettings("user", std::string(c.line) + "\r\n");
    const auto key = SettingsKey::OpenFirst();
    ASSERT_TRUE(key);
    EXPECT_EQ(key->GetNumber("Value"), c.number);
    EXPECT_EQ(key->GetString("Value"), c.text);
  }
}

}  // namespace

namespace {

// What is not a small regular file is no settings file: never read to its end
// or waited on.
TEST(SettingsKey, OnlySmallRegularFilesAreRead) {
  TempRoot root;
  root.WriteSettings("user", "");
  const std::filesystem::path user = SettingsKey::PathOf(SettingsRoot::CurrentUser);
  struct Case {
    const char* name;
    std::function<void()> make;
  };
  const Case cases[] = {
      {"symlink to /dev/zero", [&] { std::filesystem::create_symlink("/dev/zero", user); }},
      {"FIFO", [&] { ASSERT_EQ(::mkfifo(user.c_str(), 0600), 0); }},
      {"directory", [&] { std::filesystem::create_directory(user); }},
      {"larger than 1 MB", [&] { std::ofstream(user) << "LogLevel=5\n" << std::string(2 << 20, '#') << "\n"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(user);
    c.make();
    EXPECT_FALSE(SettingsKey::Open(SettingsRoot::CurrentUser));
  }
}

TEST(SettingsKey, OverlongLinesAreSkipped) {
  TempRoot root;
  root.WriteSettings("user", "FileName=\"" + std::string(5000, 'x') + "\"\nLogLevel=5\n");
  const auto key = SettingsKey::Open(SettingsRoot::CurrentUser);
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->GetString("FileName"));
  EXPECT_EQ(key->GetNumber("LogLevel"), 5u);
}

}  // namespace
