#include "storage/record_store.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/code_page.h"
#include "storage/store_fixture.h"
#include "support/file_permissions.h"
#include "text/format.h"

namespace pw {
namespace {

using StoreTest = test::StoreTest;
constexpr unsigned kShown = MB_OK | MB_ICONEXCLAMATION, kNoted = MB_OK | MB_ICONINFORMATION;

template <class Case>
std::string Named(const testing::TestParamInfo<Case>& info) { return info.param.name; }

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

void ExpectStartup(const test::RecordedMessage& m, std::u16string_view text, unsigned type) {
  EXPECT_EQ(m.text, text);
  EXPECT_EQ(m.type, type);
  EXPECT_EQ(m.title, u"Pennywhistle Startup");
}

// A later start finding them again is shown by StoreProblemTest.
TEST_F(StoreTest, FirstStartCreatesTheThreeDatabasesSilently) {
  OpenRecordDatabases();
  ASSERT_TRUE(OpenConfigDatabase(nullptr, PWH_CONFIG_DB_NAME, &ConfigDatabase));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(InfoOf(PWH_TIME_DB_NAME).sortProperty, PWH_TIME_DATE_PROPID);
  EXPECT_EQ(InfoOf(PWH_EXPENSE_DB_NAME).sortProperty, PWH_EXPENSE_DATE_PROPID);
}

TEST_F(StoreTest, RecordDatabasesInTextOrderGetTheCalendarOrderSilentlyAndKeepEveryRecord) {
  for (const auto& [name, date] : {std::pair(PWH_TIME_DB_NAME, PWH_TIME_DATE_PROPID),
                                   std::pair(PWH_EXPENSE_DB_NAME, PWH_EXPENSE_DATE_PROPID)}) {
    const SORTORDERSPEC textOrder{date, 0};  // as the earlier release made them
    ASSERT_NE(CeCreateDatabase(name, 0, 1, &textOrder), 0u);
  }
  DatabaseHandle times = CeOpenDatabase(nullptr, PWH_TIME_DB_NAME, PWH_TIME_DATE_PROPID, 0, nullptr);
  DatabaseHandle expenses = CeOpenDatabase(nullptr, PWH_EXPENSE_DB_NAME, PWH_EXPENSE_DATE_PROPID, 0, nullptr);
  for (const char16_t* d : {u"12/24/2001", u"01/02/2003", u"12/24/1999"}) {
    test::Put(times, test::Time(d, d));
    test::Put(expenses, test::Expense(d, d));
  }
  times.Close(), expenses.Close();
  OpenRecordDatabases();
  EXPECT_TRUE(host.messages.empty());
  const std::vector<std::u16string> calendar{u"12/24/1999", u"12/24/2001", u"01/02/2003"};
  EXPECT_EQ(test::Clients<TimeRecord>(TimeDatabase), calendar);
  EXPECT_EQ(test::Clients<ExpenseRecord>(ExpenseDatabase), calendar);
  EXPECT_EQ(InfoOf(PWH_TIME_DB_NAME).sortFlags, CEDB_SORT_CALENDARDATE);
}

struct EraseCase {
  const char* name;
  std::vector<int> answers;
  bool erased;
};
const EraseCase kAnswers[] = {{"YesYes", {IDYES, IDYES}, true}, {"No", {IDNO}, false}, {"YesNo", {IDYES, IDNO}, false}};

class TimeDatabaseEraseTest : public StoreTest, public ::testing::WithParamInterface<EraseCase> {};

TEST_P(TimeDatabaseEraseTest, AnUnreadableTimeDatabaseIsErasedOnlyAfterTwoYes) {
  const EraseCase& c = GetParam();
  MakeUnsortedDatabase(PWH_TIME_DB_NAME);
  for (int answer : c.answers) host.Answer(answer);
  EXPECT_EQ(OpenTimeDatabase(this, PWH_TIME_DB_NAME, &TimeDatabase), c.erased);
  EXPECT_EQ(TimeDatabase.IsOpen(), c.erased);
  ASSERT_EQ(host.messages.size(), c.answers.size() + (c.erased ? 1 : 0));
  ExpectStartup(host.messages[0],
                u"Could not open Pennywhistle time database 'Pennywhistle Time 0.5', error code: [87].\n\n"
                u"The database might be corrupted, or has been created by an older release of PWH.\n\n"
                u"Would you like to create a new empty database ?",
                MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
  EXPECT_EQ(host.messages[0].owner, this);
  if (c.answers.size() > 1)
    ExpectStartup(host.messages[1],
                  u"This operation will erase all previously stored time data (expense will be intact).\n\n"
                  u"Do you want to continue ?",
                  MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2);
  EXPECT_EQ(InfoOf(PWH_TIME_DB_NAME).numRecords, c.erased ? 0u : 1u);
  EXPECT_EQ(InfoOf(PWH_TIME_DB_NAME).sortProperty, c.erased ? PWH_TIME_DATE_PROPID : 0u);
  if (!c.erased) return;

  // The erased records are kept in a copy of the store, which the last message names.
  const std::u16string copyNote = u"The time records as they were are kept in a copy of the data file:\n\n'";
  const std::u16string& last = host.messages.back().text;
  ASSERT_EQ(last.substr(0, copyNote.size()), copyNote);
  EXPECT_EQ(host.messages.back().type, kNoted);
  TimeDatabase.Close();
  ASSERT_TRUE(OpenObjectStore(WideToUtf8(last.substr(copyNote.size(), last.size() - copyNote.size() - 1))));
  EXPECT_EQ(InfoOf(PWH_TIME_DB_NAME).numRecords, 1u);
}

INSTANTIATE_TEST_SUITE_P(Answers, TimeDatabaseEraseTest, ::testing::ValuesIn(kAnswers), Named<EraseCase>);

// A store call that fails where no file can be made to fail it: the message
// names the call, the database and the error, and the failed call changes
// nothing and fails only once.
struct CallFailure {
  const char* name;
  bool (*open)(HWND, std::u16string_view, DatabaseHandle*);
  std::u16string_view database;
  bool damaged;  // the time database made by an older release, and Yes to both questions
  PlatformCall call;
  int skip;
  DWORD error;
  std::u16string_view says;  // in the last message
  int recordsAfter;          // -1: no database
};
void PrintTo(const CallFailure& f, std::ostream* os) { *os << f.name; }

const CallFailure kCallFailures[] = {
    // An unreadable expense database is only named, never offered for erasing.
    {"OpenExpense", OpenExpenseDatabase, PWH_EXPENSE_DB_NAME, false, PlatformCall::OpenDatabase, 0,
     ERROR_INVALID_PARAMETER, u"Could not open Pennywhistle expense database 'Pennywhistle Expense 0.5': error code: 87.",
     -1},
    {"CreateTime", OpenTimeDatabase, PWH_TIME_DB_NAME, false, PlatformCall::CreateDatabase, 0, ERROR_DISK_FULL,
     u"Could not create Pennywhistle database\n\n'Pennywhistle Time 0.5'\n\nerror code: 112.", -1},
    // The first open finds nothing and runs as usual; the one after the create fails. The
    // configuration database has no sort order.
    {"ReopenTime", OpenTimeDatabase, PWH_TIME_DB_NAME, false, PlatformCall::OpenDatabase, 1,
     ERROR_NOT_ENOUGH_MEMORY, u"re-open created Pennywhistle time database 'Pennywhistle Time 0.5': error code: 8.", 0},
    {"ReopenConfig", OpenConfigDatabase, PWH_CONFIG_DB_NAME, false, PlatformCall::OpenDatabase, 1,
     ERROR_INVALID_HANDLE, u"re-open created Pennywhistle database 'Pennywhistle Config 0.5': error code: 6.", 0},
    // Two messages: the failed enumeration, then the database not found.
    {"EnumerateBeforeErase", OpenTimeDatabase, PWH_TIME_DB_NAME, true, PlatformCall::FindFirstDatabase, 0,
     ERROR_NOT_ENOUGH_MEMORY,
     u"Could enumerate/find Pennywhistle time database 'Pennywhistle Time 0.5', error code: [8].\n\n"
     u"Your device persistent object store might be corrupted.", 1},
    {"DeleteOnErase", OpenTimeDatabase, PWH_TIME_DB_NAME, true, PlatformCall::DeleteDatabase, 0, ERROR_ACCESS_DENIED,
     u"delete Pennywhistle time database 'Pennywhistle Time 0.5', error code: [5].", 1}};

class RecordStoreCallFailureTest : public StoreTest, public testing::WithParamInterface<CallFailure> {};

TEST_P(RecordStoreCallFailureTest, IsShownAndChangesNothing) {
  const CallFailure& f = GetParam();
  if (f.damaged) MakeUnsortedDatabase(f.database), host.Answer(IDYES), host.Answer(IDYES);
  FailPlatformCall(f.call, f.skip, f.error);
  EXPECT_FALSE(f.open(this, f.database, &TimeDatabase));
  EXPECT_FALSE(TimeDatabase.IsOpen());

  const std::size_t shown = (f.damaged ? 2 : 0) + (f.call == PlatformCall::FindFirstDatabase ? 2 : 1);
  ASSERT_EQ(host.messages.size(), shown);
  EXPECT_NE(host.messages.back().text.find(f.says), std::u16string::npos) << WideToUtf8(host.messages.back().text);
  EXPECT_EQ(std::pair(host.messages.back().type, host.messages.back().owner), std::pair(kShown, HWND(this)));
  if (f.recordsAfter < 0)
    EXPECT_EQ(FindDatabaseByName(nullptr, f.database), 0u);
  else
    EXPECT_EQ(InfoOf(f.database).numRecords, DWORD(f.recordsAfter));
  // The failure came once: the next start goes through.
  if (f.damaged) host.Answer(IDYES), host.Answer(IDYES);
  EXPECT_TRUE(f.open(this, f.database, &TimeDatabase));
}

INSTANTIATE_TEST_SUITE_P(PlatformCalls, RecordStoreCallFailureTest, testing::ValuesIn(kCallFailures),
                         Named<CallFailure>);

// A store in a folder of its own, closed, for tests that make its file
// misbehave before start-up opens it.
class StoreFileTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    CloseObjectStore();
    folder_ = test::NewTestFolder("store-open");
    file_ = folder_ + "/pennywhistle.db";
  }
  void TearDown() override {
    ::chmod(folder_.c_str(), 0700);
    StoreTest::TearDown();
  }
  // The sizes of a store file and its log.
  static std::pair<std::uintmax_t, std::uintmax_t> Sizes(const std::string& file) {
    return {std::filesystem::file_size(file), std::filesystem::file_size(file + "-wal")};
  }

