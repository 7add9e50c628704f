#include "storage/record_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "platform/code_page.h"
#include "storage/store_fixture.h"
#include "support/file_permissions.h"
#include "text/format.h"

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
  ASSERT_EQ(host.messages.size(), GetParam().answers.size() + (GetParam().erased ? 1 : 0));
  for (std::size_t i = 0; i < GetParam().answers.size(); ++i) {
    EXPECT_EQ(host.messages[i].owner, expected[i].owner);
    EXPECT_EQ(host.messages[i].text, expected[i].text);
    EXPECT_EQ(host.messages[i].title, expected[i].title);
    EXPECT_EQ(host.messages[i].type, expected[i].type);
  }
  const CEOIDINFO info = InfoOf(PWH_TIME_DB_NAME);
  EXPECT_EQ(info.numRecords, GetParam().erased ? 0u : 1u);
  EXPECT_EQ(info.sortProperty, GetParam().erased ? PWH_TIME_DATE_PROPID : 0u);
  if (!GetParam().erased) return;

  // The erased records are kept in a copy of the store, which the last message names.
  const std::u16string copyNote = u"The time records as they were are kept in a copy of the data file:\n\n'";
  const std::u16string& last = host.messages.back().text;
  ASSERT_EQ(last.substr(0, copyNote.size()), copyNote);
  EXPECT_EQ(host.messages.back().type, MB_OK | MB_ICONINFORMATION);
  const std::string copy = WideToUtf8(last.substr(copyNote.size(), last.size() - copyNote.size() - 1));
  EXPECT_NE(copy.find("-before-erase-"), std::string::npos) << copy;
  TimeDatabase.Close();
  ASSERT_TRUE(OpenObjectStore(copy));
  EXPECT_EQ(InfoOf(PWH_TIME_DB_NAME).numRecords, 1u);
  EXPECT_EQ(InfoOf(PWH_TIME_DB_NAME).sortProperty, 0u);
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

// A store call that fails where no file can be made to fail it: each message
// is shown whole, and the failed call changes nothing and fails only once.
struct CallFailure {
  const char* name;
  bool (*open)(HWND, std::u16string_view, DatabaseHandle*);
  std::u16string_view database;
  bool damaged;  // the time database made by an older release, and Yes to both questions
  PlatformCall call;
  int skip;
  DWORD error;
  std::vector<std::pair<std::u16string, unsigned>> shown;  // after the questions
  int recordsAfter;  // -1: no database
};

void PrintTo(const CallFailure& f, std::ostream* os) { *os << f.name; }

class RecordStoreCallFailureTest : public StoreTest, public testing::WithParamInterface<CallFailure> {};

TEST_P(RecordStoreCallFailureTest, IsShownWholeAndChangesNothing) {
  const CallFailure& f = GetParam();
  if (f.damaged) MakeUnsortedDatabase(f.database), host.Answer(IDYES), host.Answer(IDYES);
  FailPlatformCall(f.call, f.skip, f.error);
  EXPECT_FALSE(f.open(this, f.database, &TimeDatabase));
  EXPECT_FALSE(TimeDatabase.IsOpen());

  const std::size_t asked = f.damaged ? 2 : 0;
  ASSERT_EQ(host.messages.size(), asked + f.shown.size());
  for (std::size_t i = 0; i < f.shown.size(); ++i) {
    const test::RecordedMessage& m = host.messages[asked + i];
    EXPECT_EQ(m.text, f.shown[i].first);
    EXPECT_EQ(m.type, f.shown[i].second);
    EXPECT_EQ(m.title, u"Pennywhistle Startup");
    EXPECT_EQ(m.owner, this);
  }
  host.messages.clear();
  if (f.recordsAfter < 0) {
    EXPECT_EQ(FindDatabaseByName(nullptr, f.database), 0u);
  } else {
    EXPECT_EQ(InfoOf(f.database).numRecords, DWORD(f.recordsAfter));
  }
  EXPECT_TRUE(host.messages.empty());
  // The failure came once: the next start goes through.
  if (f.damaged) host.Answer(IDYES), host.Answer(IDYES);
  EXPECT_TRUE(f.open(this, f.database, &TimeDatabase));
}

