#include "config/configuration.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <optional>

#include "platform/injected_failures.h"
#include "support/scripted_host.h"
#include "text/time_text.h"
#include "support/temp_home.h"
#include "text/fixed_text.h"
#include "text/format.h"

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kMarker = {0x2D, 0x00};
const Bytes kFlags = {0, 1, 0, 1, 0, 0, 1, 1};
const std::u16string kKey = PWH_REGISTRY_KEY;

// Default-record blobs with a note of the given text.
Blob TimeBlob(std::u16string_view note) {
  TimeRecord r;
  r.startHour = 9;
  CopyText(r.client, u"Acme"), CopyText(r.notes, note);
  Blob b;
  SerializeTimeRecord(r, &b);
  return b;
}
Blob ExpenseBlob(std::u16string_view note) {
  ExpenseRecord r;
  r.receipt = true;
  CopyText(r.amount, u"12.50"), CopyText(r.notes, note);
  Blob b;
  SerializeExpenseRecord(r, &b);
  return b;
}

class ConfigurationTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = test::TemporaryHome() + "/registries/config." + name;
    ASSERT_TRUE(OpenRegistry(path_));
  }
  void TearDown() override {
    ClearPlatformFailures();
    CloseRegistry();
  }

  // The key's values as stored, bypassing the configuration; none when missing.
  std::optional<Bytes> Raw(std::u16string_view name, const Bytes* write = nullptr, bool erase = false) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (write) RegSetValueExW(key, name, 0, REG_BINARY, write->data(), DWORD(write->size()));
    if (erase) RegDeleteValueW(key, name);
    DWORD size = 0;
    std::optional<Bytes> value;
    if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS)
      RegQueryValueExW(key, name, nullptr, nullptr, value.emplace(size).data(), &size);
    RegCloseKey(key);
    return value;
  }

  // Stores a key whose every value differs from the defaults.
  void StoreNonDefaults() {
    PWHConfiguration c;
    c.DBSortOrder = 7;
    std::copy(kFlags.begin(), kFlags.end(), c.behaviorFlags);
    c.UseEuropeanDateFormat = c.UseEuropeanTimeFormat = 1;
    c.columns().UpdateColumnByName(ColumnRange::Time, u"Client", 60, 3, 0);
    c.columns().MoveColumnUp(ColumnRange::Expense, 16);
    c.columns().UpdateColumnByName(ColumnRange::Expense, u"Payment", 123, 9, 1);
    c.setDefaultTimeRecordBlob(timeBlob_);
    c.setDefaultExpenseRecordBlob(expenseBlob_);
    c.columns().Serialize(&columns_);
  }

  std::u16string KeyText(std::u16string_view value) { return u"\"" + kKey + u"\\" + std::u16string(value) + u"\""; }
  // The one message shown so far.
  void ExpectMessage(const std::u16string& text, std::u16string_view title) {
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, text);
    EXPECT_EQ(host_.messages[0].title, title);
  }

  std::string path_;
  test::ScriptedHost host_;
  Blob timeBlob_ = TimeBlob(u"time note");
  Blob expenseBlob_ = ExpenseBlob(u"an expense note");
  Bytes columns_;
};

