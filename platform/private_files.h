// The folders and files that hold the user's data: readable by the user
// alone, and still there after a crash once they have been made.
#pragma once

#include <string>

#include "platform/error_codes.h"

namespace pw {

// Makes the missing folders above path (0700) and the file itself (0600,
// empty) when missing; each folder or file made is synced into its parent,
// so that a power cut right after start-up does not take it away again. When
// ownFolder is set, the folder holding the file is the program's own: an
// existing one that others may read is made 0700 as well. An existing file
// (and its -wal and -shm files) of the user is made 0600.
DWORD PreparePrivateFile(const std::string& path, bool ownFolder);

// The device-layer error number for an errno value of a file call.
DWORD ErrorFromErrno(int e);

// A name beside path that no file has yet, with the tag, the date and the
// time: /d/pennywhistle.db -> /d/pennywhistle-damaged-2026-12-06-174200.db
// (a number is added when that name, or its -wal or -shm, is taken).
std::string DatedSibling(const std::string& path, const std::string& tag);

// The folder a path is in.
std::string FolderOf(const std::string& path);

// Syncs a folder's entries (its new, renamed or removed names) to the disk.
bool SyncFolder(const std::string& folder);

}  // namespace pw
