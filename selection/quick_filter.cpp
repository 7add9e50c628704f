#include "selection/quick_filter.h"

#include <algorithm>

#include "storage/record_fields.h"
#include "text/search_fold.h"

namespace pw {

namespace {

// Separates the texts in the folded runs; no folded needle holds it, so no
// match spans two texts or two records.
constexpr char16_t kTextEnd = u'\x01';

constexpr FieldIdSet kTimeFilterFields =
    FieldIds({PWH_TIME_CLIENT, PWH_TIME_PROJECT, PWH_TIME_SUBPROJECT, PWH_TIME_TASK, PWH_TIME_NOTES});
constexpr FieldIdSet kExpenseFilterFields = FieldIds({PWH_EXP_CLIENT, PWH_EXP_PROJECT, PWH_EXP_DESCRIPTION,
                                                      PWH_EXP_PAYMENT_TYPE, PWH_EXP_CURRENCY, PWH_EXP_NOTES});

template <class Record>
void AppendRecordTexts(QuickFilterState& f, const PropertyBuffer& props, const FieldIdSet& fields,
                       TotalsShareReader& shares) {
  ReadFieldProps<Record>(props.data(), props.size(), [&](const RecordField<Record>&, const FieldValue& v) {
    AppendSearchFolded(&f.texts, v.text);
    f.texts.push_back(kTextEnd);
  }, &fields);
  f.starts.push_back(std::uint32_t(f.texts.size()));
  f.shares.push_back(shares.Read(f.sharesTime, props));
}

bool ReadTexts(QuickFilterState& f, RecordDatabases& databases) {
  if (f.textsReady) return true;
  f.texts.clear();
  f.starts.assign(1, 0);
  f.shares.clear();
  f.lastNeedle.clear();
  f.lastMatches.clear();
  DatabaseHandle& db = databases.CurrentDatabase();
  const bool time = databases.TimeMode();
  f.sharesTime = time;
  TotalsShareReader shares;
  PropertyBuffer buffer;
  bool read = true;
  auto visit = [&](RecordPosition position) {
    if (CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) == 0) return false;
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) return read = false;
    if (time)
      AppendRecordTexts<TimeRecord>(f, buffer, kTimeFilterFields, shares);
    else
      AppendRecordTexts<ExpenseRecord>(f, buffer, kExpenseFilterFields, shares);
    return true;
  };
  if (f.baseSetMode == PWH_ALL_REC_MODE) {
    for (RecordPosition p = 0; visit(p); ++p) {
    }
  } else {
    for (RecordPosition p : f.base)
      if (!visit(p)) break;
  }
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  f.textsReady = read;
  return read;
}

// The base records (indices) whose texts hold needle: every one, or only
// those of `within`.
std::vector<std::uint32_t> Match(const QuickFilterState& f, std::u16string_view needle,
                                 const std::vector<std::uint32_t>* within) {
  std::vector<std::uint32_t> found;
  const std::u16string_view texts(f.texts);
  const std::size_t records = f.starts.size() - 1;
  if (within) {
    for (const std::uint32_t i : *within) {
      if (texts.substr(f.starts[i], f.starts[i + 1] - f.starts[i]).find(needle) != std::u16string_view::npos)
        found.push_back(i);
    }
    return found;
  }
  // One search through every text; a hit moves on to the next record.
  std::size_t at = 0;
  while ((at = texts.find(needle, at)) != std::u16string_view::npos) {
    const auto next = std::upper_bound(f.starts.begin(), f.starts.end(), std::uint32_t(at));
    const std::uint32_t record = std::uint32_t(next - f.starts.begin() - 1);
    if (record >= records) break;
    found.push_back(record);
    at = *next;
  }
  return found;
}

void ShowBase(RecordSelection& s) {
  s.RecordSetMode = s.Filter.baseSetMode;
  s.DisplayedRecordList = s.Filter.base;
}

bool Narrow(RecordSelection& s, RecordDatabases& databases) {
  QuickFilterState& f = s.Filter;
  if (f.folded.empty()) {
    ShowBase(s);
    return true;
  }
  if (!ReadTexts(f, databases)) {
    ShowBase(s);
    return false;
  }
  const bool longer = !f.lastNeedle.empty() && f.folded.find(f.lastNeedle) != std::u16string::npos;
  std::vector<std::uint32_t> matches = Match(f, f.folded, longer ? &f.lastMatches : nullptr);
  RecordPositionList shown;
  for (const std::uint32_t i : matches)
    shown.Append(f.baseSetMode == PWH_ALL_REC_MODE ? RecordPosition(i) : f.base[i]);
  s.RecordSetMode = PWH_SELECT_REC_MODE;
  s.DisplayedRecordList = std::move(shown);
  f.lastNeedle = f.folded;
  f.lastMatches = std::move(matches);
  return true;
}

}  // namespace

void ForgetQuickFilterTexts(RecordSelection& s) {
  QuickFilterState& f = s.Filter;
  f.textsReady = false;
  f.texts.clear();
  f.starts.clear();
  f.shares.clear();
  f.lastNeedle.clear();
  f.lastMatches.clear();
}

bool RebaseQuickFilter(RecordSelection& s, RecordDatabases& databases) {
  QuickFilterState& f = s.Filter;
  f.baseSetMode = s.RecordSetMode;
  f.base = s.RecordSetMode == PWH_ALL_REC_MODE ? RecordPositionList() : s.DisplayedRecordList;
  ForgetQuickFilterTexts(s);
  return Narrow(s, databases);
}

bool SetQuickFilter(RecordSelection& s, RecordDatabases& databases, std::u16string_view typed) {
  s.Filter.folded = SearchFolded(typed);
  return Narrow(s, databases);
}

bool PrepareQuickFilter(RecordSelection& s, RecordDatabases& databases) { return ReadTexts(s.Filter, databases); }

bool NarrowingInForce(const RecordSelection& s) { return s.FindResult || !s.Filter.folded.empty(); }

std::int64_t UnnarrowedCount(const RecordSelection& s, DatabaseHandle& db) {
  const QuickFilterState& f = s.Filter;
  if (f.folded.empty() || f.baseSetMode == PWH_ALL_REC_MODE) return std::int64_t(DatabaseRecordCount(db));
  return std::int64_t(f.base.count());
}

}  // namespace pw
