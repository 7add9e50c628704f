#include "config/app_config.h"

#include <algorithm>

#include "platform/host_port.h"

namespace pw {

AppConfigChoices ReadAppConfigChoices(const Settings& settings) {
  AppConfigChoices c;
  c.europeanDates = settings.europeanDates();
  c.armyTimes = settings.europeanTimes();
  for (int i = 0; i < PWH_CONFIRMATION_COUNT; ++i) c.confirm[std::size_t(i)] = settings.on(i);
  c.defaultTimeActive = settings.defaultTimeRecordActive();
  c.defaultExpenseActive = settings.defaultExpenseRecordActive();
  c.awayMinutes = settings.AwayMinutes;
  return c;
}

void ApplyAppConfigChoices(Settings& settings, const AppConfigChoices& c) {
  for (int i = 0; i < PWH_CONFIRMATION_COUNT; ++i) settings.set(i, c.confirm[std::size_t(i)]);
  settings.UseEuropeanDateFormat = c.europeanDates ? 1 : 0;
  settings.UseEuropeanTimeFormat = c.armyTimes ? 1 : 0;
  settings.set(PWH_DEFAULT_TIME_RECORD_ACTIVE, c.defaultTimeActive);
  settings.set(PWH_DEFAULT_EXPENSE_RECORD_ACTIVE, c.defaultExpenseActive);
  settings.AwayMinutes = std::clamp(c.awayMinutes, 0, PWH_MAX_AWAY_MINUTES);
}

namespace {

// The flow shared by both record kinds.
template <class Record, class Deserialize, class Serialize>
bool EditDefault(HWND owner, const Blob* stored, Record& working, const DefaultRecordEditor& editor,
                 Deserialize deserialize, Serialize serialize, Blob* replacement) {
  const bool editing = stored != nullptr;
  ClearRecord(working);
  if (editing) deserialize(stored, working);
  if (editor(owner, editing) != IDOK) return false;
  return serialize(working, replacement);
}

}  // namespace

bool EditDefaultTimeRecord(HWND owner, Settings& config, TimeRecord& working, const DefaultRecordEditor& editor) {
  Blob blob;
  if (!EditDefault(owner, config.defaultTimeRecordBlob(), working, editor, DeserializeTimeRecord,
                   SerializeTimeRecord, &blob))
    return false;
  config.setDefaultTimeRecordBlob(std::move(blob));
  return true;
}

bool EditDefaultExpenseRecord(HWND owner, Settings& config, ExpenseRecord& working,
                              const DefaultRecordEditor& editor) {
  Blob blob;
  if (!EditDefault(owner, config.defaultExpenseRecordBlob(), working, editor, DeserializeExpenseRecord,
                   SerializeExpenseRecord, &blob))
    return false;
  config.setDefaultExpenseRecordBlob(std::move(blob));
  return true;
}

bool StoreSettingsNow(PWHConfiguration* config) {
  if (!config || !config->keyOpen()) return false;
  return config->storeSelf();
}

}  // namespace pw
