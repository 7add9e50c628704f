// A file written beside its target under a temporary name and renamed over
// the target only when it is whole, so that the target is either as it was
// or replaced whole, also after a crash or a power cut.
//
// Temporary names follow one pattern, ".<target name>.pwh-tmp-XXXXXX", so
// that those a killed program left behind are known for what they are: the
// next file written into the same folder removes them.
#pragma once

#include <string>
#include <string_view>

namespace pw {

// True for a name made by ReplacementFile (the name alone, no folder).
bool IsReplacementTemporaryName(std::string_view name);

class ReplacementFile {
 public:
  ReplacementFile() = default;
  ~ReplacementFile();  // abandons an unfinished file
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Removes stale temporary files of the pattern (the user's own) from the
  // target's folder and makes a new one there: with the permissions of the
  // file it will replace, or the user's alone (0600) for a new file. False,
  // with error() set, when it cannot be made.
  bool Open(const std::string& target);
  // The open file, for writing.
  int fd() const { return fd_; }
  // Syncs and closes the file, renames it over the target and syncs the
  // folder, so that the new file is the one found after a power cut. False
  // (error() set, nothing left behind) on failure.
  bool Commit();
  // Closes and removes the temporary file; the target stays as it was.
  void Abandon();

  int error() const { return error_; }
  // After a failed Commit: the file was whole, but could not take the
  // target's place.
  bool renameFailed() const { return renameFailed_; }

 private:
  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  int error_ = 0;
  bool renameFailed_ = false;
};

}  // namespace pw
