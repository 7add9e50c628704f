#include "transfer/import.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <unordered_set>
#include <vector>

#include "platform/code_page.h"
#include "platform/host_port.h"
#include "storage/pulldowns.h"
#include "storage/record_fields.h"
#include "storage/record_operations.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "transfer/delimited_format.h"
#include "transfer/export_lines.h"
#include "transfer/import_note.h"
#include "transfer/line_reader.h"
#include "transfer/record_parser.h"
#include "transfer/tokenizer.h"

namespace pw {
namespace {

constexpr std::u16string_view kErrorTitle = u"Pennywhistle Error";
// Lines whose writes are stored together: one durable commit each.
constexpr int kGroupLines = 16384;

// The pulldown list values known to the configuration database, read once, so
// that offering a value does not walk the database every time.
class PulldownOffers {
 public:
  PulldownOffers(HWND owner, DatabaseHandle& db) : owner_(owner), db_(db) {
    PropertyBuffer buffer;
    for (DWORD position = 0;
         CeSeekDatabase(db_, CEDB_SEEK_BEGINNING, position, nullptr) != 0; ++position) {
      if (CeReadRecordProps(db_, CEDB_ALLOWREALLOC, buffer) == 0) {
        MessageBoxW(owner,
                    Format(u"CheckProp: could not CeReadRecordProps(): error code: (%ld).",
                           long(GetLastError())),
                    u"Pennywhistle Db Error", MB_OK | MB_ICONEXCLAMATION);
        break;
      }
      if (buffer.size() != 1 || PropTypeOf(buffer[0].propid) != CEVT_LPWSTR) continue;
      listed_.insert(Key(PropIdOf(buffer[0].propid), TextOf(buffer[0].val.lpwstr)));
    }
    CeSeekDatabase(db_, CEDB_SEEK_BEGINNING, 0, nullptr);
  }

  // Adds text to the category unless it is listed there (empty text and
  // "n/a" count as listed).
  void Offer(int categoryId, std::u16string_view text) {
    if (text.empty() || text == u"n/a") return;
    std::u16string key = Key(categoryId, text);
    if (listed_.contains(key)) return;
    AddEntryPulldown(owner_, db_, text, categoryId, false);
    listed_.insert(std::move(key));
  }

 private:
  static std::u16string Key(int categoryId, std::u16string_view text) {
    std::u16string key(1, char16_t(categoryId));
    key += text;
    return key;
  }

  HWND owner_;
  DatabaseHandle& db_;
  std::unordered_set<std::u16string> listed_;
};

template <class Record>
void OfferTexts(PulldownOffers& offers, const Record& r) {
  for (const RecordField<Record>& f : FieldsOf<Record>())
    if (f.pulldown != 0) offers.Offer(f.pulldown, FieldText(f, r));
}

bool Add(HWND owner, DatabaseHandle& db, const TimeRecord& r, CEOID* oid) { return AddNewRecord(owner, db, r, oid); }
bool Add(HWND owner, DatabaseHandle& db, const ExpenseRecord& r, CEOID* oid) {
  return AddNewExpenseRecord(owner, db, r, oid);
}

int Parse(std::span<const std::u16string_view> fields, ImportTextForms forms, TimeRecord* r) {
  return ParseTimeFields(fields, forms, r);
}
int Parse(std::span<const std::u16string_view> fields, ImportTextForms forms, ExpenseRecord* r) {
  return ParseExpenseFields(fields, forms, r);
}

// How an import loop ended.
enum class LoopEnd { Finished, Cancelled, ReadFailed, StoreFailed };

// What an import's loop shows the user about its lines.
struct LineTexts {
  std::u16string_view header;   // a first line equal to it is the export's header: skipped silently
  std::u16string_view problem;  // the text before a problem line
  std::u16string_view title;    // of the problem messages
};

// The shared loop of both imports: reads, decodes and splits each line and
// hands its fields to take(fields), which returns 0 when the line was taken
// (counting it itself), a negative number to stop, or a result code to skip
// it. Every problem line is counted; each is shown with its number until the
// user chooses Skip All. The progress bar follows the bytes read.
class ImportLoop {
 public:
  ImportLoop(HWND owner, const DelimitedFormat& format, const TransferProgress& progress, const LineTexts& texts,
             ImportProgressNote& note)
      : owner_(owner), format_(format), progress_(progress), texts_(texts), note_(note) {}

  int skipped() const { return skipped_; }

