// What a second user of the machine sees: run as root, a child process takes
// the identity of "nobody" with an environment of its own.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include "DeviceFixture.h"
#include "Devices/DeviceLocks.h"

namespace {

class OtherUserTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a child process as another user";
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody) GTEST_SKIP() << "no user \"nobody\" to act as the second user";
    m_uid = nobody->pw_uid;
    m_gid = nobody->pw_gid;
    // The second user reaches the test directory and has a home of its own in it.
    ::chmod(env.dir.Path().c_str(), 0755);
    m_home = env.dir / "nobody";
    std::filesystem::create_directories(m_home);
    ASSERT_EQ(::chown(m_home.c_str(), m_uid, m_gid), 0);
  }

  // Runs `body` as the second user; its answer comes back while the child
  // still runs (and holds what it took) until `whileChildRuns` returns.
  char AsOtherUser(const std::function<char()>& body, const std::function<void()>& whileChildRuns = [] {}) {
    int toParent[2], toChild[2];
    EXPECT_EQ(::pipe(toParent), 0);
    EXPECT_EQ(::pipe(toChild), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      char answer = 'E';
      ::setenv("XDG_CACHE_HOME", m_home.c_str(), 1);
      ::setenv("XDG_RUNTIME_DIR", m_home.c_str(), 1);
      ::setenv("HOME", m_home.c_str(), 1);
      if (::setgid(m_gid) == 0 && ::setuid(m_uid) == 0) answer = body();
      (void)!::write(toParent[1], &answer, 1);
      (void)!::read(toChild[0], &answer, 1);
      ::_exit(0);
    }
    char answer = 0;
    EXPECT_EQ(::read(toParent[0], &answer, 1), 1);
    whileChildRuns();
    (void)!::write(toChild[1], "x", 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) ::close(fd);
    return answer;
  }

  uid_t m_uid = 0;
  gid_t m_gid = 0;
  std::string m_home;
};

TEST_F(OtherUserTest, SecondUserListsWithACacheOfItsOwnAtOnce) {
  Devices(NewConfiguration().Get());  // the first user's listing writes its cache
  ASSERT_TRUE(std::filesystem::exists(BdaTempStore::Path()));
  const char answer = AsOtherUser([] {
    BdaTempStore store;
    // Taken exclusively at once: nobody else's file stands in the way.
    return store.Open() == S_OK && store.IsLocked() ? 'L' : 'F';
  });
  EXPECT_EQ(answer, 'L');
}

TEST_F(OtherUserTest, DeviceLockedByAnotherUserIsInUse) {
  BStr moniker(Utf8ToUtf16(Moniker("s")));
  DeviceLocks::LockDirectory();  // as the first to come would
  const char answer = AsOtherUser([&] { return DeviceLocks::Lock("other user", moniker.Get(), 1) == S_OK ? 'L' : 'F'; },
                                  [&] {
                                    const auto usage = DeviceLocks::Query(moniker.View());
                                    EXPECT_TRUE(usage.inUse);
                                    EXPECT_EQ(usage.level, 1);
                                    EXPECT_FALSE(usage.lockedHere);
                                    EXPECT_EQ(DeviceLocks::Lock("first user", moniker.Get(), 2), E_ACCESSDENIED);
                                  });
  EXPECT_EQ(answer, 'L');
  EXPECT_FALSE(DeviceLocks::Query(moniker.View()).inUse);  // gone with the process
}

TEST_F(DeviceTest, LockDirectoryIsSharedByEveryUser) {
  const std::string dir = DeviceLocks::LockDirectory();
  EXPECT_EQ(dir, env.dir / "locks");
  struct stat st {};
  ASSERT_EQ(::lstat(dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 01777u);
  // A link in the directory's place is not taken: the runtime directory is.
  const std::string link = env.dir / "link";
  std::filesystem::create_directory_symlink(env.dir / "elsewhere", link);
  ::setenv("DTV_LOCK_DIR", link.c_str(), 1);
  EXPECT_EQ(DeviceLocks::LockDirectory(), env.dir.Path());
}

TEST_F(DeviceTest, StoreNeverFollowsALinkInItsPlace) {
  const std::string target = env.dir.Write("target", "keep");
  std::filesystem::create_symlink(target, BdaTempStore::Path());
  BdaTempStore store;
  EXPECT_EQ(store.Open(), E_ACCESSDENIED);
  const auto devices = Devices(NewConfiguration().Get());  // listed without the cache
  EXPECT_EQ(devices.size(), 3u);
  std::ifstream in(target);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");
}

TEST_F(DeviceTest, LockRegistryServesManyThreadsAtOnce) {
  constexpr int kThreads = 8;
  std::vector<BStr> monikers;
  for (int i = 0; i < kThreads; ++i) monikers.emplace_back(Utf8ToUtf16("thread-device-" + std::to_string(i)));
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.emplace_back([&, i] {
      for (int round = 0; round < 20; ++round) {
        EXPECT_EQ(DeviceLocks::Lock("thread", monikers[i].Get(), 1 + round % 2), S_OK);
        EXPECT_TRUE(DeviceLocks::Query(monikers[i].View()).lockedHere);
      }
    });
  for (auto& t : threads) t.join();
  for (const BStr& moniker : monikers) {
    const auto usage = DeviceLocks::Query(moniker.View());
    EXPECT_TRUE(usage.lockedHere);
    EXPECT_EQ(usage.level, 2);
    EXPECT_EQ(DeviceLocks::Unlock("thread", moniker.Get()), S_OK);
    EXPECT_FALSE(DeviceLocks::Query(moniker.View()).inUse);
  }
}

}  // namespace
