// Which records the views show and the multi-record commands act on: every
// record of the current database, or the positions that a date tab or a Find
// selected, in ascending order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/object_store.h"
#include "storage/record_databases.h"
#include "storage/record_numbers.h"
#include "storage/record_store.h"

namespace pw {

// The date-range tabs, in their order on the tab control.
enum : int {
  PWH_TAB_TODAY = 0,
  PWH_TAB_7_DAYS = 1,
  PWH_TAB_14_DAYS = 2,
  PWH_TAB_MONTH = 3,
  PWH_TAB_ALL = 4,
  PWH_DATE_TAB_COUNT = 5,
};

// The one wildcard of the text and choice criteria.
inline constexpr std::u16string_view PWH_ANY = u"--any--";

// Choices of the time billable / billed criteria.
inline constexpr std::u16string_view PWH_CHOICE_BILLABLE = u"billable";
inline constexpr std::u16string_view PWH_CHOICE_NOT_BILLABLE = u"not billable";
inline constexpr std::u16string_view PWH_CHOICE_BILLED = u"billed";
inline constexpr std::u16string_view PWH_CHOICE_NOT_BILLED = u"not billed";

// Tri-state of the expense flag criteria.
enum : int { PWH_TRI_NO = 0, PWH_TRI_YES = 1, PWH_TRI_EITHER = 2 };

// Amount comparison of the expense criteria; the amount -1.0 means none.
enum : int { PWH_AMOUNT_LESS = 1, PWH_AMOUNT_GREATER = 2, PWH_AMOUNT_EQUAL = 3 };
inline constexpr float PWH_ANY_AMOUNT = -1.0f;

// The quick filter typed over the shown records, and what it narrows: the
// set a date tab or a Find made (its "base"), with the folded texts of its
// records once they were needed (selection/quick_filter.h).
struct QuickFilterState {
  std::u16string folded;  // the typed text, folded; empty: no filter
  int baseSetMode = PWH_SELECT_REC_MODE;
  RecordPositionList base;
  // One run of folded texts per base record: record i is
  // texts[starts[i] .. starts[i + 1]). Valid while textsReady.
  bool textsReady = false;
  std::u16string texts;
  std::vector<std::uint32_t> starts;
  // Each base record's share of the totals shown (views/record_totals.h),
  // read in the same walk, of time records or of expense records.
  std::vector<TotalsShare> shares;
  bool sharesTime = true;
  // The last needle and the base records it matched (indices into starts),
  // so that a longer needle only searches those.
  std::u16string lastNeedle;
  std::vector<std::uint32_t> lastMatches;
};

// Which records the views show: every record, or the positions a date tab
// or a Find selected, narrowed by the quick filter.
struct RecordSelection {
  // PWH_ALL_REC_MODE or PWH_SELECT_REC_MODE; starts as PWH_SELECT_REC_MODE.
  int RecordSetMode = PWH_SELECT_REC_MODE;
  // The positions shown in PWH_SELECT_REC_MODE.
  RecordPositionList DisplayedRecordList;
  // The tab whose range was applied last (0 to 4), and that range (American
  // date texts; empty for "All"): a dated tab applied on another day shows
  // another range when applied again.
  int ActiveDateTab = PWH_TAB_TODAY;
  std::u16string AppliedFrom, AppliedTo;
  // Set by a Find, cleared when a date tab is applied.
  bool FindResult = false;
  QuickFilterState Filter;
};

// Null lists are ignored (Append returns false).
void ClearDisplayedRecordList(RecordPositionList* list);
bool AppendDisplayedRecord(RecordPositionList* list, RecordPosition position);

// Rebuilds DisplayedRecordList and RecordSetMode for the tab selected on the
// tab control, from the current database. With no tab selected the list is
// left empty and the mode unchanged. A Find result ends; the quick filter,
// when one is typed, narrows the tab's records.
void ApplyDateTab(RecordSelection& selection, RecordDatabases& databases);
// The same without the quick filter and without ending a Find result.
void ApplyDateTabRange(RecordSelection& selection, RecordDatabases& databases);
// Selects the "All" tab: every record is shown.
void SelectAllTab(RecordSelection& selection);
// American date texts of a tab's range (0 to 3); false for any other tab
// or a null out.
bool ComputeTabDateRange(int tab, std::u16string* from, std::u16string* to);

// Texts are compared whole and case-sensitively; PWH_ANY matches anything.
// The dates are American date texts and always apply, both ends included.
struct TimeSelectionCriteria {
  std::u16string client{PWH_ANY};
  std::u16string project{PWH_ANY};
  std::u16string subproject{PWH_ANY};
  std::u16string task{PWH_ANY};
  std::u16string currency{PWH_ANY};
  std::u16string billable{PWH_ANY};  // "billable", "not billable" or "--any--"
  std::u16string billed{PWH_ANY};    // "billed", "not billed" or "--any--"
  std::u16string from{};
  std::u16string to{};
};

struct ExpenseSelectionCriteria {
  std::u16string client{PWH_ANY};
  std::u16string project{PWH_ANY};
  std::u16string description{PWH_ANY};
  std::u16string paymentType{PWH_ANY};
  std::u16string currency{PWH_ANY};
  float amount = PWH_ANY_AMOUNT;
  int comparison = PWH_AMOUNT_EQUAL;
  // Tri-states. billed only counts when billable is PWH_TRI_YES, reimbursed
  // only when reimbursable is PWH_TRI_YES.
  int mileage = PWH_TRI_EITHER;
  int billable = PWH_TRI_EITHER;
  int billed = PWH_TRI_EITHER;
  int reimbursable = PWH_TRI_EITHER;
  int reimbursed = PWH_TRI_EITHER;
  int receipt = PWH_TRI_EITHER;
  std::u16string from{};
  std::u16string to{};
};

// Walk the database from position 0 and append the positions of the
// matching records to list. False when a record could not be read (the
// positions found before it stay in the list). Leaves the database at
// position 0 after a complete walk.
bool MatchTimeRecords(RecordPositionList* list, DatabaseHandle& db,
                      const TimeSelectionCriteria& criteria);
bool MatchExpenseRecords(RecordPositionList* list, DatabaseHandle& db,
                         const ExpenseSelectionCriteria& criteria);

}  // namespace pw
