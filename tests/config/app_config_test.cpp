#include "config/app_config.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "config/column_dialog.h"
#include "shell/globals.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"
#include "text/fixed_text.h"

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Values = std::map<std::u16string, Bytes>;
const Bytes kMarker = {0x2D, 0x00};

class AppConfigTest : public testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    ASSERT_TRUE(OpenRegistry(test::TemporaryHome() + "/registries/app-config-" + std::to_string(++serial)));
  }
  void TearDown() override { CloseRegistry(); }

  // Every value of the key as stored.
  static Values Stored() {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, PWH_REGISTRY_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    Values values;
    for (const char16_t* name : {u"RuntimeColumnInfo", u"DBSortOrder", u"BehaviorLogicBools", u"UseEuropeanDateFormat",
                                 u"UseEuropeanTimeFormat", u"DefaultTimeRecord", u"lDefaultExpenseRecord",
                                 u"hDefaultExpenseRecord"}) {
      DWORD size = 0;
      if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) continue;
      Bytes& bytes = values[name];
      bytes.resize(size);
      RegQueryValueExW(key, name, nullptr, nullptr, bytes.data(), &size);
    }
    RegCloseKey(key);
    return values;
  }

  // What the key must hold for the settings in memory.
  static Values Expected(const PWHConfiguration& c) {
    Values v;
    c.columns().Serialize(&v[u"RuntimeColumnInfo"]);
    v[u"DBSortOrder"] = {c.DBSortOrder};
    v[u"BehaviorLogicBools"] = Bytes(c.behaviorFlags, c.behaviorFlags + PWH_BEHAVIOR_FLAG_COUNT);
    v[u"UseEuropeanDateFormat"] = {c.UseEuropeanDateFormat};
    v[u"UseEuropeanTimeFormat"] = {c.UseEuropeanTimeFormat};
    v[u"DefaultTimeRecord"] = c.defaultTimeRecordBlob() ? *c.defaultTimeRecordBlob() : kMarker;
    if (const Blob* e = c.defaultExpenseRecordBlob()) {
      v[u"lDefaultExpenseRecord"] = Bytes(e->begin(), e->begin() + std::ptrdiff_t(e->size() / 2));
      v[u"hDefaultExpenseRecord"] = Bytes(e->begin() + std::ptrdiff_t(e->size() / 2), e->end());
    } else {
      v[u"lDefaultExpenseRecord"] = v[u"hDefaultExpenseRecord"] = kMarker;
    }
    return v;
  }

  test::ScriptedHost host_;
};

// --- What the dialog shows and what OK keeps --------------------------------

struct FlagsCase {
  const char* label;
  std::uint8_t date, time;
  Bytes flags;
  AppConfigChoices shown;
  Bytes flagsAfterOk;  // OK without touching anything
};

const FlagsCase kFlagCases[] = {
    {"Defaults", 0, 0, {1, 1, 1, 1, 1, 1, 0, 0}, {false, false, {true, true, true, true, true, true}, false, false},
     {1, 1, 1, 1, 1, 1, 0, 0}},
    {"EuropeanArmyAndActive", 1, 1, {0, 1, 0, 1, 0, 1, 1, 1}, {true, true, {false, true, false, true, false, true}, true, true},
     {0, 1, 0, 1, 0, 1, 1, 1}},
    // Only exactly 1 counts as set; OK writes what was shown.
    {"OtherValuesCountAsOff", 2, 255, {2, 1, 0, 0, 7, 0, 9, 1}, {false, false, {false, true, false, false, false, false}, false, true},
     {0, 1, 0, 0, 0, 0, 0, 1}},
};

class AppConfigFlagsTest : public AppConfigTest, public testing::WithParamInterface<FlagsCase> {};