TEST_F(ConfigurationTest, FirstStartWritesEveryValueWithItsDefault) {
  Bytes defaultColumns;
  ColumnModel().Serialize(&defaultColumns);
  PWHConfiguration c;
  const std::pair<std::u16string_view, Bytes> expected[] = {
      {u"RuntimeColumnInfo", defaultColumns}, {u"DBSortOrder", {1}}, {u"BehaviorLogicBools", {1, 1, 1, 1, 1, 1, 0, 0}},
      {u"UseEuropeanDateFormat", {0}}, {u"UseEuropeanTimeFormat", {0}}, {u"DefaultTimeRecord", kMarker},
      {u"lDefaultExpenseRecord", kMarker}, {u"hDefaultExpenseRecord", kMarker}};
  for (const auto& [name, bytes] : expected) EXPECT_EQ(Raw(name), bytes) << std::string(name.begin(), name.end());
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(ConfigurationTest, EverySettingSurvivesStoreAndReload) {
  StoreNonDefaults();
  const std::size_t half = expenseBlob_.size() / 2;
  EXPECT_EQ(Raw(u"lDefaultExpenseRecord"), Bytes(expenseBlob_.begin(), expenseBlob_.begin() + half));
  EXPECT_EQ(Raw(u"hDefaultExpenseRecord"), Bytes(expenseBlob_.begin() + half, expenseBlob_.end()));

  PWHConfiguration c;
  Bytes columns;
  c.columns().Serialize(&columns);
  EXPECT_EQ(columns, columns_);
  EXPECT_EQ(c.DBSortOrder, 7);
  EXPECT_EQ(Bytes(c.behaviorFlags, c.behaviorFlags + 8), kFlags);
  EXPECT_EQ(c.UseEuropeanDateFormat + c.UseEuropeanTimeFormat, 2);
  ASSERT_TRUE(c.defaultTimeRecordBlob() && c.defaultExpenseRecordBlob());
  EXPECT_EQ(*c.defaultTimeRecordBlob(), timeBlob_);
  EXPECT_EQ(*c.defaultExpenseRecordBlob(), expenseBlob_);
  EXPECT_TRUE(host_.messages.empty());

  // Two stored bytes mean no default record, whatever they are.
  const Bytes odd = {0xFF, 0x7F}, zeros = {0, 0};
  Raw(u"DefaultTimeRecord", &odd);
  Raw(u"lDefaultExpenseRecord", &zeros);
  PWHConfiguration again;
  EXPECT_EQ(again.defaultTimeRecordBlob(), nullptr);
  EXPECT_EQ(again.defaultExpenseRecordBlob(), nullptr);
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(ConfigurationTest, StoredRecordLengthsFollowTheNoteUpToTheLimit) {
  // {expense, note length, length of each stored value; 0 when refused}
  const std::tuple<bool, int, std::size_t> cases[] = {{false, 0, 3642}, {false, 227, 4096}, {false, 228, 0},
                                                      {true, 0, 2060},  {true, 2036, 4096}, {true, 2037, 0}};
  for (const auto& [expense, noteLength, stored] : cases) {
    SCOPED_TRACE(testing::Message() << expense << " " << noteLength);
    host_.messages.clear();
    PWHConfiguration c;
    const std::u16string note(noteLength, u'n');
    c.setDefaultExpenseRecordBlob(expense ? ExpenseBlob(note) : expenseBlob_);
    if (!expense) c.setDefaultTimeRecordBlob(TimeBlob(note));
    Raw(u"hDefaultExpenseRecord", nullptr, true);  // to see whether it is written

    const std::u16string value = expense ? u"lDefaultExpenseRecord" : u"DefaultTimeRecord";
    EXPECT_EQ(c.storeSelf(), stored != 0);
    if (stored != 0) {
      EXPECT_EQ(Raw(value)->size(), stored);
      EXPECT_EQ(Raw(u"hDefaultExpenseRecord")->size(), expense ? stored : expenseBlob_.size() / 2);
      EXPECT_TRUE(host_.messages.empty());
    } else {
      ExpectMessage(u"PWHConfiguration::WriteRegistryKey: internal error: cannot store a registry key:\n\n" +
                        KeyText(value) + u".\n\nMaximum key length of 4096 exceeded [" +
                        Format(u"%d", expense ? 2060 + noteLength : 3642 + 2 * noteLength) + u"].",
                    u"PWH Configuration Error");
      EXPECT_EQ(host_.messages[0].type, MB_OK | MB_ICONEXCLAMATION);
      EXPECT_EQ(host_.messages[0].owner, nullptr);
      EXPECT_FALSE(Raw(u"hDefaultExpenseRecord"));  // the later values are not written
    }
    c.setDefaultTimeRecordBlob({});
    c.setDefaultExpenseRecordBlob({});
  }
}

// A value missing or shorter than its layout. A required one gives one
// message and keeps its default and those of every value after it; an
// optional one reads as 0 in silence. A value of no bytes says so, optional
// or not.
struct BrokenValue {
  const char16_t* name;
  std::optional<std::size_t> length;  // none: deleted
};

void PrintTo(const BrokenValue& v, std::ostream* os) {
  *os << std::string(v.name, v.name + std::char_traits<char16_t>::length(v.name)) << "_"
      << (v.length ? std::to_string(*v.length) : "missing");
}

class BrokenValueTest : public ConfigurationTest, public testing::WithParamInterface<BrokenValue> {};

TEST_P(BrokenValueTest, CountsAsMissing) {
  StoreNonDefaults();
  const std::u16string name = GetParam().name;
  const Bytes shortValue(GetParam().length.value_or(0), 0x01);
  Raw(name, GetParam().length ? &shortValue : nullptr, !GetParam().length);

  PWHConfiguration c;
  const std::u16string order[] = {u"RuntimeColumnInfo", u"DBSortOrder", u"BehaviorLogicBools",
                                  u"DefaultTimeRecord", u"lDefaultExpenseRecord", u"hDefaultExpenseRecord"};
  const std::size_t broken = std::find(std::begin(order), std::end(order), name) - std::begin(order);
  const bool required = broken < std::size(order);
  if (GetParam().length == 0u) {
    ExpectMessage(u"Pennywhistle::ReadRegistryKey: device registry key:\n\n" + KeyText(name) +
                      u"\n\ncontains no data. Your device registry might be corrupted.",
                  u"Pennywhistle Error");
  } else if (required) {
    ExpectMessage(u"Pennywhistle::ReadRegistryKey: unable to query device registry key:\n\n" + KeyText(name) +
                      u".\n\nYour device registry might be corrupted. Error code: [2].",
                  u"Pennywhistle Error");
  } else {
    EXPECT_TRUE(host_.messages.empty());
  }
  if (!required) {
    EXPECT_EQ(c.UseEuropeanDateFormat + c.UseEuropeanTimeFormat, 1);
  }
  Bytes columns;
  c.columns().Serialize(&columns);
  EXPECT_EQ(columns == columns_, broken > 0);
  EXPECT_EQ(c.DBSortOrder == 7, broken > 1);
  EXPECT_EQ(c.behaviorFlags[0] == 0, broken > 2);
  EXPECT_EQ(c.defaultTimeRecordBlob() != nullptr, broken > 3);
  EXPECT_EQ(c.defaultExpenseRecordBlob() != nullptr, broken > 5);
}

INSTANTIATE_TEST_SUITE_P(
    RegistryValues, BrokenValueTest,
    testing::Values(BrokenValue{u"BehaviorLogicBools", std::nullopt}, BrokenValue{u"BehaviorLogicBools", 7},
                    BrokenValue{u"RuntimeColumnInfo", 1229}, BrokenValue{u"DBSortOrder", 0},
                    BrokenValue{u"DefaultTimeRecord", 3641}, BrokenValue{u"DefaultTimeRecord", 3},
                    BrokenValue{u"lDefaultExpenseRecord", 2059}, BrokenValue{u"hDefaultExpenseRecord", 2},
                    BrokenValue{u"UseEuropeanDateFormat", 0}, BrokenValue{u"UseEuropeanTimeFormat", std::nullopt},
                    BrokenValue{u"RuntimeColumnInfo", 0}, BrokenValue{u"DefaultTimeRecord", 0}),
    [](const testing::TestParamInfo<BrokenValue>& info) { return testing::PrintToString(info.param); });

// A store that fails part-way (here a value too long to store) leaves the
// settings of the last run whole: none of the eight values changes.
class FailedStoreTest : public ConfigurationTest, public testing::WithParamInterface<bool> {};

TEST_P(FailedStoreTest, LeavesEveryValueAsItWas) {
  StoreNonDefaults();
  const std::u16string names[] = {u"RuntimeColumnInfo", u"DBSortOrder", u"BehaviorLogicBools",
                                  u"UseEuropeanDateFormat", u"UseEuropeanTimeFormat", u"DefaultTimeRecord",
                                  u"lDefaultExpenseRecord", u"hDefaultExpenseRecord"};
  std::vector<std::optional<Bytes>> before;
  for (const auto& name : names) before.push_back(Raw(name));

  PWHConfiguration c;
  c.DBSortOrder = 9;
  c.behaviorFlags[0] = 0;
  c.UseEuropeanDateFormat = c.UseEuropeanTimeFormat = 0;
  c.columns().UpdateColumnByName(ColumnRange::Time, u"Client", 99, 2, 1);
  if (GetParam()) {
    // The high half is the first value refused, after every other was written.
    c.setDefaultExpenseRecordBlob(Blob(2 * PWH_MAX_REGISTRY_VALUE_LENGTH + 1, 0x41));
  } else {
    c.setDefaultTimeRecordBlob(TimeBlob(std::u16string(228, u'n')));
  }
  EXPECT_FALSE(c.storeSelf());
  EXPECT_EQ(host_.messages.size(), 1u);
  for (std::size_t i = 0; i < std::size(names); ++i)
    EXPECT_EQ(Raw(names[i]), before[i]) << std::string(names[i].begin(), names[i].end());
  c.setDefaultTimeRecordBlob({});
  c.setDefaultExpenseRecordBlob({});
}

INSTANTIATE_TEST_SUITE_P(FailingValue, FailedStoreTest, testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "ExpenseHigh" : "TimeRecord"); });

