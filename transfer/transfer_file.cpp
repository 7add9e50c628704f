#include "transfer/transfer_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/code_page.h"

namespace pw {
namespace {

constexpr std::size_t kFlushSize = 1 << 20;

}  // namespace

std::u16string FileNameText(const std::string& path) { return Utf8ToWide(path); }

std::u16string ErrorCauseText(int error) { return Utf8ToWide(std::strerror(error)); }

ExportFile::~ExportFile() { Abandon(); }

bool ExportFile::Open(const std::string& target) {
  Abandon();
  target_ = target;
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  temporary_ = folder + "." + name + ".XXXXXX";
  fd_ = mkstemp(temporary_.data());
  if (fd_ < 0) {
    error_ = errno;
    temporary_.clear();
    return false;
  }
  // A file that is replaced keeps its permissions; a new one is the user's alone.
  struct stat existing;
  if (stat(target.c_str(), &existing) == 0) fchmod(fd_, existing.st_mode & 07777);
  written_ = 0;
  buffer_.clear();
  return true;
}

bool ExportFile::Write(std::u16string_view line) {
  buffer_ += WideToFileText(line);
  return buffer_.size() < kFlushSize || Flush();
}

bool ExportFile::Flush() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      buffer_.erase(0, done);
      return false;
    }
    done += std::size_t(n);
    written_ += n;
  }
  buffer_.clear();
  return true;
}

bool ExportFile::Finish() {
  if (fd_ < 0) return false;
  if (!Flush()) return false;
  if (fsync(fd_) != 0 || ::close(fd_) != 0) {
    error_ = errno;
    fd_ = -1;
    Abandon();
    return false;
  }
  fd_ = -1;
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    error_ = errno;
    Abandon();
    return false;
  }
  temporary_.clear();
  return true;
}

void ExportFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  buffer_.clear();
}

}  // namespace pw
