#include "config/app_config.h"

#include <gtest/gtest.h>

#include <string>

#include "config/column_dialog.h"
#include "config/configuration.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"
#include "text/fixed_text.h"

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Only exactly 1 counts as set; OK without touching anything keeps what was shown.
TEST(AppConfigChoicesTest, OpenWithTheSettingsAndOkKeepsWhatWasShown) {
  Settings s;
  s.UseEuropeanDateFormat = 1, s.UseEuropeanTimeFormat = 255, s.AwayMinutes = 25;
  for (int i = 0; const int flag : {2, 1, 0, 1, 7, 0, 9, 1}) s.behaviorFlags[i++] = std::uint8_t(flag);
  const AppConfigChoices shown = ReadAppConfigChoices(s);
  EXPECT_EQ(shown, (AppConfigChoices{true, false, {false, true, false, true, false, false}, false, true, 25}));
  ApplyAppConfigChoices(s, shown);
  EXPECT_EQ(Bytes(s.behaviorFlags, s.behaviorFlags + 8), (Bytes{0, 1, 0, 1, 0, 0, 0, 1}));
  EXPECT_EQ((Bytes{s.UseEuropeanDateFormat, s.UseEuropeanTimeFormat}), (Bytes{1, 0}));
  EXPECT_EQ(s.AwayMinutes, 25);
}

// The default-record buttons: the entry dialog runs on the default record, or
// on a cleared one when there is none, and only OK replaces the default.
TEST(DefaultRecordTest, EntryDialogRunsOnTheDefaultAndOkReplacesIt) {
  for (const bool expense : {false, true}) {
    for (const bool existing : {false, true}) {
      const int result = expense == existing ? IDOK : IDCANCEL;
      SCOPED_TRACE(testing::Message() << "expense " << expense << ", existing " << existing);
      Settings config;
      TimeRecord t;
      ExpenseRecord e;
      CopyText(t.client, u"Stored"), CopyText(t.notes, u"note"), CopyText(e.client, u"Stored"), CopyText(e.notes, u"note");
      Blob before;
      if (existing) {
        expense ? SerializeExpenseRecord(e, &before) : SerializeTimeRecord(t, &before);
        expense ? config.setDefaultExpenseRecordBlob(before) : config.setDefaultTimeRecordBlob(before);
      }
      // Left-overs of an earlier entry must not reach a new default.
      TimeRecord workingTime;
      ExpenseRecord workingExpense;
      CopyText(workingTime.client, u"Stale"), CopyText(workingExpense.client, u"Stale");
      HWND owner = &config;
      int runs = 0;
      const DefaultRecordEditor editor = [&](HWND o, bool editing) {
        EXPECT_TRUE(++runs == 1 && o == owner && editing == existing);
        EXPECT_EQ(TextOf(expense ? workingExpense.client : workingTime.client), existing ? u"Stored" : u"");
        CopyText(workingTime.client, u"Edited"), CopyText(workingExpense.client, u"Edited");
        return result;
      };
      EXPECT_EQ(expense ? EditDefaultExpenseRecord(owner, config, workingExpense, editor)
                        : EditDefaultTimeRecord(owner, config, workingTime, editor),
                result == IDOK);
      EXPECT_EQ(runs, 1);
      EXPECT_EQ(expense ? config.defaultTimeRecordBlob() : config.defaultExpenseRecordBlob(), nullptr);
      const Blob* now = expense ? config.defaultExpenseRecordBlob() : config.defaultTimeRecordBlob();
      if (result != IDOK) {
        EXPECT_EQ(now ? *now : Blob{}, before);
        continue;
      }
      ASSERT_TRUE(expense ? DeserializeExpenseRecord(now, e) : DeserializeTimeRecord(now, t));
      EXPECT_EQ(TextOf(expense ? e.client : t.client), u"Edited");
      EXPECT_EQ(TextOf(expense ? e.notes : t.notes), existing ? u"note" : u"");
    }
  }
}

// Every setting in memory.
std::vector<Bytes> Snapshot(const PWHConfiguration& c) {
  Bytes columns;
  c.columns().Serialize(&columns);
  const auto blob = [](const Blob* b) { return b ? *b : Bytes{}; };
  return {columns, {c.DBSortOrder, c.UseEuropeanDateFormat, c.UseEuropeanTimeFormat},
          Bytes(c.behaviorFlags, c.behaviorFlags + PWH_BEHAVIOR_FLAG_COUNT), blob(c.defaultTimeRecordBlob()),
          blob(c.defaultExpenseRecordBlob())};
}

// Closing a dialog stores the settings at once, the longest notes that fit
// included, and the next start reads them back alike.
TEST(StoreSettingsNowTest, StoresWhatTheDialogsChanged) {
  ASSERT_TRUE(OpenRegistry(test::TemporaryHome() + "/registries/app-config"));
  test::ScriptedHost host;
  {
    PWHConfiguration config;
    config.DBSortOrder = 3;
    HideVisibleColumn(nullptr, config.columns(), ColumnRange::Time, 2);
    MoveVisibleColumnDown(nullptr, config.columns(), ColumnRange::Expense, 0);
    ApplyAppConfigChoices(config, {true, true, {false, true, false, true, false, true}, true, false});
    TimeRecord time;
    ExpenseRecord expense;
    EditDefaultTimeRecord(nullptr, config, time,
                          [&](HWND, bool) { return CopyText(time.notes, std::u16string(227, u'n')), IDOK; });
    EditDefaultExpenseRecord(nullptr, config, expense,
                             [&](HWND, bool) { return CopyText(expense.notes, std::u16string(2036, u'n')), IDOK; });
    EXPECT_TRUE(StoreSettingsNow(&config));
    PWHConfiguration next;
    EXPECT_EQ(Snapshot(next), Snapshot(config));
    EXPECT_TRUE(host.messages.empty());
  }
  CloseRegistry();
  EXPECT_FALSE(StoreSettingsNow(nullptr));
}

}  // namespace
}  // namespace pw
