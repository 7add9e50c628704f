#include "platform/replacement_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/private_files.h"

namespace pw {

namespace {

constexpr std::string_view kTag = ".pwh-tmp-";
constexpr std::size_t kRandom = 6;  // mkstemp's XXXXXX

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Removes the temporary files of the pattern in folder that are the user's
// own regular files. No file of ours is being written there now: the store
// lock lets one process of the program run, and it writes one file at a time.
void RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  bool removed = false;
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsReplacementTemporaryName(entry->d_name)) continue;
    struct stat st;
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    removed |= ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0;
  }
  ::closedir(dir);
  if (removed) SyncFolder(folder);
}

}  // namespace

bool IsReplacementTemporaryName(std::string_view name) {
  if (name.size() < 1 + kTag.size() + kRandom || name.front() != '.') return false;
  const std::string_view tail = name.substr(name.size() - kRandom - kTag.size());
  if (tail.substr(0, kTag.size()) != kTag) return false;
  for (char c : tail.substr(kTag.size()))
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  return true;
}

ReplacementFile::~ReplacementFile() { Abandon(); }

bool ReplacementFile::Open(const std::string& target) {
  Abandon();
  error_ = 0;
  renameFailed_ = false;
  target_ = target;
  const std::string folder = FolderOf(target);
  RemoveStaleTemporaries(folder);
  const std::size_t slash = target.find_last_of('/');
  temporary_ = target.substr(0, slash == std::string::npos ? 0 : slash + 1) + "." + NameOf(target) +
               std::string(kTag) + std::string(kRandom, 'X');
  fd_ = ::mkstemp(temporary_.data());  // 0600
  if (fd_ < 0) {
    error_ = errno;
    temporary_.clear();
    return false;
  }
  // A file that is replaced keeps its permissions; a new one is the user's alone.
  struct stat existing;
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) ::fchmod(fd_, existing.st_mode & 07777);
  return true;
}

bool ReplacementFile::Commit() {
  if (fd_ < 0) return false;
  const bool synced = ::fsync(fd_) == 0;
  if (!synced) error_ = errno;
  if (::close(fd_) != 0 && synced) error_ = errno;
  fd_ = -1;
  if (error_ == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    error_ = errno;
    renameFailed_ = true;
  }
  if (error_ != 0) {
    Abandon();
    return false;
  }
  temporary_.clear();
  SyncFolder(FolderOf(target_));
  return true;
}

void ReplacementFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

}  // namespace pw
