#include "shell/gui/single_instance.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "support/temp_home.h"

namespace pw::test {
namespace {

QString ServerName(const char* tag) {
  return QString::fromStdString(TemporaryHome()) + "/pwh-" + tag + ".sock";
}

TEST(SingleInstanceTest, SecondStartRaisesTheFirst) {
  const QString name = ServerName("twice");
  SingleInstanceGuard first(name);
  ASSERT_TRUE(first.Acquire());
  QSignalSpy raised(&first, &SingleInstanceGuard::raiseRequested);

  SingleInstanceGuard second(name);
  EXPECT_FALSE(second.Acquire());
  EXPECT_TRUE(raised.wait(2000));
  EXPECT_EQ(raised.count(), 1);

  // A third start is refused as well.
  SingleInstanceGuard third(name);
  EXPECT_FALSE(third.Acquire());
  QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 2, 2000);
}

TEST(SingleInstanceTest, ServerLeftByACrashIsReplaced) {
  const QString name = ServerName("stale");
  {
    // The socket file of a server that died: bound, never unlinked, nobody answers.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, name.toUtf8().constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(name));
  }
  SingleInstanceGuard guard(name);
  EXPECT_TRUE(guard.Acquire());
  SingleInstanceGuard second(name);
  EXPECT_FALSE(second.Acquire());
}

TEST(SingleInstanceTest, DefaultNameIsTheWindowClassAndTheUser) {
  EXPECT_TRUE(SingleInstanceGuard::DefaultServerName().startsWith("Pennywhistle 2000 R6 "));
}

}  // namespace
}  // namespace pw::test