  template <class Take>
  LoopEnd Run(int fd, int& count, Take take) {
    LineReader reader(fd, format_);
    std::string raw;
    std::u16string line;
    std::vector<std::u16string_view> fields;
    int committed = 0;
    long done = 0;
    Host().BeginProgress(u"importing...", FileSize(fd));
    group_.emplace();
    LoopEnd end = LoopEnd::Finished;
    for (int number = 1;; ++number) {
      if (!reader.Next(&raw)) {
        end = LoopEnd::ReadFailed;
        MessageBoxW(owner_,
                    Format(u"Import file read failed: error code: (%ld). Read so far: '%s'.",
                           long(reader.error()), FileTextToWide(raw)) +
                        u"\n\n" + ErrorCauseText(reader.error()),
                    kErrorTitle, MB_OK | MB_ICONEXCLAMATION);
        break;
      }
      if (raw.empty()) break;
      done += long(raw.size()) + 1;
      FileTextToWide(raw, &line);
      if (number == 1 && line == texts_.header) continue;
      int code = TokenizeLine(line, format_.qualifier, format_.fieldDelimiter, &fields);
      if (code == PWH_PARSE_OK) code = take(fields);
      if (code < 0) {
        end = LoopEnd::StoreFailed;
        break;
      }
      if (code != PWH_PARSE_OK && !Problem(number, line, code, count, committed)) {
        end = LoopEnd::StoreFailed;
        break;
      }
      if (number % PWH_PROGRESS_STEP != 0) continue;
      Host().StepProgress(done);
      if (number % kGroupLines == 0 && !Store(count, committed)) {
        end = LoopEnd::StoreFailed;
        break;
      }
      if (progress_ && !progress_(number)) {
        end = LoopEnd::Cancelled;
        break;
      }
    }
    if (group_ && !Store(count, committed)) end = LoopEnd::StoreFailed;
    group_.reset();
    Host().EndProgress();
    return end;
  }

 private:
  static long FileSize(int fd) {
    struct stat st;
    return ::fstat(fd, &st) == 0 ? long(st.st_size) : 0;
  }

  // Stores the writes of the group and begins the next; false after a
  // message when they could not be stored (count is then what was stored).
  bool Store(int& count, int& committed) {
    if (group_->Commit()) {
      committed = count;
      note_.Stored(count);
      group_.emplace();
      return true;
    }
    MessageBoxW(owner_,
                Format(u"Import: the records could not be stored: error code: (%ld).",
                       long(GetLastError())),
                kErrorTitle, MB_OK | MB_ICONEXCLAMATION);
    count = committed;
    group_.reset();
    return false;
  }

  // Counts a problem line and, unless the user chose Skip All, shows it
  // after storing what was read before it. False when that store failed.
  bool Problem(int number, std::u16string_view line, int code, int& count, int& committed) {
    ++skipped_;
    if (skipAll_) return true;
    if (!Store(count, committed)) return false;
    SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
    const int answer = MessageBoxW(owner_,
                                   Format(u"Line %d: ", number) + std::u16string(texts_.problem) +
                                       std::u16string(line) + u"\n\nPossible reason: " +
                                       std::u16string(ParseResultText(code)) + u".\n\nSkipping record.",
                                   texts_.title, MB_OKSKIPALL | MB_ICONEXCLAMATION);
    skipAll_ = answer == IDSKIPALL;
    SetStatusText(PWH_STATUS_ACTIVITY, u"importing...");
    return true;
  }

  HWND owner_;
  const DelimitedFormat& format_;
  const TransferProgress& progress_;
  const LineTexts& texts_;
  ImportProgressNote& note_;
  std::optional<StoreTransaction> group_;
  int skipped_ = 0;
  bool skipAll_ = false;
};

// The export's header line of a kind of record, without its delimiter.
std::u16string HeaderOf(int appMode, const DelimitedFormat& format) {
  std::u16string header = appMode == PWH_EXPENSE_MODE ? ExpenseHeaderLine(format) : TimeHeaderLine(format);
  header.resize(header.size() - format.recordDelimiter.size());
  return header;
}

// Opens the file for reading; -1 after the message.
int OpenImportFile(HWND owner, const std::string& path, std::u16string_view failure) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    MessageBoxW(owner,
                Format(failure, FileNameText(path), long(error)) + u"\n\n" + ErrorCauseText(error),
                kErrorTitle, MB_OK | MB_ICONEXCLAMATION);
  }
  return fd;
}

