#include "selection/selection.h"

#include <algorithm>
#include <new>

#include "platform/host_port.h"
#include "selection/quick_filter.h"
#include "storage/records.h"
#include "text/date_time.h"
#include "text/fixed_text.h"
#include "text/format.h"

namespace pw {

void ClearDisplayedRecordList(RecordPositionList* list) {
  if (list != nullptr) list->Clear();
}

bool AppendDisplayedRecord(RecordPositionList* list, RecordPosition position) {
  return list != nullptr && list->Append(position);
}

namespace {

// The fields a selection tests, read straight from a record's properties
// with the same rules as filling a cleared record: absent means empty text
// or 0, a property of the wrong type is skipped, texts are cut to their
// field, a flag is 1 when not 0. Texts point into the property buffer.
struct FieldReader {
  static void Text(const CEPROPVAL& p, std::u16string_view& field, std::size_t limit) {
    if (PropTypeOf(p.propid) != CEVT_LPWSTR) return;
    const std::u16string_view text = TextOf(p.val.lpwstr);
    field = text.substr(0, CutLength(text, limit - 1));
  }
  static void Flag(const CEPROPVAL& p, bool& field) {
    if (PropTypeOf(p.propid) == CEVT_I2) field = p.val.iVal != 0;
  }
  static void Int(const CEPROPVAL& p, int& field) {
    if (PropTypeOf(p.propid) == CEVT_I2) field = p.val.iVal;
  }
};

struct TimeFields {
  std::u16string_view date, client, project, subproject, task, currency;
  int billable = 0, billed = 0;  // as stored: set only when 1

  void Read(const PropertyBuffer& props) {
    for (WORD i = 0; i < props.size(); ++i) {
      const CEPROPVAL& p = props[i];
      switch (PropIdOf(p.propid)) {
        case PWH_TIME_DATE: FieldReader::Text(p, date, PWH_DATE_LIMIT); break;
        case PWH_TIME_CLIENT: FieldReader::Text(p, client, PWH_TEXT_LIMIT); break;
        case PWH_TIME_PROJECT: FieldReader::Text(p, project, PWH_TEXT_LIMIT); break;
        case PWH_TIME_SUBPROJECT: FieldReader::Text(p, subproject, PWH_TEXT_LIMIT); break;
        case PWH_TIME_TASK: FieldReader::Text(p, task, PWH_TEXT_LIMIT); break;
        case PWH_TIME_CURRENCY: FieldReader::Text(p, currency, PWH_TEXT_LIMIT); break;
        case PWH_TIME_BILLABLE: FieldReader::Int(p, billable); break;
        case PWH_TIME_BILLED: FieldReader::Int(p, billed); break;
        default: break;
      }
    }
  }
};

struct ExpenseFields {
  std::u16string_view date, client, project, description, paymentType, currency, amount;
  bool mileage = false, billable = false, billed = false, reimbursable = false,
       reimbursed = false, receipt = false;

  void Read(const PropertyBuffer& props) {
    for (WORD i = 0; i < props.size(); ++i) {
      const CEPROPVAL& p = props[i];
      switch (PropIdOf(p.propid)) {
        case PWH_EXP_DATE: FieldReader::Text(p, date, PWH_DATE_LIMIT); break;
        case PWH_EXP_CLIENT: FieldReader::Text(p, client, PWH_TEXT_LIMIT); break;
        case PWH_EXP_PROJECT: FieldReader::Text(p, project, PWH_TEXT_LIMIT); break;
        case PWH_EXP_DESCRIPTION: FieldReader::Text(p, description, PWH_TEXT_LIMIT); break;
        case PWH_EXP_PAYMENT_TYPE: FieldReader::Text(p, paymentType, PWH_TEXT_LIMIT); break;
        case PWH_EXP_CURRENCY: FieldReader::Text(p, currency, PWH_TEXT_LIMIT); break;
        case PWH_EXP_AMOUNT: FieldReader::Text(p, amount, PWH_TEXT_LIMIT); break;
        case PWH_EXP_MILEAGE: FieldReader::Flag(p, mileage); break;
        case PWH_EXP_BILLABLE: FieldReader::Flag(p, billable); break;
        case PWH_EXP_BILLED: FieldReader::Flag(p, billed); break;
        case PWH_EXP_REIMBURSABLE: FieldReader::Flag(p, reimbursable); break;
        case PWH_EXP_REIMBURSED: FieldReader::Flag(p, reimbursed); break;
        case PWH_EXP_RECEIPT: FieldReader::Flag(p, receipt); break;
        default: break;
      }
    }
  }
};

// A text criterion: "--any--" or the whole text, case-sensitive.
class TextTest {
 public:
  explicit TextTest(std::u16string_view criterion)
      : any_(criterion == PWH_ANY), criterion_(criterion) {}
  bool Passes(std::u16string_view field) const { return any_ || field == criterion_; }

