#include "platform/store_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw {

namespace {

// Makes every missing folder of path's parent, mode 0700.
void MakeParentFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return;
  }
}

}  // namespace

StoreLock::~StoreLock() {
  if (fd_ >= 0) ::close(fd_);
}

StoreLock::Result StoreLock::Acquire(const std::string& path) {
  if (fd_ >= 0) return Result::Locked;
  MakeParentFolders(path);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return Result::Failed;
  int rc;
  do rc = ::flock(fd, LOCK_EX | LOCK_NB);
  while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return error == EWOULDBLOCK ? Result::InUse : Result::Failed;
  }
  fd_ = fd;
  return Result::Locked;
}

std::string StoreLockPath(const std::string& storePath) {
  const std::size_t slash = storePath.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : storePath.substr(0, slash);
  return folder + "/pennywhistle.lock";
}

}  // namespace pw
