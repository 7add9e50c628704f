#include "platform/store_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "support/temp_home.h"

namespace pw {
namespace {

std::string LockIn(const char* folder) { return test::TemporaryHome() + "/" + folder + "/deeper/pennywhistle.lock"; }

TEST(StoreLockTest, OneHolderAtATimeUntilItLetsGo) {
  const std::string path = LockIn("one-holder");
  {
    StoreLock first;
    ASSERT_EQ(first.Acquire(path), StoreLock::Result::Locked);  // folders made on the way
    EXPECT_EQ(std::filesystem::status(std::filesystem::path(path).parent_path()).permissions() &
                  std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    StoreLock second;  // another open file: as another process sees it
    EXPECT_EQ(second.Acquire(path), StoreLock::Result::InUse);
    EXPECT_FALSE(second.held());
  }
  StoreLock after;
  EXPECT_EQ(after.Acquire(path), StoreLock::Result::Locked);
}

// A holder that dies without a word leaves no lock behind.
TEST(StoreLockTest, LockGoesWithADeadProcess) {
  const std::string path = LockIn("dead-holder");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    StoreLock lock;
    const char ok = lock.Acquire(path) == StoreLock::Result::Locked ? 'y' : 'n';
    [[maybe_unused]] const ssize_t w = ::write(ready[1], &ok, 1);
    ::pause();  // killed while holding the lock
    ::_exit(0);
  }
  char ok = 0;
  ASSERT_EQ(::read(ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, 'y');
  StoreLock meanwhile;
  EXPECT_EQ(meanwhile.Acquire(path), StoreLock::Result::InUse);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(meanwhile.Acquire(path), StoreLock::Result::Locked);
  ::close(ready[0]), ::close(ready[1]);
}

TEST(StoreLockTest, UnopenableFileFails) {
  StoreLock lock;
  EXPECT_EQ(lock.Acquire("/proc/no-such-folder/pennywhistle.lock"), StoreLock::Result::Failed);
  EXPECT_EQ(StoreLockPath("/home/u/.local/share/pennywhistle/pennywhistle.db"),
            "/home/u/.local/share/pennywhistle/pennywhistle.lock");
}

}  // namespace
}  // namespace pw
