// The timer's life over a real store and settings, with the clock and the user's answers scripted.
#include "shell/timer.h"

#include <gtest/gtest.h>

#include "selection/selection.h"

#include "dialogs/time_entry.h"
#include "storage/record_operations.h"
#include "storage/record_times.h"
#include "storage/store_fixture.h"

namespace pw::test {
namespace {

// One view, counting the views made anew and the rows shown anew in place.
struct OneList : ViewPort {
  ShownView shown = ShownView::List;
  int created = 0, changed = 0;
  ShownView Shown() const override { return shown; }
  std::int64_t SelectedRecordPosition() override { return -1; }
  std::int64_t ShownRecordPosition() override { return -1; }
  int SelectedRow() override { return -1; }
  bool CreateView(ShownView) override { return ++created; }
  bool ShowRecord(RecordPosition) override { return true; }
  void MakeRowCurrent(int) override {}
  void StoreColumnWidths() override {}
  void ClearMixedCard() override {}
  bool RecordChanged(RecordPosition) override { return ++changed; }
};

constexpr SYSTEMTIME At(int day, int hour, int minute) {
  return {.wYear = 2024, .wMonth = 3, .wDay = WORD(day), .wHour = WORD(hour), .wMinute = WORD(minute)};
}

class TimerTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    OpenPulldownsAndSettings();
    Configuration->RunningTimerOid = 0;
    AppMode = PWH_TIME_MODE;
    SetLocalTimeOverride(At(14, 22, 30));
  }
  void TearDown() override {
    SetLocalTimeOverride(std::nullopt);
    StoreTest::TearDown();
  }
  TimeRecord Stored(CEOID oid) {
    TimeRecord r;
    DWORD position = 0;
    if (CeSeekDatabase(TimeDatabase, CEDB_SEEK_CEOID, oid, &position)) LoadPWHRecord(nullptr, TimeDatabase, position, &r);
    return r;
  }
  std::u16string End(CEOID oid) {
    std::u16string text;
    return *FormatRecordTime(&text, Stored(oid), PWH_END_TIME, PWH_BLANK_AS_DASHES, false);
  }

  OneList views;
  std::vector<int> opened;
  TimerCommands timer{state, views, {[this](int mode) {
                                       opened.push_back(mode);
                                       TimeRecord& r = state.WorkingTimeRecord;
                                       CopyText(r.client, u"Acme"), CopyText(r.project, u"Shop"), CopyText(r.rate, u"40");
                                       return r.billable = 1, IDOK;
                                     },
                                     {},
                                     {}}};
};

TEST_F(TimerTest, RunsOnAfterAKillUntilItsRecordIsDeletedOrGivenAnEnd) {
  const CEOID oid = timer.Start();
  ASSERT_NE(oid, 0u);
  EXPECT_EQ(opened, std::vector<int>{PWH_TIME_ENTRY_TIMER});
  EXPECT_EQ(TextOf(Stored(oid).duration), u"--:--");
  EXPECT_EQ(TextOf(Stored(oid).date), u"03/14/2024");
  EXPECT_EQ(state.RunningTimeRecord, oid);

  // Killed at 23:00; started again at 00:12: the store and the settings are read afresh.
  SetLocalTimeOverride(At(15, 0, 12));
  PWHConfiguration afterKill;
  TimeDatabase.Close(), ExpenseDatabase.Close(), ConfigDatabase.Close(), CloseObjectStore();
  ASSERT_TRUE(OpenObjectStore(path_));
  OpenRecordDatabases();
  state.Configuration = &afterKill;
  TimerCommands restarted{state, views, {{}, {}, {}}};
  struct : TimerDisplay {
    std::u16string title;
    void ShowTimer(std::u16string_view elapsed, std::u16string_view) override { title = elapsed; }
  } display;
  restarted.SetDisplay(&display);
  restarted.Refresh();
  EXPECT_EQ(display.title, u"1:42");
  EXPECT_EQ(restarted.Running(), oid);
  EXPECT_EQ(restarted.Summary(), u"Acme / Shop 1:42");
  EXPECT_EQ(host.statusText(PWH_STATUS_TIMER), u"Acme / Shop 1:42");

  // Given an end, or deleted: the timer is gone, and stays gone after the next start.
  for (const bool deleted : {false, true}) {
    afterKill.RunningTimerOid = oid;
    TimeRecord r = Stored(oid);
    EndRecordNow(r);
    DWORD position = 0;
    CeSeekDatabase(TimeDatabase, CEDB_SEEK_CEOID, oid, &position);
    ASSERT_TRUE(deleted ? DeleteRecord(nullptr, TimeDatabase, position) : UpdateRecord(nullptr, TimeDatabase, position, r));
    restarted.Refresh();
    EXPECT_EQ(restarted.Running(), 0u);
    EXPECT_EQ(host.statusText(PWH_STATUS_TIMER), u"");
    EXPECT_EQ(PWHConfiguration().RunningTimerOid, 0u);
  }
  state.Configuration = settings_.get();
}

