#include "views/report_charts.h"

#include <algorithm>
#include <numeric>

#include "text/date_time.h"
#include "text/format.h"
#include "views/report_summary.h"

namespace pw {

namespace {

void AddTo(ChartBar& bar, bool billable, float value) {
  if (billable) bar.billable += value;
  else bar.nonBillable += value;
}

float Total(const ChartBar& bar) { return bar.billable + bar.nonBillable; }

// One bar per client in order of first appearance, then the largest first
// (equal totals keep that order); past PWH_CHART_MOST_CLIENTS the smallest
// share one bar.
template <class Entries, class Part>
std::vector<ChartBar> ClientBars(const Entries& entries, Part part) {
  std::vector<ChartBar> bars;
  std::unordered_map<std::u16string_view, std::size_t> slots;
  for (const auto& entry : entries) {
    const auto [slot, fresh] = slots.try_emplace(entry.client, bars.size());
    if (fresh) bars.push_back(ChartBar{entry.client.empty() ? std::u16string(PWH_CHART_NO_CLIENT) : entry.client});
    const auto [billable, value] = part(entry);
    AddTo(bars[slot->second], billable, value);
  }
  std::stable_sort(bars.begin(), bars.end(), [](const ChartBar& a, const ChartBar& b) { return Total(a) > Total(b); });
  if (bars.size() > PWH_CHART_MOST_CLIENTS) {
    ChartBar other{std::u16string(PWH_CHART_OTHER_CLIENTS)};
    for (std::size_t i = PWH_CHART_MOST_CLIENTS - 1; i < bars.size(); ++i) {
      other.billable += bars[i].billable;
      other.nonBillable += bars[i].nonBillable;
    }
    bars.resize(PWH_CHART_MOST_CLIENTS - 1);
    bars.push_back(std::move(other));
  }
  return bars;
}

}  // namespace

void MonthTally::Add(std::u16string_view date, bool billable, float value) {
  if (lastSlot_ == UINT32_MAX || date != lastDate_) {
    DateTimeValue parsed;
    const std::int32_t key = parsed.ParseDate(date) ? parsed.year * 12 + parsed.month - 1 : kNoDate;
    const auto [slot, fresh] = slots_.try_emplace(key, std::uint32_t(bars_.size()));
    if (fresh) {
      keys_.push_back(key);
      bars_.emplace_back();
    }
    lastDate_.assign(date);
    lastSlot_ = slot->second;
  }
  AddTo(bars_[lastSlot_], billable, value);
}

std::vector<ChartBar> MonthTally::Bars() const {
  std::vector<std::size_t> order(keys_.size());
  std::iota(order.begin(), order.end(), std::size_t(0));
  // The undated bar (the only negative key) goes last.
  std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return std::uint32_t(keys_[a]) < std::uint32_t(keys_[b]);
  });
  std::vector<ChartBar> bars;
  const auto label = [](std::int32_t key) { return Format(u"%02d/%d", key % 12 + 1, key / 12); };
  std::int32_t previous = kNoDate;
  bool fill = false;
  if (!order.empty() && keys_[order.front()] != kNoDate) {
    std::int32_t last = keys_[order.back()];
    if (last == kNoDate && order.size() > 1) last = keys_[order[order.size() - 2]];
    fill = last - keys_[order.front()] < PWH_CHART_MOST_FILLED_MONTHS;
  }
  for (std::size_t i : order) {
    const std::int32_t key = keys_[i];
    if (key == kNoDate) {
      bars.push_back(bars_[i]);
      bars.back().label = std::u16string(PWH_CHART_NO_DATE);
      continue;
    }
    if (fill && previous != kNoDate) {
      for (std::int32_t gap = previous + 1; gap < key; ++gap) bars.push_back(ChartBar{label(gap)});
    }
    bars.push_back(bars_[i]);
    bars.back().label = label(key);
    previous = key;
  }
  return bars;
}

ReportCharts TimeReportCharts(const TimeSummary& s) {
  ReportCharts charts;
  charts.valueName = u"Hours";
  charts.byClient.title = u"Hours by client";
  charts.byClient.perClient = true;
  charts.byClient.bars = ClientBars(s.entries, [](const TimeSummaryEntry& e) {
    return std::pair(e.billable == 1, e.hours);
  });
  charts.byMonth.title = u"Hours by month";
  charts.byMonth.bars = s.months.Bars();
  return charts;
}

ReportCharts ExpenseReportCharts(const ExpenseSummary& s) {
  ReportCharts charts;
  charts.valueName = u"Amount";
  charts.byClient.title = u"Amount by client";
  charts.byClient.perClient = true;
  charts.byClient.bars = ClientBars(s.entries, [](const ExpenseSummaryEntry& e) {
    return std::pair(e.billable, e.amount);
  });
  charts.byMonth.title = u"Amount by month";
  charts.byMonth.bars = s.months.Bars();
  return charts;
}

}  // namespace pw
