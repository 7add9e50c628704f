#include "views/report_summary.h"

#include <bit>
#include <iterator>
#include <functional>

#include "platform/error_codes.h"
#include "platform/host_port.h"
#include "storage/record_fields.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "text/time_text.h"
#include "views/list_cells.h"

namespace pw {

namespace {

void Mix(std::size_t& seed, std::size_t value) {
  seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

std::size_t HashText(std::u16string_view text) { return std::hash<std::u16string_view>{}(text); }

// Equal floats must hash alike: 0 and -0 are one rate.
std::size_t HashRate(float rate) { return rate == 0.0f ? 0 : std::bit_cast<std::uint32_t>(rate); }

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

// The fields a summary uses, read straight from a record's properties by
// the rules of filling a cleared record (a missing property is empty text or
// 0); the texts point into the property buffer.
// The fields a summary reads; the others are not looked at.
constexpr FieldIdSet kTimeSummaryFields =
    FieldIds({PWH_TIME_DATE, PWH_TIME_CLIENT, PWH_TIME_PROJECT, PWH_TIME_SUBPROJECT, PWH_TIME_TASK, PWH_TIME_RATE,
              PWH_TIME_DURATION, PWH_TIME_NOTES, PWH_TIME_BILLABLE, PWH_TIME_BILLED});
constexpr FieldIdSet kExpenseSummaryFields =
    FieldIds({PWH_EXP_DATE, PWH_EXP_CLIENT, PWH_EXP_PROJECT, PWH_EXP_DESCRIPTION, PWH_EXP_AMOUNT, PWH_EXP_NOTES,
              PWH_EXP_BILLABLE, PWH_EXP_BILLED});

TimeFieldsForSummary ReadTimeFields(const PropertyBuffer& props) {
  TimeFieldsForSummary r;
  ReadFieldProps<TimeRecord>(props.data(), props.size(), [&](const RecordField<TimeRecord>& f, const FieldValue& v) {
    switch (f.id) {
      case PWH_TIME_DATE: r.date = v.text; break;
      case PWH_TIME_CLIENT: r.client = v.text; break;
      case PWH_TIME_PROJECT: r.project = v.text; break;
      case PWH_TIME_SUBPROJECT: r.subproject = v.text; break;
      case PWH_TIME_TASK: r.task = v.text; break;
      case PWH_TIME_RATE: r.rate = v.text; break;
      case PWH_TIME_DURATION: r.duration = v.text; break;
      case PWH_TIME_NOTES: r.notes = v.text; break;
      case PWH_TIME_BILLABLE: r.billable = v.number; break;
      case PWH_TIME_BILLED: r.billed = v.number; break;
      default: break;
    }
  }, &kTimeSummaryFields);
  return r;
}

ExpenseFieldsForSummary ReadExpenseFields(const PropertyBuffer& props) {
  ExpenseFieldsForSummary r;
  ReadFieldProps<ExpenseRecord>(props.data(), props.size(), [&](const RecordField<ExpenseRecord>& f, const FieldValue& v) {
    switch (f.id) {
      case PWH_EXP_DATE: r.date = v.text; break;
      case PWH_EXP_CLIENT: r.client = v.text; break;
      case PWH_EXP_PROJECT: r.project = v.text; break;
      case PWH_EXP_DESCRIPTION: r.description = v.text; break;
      case PWH_EXP_AMOUNT: r.amount = v.text; break;
      case PWH_EXP_NOTES: r.notes = v.text; break;
      case PWH_EXP_BILLABLE: r.billable = v.number != 0; break;
      case PWH_EXP_BILLED: r.billed = v.number != 0; break;
      default: break;
    }
  }, &kExpenseSummaryFields);
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
  const bool billable = r.billable == 1;
  const TimeRecordNumbers n = ReadTimeRecordNumbers(s->rates, s->durations, r.rate, r.duration, r.billable);
  s->undefinedRateCount += n.undefinedRate;
  s->invalidRateCount += n.invalidRate;
  s->undefinedDurationCount += n.undefinedDuration;
  s->invalidDurationCount += n.invalidDuration;
  if (billable && r.billed != 1) ++s->unbilledCount;
  const float hours = n.hours, rate = n.rate;
  ++s->recordCount;
  s->totalHours += hours;
  if (billable) {
    ++s->billableRecordCount;
    s->billableHours += hours;
    s->billableAmount += hours * rate;
  }
  AddTimeSummaryEntry(s, r.client, r.project, r.subproject, r.task, r.billable, hours, rate);
  s->months.Add(r.date, billable, hours);
  if (!r.notes.empty()) AddSummaryNote(&s->notes, r.date, r.notes, europeanDates);
}

void SummarizeExpenseRecord(ExpenseSummary* s, const ExpenseFieldsForSummary& r, bool europeanDates) {
  if (r.billable && !r.billed) ++s->unbilledCount;
  const ExpenseRecordNumbers n = ReadExpenseRecordNumbers(s->amounts, r.amount);
  s->undefinedAmountCount += n.undefinedAmount;
  s->invalidAmountCount += n.invalidAmount;
  const float amount = n.amount;
  ++s->recordCount;
  if (r.billable) {
    ++s->billableRecordCount;
    s->billableAmount += amount;
  }
  s->totalAmount += amount;
  AddExpenseSummaryEntry(s, r.client, r.project, r.description, r.billable, amount);
  s->months.Add(r.date, r.billable, amount);
  if (!r.notes.empty()) AddSummaryNote(&s->notes, r.date, r.notes, europeanDates);
}

bool SummarizeTimeRecords(HWND owner, DatabaseHandle& db, const RecordPositionList& list, bool european,
                          TimeSummary* summary) {
  if (summary == nullptr) return false;
  return WalkListedRecords(owner, db, list, [&](const PropertyBuffer& props) {
    SummarizeTimeRecord(summary, ReadTimeFields(props), european);
  });
}

bool SummarizeExpenseRecords(HWND owner, DatabaseHandle& db, const RecordPositionList& list, bool european,
                             ExpenseSummary* summary) {
  if (summary == nullptr) return false;
  return WalkListedRecords(owner, db, list, [&](const PropertyBuffer& props) {
    SummarizeExpenseRecord(summary, ReadExpenseFields(props), european);
  });
}

}  // namespace pw