TEST_F(TimerTest, StartWhileRunningAsksToStopTheRunningOne) {
  const CEOID first = timer.Start();
  host.Answer(IDNO);
  EXPECT_EQ(timer.Start(), 0u);
  EXPECT_EQ(timer.Running(), first);
  host.Answer(IDYES);
  const CEOID second = timer.Start();
  EXPECT_NE(second, first);
  EXPECT_EQ(timer.Running(), second);
  EXPECT_EQ(TextOf(Stored(first).duration), u"00:00");
  EXPECT_EQ(host.messages.size(), 2u);
}

// Stopping at a time, or coming back after being away since 23:00, and the answer to the question
// asked (0: none is asked). The timer started at 22:30 on the 14th, at 40 an hour.
struct StopCase {
  const char* name;
  SYSTEMTIME now;
  bool away;
  int answer;
  const char16_t *end, *duration, *amount;
  bool newTimer;
};

class TimerStopTest : public TimerTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(TimerStopTest, EndsTheRecordAsAnswered) {
  const StopCase& c = GetParam();
  const CEOID oid = timer.Start();
  SetLocalTimeOverride(c.now);
  if (c.answer) host.Answer(c.answer);
  c.away ? timer.AskAfterAway(At(14, 23, 0)) : void(timer.Stop());
  EXPECT_EQ(host.messages.size(), c.answer ? 1u : 0u);
  EXPECT_EQ(End(oid), c.end);
  EXPECT_EQ(TextOf(Stored(oid).duration), c.duration);
  EXPECT_EQ(TextOf(Stored(oid).amount), c.amount);
  EXPECT_EQ(timer.Running() != 0 && timer.Running() != oid, c.newTimer);
  EXPECT_EQ(timer.Running() == oid, c.answer == IDCANCEL);
  EXPECT_EQ(PWHConfiguration().RunningTimerOid, timer.Running());
}

