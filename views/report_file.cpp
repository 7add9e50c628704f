#include "views/report_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/code_page.h"
#include "platform/error_codes.h"
#include "platform/host_port.h"
#include "platform/replacement_file.h"
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
  // The new file sits beside the target, so the rename never crosses file
  // systems; it keeps the permissions of the file it replaces, and a new one
  // is the user's alone, like every other file of the program.
  ReplacementFile file;
  if (!file.Open(WideToUtf8(path))) {
    ReportOpenFailure(owner, path, file.error());
    return false;
  }
  std::size_t written = 0;
  if (!WriteAll(file.fd(), bytes, &written)) {
    const int error = errno;
    file.Abandon();
    ReportWriteFailure(owner, path, error, written);
    return false;
  }
  if (!file.Commit()) {
    if (file.renameFailed())
      ReportOpenFailure(owner, path, file.error());
    else
      ReportWriteFailure(owner, path, file.error(), written);
    return false;
  }
  return true;
}

}  // namespace pw