 private:
  bool any_;
  std::u16string_view criterion_;
};

// The inclusive date range; both ends are parsed once per walk. Records
// come in date text order, so runs of records share one date text: the
// answer for the last text is kept and reused.
class DateTest {
 public:
  DateTest(std::u16string_view from, std::u16string_view to) {
    from_.ParseDate(from);
    to_.ParseDate(to);
  }
  bool Passes(std::u16string_view dateText) {
    if (lastLength_ >= 0 && dateText == std::u16string_view(last_, std::size_t(lastLength_))) {
      return lastPassed_;
    }
    DateTimeValue date;
    date.ParseDate(dateText);
    lastPassed_ = (date.IsAfter(from_) || date.Equals(from_)) &&
                  (date.IsBefore(to_) || date.Equals(to_));
    // Date fields hold at most PWH_DATE_LIMIT - 1 units.
    if (dateText.size() < std::size(last_)) {
      dateText.copy(last_, dateText.size());
      lastLength_ = int(dateText.size());
    } else {
      lastLength_ = -1;
    }
    return lastPassed_;
  }

 private:
  DateTimeValue from_;
  DateTimeValue to_;
  char16_t last_[PWH_DATE_LIMIT] = {};
  int lastLength_ = -1;  // -1: nothing kept
  bool lastPassed_ = false;
};

// A time billable / billed choice: "--any--", or the word for a set flag (1),
// or the word for a clear one (0). A stored value that is neither passes
// only "--any--".
class ChoiceTest {
 public:
  ChoiceTest(std::u16string_view choice, std::u16string_view setWord, std::u16string_view clearWord)
      : any_(choice == PWH_ANY), passesSet_(choice == setWord), passesClear_(choice == clearWord) {}
  bool Passes(int value) const { return any_ || (value == 1 && passesSet_) || (value == 0 && passesClear_); }

 private:
  bool any_, passesSet_, passesClear_;
};

// A tri-state: 1 wants the flag set, 0 clear, anything else either.
bool TriStatePasses(int tri, bool flag) {
  if (tri == PWH_TRI_YES) return flag;
  if (tri == PWH_TRI_NO) return !flag;
  return true;
}

// A flag with its follow-up (billable and billed, reimbursable and
// reimbursed): the follow-up counts only when the first must be set.
bool PairPasses(int tri, bool flag, int followTri, bool followFlag) {
  if (tri == PWH_TRI_YES) return flag && TriStatePasses(followTri, followFlag);
  if (tri == PWH_TRI_NO) return !flag;
  return true;
}

bool AmountPasses(float criterion, int comparison, std::u16string_view amountText) {
  if (criterion == PWH_ANY_AMOUNT) return true;
  float amount = 0.0f;
  if (ScanFloat(amountText, &amount) != 1) amount = 0.0f;
  switch (comparison) {
    case PWH_AMOUNT_LESS: return amount < criterion;
    case PWH_AMOUNT_GREATER: return amount > criterion;
    case PWH_AMOUNT_EQUAL: return amount == criterion;
    default: return false;
  }
}

// Walks db from position 0 and appends the position of every record that
// passes(buffer) to list.
template <class Passes>
bool MatchRecords(RecordPositionList* list, DatabaseHandle& db, RecordPosition first, RecordPosition last,
                  Passes passes) {
  if (list == nullptr) return false;
  PropertyBuffer buffer;
  RecordPosition position = first;
  for (CEOID oid = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr); oid != 0 && position < last;
       oid = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, ++position, nullptr)) {
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) return false;
    // A record that cannot be appended is left out; the walk goes on.
    if (passes(buffer)) AppendDisplayedRecord(list, position);
  }
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  return true;
}

