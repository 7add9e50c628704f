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

// The date and time forms import expects (the configuration's).
struct ImportTextForms {
  bool europeanDates = false;
  bool europeanTimes = false;
};

// Fields in the column order of the exported files (14 time, 15 expense).
// record is cleared first.
int ParseTimeFields(ImportFields fields, ImportTextForms forms, TimeRecord* record);
int ParseExpenseFields(ImportFields fields, ImportTextForms forms, ExpenseRecord* record);

// A pulldown list line: exactly two fields, a category name and a text.
int ParsePulldownFields(ImportFields fields, int* categoryId, std::u16string_view* text);

}  // namespace pw