// Halves of two different expense records (a store torn between two runs)
// are refused: there is no default expense record, and nothing garbled.
TEST_F(ConfigurationTest, TornExpenseHalvesAreRefused) {
  StoreNonDefaults();
  const Blob shorter = ExpenseBlob(u"short"), longer = ExpenseBlob(std::u16string(300, u'x'));
  for (bool lowFromLonger : {false, true}) {
    const Blob& low = lowFromLonger ? longer : shorter;
    const Blob& high = lowFromLonger ? shorter : longer;
    const Bytes lowHalf(low.begin(), low.begin() + low.size() / 2), highHalf(high.begin() + high.size() / 2, high.end());
    Raw(u"lDefaultExpenseRecord", &lowHalf);
    Raw(u"hDefaultExpenseRecord", &highHalf);
    PWHConfiguration c;
    EXPECT_EQ(c.defaultExpenseRecordBlob(), nullptr) << lowFromLonger;
  }
  EXPECT_TRUE(host_.messages.empty());
}

// A default time record whose times no clock shows (a damaged or foreign
// value) loads with no times at all; the time arithmetic then never sees
// them. Times of the day, 23:59 included, load as stored.
struct StoredTimes {
  std::int32_t startHour, startMinute, endHour, endMinute;
  bool kept;
};

