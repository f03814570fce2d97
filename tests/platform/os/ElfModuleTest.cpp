#include "platform/os/ElfModule.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/TempSettingsRoot.h"

namespace fs = std::filesystem;

namespace {

// The C library: a complete shared object of this machine that every test has.
fs::path SharedLibrary() {
  Dl_info info{};
  dladdr(reinterpret_cast<void*>(&std::fclose), &info);
  return fs::canonical(info.dli_fname);
}

TEST(ElfModule, OnlyACompleteSharedObjectOfThisMachineIsLoadable) {
  TempRoot root;
  const fs::path library = SharedLibrary();
  const uintmax_t size = fs::file_size(library);
  std::string why;
  EXPECT_TRUE(IsLoadableModule(library, why)) << why;

  struct Case {
    const char* name;
    uintmax_t keep;  // bytes of the library kept
    const char* why;
  };
  const Case cases[] = {
      {"inside the ELF header", 40, "not an ELF file"},
      {"half of it", size / 2, "truncated"},
      {"all but the last bytes", size - 16, "truncated"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path cut = root.Path() / "cut.so";
    fs::copy_file(library, cut, fs::copy_options::overwrite_existing);
    fs::resize_file(cut, c.keep);
    EXPECT_FALSE(IsLoadableModule(cut, why));
    EXPECT_EQ(why.rfind(c.why, 0), 0u) << why;
  }

  std::ofstream(root.Path() / "text.so") << "not a shared object";
  EXPECT_FALSE(IsLoadableModule(root.Path() / "text.so", why));
  EXPECT_EQ(why, "not an ELF file");
  bool unreadable = false;
  EXPECT_FALSE(IsLoadableModule(root.Path(), why, &unreadable));
  EXPECT_EQ(why, "not a regular file");
  EXPECT_FALSE(unreadable);
  EXPECT_FALSE(IsLoadableModule(root.Path() / "missing.so", why, &unreadable));
  EXPECT_TRUE(unreadable);
}

}  // namespace
