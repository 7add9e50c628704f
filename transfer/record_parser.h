// Turning the fields of one imported line into a time record, an expense
// record or a pulldown list entry. Dates and times in the other form than the
// configuration's raise a Yes/No question through the host; each returns 0 or
// a result code of transfer/tokenizer.h.
#pragma once

#include <span>
#include <string_view>

#include "storage/records.h"

namespace pw {

using ImportFields = std::span<const std::u16string_view>;

// Answers given "to All" during one import, for the rest of it: 0 while
// the question is still asked, else IDYES or IDNO.
struct ImportAnswers {
  int dates = 0;
  int times = 0;
};

// The date and time forms import expects (the configuration's), and where
// the import keeps its "to All" answers (null: Yes and No only).
struct ImportTextForms {
  bool europeanDates = false;
  bool europeanTimes = false;
  ImportAnswers* answers = nullptr;
};

// Fields in the column order of the exported files (14 time, 15 expense).
// record is cleared first (its texts end at the first unit). Whatever the export writes for a stored record is
// read back as that record: a number field may also be empty or "n/a", and
// decimal hours become the nearest minute.
int ParseTimeFields(ImportFields fields, ImportTextForms forms, TimeRecord* record);
int ParseExpenseFields(ImportFields fields, ImportTextForms forms, ExpenseRecord* record);

// A pulldown list line: exactly two fields, a category name and a text.
int ParsePulldownFields(ImportFields fields, int* categoryId, std::u16string_view* text);

}  // namespace pw