class DefaultTimesTest : public ConfigurationTest, public testing::WithParamInterface<StoredTimes> {};

TEST_P(DefaultTimesTest, OutOfRangeTimesLoadAsZero) {
  const StoredTimes& t = GetParam();
  Blob stored = TimeBlob(u"note");
  const auto put = [&](std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i) stored[at + i] = std::uint8_t(std::uint32_t(v) >> (8 * i));
  };
  put(0, t.startHour), put(4, t.startMinute), put(9, t.endHour), put(13, t.endMinute);
  stored[8] = stored[17] = 1;  // both PM
  {
    PWHConfiguration c;
    c.setDefaultTimeRecordBlob(stored);
  }
  PWHConfiguration c;
  auto r = std::make_unique<TimeRecord>();
  ASSERT_TRUE(DeserializeTimeRecord(c.defaultTimeRecordBlob(), *r));
  const std::vector<std::int32_t> times = {r->startHour, r->startMinute, r->startPm, r->endHour, r->endMinute, r->endPm};
  if (t.kept) {
    EXPECT_EQ(times, (std::vector<std::int32_t>{t.startHour, t.startMinute, 1, t.endHour, t.endMinute, 1}));
  } else {
    EXPECT_EQ(times, std::vector<std::int32_t>(6, 0));
  }
  EXPECT_EQ(TextOf(r->client), u"Acme");
  std::u16string summary;
  FillRecordDuration(*r);  // under UBSan: no overflow
  FormatDurationSummary(&summary, *r, PWH_SUMMARY_LONG);
}