// The closing message; problem lines, when there were any, are counted last.
void ShowOutcome(HWND owner, const std::string& path, LoopEnd end, int count, int skipped,
                 std::u16string_view things) {
  const std::u16string name = FileNameText(path);
  const std::u16string skips = skipped > 0 ? Format(u"\n\nSkipped %d line(s).", skipped) : std::u16string();
  if (end == LoopEnd::Finished) {
    MessageBoxW(owner,
                Format(u"Import from \n\n\"%s\"\n\n completed !\n\nImported %d ", name, count) +
                    std::u16string(things) + u" successfully." + skips,
                u"Pennywhistle Info", MB_OK | MB_ICONINFORMATION);
    return;
  }
  const bool cancelled = end == LoopEnd::Cancelled;
  MessageBoxW(owner,
              Format(cancelled ? u"Import from \n\n\"%s\"\n\n was cancelled.\n\nImported %d "
                               : u"Import from \n\n\"%s\"\n\n stopped early.\n\nImported %d ",
                     name, count) +
                  std::u16string(things) + u" successfully before the stop." + skips,
              cancelled ? u"Pennywhistle Info" : kErrorTitle,
              MB_OK | (cancelled ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

template <class Record>
LoopEnd ImportRecords(HWND owner, int fd, DatabaseHandle& db, DatabaseHandle& configDb, const TransferOptions& options,
                      const TransferProgress& progress, const LineTexts& texts, ImportProgressNote& note, int& count,
                      int& skipped, std::vector<CEOID>* added) {
  std::optional<PulldownOffers> offers;
  if (options.intoPulldowns) offers.emplace(owner, configDb);
  ImportAnswers answers;
  const ImportTextForms forms{options.europeanDates, options.europeanTimes, &answers};
  ImportLoop loop(owner, options.format, progress, texts, note);
  Record record;
  const LoopEnd end = loop.Run(fd, count, [&](std::span<const std::u16string_view> fields) -> int {
    const int code = Parse(fields, forms, &record);
    if (code != PWH_PARSE_OK) return code;
    CEOID oid = 0;
    if (!Add(owner, db, record, &oid)) return -1;
    if (added) added->push_back(oid);
    ++count;
    if (offers) OfferTexts(*offers, record);
    return PWH_PARSE_OK;
  });
  skipped = loop.skipped();
  return end;
}

}  // namespace

int ImportRecordsFromFile(HWND owner, const std::string& path, DatabaseHandle& db, int appMode,
                          DatabaseHandle& configDb, const TransferOptions& options, const TransferProgress& progress,
                          std::vector<CEOID>* added) {
  const int fd = OpenImportFile(owner, path, u"Import file '%s' open failed: error code: (%ld).");
  if (fd < 0) return 0;
  SetStatusText(PWH_STATUS_ACTIVITY, u"importing...");
  const bool expenses = appMode == PWH_EXPENSE_MODE;
  const std::u16string header = HeaderOf(appMode, options.format);
  const LineTexts texts{header, u"The following record has import format problems:\n\n",
                        expenses ? u"PWH Expense Import" : u"PWH Time Import"};
  int count = 0, skipped = 0;
  LoopEnd end;
  {
    ImportProgressNote note(path);
    end = expenses ? ImportRecords<ExpenseRecord>(owner, fd, db, configDb, options, progress, texts, note, count,
                                                  skipped, added)
                   : ImportRecords<TimeRecord>(owner, fd, db, configDb, options, progress, texts, note, count,
                                               skipped, added);
  }
  ::close(fd);
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
  ShowOutcome(owner, path, end, count, skipped, u"record(s)");
  return count;
}

int ImportPulldownsFromFile(HWND owner, const std::string& path, DatabaseHandle& configDb,
                            const TransferOptions& options, const TransferProgress& progress) {
  const int fd =
      OpenImportFile(owner, path, u"Pulldown import file '%s' open failed: error code: (%ld).");
  if (fd < 0) return 0;
  SetStatusText(PWH_STATUS_ACTIVITY, u"importing...");
  int count = 0;
  PulldownOffers offers(owner, configDb);
  const LineTexts texts{{}, u"The following pulldown entry has import format problems:\n\n", u"PWH Pulldown Import"};
  std::optional<ImportProgressNote> note(std::in_place, path);
  ImportLoop loop(owner, options.format, progress, texts, *note);
  const LoopEnd end = loop.Run(fd, count, [&](std::span<const std::u16string_view> fields) -> int {
    int category = 0;
    std::u16string_view text;
    const int code = ParsePulldownFields(fields, &category, &text);
    if (code != PWH_PARSE_OK) return code;
    offers.Offer(category, text);
    ++count;
    return PWH_PARSE_OK;
  });
  note.reset();
  ::close(fd);
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
  ShowOutcome(owner, path, end, count, loop.skipped(), u"pulldown element(s)");
  return count;
}

}  // namespace pw