  std::string folder_, file_;
};

// A healthy store that cannot be used just now (busy, not permitted,
// read-only) is named with its cause and left alone, whatever the answers.
struct ProblemCase {
  const char* name;
  // Makes the problem; what it returns ends it.
  std::function<std::shared_ptr<void>(const std::string& folder, const std::string& file)> make;
  DWORD code;
  const char16_t* cause;
};

class StoreProblemTest : public StoreFileTest, public testing::WithParamInterface<ProblemCase> {};

TEST_P(StoreProblemTest, IsReportedAndNeverOfferedForErasing) {
  ASSERT_TRUE(OpenObjectStore(file_));
  ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &TimeDatabase));
  for (const char16_t* date : {u"01/01/2001", u"02/02/2002", u"03/03/2003"}) test::Put(TimeDatabase, test::Time(date));
  TimeDatabase.Close();
  CloseObjectStore();
  {
    const std::shared_ptr<void> problem = GetParam().make(folder_, file_);
    OpenObjectStore(file_);  // fails; start-up tries again, with Yes to any question
    for (int i = 0; i < 6; ++i) host.Answer(IDYES);
    EXPECT_FALSE(OpenTimeDatabase(this, PWH_TIME_DB_NAME, &TimeDatabase));
    ASSERT_EQ(host.messages.size(), 1u);
    ExpectStartup(host.messages[0],
                  Format(u"Pennywhistle could not open its data file\n\n'%s'\n\n%s Nothing in it was changed.\n\n"
                         u"Error code: [%ld].",
                         Utf8ToWide(file_), GetParam().cause, GetParam().code),
                  kShown);
    CloseObjectStore();
  }
  ASSERT_TRUE(OpenObjectStore(file_));
  ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &TimeDatabase));
  EXPECT_EQ(DatabaseRecordCount(TimeDatabase), 3u);
}