constexpr unsigned kShown = MB_OK | MB_ICONEXCLAMATION, kNoted = MB_OK | MB_ICONINFORMATION;

INSTANTIATE_TEST_SUITE_P(
    PlatformCalls, RecordStoreCallFailureTest,
    testing::Values(
        CallFailure{"CreateTime", OpenTimeDatabase, PWH_TIME_DB_NAME, false, PlatformCall::CreateDatabase, 0,
                    ERROR_DISK_FULL,
                    {{u"Could not create Pennywhistle database\n\n'Pennywhistle Time 0.5'\n\nerror code: 112.", kShown}},
                    -1},
        CallFailure{"CreateExpense", OpenExpenseDatabase, PWH_EXPENSE_DB_NAME, false, PlatformCall::CreateDatabase, 0,
                    ERROR_ACCESS_DENIED,
                    {{u"Could not create Pennywhistle expense database 'Pennywhistle Expense 0.5': error code: 5.",
                      kShown}},
                    -1},
        CallFailure{"CreateConfig", OpenConfigDatabase, PWH_CONFIG_DB_NAME, false, PlatformCall::CreateDatabase, 0,
                    ERROR_WRITE_PROTECT,
                    {{u"Could not create Pennywhistle database 'Pennywhistle Config 0.5': error code: 19.", kShown}},
                    -1},
        // The first open finds nothing and runs as usual; the one after the create fails.
        CallFailure{"ReopenTime", OpenTimeDatabase, PWH_TIME_DB_NAME, false, PlatformCall::OpenDatabase, 1,
                    ERROR_NOT_ENOUGH_MEMORY,
                    {{u"Could not re-open created Pennywhistle time database 'Pennywhistle Time 0.5': error code: 8.",
                      kShown}},
                    0},
        CallFailure{"ReopenExpense", OpenExpenseDatabase, PWH_EXPENSE_DB_NAME, false, PlatformCall::OpenDatabase, 1,
                    ERROR_SHARING_VIOLATION,
                    {{u"Could not re-open created Pennywhistle expense database 'Pennywhistle Expense 0.5': error "
                      u"code: 32.",
                      kShown}},
                    0},
        CallFailure{"ReopenConfig", OpenConfigDatabase, PWH_CONFIG_DB_NAME, false, PlatformCall::OpenDatabase, 1,
                    ERROR_INVALID_HANDLE,
                    {{u"Could not re-open created Pennywhistle database 'Pennywhistle Config 0.5': error code: 6.",
                      kShown}},
                    0},
        CallFailure{"EnumerateBeforeErase", OpenTimeDatabase, PWH_TIME_DB_NAME, true, PlatformCall::FindFirstDatabase,
                    0, ERROR_NOT_ENOUGH_MEMORY,
                    {{u"Could not enumerate device database store: error code: [8].", kNoted},
                     {u"Could enumerate/find Pennywhistle time database 'Pennywhistle Time 0.5', error code: [8].\n\n"
                      u"Your device persistent object store might be corrupted.",
                      kShown}},
                    1},
        CallFailure{"DeleteOnErase", OpenTimeDatabase, PWH_TIME_DB_NAME, true, PlatformCall::DeleteDatabase, 0,
                    ERROR_ACCESS_DENIED,
                    {{u"Could not delete Pennywhistle time database 'Pennywhistle Time 0.5', error code: [5].\n\n"
                      u"Your device persistent object store might be corrupted.",
                      kShown}},
                    1}),
    [](const testing::TestParamInfo<CallFailure>& info) { return std::string(info.param.name); });

