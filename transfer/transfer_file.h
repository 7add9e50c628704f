// Files of the transfers: progress reports, and the output file that
// replaces its target only once it is whole.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/replacement_file.h"
#include "transfer/delimited_format.h"

namespace pw {

// Told the number of lines done now and then during a long transfer; returns
// false to stop it.
using TransferProgress = std::function<bool(int lines)>;
// What a transfer takes from the settings: the framing, the date and time
// forms, and (record import) whether new texts join their pulldown lists.
struct TransferOptions {
  DelimitedFormat format;
  bool europeanDates = false;
  bool europeanTimes = false;
  bool intoPulldowns = false;
};

// How many lines pass between two progress reports.
inline constexpr int PWH_PROGRESS_STEP = 256;

// The name of a file as the messages show it.
std::u16string FileNameText(const std::string& path);
// The system's words for an errno value.
std::u16string ErrorCauseText(int error);

// Writes a file beside its target under a temporary name and renames it over
// the target when finished, so the target is never left half written
// (platform/replacement_file.h). Lines are written as UTF-8 without a
// byte-order mark.
class ExportFile {
 public:
  ExportFile() = default;
  ~ExportFile();  // abandons an unfinished file
  ExportFile(const ExportFile&) = delete;
  ExportFile& operator=(const ExportFile&) = delete;

  // False (error() set) when the temporary file cannot be made.
  bool Open(const std::string& target);
  // Buffers the line; false (error() set) when a write to the disk failed.
  bool Write(std::u16string_view line);
  // Flushes, syncs, closes and renames over the target.
  bool Finish();
  // Closes and removes the temporary file; the target stays as it was.
  void Abandon();

  int error() const { return error_; }
  long long bytesWritten() const { return written_; }

 private:
  bool Flush();

  ReplacementFile file_;
  std::string buffer_;
  int error_ = 0;
  long long written_ = 0;
};

}  // namespace pw
