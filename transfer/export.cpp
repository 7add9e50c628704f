#include "transfer/export.h"

#include <cstdint>

#include "platform/host_port.h"
#include "storage/pulldowns.h"
#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "transfer/delimited_format.h"
#include "transfer/export_lines.h"

namespace pw {
namespace {

constexpr std::u16string_view kErrorTitle = u"Pennywhistle Error";
constexpr std::u16string_view kInfoTitle = u"Pennywhistle Info";

// How a walk over the records ended.
enum class WalkEnd { Finished, Cancelled, WriteFailed };

// One export under way: the file, the count, and what the texts hold.
struct Export {
  Export(HWND owner, const std::string& path, const TransferOptions& options, const TransferProgress& progress)
      : owner(owner), path(path), format(options.format), forms{options.europeanDates, options.europeanTimes},
        progress(progress) {}

  HWND owner;
  const std::string& path;
  const DelimitedFormat& format;
  ExportTextForms forms;
  const TransferProgress& progress;
  ExportFile file;
  std::u16string line;
  int written = 0;
  int breaking = 0;  // records whose texts will not read back
  QualifierAdvisor advisor;

  // Writes line; a failure is shown and ends the walk.
  bool WriteLine() {
    if (file.Write(line)) return true;
    MessageBoxW(owner,
                Format(u"Export file write failed: error code: (%ld). %d bytes written so far.",
                       long(file.error()), int(file.bytesWritten())) +
                    u"\n\n" + ErrorCauseText(file.error()),
                kErrorTitle, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }

  // Notes whether any of a record's texts breaks the framing.
  void Check(std::initializer_list<std::u16string_view> texts) {
    bool breaks = false;
    for (std::u16string_view text : texts) {
      breaks = breaks || FramingBreaksOn(text, format);
      advisor.See(text);
    }
    breaking += breaks;
  }

  bool Continue() const {
    return !progress || written % PWH_PROGRESS_STEP != 0 || progress(written);
  }
};

std::u16string ShownCharacter(std::u16string_view c) {
  if (c == u"\t") return std::u16string(PWH_TAB_ENTRY);
  if (c == u"\n") return std::u16string(PWH_NEWLINE_ENTRY);
  return u"'" + std::u16string(c) + u"'";
}

void WarnAboutBreakingTexts(const Export& e, std::u16string_view things) {
  if (e.breaking == 0) return;
  const DelimitedFormat& f = e.format;
  std::u16string text =
      f.qualifier.empty()
          ? Format(u"%d exported %s hold the field delimiter or a line break in their texts.",
                   e.breaking, things)
          : Format(u"%d exported %s hold the field qualifier %s in their texts.", e.breaking,
                   things, ShownCharacter(f.qualifier));
  text += u" They were written unchanged and will not import back as written.";
  const std::u16string other = e.advisor.Suggest(f.qualifier);
  if (!other.empty()) {
    text += Format(u"\n\nTo read them back, export again with the field qualifier %s, which none "
                   u"of the exported texts holds.",
                   ShownCharacter(other));
  }
  MessageBoxW(e.owner, text, u"Pennywhistle Export", MB_OK | MB_ICONEXCLAMATION);
}

// Opens the file; false after the message.
bool Open(Export& e) {
  if (e.file.Open(e.path)) return true;
  MessageBoxW(e.owner,
              Format(u"Export file '%s' open failed: error code: (%ld).", FileNameText(e.path),
                     long(e.file.error())) +
                  u"\n\n" + ErrorCauseText(e.file.error()),
              kErrorTitle, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

// Ends the export: renames the file into place and shows the outcome.
int Finish(Export& e, WalkEnd end, std::u16string_view things, std::u16string_view completed) {
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
  const std::u16string name = FileNameText(e.path);
  if (end == WalkEnd::Cancelled) {
    e.file.Abandon();
    MessageBoxW(e.owner, Format(u"Export to \n\n\"%s\"\n\n was cancelled: the file was not written.", name),
                kInfoTitle, MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  if (end == WalkEnd::WriteFailed || !e.file.Finish()) {
    e.file.Abandon();
    MessageBoxW(e.owner,
                Format(u"Export to \n\n\"%s\"\n\n failed: %s\n\nThe file was not written.", name,
                       ErrorCauseText(e.file.error())),
                kErrorTitle, MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  MessageBoxW(e.owner, Format(completed, name, e.written), kInfoTitle, MB_OK | MB_ICONINFORMATION);
  WarnAboutBreakingTexts(e, things);
  return e.written;
}

// Reads the record at position into record; 0 when there is none, -1 after a
// failed read (shown).
template <class Record>
int Read(HWND owner, DatabaseHandle& db, DWORD position, PropertyBuffer& buffer, Record& record) {
  if (CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) == 0) return 0;
  if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) {
    MessageBoxW(owner,
                Format(u"ExportOiDBToFile: could not CeReadRecordProps(): error code: (%ld).",
                       long(GetLastError())),
                u"Pennywhistle Db Error", MB_OK | MB_ICONEXCLAMATION);
    return -1;
  }
  ClearRecord(record);
  PropsToRecord(buffer.data(), buffer.size(), record);
  return 1;
}

void CheckTexts(Export& e, const TimeRecord& r) {
  e.Check({TextOf(r.date), TextOf(r.duration), TextOf(r.client), TextOf(r.project),
           TextOf(r.rate), TextOf(r.subproject), TextOf(r.task), TextOf(r.currency),
           TextOf(r.amount), TextOf(r.notes)});
}

void CheckTexts(Export& e, const ExpenseRecord& r) {
  e.Check({TextOf(r.date), TextOf(r.client), TextOf(r.project), TextOf(r.description),
           TextOf(r.miles), TextOf(r.mileageRate), TextOf(r.paymentType), TextOf(r.currency),
           TextOf(r.amount), TextOf(r.notes)});
}

void AppendLine(Export& e, const TimeRecord& r) { AppendTimeLine(e.line, r, e.format, e.forms); }
void AppendLine(Export& e, const ExpenseRecord& r) { AppendExpenseLine(e.line, r, e.format, e.forms); }

template <class Record>
WalkEnd WalkRecords(Export& e, DatabaseHandle& db, std::u16string header, int recordSetMode,
                    const RecordPositionList& list) {
  e.line = std::move(header);
  if (!e.WriteLine()) return WalkEnd::WriteFailed;
  const bool all = recordSetMode == PWH_ALL_REC_MODE;
  const std::size_t count = all ? SIZE_MAX : recordSetMode == PWH_SELECT_REC_MODE ? list.count() : 0;
  PropertyBuffer buffer;
  Record record;
  WalkEnd end = WalkEnd::Finished;
  for (std::size_t i = 0; i < count; ++i) {
    if (Read(e.owner, db, all ? DWORD(i) : list[i], buffer, record) <= 0) break;
    e.line.clear();
    AppendLine(e, record);
    if (!e.WriteLine()) {
      end = WalkEnd::WriteFailed;
      break;
    }
    CheckTexts(e, record);
    ++e.written;
    if (!e.Continue()) {
      end = WalkEnd::Cancelled;
      break;
    }
  }
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  return end;
}

WalkEnd WalkPulldowns(Export& e, DatabaseHandle& db) {
  PropertyBuffer buffer;
  PulldownEntry entry;
  for (DWORD position = 0; CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) != 0;
       ++position) {
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) {
      MessageBoxW(e.owner,
                  Format(u"ExportPulldownsToFile: could not CeReadRecordProps(): error code: "
                         u"(%ld).",
                         long(GetLastError())),
                  u"Pennywhistle Db Error", MB_OK | MB_ICONEXCLAMATION);
      return WalkEnd::Finished;
    }
    if (buffer.size() == 0 || !CEPROPVALToPWHPulldownEntry(buffer[0], &entry)) {
      MessageBoxW(e.owner,
                  u"ExportPulldownsToFile: CEPROPVALToPWHPulldownEntry failed. PWH configuration "
                  u"database migth be corrupted.",
                  u"Pennywhistle Export Error", MB_OK | MB_ICONEXCLAMATION);
      return WalkEnd::Finished;
    }
    e.line.clear();
    AppendPulldownLine(e.line, entry, e.format);
    if (!e.WriteLine()) return WalkEnd::WriteFailed;
    e.Check({entry.text});
    ++e.written;
    if (!e.Continue()) return WalkEnd::Cancelled;
  }
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  return WalkEnd::Finished;
}

}  // namespace

int ExportRecordsToFile(HWND owner, const std::string& path, DatabaseHandle& db, int appMode, int recordSetMode,
                        const RecordPositionList& list, const TransferOptions& options,
                        const TransferProgress& progress) {
  Export e{owner, path, options, progress};
  if (!Open(e)) return 0;
  SetStatusText(PWH_STATUS_ACTIVITY, u"exporting...");
  const WalkEnd end =
      appMode == PWH_EXPENSE_MODE
          ? WalkRecords<ExpenseRecord>(e, db, ExpenseHeaderLine(options.format), recordSetMode, list)
          : WalkRecords<TimeRecord>(e, db, TimeHeaderLine(options.format), recordSetMode, list);
  return Finish(e, end, u"record(s)",
                u"Export to \n\n\"%s\"\n\n completed !\n\nExported %d record(s) successfully.");
}

int ExportPulldownsToFile(HWND owner, const std::string& path, DatabaseHandle& db, const TransferOptions& options,
                          const TransferProgress& progress) {
  Export e{owner, path, options, progress};
  if (!Open(e)) return 0;
  SetStatusText(PWH_STATUS_ACTIVITY, u"exporting pulldowns...");
  const WalkEnd end = WalkPulldowns(e, db);
  return Finish(e, end, u"pulldown element(s)",
                u"Export to \n\n\"%s\"\n\n completed !\n\nExported %d pulldown element(s) "
                u"successfully.");
}

}  // namespace pw