// Where a record's date stands against a date: -1 before it, 0 on it, 1
// after it or not a valid date (those sort after every valid one). False
// when the record cannot be read.
bool CompareDateAt(DatabaseHandle& db, RecordPosition position, WORD dateProp, const DateTimeValue& date,
                   PropertyBuffer& buffer, int* order) {
  if (CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) == 0 ||
      CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0)
    return false;
  std::u16string_view text;
  for (WORD i = 0; i < buffer.size(); ++i)
    if (PropIdOf(buffer[i].propid) == dateProp) FieldReader::Text(buffer[i], text, PWH_DATE_LIMIT);
  DateTimeValue value;
  *order = !value.ParseDate(text) || value.IsAfter(date) ? 1 : value.Equals(date) ? 0 : -1;
  return true;
}

// The positions [*first, *last) that can hold records dated from `from` to
// `to`. A record database open in the calendar order of its dates keeps
// those together, so halving finds them; any other database, dates that
// are not valid, or a record that cannot be read leave every position.
void DatedPositions(DatabaseHandle& db, WORD dateProp, std::u16string_view fromText, std::u16string_view toText,
                    RecordPosition* first, RecordPosition* last) {
  *first = 0;
  *last = RecordPosition(DatabaseRecordCount(db));
  DateTimeValue from, to;
  CEOIDINFO info;
  if (!from.ParseDate(fromText) || !to.ParseDate(toText) || !db.IsSorted() ||
      !CeOidGetInfo(db.DatabaseOid(), &info) || info.sortFlags != CEDB_SORT_CALENDARDATE ||
      PropIdOf(info.sortProperty) != dateProp)
    return;
  PropertyBuffer buffer;
  // The first position whose date is not before `date` (orderBefore -1) or
  // not on or before it (orderBefore 0).
  const auto firstNot = [&](const DateTimeValue& date, int orderBefore, RecordPosition* found) {
    RecordPosition low = 0, high = *last;
    while (low < high) {
      const RecordPosition middle = low + (high - low) / 2;
      int order;
      if (!CompareDateAt(db, middle, dateProp, date, buffer, &order)) return false;
      if (order <= orderBefore) low = middle + 1;
      else high = middle;
    }
    *found = low;
    return true;
  };
  RecordPosition begin, end;
  if (!firstNot(from, -1, &begin) || !firstNot(to, 0, &end)) return;
  *first = begin;
  *last = std::max(begin, end);
}

}  // namespace

bool MatchTimeRecords(RecordPositionList* list, DatabaseHandle& db,
                      const TimeSelectionCriteria& c) {
  DateTest dates(c.from, c.to);
  const TextTest client(c.client), project(c.project), subproject(c.subproject), task(c.task),
      currency(c.currency);
  const ChoiceTest billable(c.billable, PWH_CHOICE_BILLABLE, PWH_CHOICE_NOT_BILLABLE);
  const ChoiceTest billed(c.billed, PWH_CHOICE_BILLED, PWH_CHOICE_NOT_BILLED);
  RecordPosition first, last;
  DatedPositions(db, PWH_TIME_DATE, c.from, c.to, &first, &last);
  return MatchRecords(list, db, first, last, [&](const PropertyBuffer& props) {
    TimeFields r;
    r.Read(props);
    return dates.Passes(r.date) && client.Passes(r.client) && project.Passes(r.project) &&
           subproject.Passes(r.subproject) && task.Passes(r.task) &&
           currency.Passes(r.currency) && billable.Passes(r.billable) && billed.Passes(r.billed);
  });
}

