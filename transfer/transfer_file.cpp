#include "transfer/transfer_file.h"

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
  if (!file_.Open(target)) {
    error_ = file_.error();
    return false;
  }
  written_ = 0;
  return true;
}

bool ExportFile::Write(std::u16string_view line) {
  buffer_ += WideToFileText(line);
  return buffer_.size() < kFlushSize || Flush();
}

bool ExportFile::Flush() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t n = ::write(file_.fd(), buffer_.data() + done, buffer_.size() - done);
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
  if (file_.fd() < 0) return false;
  if (!Flush()) return false;
  if (!file_.Commit()) {
    error_ = file_.error();
    buffer_.clear();
    return false;
  }
  return true;
}

void ExportFile::Abandon() {
  file_.Abandon();
  buffer_.clear();
}

}  // namespace pw
