#include "config/app_config.h"

#include "platform/host_port.h"
#include "shell/globals.h"

namespace pw {

AppConfigChoices ReadAppConfigChoices(const PWHConfiguration& config) {
  AppConfigChoices c;
  c.europeanDates = config.UseEuropeanDateFormat == 1;
  c.armyTimes = config.UseEuropeanTimeFormat == 1;
  for (int i = 0; i < PWH_CONFIRMATION_COUNT; ++i) c.confirm[std::size_t(i)] = config.behaviorFlags[i] == 1;
  c.defaultTimeActive = config.behaviorFlags[PWH_DEFAULT_TIME_RECORD_ACTIVE] == 1;
  c.defaultExpenseActive = config.behaviorFlags[PWH_DEFAULT_EXPENSE_RECORD_ACTIVE] == 1;
  return c;
}

void ApplyAppConfigChoices(PWHConfiguration& config, const AppConfigChoices& c) {
  for (int i = 0; i < PWH_CONFIRMATION_COUNT; ++i) config.behaviorFlags[i] = c.confirm[std::size_t(i)] ? 1 : 0;
  config.UseEuropeanDateFormat = c.europeanDates ? 1 : 0;
  config.UseEuropeanTimeFormat = c.armyTimes ? 1 : 0;
  config.defaultTimeRecordActive() = c.defaultTimeActive ? 1 : 0;
  config.defaultExpenseRecordActive() = c.defaultExpenseActive ? 1 : 0;
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

bool EditDefaultTimeRecord(HWND owner, PWHConfiguration& config, const DefaultRecordEditor& editor) {
  Blob blob;
  if (!EditDefault(owner, config.defaultTimeRecordBlob(), WorkingTimeRecord, editor, DeserializeTimeRecord,
                   SerializeTimeRecord, &blob))
    return false;
  config.setDefaultTimeRecordBlob(std::move(blob));
  return true;
}

bool EditDefaultExpenseRecord(HWND owner, PWHConfiguration& config, const DefaultRecordEditor& editor) {
  Blob blob;
  if (!EditDefault(owner, config.defaultExpenseRecordBlob(), WorkingExpenseRecord, editor, DeserializeExpenseRecord,
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
