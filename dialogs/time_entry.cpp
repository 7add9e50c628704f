#include "dialogs/time_entry.h"

#include <iterator>

#include "text/fixed_text.h"
#include "text/format.h"
#include "text/time_text.h"

namespace pw {
namespace {

//                                  fromRecord recordDate startNow editPickers clearOnCancel noEnd
constexpr TimeEntryMode kModes[] = {
    /* 1 new */                     {false, false, false, false, true, false},
    /* 2 edit */                    {true, true, false, true, false, false},
    /* 3 new from default */        {true, false, false, true, false, false},
    /* 4 subsequent */              {false, false, true, false, true, false},
    /* 5 subsequent from default */ {true, false, true, true, false, false},
    /* 6 timer */                   {false, false, true, false, true, true},
    /* 7 timer from default */      {true, false, true, true, false, true},
};

// "%f" reading: text that does not scan counts as 0.
float NumberOf(std::u16string_view text) {
  float value = 0;
  if (ScanFloat(text, &value) != 1) value = 0;
  return value;
}

std::u16string Money(float value) { return Format(u"%.2f", value); }

}  // namespace

const TimeEntryMode* FindTimeEntryMode(int mode) {
  return mode >= 1 && mode <= int(std::size(kModes)) ? &kModes[mode - 1] : nullptr;
}

AmountAndRate RecomputeAmountAndRate(std::u16string_view amount, std::u16string_view rate,
                                     std::u16string_view duration) {
  const float amountValue = NumberOf(amount);
  const float rateValue = NumberOf(rate);
  const float hours = TimeTextToHours(duration);
  if (hours == 0) return {};
  if (rateValue != 0) return {Money(hours * rateValue), std::u16string(rate)};
  if (amountValue != 0) return {std::u16string(amount), Money(amountValue / hours)};
  return {std::u16string(amount), std::u16string(rate)};
}

std::optional<std::u16string> RateForAmount(std::u16string_view amount, std::u16string_view duration) {
  const float hours = TimeTextToHours(duration);
  if (hours == 0) return std::nullopt;
  return Money(NumberOf(amount) / hours);
}

std::optional<std::u16string> AmountForRate(std::u16string_view rate, std::u16string_view duration) {
  const float hours = TimeTextToHours(duration);
  if (hours == 0) return std::nullopt;
  return Money(hours * NumberOf(rate));
}

bool HasDuration(std::u16string_view duration) {
  int h = 0, m = 0;
  return ScanTwoInts(duration, "%d:%d", &h, &m) == 2;
}

std::optional<std::u16string> SubtractBreak(std::u16string_view duration, std::u16string_view brk) {
  int h = 0, m = 0, bh = 0, bm = 0;
  if (ScanTwoInts(duration, "%d:%d", &h, &m) != 2 || ScanTwoInts(brk, "%d:%d", &bh, &bm) != 2) {
    return std::nullopt;
  }
  int rh = 0, rm = 0;
  SubtractTimes(h, m, bh, bm, &rh, &rm);
  return Format(u"%02d:%02d", rh, rm);
}

void TakePulldownValues(HWND owner, DatabaseHandle& db, TimeRecord& record,
                        const std::array<std::u16string, TimeEntryPulldowns.size()>& texts, bool ask) {
  std::array<PulldownValue, TimeEntryPulldowns.size()> values;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const TimeEntryPulldown& box = TimeEntryPulldowns[i];
    CopyText(record.*box.field, texts[i]);
    values[i] = {box.categoryId, TextOf(record.*box.field)};
  }
  OfferNewPulldownValues(owner, db, values, ask);
}

}  // namespace pw