INSTANTIATE_TEST_SUITE_P(Times, DefaultTimesTest,
                         testing::Values(StoredTimes{2147483644, 0, 5, 0, false}, StoredTimes{1, 60, 5, 0, false},
                                         StoredTimes{1, 0, 24, 0, false}, StoredTimes{1, 0, 5, -1, false},
                                         StoredTimes{-2147483647 - 1, 0, 5, 0, false},
                                         StoredTimes{1, 2147483647, 5, 0, false}, StoredTimes{0, 0, 23, 59, true},
                                         StoredTimes{11, 30, 12, 0, true}));

// Registry calls that fail where no file can be made to fail them: each
// message is shown whole, once. A start reads every value in two queries (its
// size, then its bytes), in the order of loadSelf.
struct CallFailure {
  const char* name;
  PlatformCall call;
  int skip;
  DWORD error;
  const char16_t* text;  // null: nothing is shown
  const char16_t* title;
  unsigned type;
};

void PrintTo(const CallFailure& f, std::ostream* os) { *os << f.name; }

class ConfigurationCallFailureTest : public ConfigurationTest, public testing::WithParamInterface<CallFailure> {};

TEST_P(ConfigurationCallFailureTest, IsShownWholeOnce) {
  const CallFailure& f = GetParam();
  StoreNonDefaults();
  FailPlatformCall(f.call, f.skip, f.error);
  { PWHConfiguration c; }
  if (!f.text) {
    EXPECT_TRUE(host_.messages.empty());
  } else {
    ExpectMessage(f.text, f.title);
    EXPECT_EQ(host_.messages[0].type, f.type);
    EXPECT_EQ(host_.messages[0].owner, nullptr);
  }
  host_.messages.clear();
  { PWHConfiguration again; }
  EXPECT_TRUE(host_.messages.empty());
}

constexpr unsigned kShown = MB_OK | MB_ICONEXCLAMATION;

INSTANTIATE_TEST_SUITE_P(
    PlatformCalls, ConfigurationCallFailureTest,
    testing::Values(
        CallFailure{"SizeOfColumns", PlatformCall::RegQueryValue, 0, ERROR_ACCESS_DENIED,
                    u"Pennywhistle::ReadRegistryKey: unable to query device registry key:\n\n\"Software\\brenwick\\"
                    u"Pennywhistle\\RunTimeConfig 0.5\\RuntimeColumnInfo\".\n\nYour device registry might be "
                    u"corrupted. Error code: [5].",
                    u"Pennywhistle Error", kShown},
        CallFailure{"BytesOfColumns", PlatformCall::RegQueryValue, 1, ERROR_ACCESS_DENIED,
                    u"Pennywhistle was unable to read device registry key:\n\n\"Software\\brenwick\\Pennywhistle\\"
                    u"RunTimeConfig 0.5\\RuntimeColumnInfo\".\n\nYour device registry might be corrupted. Error "
                    u"code: [5].",
                    u"PWH Configuration Error", kShown},
        CallFailure{"BytesOfFlags", PlatformCall::RegQueryValue, 9, ERROR_NOT_ENOUGH_MEMORY,
                    u"Pennywhistle was unable to read device registry key:\n\n\"Software\\brenwick\\Pennywhistle\\"
                    u"RunTimeConfig 0.5\\BehaviorLogicBools\".\n\nYour device registry might be corrupted. Error "
                    u"code: [8].",
                    u"PWH Configuration Error", kShown},
        CallFailure{"BytesOfExpenseHigh", PlatformCall::RegQueryValue, 15, ERROR_WRITE_FAULT,
                    u"Pennywhistle was unable to read device registry key:\n\n\"Software\\brenwick\\Pennywhistle\\"
                    u"RunTimeConfig 0.5\\hDefaultExpenseRecord\".\n\nYour device registry might be corrupted. "
                    u"Error code: [29].",
                    u"PWH Configuration Error", kShown},
        CallFailure{"BytesOfOptionalDate", PlatformCall::RegQueryValue, 5, ERROR_ACCESS_DENIED, nullptr, nullptr, 0},
        CallFailure{"Close", PlatformCall::RegCloseKey, 0, ERROR_INVALID_HANDLE,
                    u"Warning: Pennywhistle was unable to close registry configuration key:\n\n\"Software\\"
                    u"brenwick\\Pennywhistle\\RunTimeConfig 0.5\".",
                    u"PWH Config Warning", MB_OK | MB_ICONINFORMATION}),
    [](const testing::TestParamInfo<CallFailure>& info) { return std::string(info.param.name); });

