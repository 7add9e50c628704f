// The three databases of the program: their names, and opening them at
// start-up (creating a missing one, and erasing and re-creating a time
// database that can no longer be opened when the user agrees).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/object_store.h"
#include "platform/types.h"

namespace pw {

// A record's 0-based place in its database's sort order. Valid until the
// next add or delete.
using RecordPosition = std::uint32_t;

inline constexpr std::u16string_view PWH_TIME_DB_NAME = u"Pennywhistle Time 0.5";
inline constexpr std::u16string_view PWH_CONFIG_DB_NAME = u"Pennywhistle Config 0.5";
inline constexpr std::u16string_view PWH_EXPENSE_DB_NAME = u"Pennywhistle Expense 0.5";

// Title of every message shown while opening the databases.
inline constexpr std::u16string_view PWH_STARTUP_TITLE = u"Pennywhistle Startup";

// Each opens the named database into *out (creating it when it does not
// exist) and returns true, or shows why it could not and returns false.
// owner owns the messages and is the database's notification window.
//
// Both record databases are sorted by the calendar date of their date text
// (CEDB_SORT_CALENDARDATE); one made by an earlier release, in the order of
// the texts, is given that order when opened, without asking and without
// changing a record. When the time database is damaged or
// was made by an older release, the user is asked (twice) whether to erase it
// and start with an empty one. A store file too damaged to erase from is
// renamed instead, never deleted. A store that is only busy, not permitted,
// read-only, full or failing is reported with its file and cause and left
// as it is, by all three. The expense database is never erased. The configuration database has no sort order.
bool OpenTimeDatabase(HWND owner, std::u16string_view name, DatabaseHandle* out);
bool OpenConfigDatabase(HWND owner, std::u16string_view name, DatabaseHandle* out);
bool OpenExpenseDatabase(HWND owner, std::u16string_view name, DatabaseHandle* out);

// The object id of the database with exactly this name, or 0 (after a
// message when the store cannot be enumerated).
CEOID FindDatabaseByName(HWND owner, std::u16string_view name);

}  // namespace pw