std::shared_ptr<void> LockedByAnotherProgram(const std::string&, const std::string& file) {
  SetObjectStoreBusyTimeout(300);
  sqlite3* other = nullptr;
  sqlite3_open(file.c_str(), &other);
  EXPECT_EQ(sqlite3_exec(other, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; DELETE FROM counters WHERE 0",
                         nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(other);
  return std::shared_ptr<void>(other, [](void* db) {
    sqlite3_close(static_cast<sqlite3*>(db));
    SetObjectStoreBusyTimeout(5000);
  });
}

std::shared_ptr<void> WithMode(const std::string& path, mode_t mode) {
  ::chmod(path.c_str(), mode);
  return std::make_shared<test::FilePermissionsApply>();
}

INSTANTIATE_TEST_SUITE_P(
    Problems, StoreProblemTest,
    testing::Values(
        ProblemCase{"Locked", LockedByAnotherProgram, ERROR_SHARING_VIOLATION,
                    u"Another program is using it; it stayed busy for several seconds."},
        ProblemCase{"ReadOnlyFile", [](const std::string&, const std::string& file) { return WithMode(file, 0400); },
                    ERROR_ACCESS_DENIED, u"Permission to read or write it is denied."},
        ProblemCase{"ReadOnlyFolder", [](const std::string& folder, const std::string&) { return WithMode(folder, 0500); },
                    ERROR_WRITE_PROTECT, u"It, its folder or its disk is read-only."}),
    Named<ProblemCase>);

// A file that is no store at all cannot have its time database erased: two
// Yes answers move it (and its log) aside under a dated name, and start-up
// goes on with a new store. Nothing is deleted, and No leaves it untouched.
class UnopenableStoreTest : public StoreFileTest, public testing::WithParamInterface<EraseCase> {};

TEST_P(UnopenableStoreTest, IsMovedAsideAfterTwoYes) {
  std::filesystem::create_directories(folder_);
  const auto kSizes = std::pair<std::uintmax_t, std::uintmax_t>(8192, 100);  // of the file and its log
  std::ofstream(file_, std::ios::binary) << std::string(kSizes.first, 'x');
  std::ofstream(file_ + "-wal", std::ios::binary) << std::string(kSizes.second, 'w');
  EXPECT_FALSE(OpenObjectStore(file_));
  for (int answer : GetParam().answers) host.Answer(answer);
  EXPECT_EQ(OpenTimeDatabase(this, PWH_TIME_DB_NAME, &TimeDatabase), GetParam().erased);

  std::vector<std::string> moved;
  for (const auto& entry : std::filesystem::directory_iterator(folder_))
    if (entry.path().filename().string().rfind("pennywhistle-damaged-", 0) == 0) moved.push_back(entry.path());
  std::sort(moved.begin(), moved.end());
  ASSERT_EQ(host.messages.size(), GetParam().answers.size() + (GetParam().erased ? 1 : 0));
  EXPECT_NE(host.messages[0].text.find(u"error code: [1392]"), std::u16string::npos);
  if (!GetParam().erased) {
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(Sizes(file_), kSizes);
    return;
  }
  ASSERT_EQ(moved.size(), 2u);  // the file and its log, under one name
  EXPECT_EQ(moved[1], moved[0] + "-wal");
  EXPECT_EQ(Sizes(moved[0]), kSizes);
  ExpectStartup(host.messages[2],
                Format(u"The damaged data file was kept as\n\n'%s'\n\nPennywhistle starts with a new, empty one at\n\n"
                       u"'%s'.",
                       Utf8ToWide(moved[0]), Utf8ToWide(file_)),
                kNoted);
  test::Put(TimeDatabase, test::Time(u"01/01/2001"));
  EXPECT_EQ(DatabaseRecordCount(TimeDatabase), 1u);  // a new, empty database
}

INSTANTIATE_TEST_SUITE_P(Answers, UnopenableStoreTest, ::testing::ValuesIn(kAnswers), Named<EraseCase>);

}  // namespace
}  // namespace pw
