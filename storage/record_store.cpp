#include "storage/record_store.h"

#include <string>

#include "platform/code_page.h"
#include "platform/host_port.h"
#include "storage/records.h"
#include "text/format.h"

namespace pw {
namespace {

constexpr unsigned kWarning = MB_OK | MB_ICONEXCLAMATION;

void ShowStartupMessage(HWND owner, const std::u16string& text, unsigned type = kWarning) {
  MessageBoxW(owner, text, PWH_STARTUP_TITLE, type);
}

bool AskStartupQuestion(HWND owner, const std::u16string& text, unsigned icon) {
  return MessageBoxW(owner, text, PWH_STARTUP_TITLE, MB_YESNO | icon | MB_DEFBUTTON2) == IDYES;
}

// An open that failed because the store or the database is damaged, or was
// made by an older release (another sort order). Only these may lead to
// erasing anything.
bool IsDamage(DWORD error) { return error == ERROR_FILE_CORRUPT || error == ERROR_INVALID_PARAMETER; }

// Why the store file could not be used, in words.
const char16_t* CauseOf(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
      return u"Another program is using it; it stayed busy for several seconds.";
    case ERROR_ACCESS_DENIED:
      return u"Permission to read or write it is denied.";
    case ERROR_WRITE_PROTECT:
      return u"It, its folder or its disk is read-only.";
    case ERROR_DISK_FULL:
      return u"The disk is full.";
    case ERROR_WRITE_FAULT:
      return u"The disk reported an input/output error.";
    case ERROR_NOT_ENOUGH_MEMORY:
      return u"There is not enough memory.";
    default:
      return u"It could not be opened.";
  }
}

// A store that is healthy but cannot be used now: say which file and why,
// and leave it as it is.
void ShowStoreProblem(HWND owner, DWORD error) {
  ShowStartupMessage(owner, Format(u"Pennywhistle could not open its data file\n\n'%s'\n\n%s Nothing in it was "
                                   u"changed.\n\nError code: [%ld].",
                                   Utf8ToWide(ObjectStorePath()), CauseOf(error), error));
}

// A store file that does not open at all is renamed, never deleted, and a
// new one takes its place.
bool MoveStoreAside(HWND owner) {
  const std::u16string path = Utf8ToWide(ObjectStorePath());
  std::string movedTo;
  if (!MoveObjectStoreAside(&movedTo)) {
    ShowStartupMessage(owner, Format(u"Could not move the damaged data file\n\n'%s'\n\naside. Nothing was "
                                     u"changed.\n\nError code: [%ld].",
                                     path, GetLastError()));
    return false;
  }
  ShowStartupMessage(owner,
                     Format(u"The damaged data file was kept as\n\n'%s'\n\nPennywhistle starts with a new, "
                            u"empty one at\n\n'%s'.",
                            Utf8ToWide(movedTo), path),
                     MB_OK | MB_ICONINFORMATION);
  return true;
}

// The sort order of a record database: the calendar date of its date text.
SORTORDERSPEC RecordSortOrder(CEPROPID sortProperty) { return {sortProperty, CEDB_SORT_CALENDARDATE}; }

// A record database made by an earlier release is in the order of its date
// texts: it gets the calendar order once, here, and is opened again. Its
// records stay exactly as they are.
bool InCalendarOrder(HWND owner, std::u16string_view name, CEPROPID sortProperty, DatabaseHandle* db) {
  if (sortProperty == 0) return true;
  CEOIDINFO info;
  if (!CeOidGetInfo(db->DatabaseOid(), &info)) {
    ShowStoreProblem(owner, GetLastError());
    return false;
  }
  if (info.sortFlags == CEDB_SORT_CALENDARDATE) return true;
  const CEOID oid = db->DatabaseOid();
  db->Close();
  DatabaseHandle again;
  if (CeSetDatabaseSortOrder(oid, RecordSortOrder(sortProperty)))
    again = CeOpenDatabase(nullptr, name, sortProperty, 0, owner);
  if (!again) {
    ShowStoreProblem(owner, GetLastError());
    return false;
  }
  *db = std::move(again);
  return true;
}

// Messages of the open-or-create flow of one database.
struct OpenMessages {
  const char16_t* open;
  const char16_t* create;
  const char16_t* reopen;
};

// Creates a database that does not exist yet and opens it.
bool CreateAndOpen(HWND owner, std::u16string_view name, CEPROPID sortProperty,
                   const OpenMessages& messages, DatabaseHandle* out) {
  const SORTORDERSPEC sort = RecordSortOrder(sortProperty);
  const WORD sortOrders = sortProperty != 0 ? 1 : 0;
  if (CeCreateDatabase(name, 0, sortOrders, sortOrders != 0 ? &sort : nullptr) == 0) {
    ShowStartupMessage(owner, Format(messages.create, name, GetLastError()));
    return false;
  }
  DatabaseHandle db = CeOpenDatabase(nullptr, name, sortProperty, 0, owner);
  if (!db) {
    ShowStartupMessage(owner, Format(messages.reopen, name, GetLastError()));
    return false;
  }
  *out = std::move(db);
  return true;
}

// Opens the database, creating it when it does not exist. Any other open
// failure is shown and ends the attempt.
bool OpenOrCreate(HWND owner, std::u16string_view name, CEPROPID sortProperty,
                  const OpenMessages& messages, DatabaseHandle* out) {
  DatabaseHandle db = CeOpenDatabase(nullptr, name, sortProperty, 0, owner);
  if (db) {
    if (!InCalendarOrder(owner, name, sortProperty, &db)) return false;
    *out = std::move(db);
    return true;
  }
  const DWORD error = GetLastError();
  if (error != ERROR_FILE_NOT_FOUND) {
    if (IsDamage(error))
      ShowStartupMessage(owner, Format(messages.open, name, error));
    else
      ShowStoreProblem(owner, error);
    return false;
  }
  return CreateAndOpen(owner, name, sortProperty, messages, out);
}

}  // namespace

