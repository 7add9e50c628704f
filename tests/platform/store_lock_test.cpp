#include "platform/store_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A holder that dies without letting go leaves no lock behind.
TEST(StoreLockTest, LockGoesWithADeadProcess) {
  const std::string path = LockIn("dead-holder");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    StoreLock lock;  // _exit runs no destructor
    ::_exit(lock.Acquire(path) == StoreLock::Result::Locked ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_EQ(status, 0);  // the child held it
  StoreLock after;
  EXPECT_EQ(after.Acquire(path), StoreLock::Result::Locked);
}

TEST(StoreLockTest, UnopenableFileFails) {
  StoreLock lock;
  EXPECT_EQ(lock.Acquire("/proc/no-such-folder/pennywhistle.lock"), StoreLock::Result::Failed);
  EXPECT_EQ(StoreLockPath("/home/u/.local/share/pennywhistle/pennywhistle.db"),
            "/home/u/.local/share/pennywhistle/pennywhistle.lock");
}

}  // namespace
}  // namespace pw
