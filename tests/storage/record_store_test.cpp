#include "storage/record_store.h"

#include <gtest/gtest.h>

#include "storage/store_fixture.h"

namespace pw {
namespace {

CEOIDINFO InfoOf(std::u16string_view name) {
  CEOIDINFO info;
  EXPECT_TRUE(CeOidGetInfo(FindDatabaseByName(nullptr, name), &info));
  return info;
}

// How a database made by an older release shows: no sort order.
void MakeUnsortedDatabase(std::u16string_view name) {
  ASSERT_NE(CeCreateDatabase(name, 0, 0, nullptr), 0u);
  DatabaseHandle db = CeOpenDatabase(nullptr, name, 0, 0, nullptr);
  test::Put(db, test::Time(u"01/01/1999"));
}

using StoreTest = test::StoreTest;

TEST_F(StoreTest, FirstStartCreatesTheThreeDatabasesSilently) {
  for (int start = 0; start < 2; ++start) {  // the second start finds them
    ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &TimeDatabase));
    ASSERT_TRUE(OpenConfigDatabase(nullptr, PWH_CONFIG_DB_NAME, &ConfigDatabase));
    ASSERT_TRUE(OpenExpenseDatabase(nullptr, PWH_EXPENSE_DB_NAME, &ExpenseDatabase));
    if (start == 0) test::Put(TimeDatabase, test::Time(u"02/02/2002"));
    TimeDatabase.Close();
  }
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(InfoOf(u"Pennywhistle Time 0.5").sortProperty, 0x0026001Fu);
  EXPECT_EQ(InfoOf(u"Pennywhistle Time 0.5").numRecords, 1u);
  EXPECT_EQ(InfoOf(u"Pennywhistle Config 0.5").sortProperty, 0u);
  EXPECT_EQ(InfoOf(u"Pennywhistle Expense 0.5").sortProperty, 0x0028001Fu);
  EXPECT_EQ(FindDatabaseByName(nullptr, u"Pennywhistle Time"), 0u);
  EXPECT_EQ(FindDatabaseByName(nullptr, u"pennywhistle time 0.5"), 0u);
}

struct EraseCase {
  const char* name;
  std::vector<int> answers;
  bool erased;
};
class TimeDatabaseEraseTest : public StoreTest, public ::testing::WithParamInterface<EraseCase> {};

TEST_P(TimeDatabaseEraseTest, AnUnreadableTimeDatabaseIsErasedOnlyAfterTwoYes) {
  MakeUnsortedDatabase(PWH_TIME_DB_NAME);
  for (int answer : GetParam().answers) host.Answer(answer);
  EXPECT_EQ(OpenTimeDatabase(this, PWH_TIME_DB_NAME, &TimeDatabase), GetParam().erased);
  EXPECT_EQ(TimeDatabase.IsOpen(), GetParam().erased);

  const test::RecordedMessage expected[] = {
      {this,
       u"Could not open Pennywhistle time database 'Pennywhistle Time 0.5', error code: [87].\n\n"
       u"The database might be corrupted, or has been created by an older release of PWH.\n\n"
       u"Would you like to create a new empty database ?",
       u"Pennywhistle Startup", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2},
      {this,
       u"This operation will erase all previously stored time data (expense will be intact).\n\n"
       u"Do you want to continue ?",
       u"Pennywhistle Startup", MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2}};
  ASSERT_EQ(host.messages.size(), GetParam().answers.size());
  for (std::size_t i = 0; i < host.messages.size(); ++i) {
    EXPECT_EQ(host.messages[i].owner, expected[i].owner);
    EXPECT_EQ(host.messages[i].text, expected[i].text);
    EXPECT_EQ(host.messages[i].title, expected[i].title);
    EXPECT_EQ(host.messages[i].type, expected[i].type);
  }
  const CEOIDINFO info = InfoOf(PWH_TIME_DB_NAME);
  EXPECT_EQ(info.numRecords, GetParam().erased ? 0u : 1u);
  EXPECT_EQ(info.sortProperty, GetParam().erased ? PWH_TIME_DATE_PROPID : 0u);
}

INSTANTIATE_TEST_SUITE_P(Answers, TimeDatabaseEraseTest,
                         ::testing::Values(EraseCase{"YesYes", {IDYES, IDYES}, true},
                                           EraseCase{"No", {IDNO}, false},
                                           EraseCase{"YesNo", {IDYES, IDNO}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, AnUnreadableExpenseDatabaseIsNeverErased) {
  MakeUnsortedDatabase(PWH_EXPENSE_DB_NAME);
  host.Answer(IDYES);
  EXPECT_FALSE(OpenExpenseDatabase(nullptr, PWH_EXPENSE_DB_NAME, &ExpenseDatabase));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            u"Could not open Pennywhistle expense database 'Pennywhistle Expense 0.5': error "
            u"code: 87.");
  EXPECT_EQ(host.messages[0].title, u"Pennywhistle Startup");
  EXPECT_EQ(host.messages[0].type, MB_OK | MB_ICONEXCLAMATION);
  EXPECT_EQ(InfoOf(PWH_EXPENSE_DB_NAME).numRecords, 1u);
}

}  // namespace
}  // namespace pw