TEST_F(ConfigurationTest, UnusableRegistryLeavesDefaultsAndAQuietExit) {
  CloseRegistry();
  std::ofstream(path_, std::ios::binary | std::ios::trunc) << std::string(4096, 'x');
  OpenRegistry(path_);
  {
    PWHConfiguration c;
    EXPECT_EQ(c.confirmCopy(), 1);
    EXPECT_FALSE(c.storeSelf());
  }
  ExpectMessage(u"Pennywhistle was unable to access device registry key:\n\n\"" + kKey +
                    u"\"\n\nto configure itself - your device registry might be corrupted - using default PWH "
                    u"configuration. Error code: [1392].",
                u"PWH Configuration Error");
}

// A registry file that refuses writes (as a full or read-only disk does):
// the first value is reported whole and nothing after it is tried.
TEST_F(ConfigurationTest, RegistryThatRefusesWritesIsReported) {
  PWHConfiguration c;
  sqlite3* file = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &file), SQLITE_OK);
  for (const char* statement : {"INSERT", "UPDATE"}) {
    const std::string refuse = std::string("CREATE TRIGGER refuse_") + statement + " BEFORE " + statement +
                               " ON reg_values BEGIN SELECT RAISE(ABORT, 'refused'); END;";
    EXPECT_EQ(sqlite3_exec(file, refuse.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  }
  sqlite3_close(file);
  EXPECT_FALSE(c.storeSelf());
  ExpectMessage(u"Pennywhistle was unable to store device registry key:\n\n" + KeyText(u"RuntimeColumnInfo") +
                    u".\n\nYour device registry might be corrupted. Error code: [29].",  // a write fault
                u"PWH Configuration Error");
  host_.messages.clear();
}

TEST_F(ConfigurationTest, RegistryAccessRefusalsAreReported) {
  PWHConfiguration c;
  const Bytes hollow;
  Blob read;
  std::size_t length = 0;
  Raw(u"Hollow", &hollow);
  EXPECT_FALSE(c.WriteRegistryKey(u"Empty", kFlags.data(), 0));
  EXPECT_FALSE(c.ReadRegistryKey(u"Absent", &read, &length, false));  // silent
  EXPECT_FALSE(c.ReadRegistryKey(u"Hollow", &read, &length, false));  // shown even when optional
  EXPECT_EQ(length, 0u);
  const std::u16string expected[] = {
      u"PWHConfiguration::WriteRegistryKey: internal error: requested storage of an empty (length 0) registry "
      u"key:\n\n" + KeyText(u"Empty") + u".",
      u"Pennywhistle::ReadRegistryKey: device registry key:\n\n" + KeyText(u"Hollow") +
          u"\n\ncontains no data. Your device registry might be corrupted."};
  ASSERT_EQ(host_.messages.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(host_.messages[i].text, expected[i]);
}

}  // namespace
}  // namespace pw
