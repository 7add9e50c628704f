// Saving the lines of a report as a text document: one line per report
// line, a blank line as an empty one, each ended with a carriage return and a
// line feed, UTF-8 without a byte-order mark.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace pw {

// The default file names of the two report kinds, in the documents folder.
inline constexpr std::u16string_view PWH_TIME_REPORT_FILE = u"PWH Time Report.doc";
inline constexpr std::u16string_view PWH_EXPENSE_REPORT_FILE = u"PWH Expense Report.doc";

// The bytes of the document.
std::string ReportFileBytes(const std::vector<std::u16string>& lines);

// Writes the document to path. The bytes go to a new file beside it first,
// which then replaces path, so a file already there is either left as it was
// or replaced whole. Failures are shown (owned by owner, naming the file and
// the cause) and give false; nothing is left behind then.
bool WriteReportFile(HWND owner, std::u16string_view path, const std::vector<std::u16string>& lines);
// The same for any bytes (a report as PDF).
bool WriteDocumentFile(HWND owner, std::u16string_view path, std::string_view bytes);

}  // namespace pw
