#include <sys/wait.h>
#include <unistd.h>

#include "Devices/DeviceFixture.h"
#include "Devices/DeviceLocks.h"

namespace {
struct Usage {
  bool inUse;
  LONG level;
  bool lockedHere;
  bool operator==(const Usage&) const = default;
};

Usage UsageOf(IKxCaptureDevice* device) {
  VARIANT_BOOL inUse = 7, lockedHere = 7;
  LONG level = -1;
  EXPECT_EQ(device->GetUsage(&inUse, &level, &lockedHere), S_OK);
  return {inUse == VARIANT_TRUE, level, lockedHere == VARIANT_TRUE};
}
}  // namespace

TEST_F(DeviceTest, LockLevelsInOneProcess) {
  const auto devices = Devices(NewConfiguration().Get());
  IKxCaptureDevice* device = devices[0].Get();
  BStr moniker(Utf8ToUtf16(Moniker("t")));
  EXPECT_EQ(UsageOf(device), (Usage{false, 0, false}));
  VARIANT_BOOL inUse = 0;
  EXPECT_EQ(device->GetUsage(&inUse, nullptr, nullptr), S_OK);
  EXPECT_EQ(device->GetUsage(nullptr, nullptr, nullptr), E_POINTER);

  ASSERT_EQ(DeviceLocks::Lock("test", moniker.Get(), 1), S_OK);
  EXPECT_EQ(UsageOf(device), (Usage{true, 1, true}));
  EXPECT_EQ(DeviceLocks::Lock("test", moniker.Get(), 1), E_ACCESSDENIED);

  // The level-2 lock replaces the level-1 lock held here.
  ASSERT_EQ(DeviceLocks::Lock("test", moniker.Get(), 2), S_OK);
  EXPECT_EQ(UsageOf(device), (Usage{true, 2, true}));
  ASSERT_EQ(DeviceLocks::Unlock("test", moniker.Get()), S_OK);
  EXPECT_EQ(UsageOf(device), (Usage{false, 0, false}));
  EXPECT_EQ(DeviceLocks::Unlock("test", moniker.Get()), S_OK);
  EXPECT_EQ(DeviceLocks::Lock("test", nullptr, 1), E_POINTER);
}

TEST_F(DeviceTest, LockNamesReplaceSlashesAndAreCut) {
  EXPECT_EQ(DeviceLocks::LockPath(u"/dev/dvb/adapter0\\frontend0", 2), env.dir / "locks/2__dev_dvb_adapter0_frontend0");
  const std::string path = DeviceLocks::LockPath(std::u16string(400, u'a'), 1);
  EXPECT_EQ(path.size() - DeviceLocks::LockDirectory().size() - 1, 259u);
}

TEST_F(DeviceTest, DeviceLockedByAnotherProcessIsInUseAndCannotBeLocked) {
  const auto devices = Devices(NewConfiguration().Get());
  BStr moniker(Utf8ToUtf16(Moniker("s")));
  int toParent[2], toChild[2];
  ASSERT_EQ(::pipe(toParent), 0);
  ASSERT_EQ(::pipe(toChild), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    char c = DeviceLocks::Lock("child", moniker.Get(), 1) == S_OK ? 'L' : 'F';
    (void)!::write(toParent[1], &c, 1);
    (void)!::read(toChild[0], &c, 1);
    ::_exit(0);
  }
  char reply = 0;
  ASSERT_EQ(::read(toParent[0], &reply, 1), 1);
  ASSERT_EQ(reply, 'L');

  EXPECT_EQ(UsageOf(devices[1].Get()), (Usage{true, 1, false}));
  EXPECT_EQ(DeviceLocks::Lock("parent", moniker.Get(), 1), E_ACCESSDENIED);
  EXPECT_EQ(DeviceLocks::Lock("parent", moniker.Get(), 2), E_ACCESSDENIED);

  (void)!::write(toChild[1], "x", 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) ::close(fd);

  // The lock ends with the process that held it.
  EXPECT_EQ(UsageOf(devices[1].Get()), (Usage{false, 0, false}));
  EXPECT_EQ(DeviceLocks::Lock("parent", moniker.Get(), 2), S_OK);
  EXPECT_EQ(DeviceLocks::Unlock("parent", moniker.Get()), S_OK);
}
