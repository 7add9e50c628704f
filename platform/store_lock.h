// One writer per store: the running program holds an exclusive advisory lock
// (flock) on a lock file beside the store for as long as it lives. The
// system drops the lock when the process ends, however it ends.
#pragma once

#include <string>

namespace pw {

class StoreLock {
 public:
  StoreLock() = default;
  ~StoreLock();  // releases the lock
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  enum class Result { Locked, InUse, Failed };
  // Creates the file (and its folder, readable by the user alone) when
  // missing and takes the lock without waiting. InUse when another process
  // holds it; Failed (errno set) when the file cannot be made or opened.
  Result Acquire(const std::string& path);
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// The lock file of the store at storePath: "pennywhistle.lock" in its folder.
std::string StoreLockPath(const std::string& storePath);

}  // namespace pw
