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

// The socket lives in the user's runtime folder, else beside the store:
// never in the temporary folder, which another start may see differently.
TEST(SingleInstanceTest, DefaultNameIsInTheRuntimeFolderElseBesideTheStore) {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  const QString store = QString::fromStdString(TemporaryHome()) + "/data/pennywhistle";
  const std::pair<QByteArray, QString> cases[] = {
      {runtime, QString::fromUtf8(runtime) + "/pennywhistle.socket"},
      {"relative/folder", store + "/pennywhistle.socket"},
      {runtime + "/missing", store + "/pennywhistle.socket"},
  };
  for (const auto& [folder, name] : cases) {
    qputenv("XDG_RUNTIME_DIR", folder);
    EXPECT_EQ(SingleInstanceGuard::DefaultServerName(), name) << folder.toStdString();
  }
  qputenv("XDG_RUNTIME_DIR", runtime);
}

// Each later start raises the first, also one that sees another temporary folder.
TEST(SingleInstanceTest, LaterStartsRaiseTheFirst) {
  SingleInstanceGuard first(SingleInstanceGuard::DefaultServerName());
  ASSERT_TRUE(first.Acquire());
  QSignalSpy raised(&first, &SingleInstanceGuard::raiseRequested);
  const QByteArray tmp = qgetenv("TMPDIR");
  for (int start = 1; start <= 2; ++start) {
    if (start == 2) qputenv("TMPDIR", QByteArray::fromStdString(TemporaryHome()));
    SingleInstanceGuard later(SingleInstanceGuard::DefaultServerName());
    EXPECT_FALSE(later.Acquire());
    QTRY_COMPARE_WITH_TIMEOUT(raised.count(), start, 2000);
  }
  if (tmp.isEmpty()) qunsetenv("TMPDIR");
  else qputenv("TMPDIR", tmp);
}

// The socket file of a server that died: bound, never unlinked, nobody answers.
TEST(SingleInstanceTest, ServerLeftByACrashIsReplaced) {
  const QString name = QString::fromStdString(TemporaryHome()) + "/pwh-stale.sock";
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
  std::strncpy(address.sun_path, name.toUtf8().constData(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  ASSERT_TRUE(QFile::exists(name));
  SingleInstanceGuard guard(name);
  EXPECT_TRUE(guard.Acquire());
  SingleInstanceGuard second(name);
  EXPECT_FALSE(second.Acquire());
}

}  // namespace
}  // namespace pw::test
