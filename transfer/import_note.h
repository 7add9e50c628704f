// A note in the settings while an import runs: which file, and how many of
// its lines are stored so far. An import that ends, however it ends, removes
// it; a note still there at the next start belongs to an import the program
// did not live to finish, and the user is told how far it got.
#pragma once

#include <string>

#include "platform/registry.h"
#include "platform/types.h"

namespace pw {

class ImportProgressNote {
 public:
  // Writes the note: path, none of its lines stored yet.
  explicit ImportProgressNote(const std::string& path);
  // Removes the note.
  ~ImportProgressNote();
  ImportProgressNote(const ImportProgressNote&) = delete;
  ImportProgressNote& operator=(const ImportProgressNote&) = delete;

  // Called when a group of writes is stored: lines is how many of the file's
  // lines are stored now.
  void Stored(int lines);

 private:
  void Write(int lines);

  std::u16string file_;
  HKEY key_ = nullptr;
  int written_ = -1;
};

// At start-up: when an import did not finish, says which file it was and how
// many of its lines were stored, and removes the note.
void ReportUnfinishedImport(HWND owner);

}  // namespace pw