bool OpenConfigDatabase(HWND owner, std::u16string_view name, DatabaseHandle* out) {
  if (out == nullptr) return false;
  static constexpr OpenMessages kMessages{
      u"Could not open Pennywhistle database '%s': error code: %ld.",
      u"Could not create Pennywhistle database '%s': error code: %ld.",
      u"Could not re-open created Pennywhistle database '%s': error code: %ld.",
  };
  return OpenOrCreate(owner, name, 0, kMessages, out);
}

bool OpenExpenseDatabase(HWND owner, std::u16string_view name, DatabaseHandle* out) {
  if (out == nullptr) return false;
  static constexpr OpenMessages kMessages{
      u"Could not open Pennywhistle expense database '%s': error code: %ld.",
      u"Could not create Pennywhistle expense database '%s': error code: %ld.",
      u"Could not re-open created Pennywhistle expense database '%s': error code: %ld.",
  };
  return OpenOrCreate(owner, name, PWH_EXPENSE_DATE_PROPID, kMessages, out);
}

bool OpenTimeDatabase(HWND owner, std::u16string_view name, DatabaseHandle* out) {
  if (out == nullptr) return false;
  static constexpr OpenMessages kMessages{
      nullptr,  // any other open failure offers to erase the database instead
      u"Could not create Pennywhistle database\n\n'%s'\n\nerror code: %ld.",
      u"Could not re-open created Pennywhistle time database '%s': error code: %ld.",
  };
  for (;;) {
    DatabaseHandle db = CeOpenDatabase(nullptr, name, PWH_TIME_DATE_PROPID, 0, owner);
    if (db) {
      if (!InCalendarOrder(owner, name, PWH_TIME_DATE_PROPID, &db)) return false;
      *out = std::move(db);
      return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) {
      return CreateAndOpen(owner, name, PWH_TIME_DATE_PROPID, kMessages, out);
    }
    if (!IsDamage(error)) {
      ShowStoreProblem(owner, error);
      return false;
    }

    if (!AskStartupQuestion(
            owner,
            Format(u"Could not open Pennywhistle time database '%s', error code: [%ld].\n\n"
                   u"The database might be corrupted, or has been created by an older release "
                   u"of PWH.\n\nWould you like to create a new empty database ?",
                   name, error),
            MB_ICONWARNING)) {
      return false;
    }
    if (!AskStartupQuestion(owner,
                            u"This operation will erase all previously stored time data "
                            u"(expense will be intact).\n\nDo you want to continue ?",
                            MB_ICONINFORMATION)) {
      return false;
    }

    // Damaged beyond opening: no database can be found in it or deleted.
    if (!EnsureObjectStore()) {
      const DWORD storeError = GetLastError();
      if (storeError != ERROR_FILE_CORRUPT) {
        ShowStoreProblem(owner, storeError);
        return false;
      }
      if (!MoveStoreAside(owner)) return false;
      continue;
    }
    const CEOID oid = FindDatabaseByName(owner, name);
    if (oid == 0) {
      ShowStartupMessage(
          owner, Format(u"Could enumerate/find Pennywhistle time database '%s', error code: "
                        u"[%ld].\n\nYour device persistent object store might be corrupted.",
                        name, GetLastError()));
      return false;
    }
    // The records about to be erased stay in a copy of the whole store.
    std::string copy;
    if (!CopyObjectStoreAside(&copy)) {
      const DWORD copyError = GetLastError();
      if (copyError == ERROR_FILE_CORRUPT) {  // too damaged to copy: the file itself goes aside
        if (!MoveStoreAside(owner)) return false;
        continue;
      }
      ShowStartupMessage(owner, Format(u"Could not keep a copy of the data file\n\n'%s'\n\nbefore erasing the time "
                                       u"records, so nothing was erased. %s\n\nError code: [%ld].",
                                       Utf8ToWide(ObjectStorePath()), CauseOf(copyError), copyError));
      return false;
    }
    if (!CeDeleteDatabase(oid)) {
      // Too damaged to delete from: the whole file goes aside instead.
      if (GetLastError() == ERROR_FILE_CORRUPT) {
        if (!MoveStoreAside(owner)) return false;
        continue;
      }
      ShowStartupMessage(
          owner, Format(u"Could not delete Pennywhistle time database '%s', error code: "
                        u"[%ld].\n\nYour device persistent object store might be corrupted.",
                        name, GetLastError()));
      return false;
    }
    ShowStartupMessage(owner,
                       Format(u"The time records as they were are kept in a copy of the data file:\n\n'%s'",
                              Utf8ToWide(copy)),
                       MB_OK | MB_ICONINFORMATION);
    // The open fails with "not found" now, and the database is made again.
  }
}

CEOID FindDatabaseByName(HWND owner, std::u16string_view name) {
  DatabaseEnumerator databases = CeFindFirstDatabase(0);
  if (!databases) {
    ShowStartupMessage(owner,
                       Format(u"Could not enumerate device database store: error code: [%ld].",
                              GetLastError()),
                       MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  CEOID found = 0;
  while (const CEOID oid = CeFindNextDatabase(databases)) {
    CEOIDINFO info;
    if (!CeOidGetInfo(oid, &info)) break;
    if (info.wObjType == OBJTYPE_DATABASE && info.dbaseName == name) {
      found = oid;
      break;
    }
  }
  // Closing must not hide the error of a failed search from the caller.
  const DWORD error = GetLastError();
  databases.Close();
  SetLastError(error);
  return found;
}

}  // namespace pw