// A store in a folder of its own, closed, for tests that make its file
// misbehave before start-up opens it.
class StoreFileTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    CloseObjectStore();
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name)
      if (c == '/') c = '_';
    folder_ = test::TemporaryHome() + "/" + name;
    file_ = folder_ + "/pennywhistle.db";
  }
  void TearDown() override {
    ::chmod(folder_.c_str(), 0700);
    StoreTest::TearDown();
  }
  // Start-up, answering Yes to every question.
  bool StartWithYesToAll() {
    OpenObjectStore(file_);  // may fail; the open below tries again
    for (int i = 0; i < 6; ++i) host.Answer(IDYES);
    return OpenTimeDatabase(this, PWH_TIME_DB_NAME, &TimeDatabase);
  }
  static std::string Contents(const std::string& file) {
    std::ostringstream out;
    out << std::ifstream(file, std::ios::binary).rdbuf();
    return out.str();
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
    EXPECT_FALSE(StartWithYesToAll());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, Format(u"Pennywhistle could not open its data file\n\n'%s'\n\n%s Nothing in it "
                                            u"was changed.\n\nError code: [%ld].",
                                            Utf8ToWide(file_), GetParam().cause, GetParam().code));
    EXPECT_EQ(host.messages[0].title, u"Pennywhistle Startup");
    EXPECT_EQ(host.messages[0].type, MB_OK | MB_ICONEXCLAMATION);
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
    [](const testing::TestParamInfo<ProblemCase>& info) { return std::string(info.param.name); });

// A file that is no store at all cannot have its time database erased: two
// Yes answers move it (and its log) aside under a dated name, and start-up
// goes on with a new store. Nothing is deleted, and No leaves it untouched.
class UnopenableStoreTest : public StoreFileTest, public testing::WithParamInterface<EraseCase> {};

TEST_P(UnopenableStoreTest, IsMovedAsideAfterTwoYes) {
  std::filesystem::create_directories(folder_);
  const std::string garbage(8192, 'x'), log(100, 'w');
  std::ofstream(file_, std::ios::binary) << garbage;
  std::ofstream(file_ + "-wal", std::ios::binary) << log;
  EXPECT_FALSE(OpenObjectStore(file_));
  for (int answer : GetParam().answers) host.Answer(answer);
  EXPECT_EQ(OpenTimeDatabase(this, PWH_TIME_DB_NAME, &TimeDatabase), GetParam().erased);

  std::vector<std::string> moved;
  for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("pennywhistle-damaged-", 0) == 0) moved.push_back(entry.path().string());
  }
  std::sort(moved.begin(), moved.end());
  ASSERT_EQ(host.messages.size(), GetParam().answers.size() + (GetParam().erased ? 1 : 0));
  EXPECT_NE(host.messages[0].text.find(u"error code: [1392]"), std::u16string::npos);
  if (!GetParam().erased) {
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(Contents(file_), garbage);
    EXPECT_EQ(Contents(file_ + "-wal"), log);
    return;
  }
  ASSERT_EQ(moved.size(), 2u);  // the file and its log, under one name
  EXPECT_EQ(moved[1], moved[0] + "-wal");
  EXPECT_EQ(Contents(moved[0]), garbage);
  EXPECT_EQ(Contents(moved[1]), log);
  EXPECT_EQ(host.messages[2].text, Format(u"The damaged data file was kept as\n\n'%s'\n\nPennywhistle starts with a "
                                          u"new, empty one at\n\n'%s'.",
                                          Utf8ToWide(moved[0]), Utf8ToWide(file_)));
  EXPECT_EQ(host.messages[2].type, MB_OK | MB_ICONINFORMATION);
  EXPECT_EQ(DatabaseRecordCount(TimeDatabase), 0u);
  test::Put(TimeDatabase, test::Time(u"01/01/2001"));
  EXPECT_EQ(DatabaseRecordCount(TimeDatabase), 1u);
}

INSTANTIATE_TEST_SUITE_P(Answers, UnopenableStoreTest,
                         ::testing::Values(EraseCase{"YesYes", {IDYES, IDYES}, true},
                                           EraseCase{"No", {IDNO}, false},
                                           EraseCase{"YesNo", {IDYES, IDNO}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pw
