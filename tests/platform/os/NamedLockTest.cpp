#include "platform/os/NamedLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "support/TempSettingsRoot.h"

namespace {

TEST(NamedLock, ExistsWhileAnyHandleIsOpen) {
  TempRoot root;
  bool existed = true;
  auto first = NamedLock::Create("VexaCaptureAPI", &existed);
  ASSERT_TRUE(first);
  EXPECT_FALSE(existed);
  EXPECT_TRUE(std::filesystem::exists(root.Path() / "VexaCaptureAPI.lock"));

  auto second = NamedLock::Create("VexaCaptureAPI", &existed);
  ASSERT_TRUE(second);
  EXPECT_TRUE(existed);

  bool otherExisted = true;
  EXPECT_TRUE(NamedLock::Create("Other", &otherExisted));
  EXPECT_FALSE(otherExisted);

  first.reset();
  EXPECT_TRUE(NamedLock::Create("VexaCaptureAPI", &existed));
  EXPECT_TRUE(existed);  // the second handle is still open
  second.reset();
  EXPECT_TRUE(NamedLock::Create("VexaCaptureAPI", &existed));
  EXPECT_FALSE(existed);
}

TEST(NamedLock, BadNamesAndDirectories) {
  TempRoot root;
  bool existed = false;
  EXPECT_FALSE(NamedLock::Create("", &existed));
  auto slashed = NamedLock::Create("a/b", &existed);
  ASSERT_TRUE(slashed);
  EXPECT_TRUE(std::filesystem::exists(root.Path() / "a_b.lock"));
  ::setenv("XDG_RUNTIME_DIR", (root.Path() / "missing").c_str(), 1);
  EXPECT_FALSE(NamedLock::Create("x", &existed));
}

TEST(NamedLock, LockExcludesOtherHandlesAndThreads) {
  TempRoot root;
  auto mine = NamedLock::Create("Shared", nullptr);
  auto other = NamedLock::Create("Shared", nullptr);
  ASSERT_TRUE(mine && other);

  std::atomic<int> inside{0};
  std::atomic<int> overlaps{0};
  auto worker = [&](NamedLock& lock) {
    for (int i = 0; i < 200; ++i) {
      lock.Lock();
      if (inside.fetch_add(1) != 0) overlaps.fetch_add(1);
      std::this_thread::yield();
      inside.fetch_sub(1);
      lock.Unlock();
    }
  };
  // Two handles (as two processes would) and two threads on one handle.
  std::thread a(worker, std::ref(*mine));
  std::thread b(worker, std::ref(*other));
  std::thread c(worker, std::ref(*mine));
  a.join();
  b.join();
  c.join();
  EXPECT_EQ(overlaps.load(), 0);
}

}  // namespace
