#include "views/report_summary.h"

#include <bit>
#include <functional>

#include "platform/error_codes.h"
#include "platform/host_port.h"
#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "text/time_text.h"
#include "views/list_cells.h"

namespace pw {

namespace {

// The float nearest to 1/60: minutes become hours in single precision.
constexpr float kHoursPerMinute = 0.016666668f;

void Mix(std::size_t& seed, std::size_t value) {
  seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

std::size_t HashText(std::u16string_view text) { return std::hash<std::u16string_view>{}(text); }

// Equal floats must hash alike: 0 and -0 are one rate.
std::size_t HashRate(float rate) { return rate == 0.0f ? 0 : std::bit_cast<std::uint32_t>(rate); }

void ScanDecimal(std::u16string_view text, ScannedNumber* out) { out->fields = ScanFloat(text, &out->value); }

void ScanDuration(std::u16string_view text, ScannedNumber* out) {
  out->fields = ScanTwoInts(text, "%d:%d", &out->hours, &out->minutes);
}

// Finds the entry of `entries` whose key `equal` accepts among those with
// this hash, or appends `make()` and indexes it. Returns the entry. Entries
// of one hash are chained in the order they were appended, so the earliest
// equal entry is found first.
template <class Entry, class Equal, class Make>
Entry& FindOrAppend(std::vector<Entry>& entries, SummaryIndex& index, std::size_t hash, Equal equal, Make make) {
  const auto [slot, fresh] = index.first.try_emplace(hash, std::uint32_t(entries.size()));
  std::uint32_t* link = nullptr;
  if (!fresh) {
    for (std::uint32_t i = slot->second; i != SummaryIndex::kNoEntry; i = index.next[i]) {
      if (equal(entries[i])) return entries[i];
      link = &index.next[i];
    }
    *link = std::uint32_t(entries.size());
  }
  entries.push_back(make());
  index.next.push_back(SummaryIndex::kNoEntry);
  return entries.back();
}

// Texts and flags read straight from a record's properties, with the rules
// of filling a cleared record: a missing property is empty text or 0, one
// of the wrong type is skipped, texts are cut to their field, a flag is 1
// when not 0. The texts point into the property buffer.
struct FieldReader {
  static void Text(const CEPROPVAL& p, std::u16string_view& field, std::size_t limit) {
    if (PropTypeOf(p.propid) != CEVT_LPWSTR) return;
    const std::u16string_view text = TextOf(p.val.lpwstr);
    field = text.substr(0, CutLength(text, limit - 1));
  }
  template <class Flag>
  static void ReadFlag(const CEPROPVAL& p, Flag& field) {
    if (PropTypeOf(p.propid) == CEVT_I2) field = Flag(p.val.iVal != 0 ? 1 : 0);
  }
};

TimeFieldsForSummary ReadTimeFields(const PropertyBuffer& props) {
  TimeFieldsForSummary r;
  for (WORD i = 0; i < props.size(); ++i) {
    const CEPROPVAL& p = props[i];
    switch (PropIdOf(p.propid)) {
      case PWH_TIME_DATE: FieldReader::Text(p, r.date, PWH_DATE_LIMIT); break;
      case PWH_TIME_CLIENT: FieldReader::Text(p, r.client, PWH_TEXT_LIMIT); break;
      case PWH_TIME_PROJECT: FieldReader::Text(p, r.project, PWH_TEXT_LIMIT); break;
      case PWH_TIME_SUBPROJECT: FieldReader::Text(p, r.subproject, PWH_TEXT_LIMIT); break;
      case PWH_TIME_TASK: FieldReader::Text(p, r.task, PWH_TEXT_LIMIT); break;
      case PWH_TIME_RATE: FieldReader::Text(p, r.rate, PWH_TEXT_LIMIT); break;
      case PWH_TIME_DURATION: FieldReader::Text(p, r.duration, PWH_DURATION_LIMIT); break;
      case PWH_TIME_NOTES: FieldReader::Text(p, r.notes, PWH_NOTES_LIMIT); break;
      case PWH_TIME_BILLABLE: FieldReader::ReadFlag(p, r.billable); break;
      case PWH_TIME_BILLED: FieldReader::ReadFlag(p, r.billed); break;
      default: break;
    }
  }
  return r;
}

ExpenseFieldsForSummary ReadExpenseFields(const PropertyBuffer& props) {
  ExpenseFieldsForSummary r;
  for (WORD i = 0; i < props.size(); ++i) {
    const CEPROPVAL& p = props[i];
    switch (PropIdOf(p.propid)) {
      case PWH_EXP_DATE: FieldReader::Text(p, r.date, PWH_DATE_LIMIT); break;
      case PWH_EXP_CLIENT: FieldReader::Text(p, r.client, PWH_TEXT_LIMIT); break;
      case PWH_EXP_PROJECT: FieldReader::Text(p, r.project, PWH_TEXT_LIMIT); break;
      case PWH_EXP_DESCRIPTION: FieldReader::Text(p, r.description, PWH_TEXT_LIMIT); break;
      case PWH_EXP_AMOUNT: FieldReader::Text(p, r.amount, PWH_TEXT_LIMIT); break;
      case PWH_EXP_NOTES: FieldReader::Text(p, r.notes, PWH_NOTES_LIMIT); break;
      case PWH_EXP_BILLABLE: FieldReader::ReadFlag(p, r.billable); break;
      case PWH_EXP_BILLED: FieldReader::ReadFlag(p, r.billed); break;
      default: break;
    }
  }
  return r;
}

// Reads the records at the list's positions in list order and hands each
// one's properties to add.
template <class Add>
bool WalkListedRecords(HWND owner, DatabaseHandle& db, const RecordPositionList& list, Add add) {
  PropertyBuffer buffer;
  for (RecordPosition position : list) {
    if (CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) == 0) break;
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) {
      const DWORD error = GetLastError();
      MessageBoxW(owner, Format(u"LoadMainListBox: could not CeReadRecordProps(): error code: (%ld).", long(error)),
                  u"Pennywhistle Db Error", MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    add(buffer);
  }
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  return true;
}

}  // namespace

void AddTimeSummaryEntry(TimeSummary* summary, std::u16string_view client, std::u16string_view project,
                         std::u16string_view subproject, std::u16string_view task, std::int32_t billable,
                         float hours, float rate) {
  if (summary == nullptr) return;
  std::size_t hash = HashText(client);
  for (std::u16string_view text : {project, subproject, task}) Mix(hash, HashText(text));
  Mix(hash, std::size_t(std::uint32_t(billable)));
  Mix(hash, HashRate(rate));
  TimeSummaryEntry& entry = FindOrAppend(
      summary->entries, summary->index, hash,
      [&](const TimeSummaryEntry& e) {
        return e.rate == rate && e.billable == billable && e.client == client && e.project == project &&
               e.subproject == subproject && e.task == task;
      },
      [&] {
        return TimeSummaryEntry{std::u16string(client), std::u16string(project), std::u16string(subproject),
                                std::u16string(task), billable, 0.0f, 0.0f, rate};
      });
  entry.hours += hours;
  if (entry.billable == 1) entry.amount = entry.rate * entry.hours;
}

void AddExpenseSummaryEntry(ExpenseSummary* summary, std::u16string_view client, std::u16string_view project,
                            std::u16string_view description, bool billable, float amount) {
  if (summary == nullptr) return;
  std::size_t hash = HashText(client);
  for (std::u16string_view text : {project, description}) Mix(hash, HashText(text));
  Mix(hash, billable ? 1 : 0);
  ExpenseSummaryEntry& entry = FindOrAppend(
      summary->entries, summary->index, hash,
      [&](const ExpenseSummaryEntry& e) {
        return e.billable == billable && e.client == client && e.project == project && e.description == description;
      },
      [&] {
        return ExpenseSummaryEntry{std::u16string(client), std::u16string(project), std::u16string(description),
                                   billable, 0.0f};
      });
  entry.amount += amount;
}

std::u16string SummaryNoteLine(std::u16string_view date, std::u16string_view note, bool europeanDates) {
  std::u16string shown(date);
  if (europeanDates) AmericanToEuropeanDate(date, &shown);
  std::u16string line;
  line.reserve(shown.size() + note.size() + 4);
  line.append(shown).append(u": \"").append(note).append(u"\"");
  return line;
}

void AddSummaryNote(std::vector<std::u16string>* notes, std::u16string_view date, std::u16string_view note,
                    bool europeanDates) {
  if (notes != nullptr) notes->push_back(SummaryNoteLine(date, note, europeanDates));
}

void SummarizeTimeRecord(TimeSummary* s, const TimeFieldsForSummary& r, bool europeanDates) {
  float hours = 0.0f, rate = 0.0f;
  const bool billable = r.billable == 1;
  if (billable) {
    if (r.rate == u"n/a") {
      ++s->undefinedRateCount;
    } else if (const ScannedNumber& scanned = s->rates.Get(r.rate, ScanDecimal); scanned.fields == 1) {
      rate = scanned.value;
    } else {
      ++s->invalidRateCount;
    }
    if (r.billed != 1) ++s->unbilledCount;
  }
  if (r.duration == u"--:--" || r.duration == u"??:??") {
    ++s->undefinedDurationCount;
  } else {
    if (const ScannedNumber& scanned = s->durations.Get(r.duration, ScanDuration); scanned.fields == 2) {
      hours = float(scanned.minutes) * kHoursPerMinute + float(scanned.hours);
    } else {
      ++s->invalidDurationCount;
    }
  }
  ++s->recordCount;
  s->totalHours += hours;
  if (billable) {
    ++s->billableRecordCount;
    s->billableHours += hours;
    s->billableAmount += hours * rate;
  }
  AddTimeSummaryEntry(s, r.client, r.project, r.subproject, r.task, r.billable, hours, rate);
  if (!r.notes.empty()) AddSummaryNote(&s->notes, r.date, r.notes, europeanDates);
}

void SummarizeExpenseRecord(ExpenseSummary* s, const ExpenseFieldsForSummary& r, bool europeanDates) {
  float amount = 0.0f;
  if (r.billable && !r.billed) ++s->unbilledCount;
  if (r.amount == u"n/a") {
    ++s->undefinedAmountCount;
  } else if (const ScannedNumber& scanned = s->amounts.Get(r.amount, ScanDecimal); scanned.fields == 1) {
    amount = scanned.value;
  } else {
    ++s->invalidAmountCount;
  }
  ++s->recordCount;
  if (r.billable) {
    ++s->billableRecordCount;
    s->billableAmount += amount;
  }
  s->totalAmount += amount;
  AddExpenseSummaryEntry(s, r.client, r.project, r.description, r.billable, amount);
  if (!r.notes.empty()) AddSummaryNote(&s->notes, r.date, r.notes, europeanDates);
}

bool SummarizeTimeRecords(HWND owner, DatabaseHandle& db, const RecordPositionList& list, TimeSummary* summary) {
  if (summary == nullptr) return false;
  const bool european = CurrentListCellFormat().europeanDates;
  return WalkListedRecords(owner, db, list, [&](const PropertyBuffer& props) {
    SummarizeTimeRecord(summary, ReadTimeFields(props), european);
  });
}

bool SummarizeExpenseRecords(HWND owner, DatabaseHandle& db, const RecordPositionList& list,
                             ExpenseSummary* summary) {
  if (summary == nullptr) return false;
  const bool european = CurrentListCellFormat().europeanDates;
  return WalkListedRecords(owner, db, list, [&](const PropertyBuffer& props) {
    SummarizeExpenseRecord(summary, ReadExpenseFields(props), european);
  });
}

}  // namespace pw
