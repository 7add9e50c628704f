// Lets file permissions apply to a test that runs as root: while it lives,
// the thread gives up the capabilities that let root read and write any
// file, and takes them back at the end. Without them it does nothing.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pw::test {

class FilePermissionsApply {
 public:
  FilePermissionsApply() {
    if (Get(data_) != 0) return;
    __user_cap_data_struct reduced[2] = {data_[0], data_[1]};
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) reduced[cap / 32].effective &= ~(1u << (cap % 32));
    dropped_ = Set(reduced) == 0;
  }
  ~FilePermissionsApply() {
    if (dropped_) Set(data_);
  }
  FilePermissionsApply(const FilePermissionsApply&) = delete;
  FilePermissionsApply& operator=(const FilePermissionsApply&) = delete;

 private:
  static int Get(__user_cap_data_struct* data) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return int(::syscall(SYS_capget, &header, data));
  }
  static int Set(__user_cap_data_struct* data) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return int(::syscall(SYS_capset, &header, data));
  }
  __user_cap_data_struct data_[2] = {};
  bool dropped_ = false;
};

}  // namespace pw::test