bool MatchExpenseRecords(RecordPositionList* list, DatabaseHandle& db,
                         const ExpenseSelectionCriteria& c) {
  DateTest dates(c.from, c.to);
  const TextTest client(c.client), project(c.project), description(c.description),
      paymentType(c.paymentType), currency(c.currency);
  RecordPosition first, last;
  DatedPositions(db, PWH_EXP_DATE, c.from, c.to, &first, &last);
  return MatchRecords(list, db, first, last, [&](const PropertyBuffer& props) {
    ExpenseFields r;
    r.Read(props);
    return dates.Passes(r.date) && client.Passes(r.client) && project.Passes(r.project) &&
           description.Passes(r.description) && paymentType.Passes(r.paymentType) &&
           currency.Passes(r.currency) && AmountPasses(c.amount, c.comparison, r.amount) &&
           TriStatePasses(c.mileage, r.mileage) &&
           PairPasses(c.billable, r.billable, c.billed, r.billed) &&
           PairPasses(c.reimbursable, r.reimbursable, c.reimbursed, r.reimbursed) &&
           TriStatePasses(c.receipt, r.receipt);
  });
}

bool ComputeTabDateRange(int tab, std::u16string* from, std::u16string* to) {
  if (from == nullptr || to == nullptr) return false;
  switch (tab) {
    case PWH_TAB_TODAY: return TodayText(from) && TodayText(to);
    case PWH_TAB_7_DAYS: return DaysBeforeTodayText(from, 7) && TodayText(to);
    case PWH_TAB_14_DAYS: return DaysBeforeTodayText(from, 14) && TodayText(to);
    case PWH_TAB_MONTH: return FirstOfMonthText(from) && LastOfMonthText(to);
    default: return false;
  }
}

void SelectAllTab(RecordSelection& selection) {
  // The values first: selecting the tab may come back here through the
  // tab control's change notice, which then finds the tab already applied.
  selection.RecordSetMode = PWH_ALL_REC_MODE;
  selection.ActiveDateTab = PWH_TAB_ALL;
  selection.AppliedFrom.clear(), selection.AppliedTo.clear();
  Host().SelectDateTab(PWH_TAB_ALL);
}

void ApplyDateTab(RecordSelection& selection, RecordDatabases& databases) {
  ApplyDateTabRange(selection, databases);
  selection.FindResult = false;
  RebaseQuickFilter(selection, databases);
}

void ApplyDateTabRange(RecordSelection& selection, RecordDatabases& databases) {
  const int tab = Host().SelectedDateTab();
  RecordPositionList& shown = selection.DisplayedRecordList;
  shown.Clear();
  if (tab == PWH_TAB_ALL) {
    SelectAllTab(selection);
    return;
  }
  if (tab < PWH_TAB_TODAY || tab > PWH_TAB_MONTH) return;  // no tab selected
  selection.RecordSetMode = PWH_SELECT_REC_MODE;
  selection.ActiveDateTab = tab;
  std::u16string from, to;
  ComputeTabDateRange(tab, &from, &to);
  selection.AppliedFrom = from, selection.AppliedTo = to;
  if (!databases.TimeMode()) {
    ExpenseSelectionCriteria criteria;
    criteria.from = from;
    criteria.to = to;
    MatchExpenseRecords(&shown, databases.ExpenseDatabase, criteria);
  } else {
    TimeSelectionCriteria criteria;
    criteria.from = from;
    criteria.to = to;
    MatchTimeRecords(&shown, databases.TimeDatabase, criteria);
  }
}

}  // namespace pw
