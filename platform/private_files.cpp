#include "platform/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace pw {

namespace {

void MakePrivate(const std::string& file, mode_t mode) {
  struct stat st;
  if (::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 0777) != mode)
    ::chmod(file.c_str(), mode);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string DatedSibling(const std::string& path, const std::string& tag) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  const std::string stem = hasExtension ? path.substr(0, dot) : path;
  const std::string extension = hasExtension ? path.substr(dot) : std::string();
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
  const auto exists = [](const std::string& p) {
    struct stat st;
    return ::lstat(p.c_str(), &st) == 0;
  };
  for (int n = 1;; ++n) {
    const std::string name = stem + "-" + tag + "-" + stamp + (n > 1 ? "-" + std::to_string(n) : std::string()) + extension;
    if (!exists(name) && !exists(name + "-wal") && !exists(name + "-shm")) return name;
  }
}

DWORD ErrorFromErrno(int e) {
  switch (e) {
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case ENOENT:
    case ENOTDIR:
      return ERROR_FILE_NOT_FOUND;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case EIO:
      return ERROR_WRITE_FAULT;
    case EAGAIN:
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    default:
      return ERROR_ACCESS_DENIED;
  }
}

bool SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

DWORD PreparePrivateFile(const std::string& path, bool ownFolder) {
  const std::string folder = FolderOf(path);
  for (std::size_t at = 1; at <= folder.size(); ++at) {
    if (at != folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (::mkdir(part.c_str(), 0700) == 0) {
      SyncFolder(FolderOf(part));
    } else if (errno != EEXIST) {
      return ErrorFromErrno(errno);
    }
  }
  if (ownFolder) {
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
        (st.st_mode & 0777) != 0700)
      ::chmod(folder.c_str(), 0700);
  }
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  const bool made = fd >= 0;
  if (!made && errno == EEXIST) fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return ErrorFromErrno(errno);
  ::close(fd);
  if (made) SyncFolder(folder);
  MakePrivate(path, 0600);
  MakePrivate(path + "-wal", 0600);
  MakePrivate(path + "-shm", 0600);
  return ERROR_SUCCESS_CODE;
}

}  // namespace pw
