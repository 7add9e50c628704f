// The lines of the three exported file kinds: time records, expense records
// and pulldown list entries. Each field is qualifier, text, qualifier, field
// delimiter; a line ends with the record delimiter. Texts are written
// unchanged, so a text holding the qualifier (or, without a qualifier, a
// delimiter) cannot be read back as one field: FramingBreaksOn tells.
#pragma once

#include <string>
#include <string_view>

#include "storage/pulldowns.h"
#include "storage/records.h"
#include "transfer/delimited_format.h"

namespace pw {

// How dates and times are written: the display settings of the moment.
struct ExportTextForms {
  bool europeanDates = false;
  bool twentyFourHour = false;
};

// Header lines: the last column is followed by the record delimiter only.
std::u16string TimeHeaderLine(const DelimitedFormat& format);
std::u16string ExpenseHeaderLine(const DelimitedFormat& format);

// Data lines, appended to line.
void AppendTimeLine(std::u16string& line, const TimeRecord& record, const DelimitedFormat& format,
                    ExportTextForms forms);
void AppendExpenseLine(std::u16string& line, const ExpenseRecord& record,
                       const DelimitedFormat& format, ExportTextForms forms);
void AppendPulldownLine(std::u16string& line, const PulldownEntry& entry,
                        const DelimitedFormat& format);

// True when text, written unchanged into a field, would not read back as that
// one field: it holds the qualifier, or (with no qualifier) the field
// delimiter, the record delimiter or a line break.
bool FramingBreaksOn(std::u16string_view text, const DelimitedFormat& format);

// Finds a qualifier that none of the texts seen holds, to suggest when some
// texts hold the one in use.
class QualifierAdvisor {
 public:
  void See(std::u16string_view text);
  // The first candidate other than current that no text seen holds; empty
  // when every candidate occurs.
  std::u16string Suggest(std::u16string_view current) const;

 private:
  unsigned seen_ = 0;  // bit i: candidate i occurs in some text
};

}  // namespace pw
