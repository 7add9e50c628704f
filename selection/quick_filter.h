// The quick filter: the records shown under the current date tab or Find
// result, narrowed as the user types to those holding the typed text in any
// of their texts (time: client, project, subproject, task, note; expense:
// client, project, description, payment, currency, note), ignoring case and
// accents (text/search_fold.h).
//
// The set a date tab or a Find made is kept as the filter's base; the folded
// texts of its records are read once, when a filter first needs them, and
// kept until the base is made anew. A longer text typed after a shorter one
// searches only the records the shorter one matched. The same walk keeps each
// base record's share of the totals shown (views/record_totals.h adds them).
#pragma once

#include <cstdint>
#include <string_view>

#include "selection/selection.h"
#include "storage/record_databases.h"

namespace pw {

// The shown set was made anew (a date tab applied, a Find): it becomes the
// filter's base and, when a filter is typed, is narrowed by it now. False
// when a record could not be read (nothing is then filtered out).
bool RebaseQuickFilter(RecordSelection& selection, RecordDatabases& databases);
// Drops the texts and totals shares read from the records (a record
// changed): the next key reads them anew. The base and the typed text stay.
void ForgetQuickFilterTexts(RecordSelection& selection);
// A new filter text (as typed): the shown set becomes the base narrowed by
// it, or the whole base for an empty text.
bool SetQuickFilter(RecordSelection& selection, RecordDatabases& databases, std::u16string_view typed);
// Reads the folded texts of the base now, when they are not read yet, so
// that the first key typed is answered quickly.
bool PrepareQuickFilter(RecordSelection& selection, RecordDatabases& databases);

// Whether the shown records are narrowed: a filter is typed or a Find
// result is shown.
bool NarrowingInForce(const RecordSelection& selection);
// The records there would be without the narrowing: the base's count while
// a filter is typed, else (a Find result) every record of the database.
std::int64_t UnnarrowedCount(const RecordSelection& selection, DatabaseHandle& db);

}  // namespace pw