INSTANTIATE_TEST_SUITE_P(
    Timer, TimerStopTest,
    ::testing::Values(StopCase{"SameDay", At(14, 23, 15), false, 0, u"11:15 PM", u"00:45", u"30.00", false},
                      StopCase{"AtMidnight", At(15, 1, 15), false, IDYES, u"12:00 AM", u"01:30", u"60.00", false},
                      StopCase{"PastMidnight", At(15, 1, 15), false, IDNO, u"01:15 AM", u"02:45", u"110.00", false},
                      StopCase{"AwayKeep", At(14, 23, 50), true, IDCANCEL, u"12:00 AM", u"--:--", u"n/a", false},
                      StopCase{"AwayStop", At(14, 23, 50), true, IDNO, u"11:00 PM", u"00:30", u"20.00", false},
                      StopCase{"AwayStopAndNew", At(14, 23, 50), true, IDYES, u"11:00 PM", u"00:30", u"20.00", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Stop Timer shows the stopped row anew in place where applying the tab again would show the same
// records, else makes the view anew; a time record changes nothing in Expense mode.
TEST_F(TimerTest, StopShowsTheRowInPlaceWhereTheRecordsShownStay) {
  const struct { ShownView view; int tab; bool find, nextDay; int mode, created, changed; } cases[] = {
      {ShownView::List, PWH_TAB_ALL, false, false, PWH_TIME_MODE, 0, 1},
      {ShownView::Mixed, PWH_TAB_TODAY, false, false, PWH_TIME_MODE, 0, 1},
      {ShownView::List, PWH_TAB_TODAY, false, true, PWH_TIME_MODE, 1, 0},  // the tab's range moved on
      {ShownView::List, PWH_TAB_ALL, true, false, PWH_TIME_MODE, 1, 0},    // applying the tab ends the Find
      {ShownView::Tree, PWH_TAB_ALL, false, false, PWH_TIME_MODE, 1, 0},
      {ShownView::List, PWH_TAB_ALL, false, false, PWH_EXPENSE_MODE, 0, 0},
  };
  for (const auto& c : cases) {
    SetLocalTimeOverride(At(14, 22, 30));
    host.SelectDateTab(c.tab), views.shown = c.view;
    const CEOID oid = timer.Start();
    SetLocalTimeOverride(c.nextDay ? At(15, 0, 5) : At(14, 23, 15));
    if (c.nextDay) host.Answer(IDYES);
    state.FindResult = c.find, AppMode = c.mode, views.created = views.changed = 0;
    EXPECT_EQ(timer.Stop(), oid);
    EXPECT_EQ(std::pair(views.created, views.changed), std::pair(c.created, c.changed)) << int(c.view) << c.tab;
    AppMode = PWH_TIME_MODE;
  }
}

// Start Timer, Stop Timer and Stop and Start Next are one step each; Undo takes back the records and
// which one runs, Redo does both again.
TEST_F(TimerTest, EachCommandIsOneUndoStepWithTheTimer) {
  const struct { CEOID (TimerCommands::*run)(); bool running; const char16_t* step; } cases[] = {
      {&TimerCommands::Start, false, u"Start Timer"},
      {&TimerCommands::Stop, true, u"Stop Timer"},
      {&TimerCommands::StopAndStartNext, true, u"Stop and Start Next"},
  };
  Commands commands{state, views, {}};
  const auto snapshot = [this] {
    std::vector<std::pair<CEOID, std::optional<std::string>>> out;
    for (DWORD i = 0; CEOID oid = CeSeekDatabase(TimeDatabase, CEDB_SEEK_BEGINNING, i, nullptr); ++i)
      out.emplace_back(oid, RecordImage(TimeDatabase, oid));
    return std::tuple(out, PWHConfiguration().RunningTimerOid);
  };
  for (const auto& c : cases) {
    SetLocalTimeOverride(At(14, 22, 30));
    if (c.running && !timer.Running()) timer.Start();
    SetLocalTimeOverride(At(14, 23, 15));
    const auto before = snapshot();
    (timer.*c.run)();
    const auto after = snapshot();
    ASSERT_NE(after, before);
    EXPECT_EQ(state.Undo.UndoName(PWH_TIME_MODE), c.step);
    for (int round = 0; round < 2; ++round) {
      commands.Undo(), timer.Refresh();
      EXPECT_EQ(std::tuple(snapshot(), timer.Running()), std::tuple(before, std::get<1>(before)));
      commands.Redo(), timer.Refresh();
      EXPECT_EQ(std::tuple(snapshot(), timer.Running()), std::tuple(after, std::get<1>(after)));
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

// The idle time polled (minutes), the clock, and the moment of going away reported on return.
TEST(AwayWatchTest, ReportsTheAbsenceOnceOnReturn) {
  const struct {
    int limit;
    long long idleMinutes;
    SYSTEMTIME now;
    std::optional<SYSTEMTIME> since;
  } polls[] = {{10, 5, At(14, 23, 58), {}},     {10, 12, At(15, 0, 2), {}}, {10, 20, At(15, 0, 10), {}},
               {10, 0, At(15, 0, 11), At(14, 23, 50)}, {10, 0, At(15, 0, 12), {}},   {0, 30, At(15, 1, 0), {}},
               {0, 0, At(15, 1, 1), {}},          {10, -1, At(15, 1, 2), {}}};
  AwayWatch watch;
  for (const auto& p : polls) {
    const auto since = watch.Poll(p.idleMinutes * 60000, p.now, p.limit);
    ASSERT_EQ(since.has_value(), p.since.has_value()) << p.now.wHour << ":" << p.now.wMinute;
    if (since) {
      EXPECT_EQ(MinuteNumber(*since), MinuteNumber(*p.since));
      EXPECT_EQ(since->wDay, p.since->wDay);
    }
  }
}

}  // namespace
}  // namespace pw::test
