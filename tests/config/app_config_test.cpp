#include "config/app_config.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
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
  bool existing;   // a default record is stored before the press
  int result;      // what the entry dialog returns
  bool replaced;
};

const DefaultCase kDefaultCases[] = {
    {"TimeNewOk", false, false, IDOK, true},      {"TimeNewCancel", false, false, IDCANCEL, false},
    {"TimeEditOk", false, true, IDOK, true},      {"TimeEditCancel", false, true, IDCANCEL, false},
    {"ExpenseNewOk", true, false, IDOK, true},    {"ExpenseNewCancel", true, false, IDCANCEL, false},
    {"ExpenseEditOk", true, true, IDOK, true},    {"ExpenseEditCancel", true, true, IDCANCEL, false},
};

class DefaultRecordTest : public AppConfigTest, public testing::WithParamInterface<DefaultCase> {};

TEST_P(DefaultRecordTest, EntryDialogRunsOnTheDefaultAndOkReplacesIt) {
  const DefaultCase& c = GetParam();
  PWHConfiguration config;
  Blob before;
  if (c.existing) {
    TimeRecord t;
    CopyText(t.client, u"Stored"), CopyText(t.notes, u"stored note");
    ExpenseRecord e;
    CopyText(e.client, u"Stored"), CopyText(e.notes, u"stored note");
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
    const std::u16string_view client = c.expense ? TextOf(WorkingExpenseRecord.client) : TextOf(WorkingTimeRecord.client);
    EXPECT_EQ(client, c.existing ? u"Stored" : u"");
    CopyText(WorkingTimeRecord.client, u"Edited"), CopyText(WorkingExpenseRecord.client, u"Edited");
    return c.result;
  };
  const bool replaced = c.expense ? EditDefaultExpenseRecord(owner, config, editor)
                                  : EditDefaultTimeRecord(owner, config, editor);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(replaced, c.replaced);

  const Blob* now = c.expense ? config.defaultExpenseRecordBlob() : config.defaultTimeRecordBlob();
  const Blob* untouched = c.expense ? config.defaultTimeRecordBlob() : config.defaultExpenseRecordBlob();
  EXPECT_EQ(untouched, nullptr);
  if (!c.replaced) {
    EXPECT_EQ(now ? *now : Blob{}, before);
    return;
  }
  ASSERT_NE(now, nullptr);
  TimeRecord t;
  ExpenseRecord e;
  ASSERT_TRUE(c.expense ? DeserializeExpenseRecord(now, e) : DeserializeTimeRecord(now, t));
  EXPECT_EQ(c.expense ? TextOf(e.client) : TextOf(t.client), u"Edited");
  EXPECT_EQ(c.expense ? TextOf(e.notes) : TextOf(t.notes), c.existing ? u"stored note" : u"");
}

INSTANTIATE_TEST_SUITE_P(Buttons, DefaultRecordTest, testing::ValuesIn(kDefaultCases),
                         [](const auto& info) { return std::string(info.param.label); });

// --- Writing the settings when a dialog closes --------------------------------

struct StoreCase {
  const char* label;
  std::function<void(PWHConfiguration&)> dialog;  // what the dialog changed
  bool stored;
  std::u16string failedValue;  // the value refused, when not stored
};

TimeRecord NotedTime(std::size_t noteLength) {
  TimeRecord r;
  CopyText(r.client, u"Acme");
  CopyText(r.notes, std::u16string(noteLength, u'n'));
  return r;
}

const StoreCase kStoreCases[] = {
    {"Columns",
     [](PWHConfiguration& c) {
       HideVisibleColumn(nullptr, c.columns(), ColumnRange::Time, 2);
       MoveVisibleColumnDown(nullptr, c.columns(), ColumnRange::Expense, 0);
     },
     true, {}},
    {"FormsAndSwitches",
     [](PWHConfiguration& c) {
       ApplyAppConfigChoices(c, {true, true, {false, true, false, true, false, true}, true, false});
     },
     true, {}},
    {"DefaultTimeRecordWithTheLongestNote",
     [](PWHConfiguration& c) {
       EditDefaultTimeRecord(nullptr, c, [](HWND, bool) { return (WorkingTimeRecord = NotedTime(227)), IDOK; });
     },
     true, {}},
    {"DefaultExpenseRecord",
     [](PWHConfiguration& c) {
       EditDefaultExpenseRecord(nullptr, c, [](HWND, bool) { return CopyText(WorkingExpenseRecord.notes, u"taxi"), IDOK; });
     },
     true, {}},
    {"DefaultTimeRecordNoteTooLong",
     [](PWHConfiguration& c) {
       EditDefaultExpenseRecord(nullptr, c, [](HWND, bool) { return IDOK; });
       EditDefaultTimeRecord(nullptr, c, [](HWND, bool) { return (WorkingTimeRecord = NotedTime(228)), IDOK; });
     },
     false, u"DefaultTimeRecord"},
};

class StoreOnCloseTest : public AppConfigTest, public testing::WithParamInterface<StoreCase> {};

TEST_P(StoreOnCloseTest, KeyHoldsTheSettingsByteForByte) {
  const StoreCase& c = GetParam();
  PWHConfiguration config;
  const Values before = Stored();
  c.dialog(config);
  EXPECT_EQ(StoreSettingsNow(&config), c.stored);

  const Values expected = Expected(config);
  const Values stored = Stored();
  if (c.stored) {
    EXPECT_EQ(stored, expected);
    EXPECT_TRUE(host_.messages.empty());
    PWHConfiguration reloaded;  // and the next start reads them back alike
    EXPECT_EQ(Expected(reloaded), expected);
    return;
  }
  // Values up to the refused one are written; it and the later ones keep what they held.
  bool reached = false;
  for (const std::u16string name : {u"RuntimeColumnInfo", u"DBSortOrder", u"BehaviorLogicBools", u"UseEuropeanDateFormat",
                           u"UseEuropeanTimeFormat", u"DefaultTimeRecord", u"lDefaultExpenseRecord",
                           u"hDefaultExpenseRecord"}) {
    reached = reached || name == c.failedValue;
    EXPECT_EQ(stored.at(name), (reached ? before : expected).at(name)) << testing::PrintToString(name);
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
