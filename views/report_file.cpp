#include "views/report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/code_page.h"
#include "platform/error_codes.h"
#include "platform/host_port.h"
#include "text/format.h"
#include "views/report_lines.h"

namespace pw {

namespace {

// The device error number of a failed file call.
DWORD ErrorOf(int error) {
  switch (error) {
    case EACCES: case EPERM: case EROFS: case EISDIR: return ERROR_ACCESS_DENIED;
    case ENOENT: case ENOTDIR: return 3;  // path not found
    case ENOSPC: case EDQUOT: return ERROR_DISK_FULL;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_WRITE_FAULT;
  }
}

// The system's own words for an error, as a paragraph of its own.
std::u16string Cause(int error) { return u"\n\n" + Utf8ToWide(std::strerror(error)); }

void ReportOpenFailure(HWND owner, std::u16string_view path, int error) {
  MessageBoxW(owner,
              Format(u"Failed to open file '%s' for writing: error code: [%ld].", path, long(ErrorOf(error))) +
                  Cause(error),
              u"Pennywhistle Error", MB_OK | MB_ICONEXCLAMATION);
}

void ReportWriteFailure(HWND owner, std::u16string_view path, int error, std::size_t written) {
  MessageBoxW(owner,
              Format(u"Export file write failed: error code: (%ld). %d bytes written so far.", long(ErrorOf(error)),
                     static_cast<long long>(written)) +
                  u"\n\n" + std::u16string(path) + Cause(error),
              u"Pennywhistle Error", MB_OK | MB_ICONEXCLAMATION);
}

// Writes all of bytes to fd; false with errno set when that failed.
bool WriteAll(int fd, std::string_view bytes, std::size_t* written) {
  while (*written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + *written, bytes.size() - *written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    *written += std::size_t(n);
  }
  return true;
}

}  // namespace

std::string ReportFileBytes(const std::vector<std::u16string>& lines) {
  std::size_t size = 0;
  for (const std::u16string& line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size + size / 8);
  for (const std::u16string& line : lines) {
    if (line != PWH_REPORT_BLANK) bytes += WideToFileText(line);
    bytes += "\r\n";
  }
  return bytes;
}

bool WriteReportFile(HWND owner, std::u16string_view path, const std::vector<std::u16string>& lines) {
  return WriteDocumentFile(owner, path, ReportFileBytes(lines));
}

bool WriteDocumentFile(HWND owner, std::u16string_view path, std::string_view bytes) {
  const std::string target = WideToUtf8(path);
  // The new file sits beside the target, so the rename never crosses file systems.
  std::string temporary = target + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    ReportOpenFailure(owner, path, errno);
    return false;
  }
  // mkstemp makes the file for its owner alone; a document is as readable
  // as any other file the user makes.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);

  std::size_t written = 0;
  bool ok = WriteAll(fd, bytes, &written) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) ok = false, error = errno;
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    ReportOpenFailure(owner, path, errno);
    return false;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    ReportWriteFailure(owner, path, error, written);
    return false;
  }
  return true;
}

}  // namespace pw
