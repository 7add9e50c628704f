#include "selection/quick_filter.h"

#include <gtest/gtest.h>

#include "storage/store_fixture.h"

namespace pw {
namespace {

class QuickFilterTest : public test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    auto time = [](const char16_t* client, const char16_t* project, const char16_t* sub, const char16_t* task,
                   const char16_t* note) {
      TimeRecord r = test::Time(u"03/14/2024", client);
      CopyText(r.project, project), CopyText(r.subproject, sub), CopyText(r.task, task), CopyText(r.notes, note);
      return r;
    };
    test::Put(TimeDatabase, time(u"Acme Café", u"Roof", u"North", u"Drawing", u""));
    test::Put(TimeDatabase, time(u"Bolt", u"Élan", u"", u"", u"called ÜBER"));
    test::Put(TimeDatabase, time(u"Cobalt", u"", u"Straße", u"Site visit", u"Cafe\u0301 au lait"));
    auto expense = [](const char16_t* client, const char16_t* project, const char16_t* description,
                      const char16_t* payment, const char16_t* currency, const char16_t* note) {
      ExpenseRecord r = test::Expense(u"03/14/2024", client);
      CopyText(r.project, project), CopyText(r.description, description), CopyText(r.paymentType, payment);
      CopyText(r.currency, currency), CopyText(r.notes, note);
      return r;
    };
    test::Put(ExpenseDatabase, expense(u"Delta", u"", u"Hôtel", u"Visa", u"EUR", u""));
    test::Put(ExpenseDatabase, expense(u"Echo", u"Ñandú", u"", u"", u"USD", u"taxi"));
  }
  // The clients shown after typing `typed` over every record of the mode.
  std::u16string Shown(int mode, std::u16string_view typed) {
    AppMode = mode;
    state.RecordSetMode = PWH_ALL_REC_MODE;
    EXPECT_TRUE(RebaseQuickFilter(state, state));
    EXPECT_TRUE(SetQuickFilter(state, state, typed));
    if (state.RecordSetMode == PWH_ALL_REC_MODE) return u"all";
    std::u16string clients;
    for (RecordPosition p : DisplayedRecordList) {
      const auto all = state.TimeMode() ? test::Clients<TimeRecord>(TimeDatabase)
                                        : test::Clients<ExpenseRecord>(ExpenseDatabase);
      clients += all[p].substr(0, 1);
    }
    return clients;
  }
};

// Every text field of each mode is searched, ignoring case and accents
// (composed or combining), "ß" as "ss".
TEST_F(QuickFilterTest, MatchesAnyTextIgnoringCaseAndAccents) {
  const std::tuple<int, std::u16string_view, std::u16string_view> cases[] = {
      {PWH_TIME_MODE, u"", u"all"},         {PWH_TIME_MODE, u"ACME", u"A"},
      {PWH_TIME_MODE, u"café", u"AC"},      {PWH_TIME_MODE, u"roof", u"A"},
      {PWH_TIME_MODE, u"elan", u"B"},       {PWH_TIME_MODE, u"north", u"A"},
      {PWH_TIME_MODE, u"DRAWING", u"A"},    {PWH_TIME_MODE, u"über", u"B"},
      {PWH_TIME_MODE, u"strasse", u"C"},    {PWH_TIME_MODE, u"STRAẞE", u"C"},
      {PWH_TIME_MODE, u"o", u"ABC"},        {PWH_TIME_MODE, u"zzz", u""},
      {PWH_TIME_MODE, u"billable", u""},    {PWH_EXPENSE_MODE, u"delta", u"D"},
      {PWH_EXPENSE_MODE, u"nandu", u"E"},   {PWH_EXPENSE_MODE, u"HOTEL", u"D"},
      {PWH_EXPENSE_MODE, u"visa", u"D"},    {PWH_EXPENSE_MODE, u"usd", u"E"},
      {PWH_EXPENSE_MODE, u"Taxi", u"E"},    {PWH_EXPENSE_MODE, u"", u"all"},
  };
  for (auto [mode, typed, clients] : cases)
    EXPECT_EQ(Shown(mode, typed), clients) << std::string(typed.begin(), typed.end());
}

// Typing on narrows what the shorter text found; deleting widens again; the
// base's count stays what the records were without the filter.
TEST_F(QuickFilterTest, TypingOnAndBackAndTheCounts) {
  EXPECT_EQ(Shown(PWH_TIME_MODE, u"a"), u"ABC");
  for (auto [typed, clients] : {std::pair{u"ca", u"ABC"}, {u"caf", u"AC"}, {u"cal", u"B"}, {u"c", u"ABC"}}) {
    SetQuickFilter(state, state, typed);
    EXPECT_EQ(DisplayedRecordList.count(), std::u16string_view(clients).size());
  }
  EXPECT_TRUE(NarrowingInForce(state));
  EXPECT_EQ(UnnarrowedCount(state, TimeDatabase), 3);
  SetQuickFilter(state, state, u"");
  EXPECT_EQ(std::pair(state.RecordSetMode, NarrowingInForce(state)), std::pair(int(PWH_ALL_REC_MODE), false));
  // A Find result narrows too, until a date tab is applied.
  state.FindResult = true;
  EXPECT_TRUE(NarrowingInForce(state));
  ApplyDateTab(state, state);
  EXPECT_FALSE(NarrowingInForce(state));
}

}  // namespace
}  // namespace pw
