#include "storage/record_store.h"

#include <gtest/gtest.h>

#include "storage/store_fixture.h"

namespace pw {
namespace {

using test::StoreTest;

constexpr unsigned kWarningOk = MB_OK | MB_ICONEXCLAMATION;

CEOIDINFO InfoOf(std::u16string_view name) {
  CEOIDINFO info;
  const CEOID oid = FindDatabaseByName(nullptr, name);
  EXPECT_NE(oid, 0u) << "no database " << std::string(name.begin(), name.end());
  if (oid != 0) {
    EXPECT_TRUE(CeOidGetInfo(oid, &info));
  }
  return info;
}

// An older release's database: the right name, no sort order, one record.
void MakeUnsortedDatabase(std::u16string_view name) {
  ASSERT_NE(CeCreateDatabase(name, 0, 0, nullptr), 0u);
  DatabaseHandle db = CeOpenDatabase(nullptr, name, 0, 0, nullptr);
  ASSERT_TRUE(db);
  test::Put(db, test::Time(u"01/01/1999"));
}

DWORD RecordsIn(std::u16string_view name) { return InfoOf(name).numRecords; }

TEST_F(StoreTest, FirstStartCreatesTheThreeDatabasesSilently) {
  for (int start = 0; start < 2; ++start) {  // the second start finds them
    ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &TimeDatabase));
    ASSERT_TRUE(OpenConfigDatabase(nullptr, PWH_CONFIG_DB_NAME, &ConfigDatabase));
    ASSERT_TRUE(OpenExpenseDatabase(nullptr, PWH_EXPENSE_DB_NAME, &ExpenseDatabase));
    if (start == 0) test::Put(TimeDatabase, test::Time(u"02/02/2002"));
    TimeDatabase.Close();
    ConfigDatabase.Close();
    ExpenseDatabase.Close();
  }
  EXPECT_TRUE(host.messages.empty());

  EXPECT_EQ(InfoOf(u"Pennywhistle Time 0.5").sortProperty, 0x0026001Fu);
  EXPECT_EQ(InfoOf(u"Pennywhistle Config 0.5").sortProperty, 0u);
  EXPECT_EQ(InfoOf(u"Pennywhistle Expense 0.5").sortProperty, 0x0028001Fu);
  EXPECT_EQ(RecordsIn(PWH_TIME_DB_NAME), 1u);
  EXPECT_EQ(RecordsIn(PWH_EXPENSE_DB_NAME), 0u);
}

TEST_F(StoreTest, DatabasesAreFoundByTheirExactName) {
  const CEOID a = CeCreateDatabase(u"Pennywhistle Time 0.5 old", 0, 0, nullptr);
  const CEOID b = CeCreateDatabase(u"Pennywhistle Time 0.5", 0, 0, nullptr);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_EQ(FindDatabaseByName(nullptr, u"Pennywhistle Time 0.5"), b);
  EXPECT_EQ(FindDatabaseByName(nullptr, u"Pennywhistle Time 0.5 old"), a);
  EXPECT_EQ(FindDatabaseByName(nullptr, u"Pennywhistle Time"), 0u);
  EXPECT_EQ(FindDatabaseByName(nullptr, u"pennywhistle time 0.5"), 0u);
  EXPECT_TRUE(host.messages.empty());
}

struct EraseCase {
  const char* name;
  std::vector<int> answers;
  bool opened;
};

class TimeDatabaseEraseTest : public StoreTest, public ::testing::WithParamInterface<EraseCase> {};

TEST_P(TimeDatabaseEraseTest, AnUnreadableTimeDatabaseIsErasedOnlyAfterTwoYes) {
  MakeUnsortedDatabase(PWH_TIME_DB_NAME);
  for (int answer : GetParam().answers) host.Answer(answer);

  EXPECT_EQ(OpenTimeDatabase(this, PWH_TIME_DB_NAME, &TimeDatabase), GetParam().opened);
  EXPECT_EQ(TimeDatabase.IsOpen(), GetParam().opened);

  const std::u16string first =
      u"Could not open Pennywhistle time database 'Pennywhistle Time 0.5', error code: [87].\n\n"
      u"The database might be corrupted, or has been created by an older release of PWH.\n\n"
      u"Would you like to create a new empty database ?";
  const std::u16string second =
      u"This operation will erase all previously stored time data (expense will be intact).\n\n"
      u"Do you want to continue ?";
  ASSERT_EQ(host.messages.size(), GetParam().answers.size());
  EXPECT_EQ(host.messages[0].text, first);
  EXPECT_EQ(host.messages[0].type, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
  if (host.messages.size() > 1) {
    EXPECT_EQ(host.messages[1].text, second);
    EXPECT_EQ(host.messages[1].type, MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2);
  }
  for (const auto& m : host.messages) {
    EXPECT_EQ(m.title, u"Pennywhistle Startup");
    EXPECT_EQ(m.owner, this);
  }

  const CEOIDINFO info = InfoOf(PWH_TIME_DB_NAME);
  if (GetParam().opened) {
    EXPECT_EQ(info.numRecords, 0u);
    EXPECT_EQ(info.sortProperty, PWH_TIME_DATE_PROPID);
  } else {  // untouched
    EXPECT_EQ(info.numRecords, 1u);
    EXPECT_EQ(info.sortProperty, 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TimeDatabaseEraseTest,
    ::testing::Values(EraseCase{"YesYes", {IDYES, IDYES}, true},
                      EraseCase{"No", {IDNO}, false},
                      EraseCase{"YesNo", {IDYES, IDNO}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, AnUnreadableExpenseDatabaseIsNeverErased) {
  MakeUnsortedDatabase(PWH_EXPENSE_DB_NAME);
  host.Answer(IDYES);
  host.Answer(IDYES);

  EXPECT_FALSE(OpenExpenseDatabase(nullptr, PWH_EXPENSE_DB_NAME, &ExpenseDatabase));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            u"Could not open Pennywhistle expense database 'Pennywhistle Expense 0.5': error "
            u"code: 87.");
  EXPECT_EQ(host.messages[0].title, u"Pennywhistle Startup");
  EXPECT_EQ(host.messages[0].type, kWarningOk);
  EXPECT_EQ(RecordsIn(PWH_EXPENSE_DB_NAME), 1u);
}

}  // namespace
}  // namespace pw
