// The numbers of a record as the report and the totals read them: hours
// from its duration text, its rate, an expense's amount. Each distinct text
// is scanned once per NumberScans.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/object_store.h"

namespace pw {

// Numbers scanned from record texts, each distinct text once: rates, hours
// and amounts repeat across records, and a summary of many records would
// otherwise spend much of its time in the scanner.
struct ScannedNumber {
  int fields = 0;  // what the scan returned
  float value = 0.0f;
  int hours = 0, minutes = 0;
};
class NumberScans {
 public:
  // The scan of `text` by `scan(text, &result)`, made only the first time
  // `text` is seen.
  template <class Scan>
  const ScannedNumber& Get(std::u16string_view text, Scan&& scan) {
    // Records in a row mostly repeat the text before.
    if (hasLast_ && text == lastText_) return last_;
    if (const auto found = seen_.find(text); found != seen_.end()) {
      last_ = found->second;
    } else {
      ScannedNumber result;
      scan(text, &result);
      last_ = result;
      // A text that is new every time is not worth keeping.
      if (seen_.size() < kMostKept) seen_.emplace(std::u16string(text), last_);
    }
    lastText_.assign(text);
    hasLast_ = true;
    return last_;
  }

 private:
  static constexpr std::size_t kMostKept = 4096;
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>{}(text); }
  };
  std::unordered_map<std::u16string, ScannedNumber, Hash, std::equal_to<>> seen_;
  bool hasLast_ = false;
  std::u16string lastText_;
  ScannedNumber last_;  // the scan of lastText_
};

// What one record's number texts come to, read as the report reads them:
// hours from "h:mm" (0 for "--:--", "??:??" or text that does not scan),
// the rate only of a billable record (billable == 1; 0 for "n/a" or text
// that does not scan), an expense amount (0 likewise). Each distinct text is
// scanned once per NumberScans.
struct TimeRecordNumbers {
  float hours = 0.0f;
  float rate = 0.0f;
  bool undefinedDuration = false, invalidDuration = false, undefinedRate = false, invalidRate = false;
};
struct ExpenseRecordNumbers {
  float amount = 0.0f;
  bool undefinedAmount = false, invalidAmount = false;
};
TimeRecordNumbers ReadTimeRecordNumbers(NumberScans& rates, NumberScans& durations, std::u16string_view rate,
                                        std::u16string_view duration, std::int32_t billable);
ExpenseRecordNumbers ReadExpenseRecordNumbers(NumberScans& amounts, std::u16string_view amount);

// What one record adds to the totals of the records shown: a time record its
// hours and, when billable (billable == 1), its hours x rate; an expense
// record its amount and, when reimbursable, its amount again.
struct TotalsShare {
  float all = 0.0f;
  float flagged = 0.0f;
};

// The fields a share is read from (time or expense records), for reading
// only those from the store.
const PropertyIdSet& TotalsFields(bool time);

// Reads records' shares, keeping the scans of the texts seen.
class TotalsShareReader {
 public:
  TotalsShare Time(std::u16string_view duration, std::u16string_view rate, std::int32_t billable);
  TotalsShare Expense(std::u16string_view amount, bool reimbursable);
  // A record of the given kind from its properties; a missing property
  // counts as empty text or 0, as in a cleared record.
  TotalsShare Read(bool time, const PropertyBuffer& props);

 private:
  NumberScans rates_, durations_, amounts_;
};

}  // namespace pw