TEST_P(AppConfigFlagsTest, OpensWithTheSettingsAndOkWithoutChangesKeepsThem) {
  const FlagsCase& c = GetParam();
  PWHConfiguration config;
  config.UseEuropeanDateFormat = c.date, config.UseEuropeanTimeFormat = c.time;
  std::copy(c.flags.begin(), c.flags.end(), config.behaviorFlags);
  const AppConfigChoices shown = ReadAppConfigChoices(config);
  EXPECT_EQ(shown, c.shown);
  ApplyAppConfigChoices(config, shown);
  EXPECT_EQ(Bytes(config.behaviorFlags, config.behaviorFlags + 8), c.flagsAfterOk);
  EXPECT_EQ(config.UseEuropeanDateFormat, c.shown.europeanDates ? 1 : 0);
  EXPECT_EQ(config.UseEuropeanTimeFormat, c.shown.armyTimes ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Flags, AppConfigFlagsTest, testing::ValuesIn(kFlagCases),
                         [](const auto& info) { return std::string(info.param.label); });

// --- The default-record buttons ----------------------------------------------

struct DefaultCase {
  const char* label;
  bool expense;
  bool existing;  // a default record is stored before the press
  int result;     // what the entry dialog returns
};

const DefaultCase kDefaultCases[] = {
    {"TimeNewOk", false, false, IDOK},    {"TimeNewCancel", false, false, IDCANCEL},
    {"TimeEditOk", false, true, IDOK},    {"TimeEditCancel", false, true, IDCANCEL},
    {"ExpenseNewOk", true, false, IDOK},  {"ExpenseNewCancel", true, false, IDCANCEL},
    {"ExpenseEditOk", true, true, IDOK},  {"ExpenseEditCancel", true, true, IDCANCEL},
};

class DefaultRecordTest : public AppConfigTest, public testing::WithParamInterface<DefaultCase> {};

TEST_P(DefaultRecordTest, EntryDialogRunsOnTheDefaultAndOkReplacesIt) {
  const DefaultCase& c = GetParam();
  PWHConfiguration config;
  TimeRecord t;
  ExpenseRecord e;
  CopyText(t.client, u"Stored"), CopyText(t.notes, u"stored note"), CopyText(e.client, u"Stored");
  CopyText(e.notes, u"stored note");
  Blob before;
  if (c.existing) {
    c.expense ? SerializeExpenseRecord(e, &before) : SerializeTimeRecord(t, &before);
    c.expense ? config.setDefaultExpenseRecordBlob(before) : config.setDefaultTimeRecordBlob(before);
  }
  // Left-overs of an earlier entry must not reach a new default.
  CopyText(WorkingTimeRecord.client, u"Stale"), CopyText(WorkingExpenseRecord.client, u"Stale");

  HWND owner = &config;
  int runs = 0;
  const DefaultRecordEditor editor = [&](HWND o, bool editing) {
    ++runs;
    EXPECT_EQ(o, owner);
    EXPECT_EQ(editing, c.existing);
    EXPECT_EQ(c.expense ? TextOf(WorkingExpenseRecord.client) : TextOf(WorkingTimeRecord.client),
              c.existing ? u"Stored" : u"");
    CopyText(WorkingTimeRecord.client, u"Edited"), CopyText(WorkingExpenseRecord.client, u"Edited");
    return c.result;
  };
  EXPECT_EQ(c.expense ? EditDefaultExpenseRecord(owner, config, editor) : EditDefaultTimeRecord(owner, config, editor),
            c.result == IDOK);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(c.expense ? config.defaultTimeRecordBlob() : config.defaultExpenseRecordBlob(), nullptr);

  const Blob* now = c.expense ? config.defaultExpenseRecordBlob() : config.defaultTimeRecordBlob();
  if (c.result != IDOK) {
    EXPECT_EQ(now ? *now : Blob{}, before);
    return;
  }
  ASSERT_TRUE(c.expense ? DeserializeExpenseRecord(now, e) : DeserializeTimeRecord(now, t));
  EXPECT_EQ(c.expense ? TextOf(e.client) : TextOf(t.client), u"Edited");
  EXPECT_EQ(c.expense ? TextOf(e.notes) : TextOf(t.notes), c.existing ? u"stored note" : u"");
}

INSTANTIATE_TEST_SUITE_P(Buttons, DefaultRecordTest, testing::ValuesIn(kDefaultCases),
                         [](const auto& info) { return std::string(info.param.label); });

// --- Writing the settings when a dialog closes --------------------------------

struct StoreCase {
  const char* label;
  bool stored;
  std::function<void(PWHConfiguration&)> dialog;  // what the dialog changed
};

TimeRecord NotedTime(std::size_t noteLength) {
  TimeRecord r;
  CopyText(r.client, u"Acme"), CopyText(r.notes, std::u16string(noteLength, u'n'));
  return r;
}

const StoreCase kStoreCases[] = {
    {"Columns", true,
     [](PWHConfiguration& c) {
       HideVisibleColumn(nullptr, c.columns(), ColumnRange::Time, 2);
       MoveVisibleColumnDown(nullptr, c.columns(), ColumnRange::Expense, 0);
     }},
    {"FormsAndSwitches", true,
     [](PWHConfiguration& c) { ApplyAppConfigChoices(c, {true, true, {false, true, false, true, false, true}, true, false}); }},
    {"DefaultTimeRecordWithTheLongestNote", true,
     [](PWHConfiguration& c) {
       EditDefaultTimeRecord(nullptr, c, [](HWND, bool) { return (WorkingTimeRecord = NotedTime(227)), IDOK; });
     }},
    {"DefaultExpenseRecord", true,
     [](PWHConfiguration& c) {
       EditDefaultExpenseRecord(nullptr, c, [](HWND, bool) { return CopyText(WorkingExpenseRecord.notes, u"taxi"), IDOK; });
     }},
    {"DefaultTimeRecordNoteTooLong", false,
     [](PWHConfiguration& c) {
       EditDefaultExpenseRecord(nullptr, c, [](HWND, bool) { return IDOK; });
       EditDefaultTimeRecord(nullptr, c, [](HWND, bool) { return (WorkingTimeRecord = NotedTime(228)), IDOK; });
     }},
};

class StoreOnCloseTest : public AppConfigTest, public testing::WithParamInterface<StoreCase> {};

TEST_P(StoreOnCloseTest, KeyHoldsTheSettingsByteForByte) {
  const StoreCase& c = GetParam();
  PWHConfiguration config;
  const Values before = Stored();
  c.dialog(config);
  EXPECT_EQ(StoreSettingsNow(&config), c.stored);
  // A refused value leaves every value as it was.
  EXPECT_EQ(Stored(), c.stored ? Expected(config) : before);
  if (c.stored) {
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_EQ(Expected(PWHConfiguration()), Expected(config));  // the next start reads them back alike
    return;
  }
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].title, u"PWH Configuration Error");
  EXPECT_NE(host_.messages[0].text.find(u"Maximum key length of 4096 exceeded [4098]."), std::u16string::npos);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, StoreOnCloseTest, testing::ValuesIn(kStoreCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(StoreSettingsNowTest, NothingWithoutSettings) { EXPECT_FALSE(StoreSettingsNow(nullptr)); }

}  // namespace
}  // namespace pw
