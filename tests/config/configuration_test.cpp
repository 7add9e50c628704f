#include "config/configuration.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <optional>

#include "platform/injected_failures.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"
#include "text/fixed_text.h"

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kFlags = {0, 1, 0, 1, 0, 0, 1, 1};
const std::u16string kKey = PWH_REGISTRY_KEY;
const std::u16string kNames[] = {u"RuntimeColumnInfo",     u"DBSortOrder",           u"BehaviorLogicBools",
                                 u"UseEuropeanDateFormat", u"UseEuropeanTimeFormat", u"DefaultTimeRecord",
                                 u"lDefaultExpenseRecord", u"hDefaultExpenseRecord"};

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }
std::u16string Wide(std::string_view s) { return std::u16string(s.begin(), s.end()); }

// A default record with the given note, stored.
template <class Record>
Blob RecordBlob(std::u16string_view note, bool (*serialize)(const Record&, Blob*)) {
  Record r;
  CopyText(r.client, u"Acme"), CopyText(r.notes, note);
  Blob b;
  return serialize(r, &b), b;
}

class ConfigurationTest : public testing::Test {
 protected:
  void SetUp() override {
    path_ = test::NewTestFolder("config") + "/registry.db";
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
  Blob timeBlob_ = RecordBlob<TimeRecord>(u"time note", SerializeTimeRecord);
  Blob expenseBlob_ = RecordBlob<ExpenseRecord>(u"an expense note", SerializeExpenseRecord);
  Bytes columns_;
};

// A first start writes every value at once. The expense record is stored in
// two halves. Two stored bytes mean no default record, whatever they are.
TEST_F(ConfigurationTest, ValuesAsStored) {
  {
    PWHConfiguration first;
    for (const auto& name : kNames) EXPECT_TRUE(Raw(name)) << Narrow(name);
    EXPECT_EQ(Raw(u"hDefaultExpenseRecord"), Bytes({0x2D, 0x00}));  // no default record
  }
  StoreNonDefaults();
  const std::size_t half = expenseBlob_.size() / 2;
  EXPECT_EQ(Raw(u"lDefaultExpenseRecord"), Bytes(expenseBlob_.begin(), expenseBlob_.begin() + half));
  EXPECT_EQ(Raw(u"hDefaultExpenseRecord"), Bytes(expenseBlob_.begin() + half, expenseBlob_.end()));
  const Bytes odd = {0xFF, 0x7F}, zeros = {0, 0};
  Raw(u"DefaultTimeRecord", &odd);
  Raw(u"lDefaultExpenseRecord", &zeros);
  PWHConfiguration c;
  EXPECT_EQ(c.defaultTimeRecordBlob(), nullptr);
  EXPECT_EQ(c.defaultExpenseRecordBlob(), nullptr);
  EXPECT_TRUE(host_.messages.empty());
}

// A value missing or shorter than its layout keeps its default and no
// other value: a required one gives one message, an optional one reads as 0
// in silence. A value of no bytes says so, optional or not.
TEST_F(ConfigurationTest, ShortValuesCountAsMissing) {
  const std::pair<std::u16string, std::optional<std::size_t>> cases[] = {  // none: deleted
      {u"RuntimeColumnInfo", 1229}, {u"DBSortOrder", 0},           {u"BehaviorLogicBools", std::nullopt},
      {u"DefaultTimeRecord", 3},    {u"hDefaultExpenseRecord", 2}, {u"UseEuropeanDateFormat", 0},
      {u"UseEuropeanTimeFormat", std::nullopt}};
  for (const auto& [name, length] : cases) {
    SCOPED_TRACE(Narrow(name) + " " + (length ? std::to_string(*length) : "missing"));
    StoreNonDefaults();
    host_.messages.clear();
    const Bytes shortValue(length.value_or(0), 0x01);
    Raw(name, length ? &shortValue : nullptr, !length);

    PWHConfiguration c;
    const bool required = name.find(u"European") == std::u16string::npos;
    if (length == 0u) {
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
    EXPECT_TRUE(required || c.UseEuropeanDateFormat + c.UseEuropeanTimeFormat == 1);
    Bytes columns;
    c.columns().Serialize(&columns);
    EXPECT_EQ(columns == columns_, name != u"RuntimeColumnInfo");
    EXPECT_EQ(c.DBSortOrder == 7, name != u"DBSortOrder");
    EXPECT_EQ(c.behaviorFlags[0] == 0, name != u"BehaviorLogicBools");
    EXPECT_EQ(c.defaultTimeRecordBlob() != nullptr, name != u"DefaultTimeRecord");
    EXPECT_EQ(c.defaultExpenseRecordBlob() != nullptr, name != u"hDefaultExpenseRecord");
  }
}

// A store that fails part-way (here at the last value, after every other was
// written) leaves the settings of the last run whole.
TEST_F(ConfigurationTest, FailedStoreLeavesEveryValueAsItWas) {
  StoreNonDefaults();
  std::vector<std::optional<Bytes>> before;
  for (const auto& name : kNames) before.push_back(Raw(name));

  PWHConfiguration c;
  c.DBSortOrder = 9;
  c.setDefaultExpenseRecordBlob(Blob(2 * PWH_MAX_REGISTRY_VALUE_LENGTH + 1, 0x41));
  EXPECT_FALSE(c.storeSelf());
  ExpectMessage(u"PWHConfiguration::WriteRegistryKey: internal error: cannot store a registry key:\n\n" +
                    KeyText(u"hDefaultExpenseRecord") + u".\n\nMaximum key length of 4096 exceeded [4097].",
                u"PWH Configuration Error");
  for (std::size_t i = 0; i < std::size(kNames); ++i) EXPECT_EQ(Raw(kNames[i]), before[i]) << Narrow(kNames[i]);
  c.setDefaultExpenseRecordBlob({});
}

// Halves of two different expense records (a store torn between two runs)
// are refused: there is no default expense record, and nothing garbled.
TEST_F(ConfigurationTest, TornExpenseHalvesAreRefused) {
  StoreNonDefaults();
  const Blob shorter = RecordBlob<ExpenseRecord>(u"short", SerializeExpenseRecord),
             longer = RecordBlob<ExpenseRecord>(std::u16string(300, u'x'), SerializeExpenseRecord);
  for (bool lowFromLonger : {false, true}) {
    const Blob &low = lowFromLonger ? longer : shorter, &high = lowFromLonger ? shorter : longer;
    const Bytes lowHalf(low.begin(), low.begin() + low.size() / 2), highHalf(high.begin() + high.size() / 2, high.end());
    Raw(u"lDefaultExpenseRecord", &lowHalf);
    Raw(u"hDefaultExpenseRecord", &highHalf);
    EXPECT_EQ(PWHConfiguration().defaultExpenseRecordBlob(), nullptr) << lowFromLonger;
  }
  EXPECT_TRUE(host_.messages.empty());
}

// Each query of a start failing in turn (every value is read in two queries,
// its size and then its bytes, in the order of loadSelf: columns, sort order,
// the two optional formats, flags, time record, expense halves) with an I/O
// error, a busy registry or no memory. That value counts as unknown and is
// not written back at exit, unless the user changed it; every other value
// still loads; a required one's failure is shown once. A clean start then
// finds every stored value as it was.
TEST_F(ConfigurationTest, UnreadableValuesAreNeverWrittenBack) {
  StoreNonDefaults();
  std::vector<std::optional<Bytes>> before;
  for (const auto& name : kNames) before.push_back(Raw(name));
  for (DWORD error : {ERROR_WRITE_FAULT, ERROR_SHARING_VIOLATION, ERROR_NOT_ENOUGH_MEMORY}) {
    for (int skip = 0; skip < 16; ++skip) {
      SCOPED_TRACE(std::to_string(error) + " " + std::to_string(skip));
      host_.messages.clear();
      FailPlatformCall(PlatformCall::RegQueryValue, skip, error);
      {
        PWHConfiguration c;
        EXPECT_EQ(c.DBSortOrder == 7, skip / 2 != 1);
        EXPECT_EQ(c.defaultTimeRecordBlob() != nullptr, skip / 2 != 5);
      }
      ClearPlatformFailures();
      EXPECT_EQ(host_.messages.size(), skip / 2 == 2 || skip / 2 == 3 ? 0u : 1u);
      if (skip == 1) {
        EXPECT_EQ(host_.messages[0].text, u"Pennywhistle was unable to read device registry key:\n\n" +
                                              KeyText(u"RuntimeColumnInfo") +
                                              u".\n\nYour device registry might be corrupted. Error code: [" +
                                              Wide(std::to_string(error)) + u"].");
      }
      for (std::size_t i = 0; i < std::size(kNames); ++i) EXPECT_EQ(Raw(kNames[i]), before[i]) << Narrow(kNames[i]);
    }
  }
  FailPlatformCall(PlatformCall::RegQueryValue, 2, ERROR_WRITE_FAULT);
  {
    PWHConfiguration c;
    c.DBSortOrder = 3;  // changed by the user after all
  }
  EXPECT_EQ(Raw(u"DBSortOrder"), Bytes{3});

  host_.messages.clear();
  FailPlatformCall(PlatformCall::RegCloseKey, 0, ERROR_INVALID_HANDLE);
  { PWHConfiguration c; }
  ExpectMessage(u"Warning: Pennywhistle was unable to close registry configuration key:\n\n\"" + kKey + u"\".",
                u"PWH Config Warning");
}

TEST_F(ConfigurationTest, UnusableRegistryLeavesDefaultsAndAQuietExit) {
  CloseRegistry();
  std::ofstream(path_, std::ios::binary | std::ios::trunc) << std::string(4096, 'x');
  OpenRegistry(path_);
  {
    PWHConfiguration c;
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
  { PWHConfiguration first; }
  CloseRegistry();  // the open registry keeps every other connection out
  sqlite3* file = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &file), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(file,
                         "CREATE TRIGGER refuse_insert BEFORE INSERT ON reg_values BEGIN SELECT RAISE(ABORT, 'no'); END;"
                         "CREATE TRIGGER refuse_update BEFORE UPDATE ON reg_values BEGIN SELECT RAISE(ABORT, 'no'); END;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(file);
  ASSERT_TRUE(OpenRegistry(path_));
  PWHConfiguration c;
  EXPECT_FALSE(c.storeSelf());
  ExpectMessage(u"Pennywhistle was unable to store device registry key:\n\n" + KeyText(u"RuntimeColumnInfo") +
                    u".\n\nYour device registry might be corrupted. Error code: [29].",  // a write fault
                u"PWH Configuration Error");
}

TEST_F(ConfigurationTest, EmptyValuesAreNeverWritten) {
  PWHConfiguration c;
  EXPECT_FALSE(c.WriteRegistryKey(u"Empty", kFlags.data(), 0));
  ExpectMessage(u"PWHConfiguration::WriteRegistryKey: internal error: requested storage of an empty (length 0) "
                u"registry key:\n\n" + KeyText(u"Empty") + u".",
                u"PWH Configuration Error");
}

}  // namespace
}  // namespace pw
