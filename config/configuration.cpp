#include "config/configuration.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "platform/host_port.h"
#include "storage/record_fields.h"
#include "text/fixed_text.h"
#include "text/format.h"

namespace pw {

namespace {

constexpr const char16_t* kConfigErrorTitle = u"PWH Configuration Error";
constexpr const char16_t* kErrorTitle = u"Pennywhistle Error";

constexpr const char16_t* kColumnsValue = u"RuntimeColumnInfo";
constexpr const char16_t* kSortOrderValue = u"DBSortOrder";
constexpr const char16_t* kFlagsValue = u"BehaviorLogicBools";
constexpr const char16_t* kEuropeanDateValue = u"UseEuropeanDateFormat";
constexpr const char16_t* kEuropeanTimeValue = u"UseEuropeanTimeFormat";
constexpr const char16_t* kTimeRecordValue = u"DefaultTimeRecord";
constexpr const char16_t* kExpenseLowValue = u"lDefaultExpenseRecord";
constexpr const char16_t* kExpenseHighValue = u"hDefaultExpenseRecord";
constexpr const char16_t* kRunningTimerValue = u"RunningTimerRecord";
constexpr const char16_t* kAwayMinutesValue = u"AskWhenAwayMinutes";

std::uint32_t ReadUint32(const Blob& blob) {
  return std::uint32_t(blob[0]) | std::uint32_t(blob[1]) << 8 | std::uint32_t(blob[2]) << 16 |
         std::uint32_t(blob[3]) << 24;
}

std::array<std::uint8_t, 4> Uint32Bytes(std::uint32_t v) {
  return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

void ShowProblem(std::u16string_view text, const char16_t* title) {
  MessageBoxW(nullptr, text, title, MB_OK | MB_ICONEXCLAMATION);
}

// Little-endian writing of a record, field after field.
class BlobWriter {
 public:
  explicit BlobWriter(Blob& out) : out_(out) {}
  void Int(std::int32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
  }
  void Byte(bool v) { out_.push_back(v ? 1 : 0); }
  // The whole array, the units after the text included.
  void Text(std::span<const char16_t> field) {
    for (char16_t c : field) Unit(c);
  }
  void Note(std::u16string_view note) {
    for (char16_t c : note) Unit(c);
    Unit(0);
  }

 private:
  void Unit(char16_t c) {
    out_.push_back(std::uint8_t(c));
    out_.push_back(std::uint8_t(c >> 8));
  }
  Blob& out_;
};

// Reads back what BlobWriter wrote; the caller checked the fixed part's length.
class BlobReader {
 public:
  explicit BlobReader(const Blob& in) : in_(in) {}
  std::int32_t Int() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(in_[at_++]) << (8 * i);
    return std::int32_t(v);
  }
  bool Byte() { return in_[at_++] != 0; }
  // Stored texts may lack their terminator or run to the array's end: cut to
  // the field, never splitting a surrogate pair.
  void Text(std::span<char16_t> field) {
    std::u16string stored(field.size(), u'\0');
    for (char16_t& c : stored) c = Unit();
    CopyText(field, TextOf(std::span<const char16_t>(stored)));
  }
  // The note runs to its NUL or to the blob's end, whichever comes first.
  void Note(std::span<char16_t> field) {
    std::u16string note;
    while (at_ + 1 < in_.size() && note.size() < field.size()) {
      const char16_t c = Unit();
      if (c == 0) break;
      note.push_back(c);
    }
    CopyText(field, note);
  }

 private:
  char16_t Unit() {
    const char16_t c = char16_t(in_[at_] | (in_[at_ + 1] << 8));
    at_ += 2;
    return c;
  }
  const Blob& in_;
  std::size_t at_ = 0;
};

// A stored default record holds its fields in the table's blob order: numbers
// in 4 bytes, flags in 1, texts as their whole array, and last the note, to
// its terminator only.
template <class Record>
constexpr std::size_t BlobFixedSize() {
  std::size_t size = 0;
  for (std::size_t i : kBlobOrder<Record>) {
    const auto& f = FieldsOf<Record>()[i];
    size += f.type == FieldType::Number ? 4 : f.type == FieldType::Flag ? 1 : 2 * f.limit;
  }
  return size - 2 * FieldsOf<Record>()[kBlobOrder<Record>.back()].limit;
}
static_assert(BlobFixedSize<TimeRecord>() == PWH_TIME_BLOB_FIXED_SIZE);
static_assert(BlobFixedSize<ExpenseRecord>() == PWH_EXPENSE_BLOB_FIXED_SIZE);

template <class Record>
bool Serialize(const Record& record, Blob* blob) {
  if (!blob) return false;
  constexpr std::size_t kNote = kBlobOrder<Record>.back();
  static_assert(FieldsOf<Record>()[kNote].type == FieldType::Text);
  const auto& fields = FieldsOf<Record>();
  Blob out;
  try {
    out.reserve(BlobFixedSize<Record>() + 2 * FieldText(fields[kNote], record).size() + 2);
  } catch (...) {
    return false;
  }
  BlobWriter w(out);
  for (std::size_t i : kBlobOrder<Record>) {
    const RecordField<Record>& f = fields[i];
    if (i == kNote) w.Note(FieldText(f, record));
    else if (f.type == FieldType::Text) w.Text(FieldArray(f, record));
    else if (f.type == FieldType::Flag) w.Byte(record.*f.flag);
    else w.Int(record.*f.number);
  }
  *blob = std::move(out);
  return true;
}

template <class Record>
bool Deserialize(const Blob* blob, Record& record) {
  if (!blob || blob->size() < BlobFixedSize<Record>()) return false;
  constexpr std::size_t kNote = kBlobOrder<Record>.back();
  const auto& fields = FieldsOf<Record>();
  BlobReader r(*blob);
  for (std::size_t i : kBlobOrder<Record>) {
    const RecordField<Record>& f = fields[i];
    if (i == kNote) r.Note(f.text(record));
    else if (f.type == FieldType::Text) r.Text(f.text(record));
    else if (f.type == FieldType::Flag) record.*f.flag = r.Byte();
    else record.*f.number = r.Int();
  }
  return true;
}

}  // namespace

PWHConfiguration::PWHConfiguration(const char16_t* keyPath) : keyPath_(keyPath ? keyPath : u"") {
  DWORD disposition = 0;
  const LONG rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath_, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                                  &disposition);
  if (rc != ERROR_SUCCESS) {
    key_ = nullptr;
    ShowProblem(Format(u"Pennywhistle was unable to access device registry key:\n\n\"%s\"\n\nto configure itself - "
                       u"your device registry might be corrupted - using default PWH configuration. Error code: [%ld].",
                       keyPath_, rc),
                kConfigErrorTitle);
    setDefaults();
    return;
  }
  setDefaults();
  if (disposition == REG_CREATED_NEW_KEY) {
    storeSelf();  // a new key holds all eight values from the start
  } else {
    loadSelf();
  }
}

PWHConfiguration::~PWHConfiguration() {
  // Without a key the user was told at start-up that defaults are in use;
  // there is nothing to store or close, and nothing more to say.
  if (!key_) return;
  storeSelf();
  if (RegCloseKey(key_) != ERROR_SUCCESS) {
    MessageBoxW(nullptr, Format(u"Warning: Pennywhistle was unable to close registry configuration key:\n\n\"%s\".", keyPath_),
                u"PWH Config Warning", MB_OK | MB_ICONINFORMATION);
  }
  key_ = nullptr;
}

void PWHConfiguration::setDefaults() {
  columnModel_.Reset();
  DBSortOrder = 1;
  for (int i = 0; i < PWH_BEHAVIOR_FLAG_COUNT; ++i) behaviorFlags[i] = i < PWH_DEFAULT_TIME_RECORD_ACTIVE ? 1 : 0;
  UseEuropeanDateFormat = 0;
  UseEuropeanTimeFormat = 0;
  RunningTimerOid = 0;
  AwayMinutes = PWH_DEFAULT_AWAY_MINUTES;
  timeBlob_.clear();
  expenseBlob_.clear();
}

void PWHConfiguration::loadSelf() {
  // Every value is read on its own: one that is missing or short keeps its
  // default (and gets it stored at exit), one that cannot be read keeps it
  // too but is remembered as unknown, and neither stops the others.
  Blob blob;
  std::size_t length = 0;
  const auto read = [&](std::size_t value, const char16_t* name, bool required, std::size_t minLength,
                        bool markerAllowed) {
    const ValueRead got = readValue(name, &blob, &length, required, minLength, markerAllowed);
    if (got == ValueRead::Unreadable) unreadable_[value] = true;
    return got == ValueRead::Read;
  };
  if (read(0, kColumnsValue, true, PWH_COLUMN_TABLE_SIZE, false)) columnModel_.Deserialize(blob.data(), length);
  if (read(1, kSortOrderValue, true, 1, false)) DBSortOrder = blob[0];
  if (read(3, kEuropeanDateValue, false, 1, false)) UseEuropeanDateFormat = blob[0];
  if (read(4, kEuropeanTimeValue, false, 1, false)) UseEuropeanTimeFormat = blob[0];
  if (read(2, kFlagsValue, true, PWH_BEHAVIOR_FLAG_COUNT, false))
    std::copy_n(blob.begin(), PWH_BEHAVIOR_FLAG_COUNT, behaviorFlags);
  if (read(5, kTimeRecordValue, true, PWH_TIME_BLOB_FIXED_SIZE + 2, true)) {
    if (length == 2) timeBlob_.clear();
    else timeBlob_ = std::move(blob);
  }
  loadExpenseRecord();

  Blob columns;
  if (columnModel_.Serialize(&columns)) loaded_ = storedValues(columns);
  else unreadable_[0] = false;  // storeSelf reports this itself
  loadTimerValues();
}

void PWHConfiguration::loadTimerValues() {
  Blob blob;
  std::size_t length = 0;
  ValueRead got = readValue(kRunningTimerValue, &blob, &length, false, 4, false);
  if (got == ValueRead::Read) RunningTimerOid = ReadUint32(blob);
  timerUnreadable_ = got == ValueRead::Unreadable;
  got = readValue(kAwayMinutesValue, &blob, &length, false, 4, false);
  if (got == ValueRead::Read) {
    const std::int32_t minutes = std::int32_t(ReadUint32(blob));
    AwayMinutes = minutes >= 0 && minutes <= PWH_MAX_AWAY_MINUTES ? minutes : AwayMinutes;
  }
  awayUnreadable_ = got == ValueRead::Unreadable;
}

bool PWHConfiguration::writeTimerValues() {
  // A value that could not be read is left as stored unless it was changed.
  if (!awayUnreadable_ || AwayMinutes != PWH_DEFAULT_AWAY_MINUTES) {
    const auto away = Uint32Bytes(std::uint32_t(AwayMinutes));
    if (!WriteRegistryKey(kAwayMinutesValue, away.data(), away.size())) return false;
  }
  return timerUnreadable_ || storeRunningTimer();
}

bool PWHConfiguration::storeRunningTimer() {
  if (!key_) return false;
  timerUnreadable_ = false;
  const auto oid = Uint32Bytes(RunningTimerOid);
  return WriteRegistryKey(kRunningTimerValue, oid.data(), oid.size());
}

void PWHConfiguration::loadExpenseRecord() {
  // The expense record is kept in two halves of at least 2060 bytes each.
  constexpr std::size_t kHalf = (PWH_EXPENSE_BLOB_FIXED_SIZE + 2) / 2;
  Blob low;
  std::size_t lowLength = 0;
  const ValueRead lowRead = readValue(kExpenseLowValue, &low, &lowLength, true, kHalf, true);
  if (lowRead != ValueRead::Read || lowLength == 2) {
    unreadable_[6] = lowRead == ValueRead::Unreadable;
    return;
  }
  Blob high;
  std::size_t highLength = 0;
  const ValueRead highRead = readValue(kExpenseHighValue, &high, &highLength, true, kHalf, false);
  unreadable_[6] = highRead == ValueRead::Unreadable;
  // The halves of one record are always the same length; unequal ones come
  // from two different records and would join into garbled text.
  if (highRead != ValueRead::Read || highLength != lowLength) return;
  low.insert(low.end(), high.begin(), high.end());
  expenseBlob_ = std::move(low);
}

bool PWHConfiguration::storeSelf() {
  // No key: nothing can be stored; the start-up message already said so.
  if (!key_) return false;

  Blob columns;
  if (!columnModel_.Serialize(&columns) || columns.size() != PWH_COLUMN_TABLE_SIZE) {
    ShowProblem(u"PWHConfiguration::storeSelf: internal error: failed serializing column information.", kConfigErrorTitle);
    return false;
  }
  // The eight values are stored together or not at all: a crash or a failed
  // write leaves the settings of the last run whole, never half of each.
  RegistryTransaction group;
  if (const LONG rc = group.Begun(); rc != ERROR_SUCCESS) {
    showUnableToStore(rc);
    return false;
  }
  if (!writeValues(columns) || !writeTimerValues()) return false;
  if (const LONG rc = group.Commit(); rc != ERROR_SUCCESS) {
    showUnableToStore(rc);
    return false;
  }
  return true;
}

void PWHConfiguration::showUnableToStore(LONG code) {
  ShowProblem(Format(u"Pennywhistle was unable to store device registry key:\n\n\"%s\".\n\n"
                     u"Your device registry might be corrupted. Error code: [%ld].",
                     keyPath_, code),
              kConfigErrorTitle);
}

PWHConfiguration::StoredValues PWHConfiguration::storedValues(const Blob& columns) const {
  const auto byte = [](std::uint8_t b) { return Blob{b}; };
  const Blob none(std::begin(PWH_NO_DEFAULT_MARKER), std::end(PWH_NO_DEFAULT_MARKER));
  return {columns,
          byte(DBSortOrder),
          Blob(behaviorFlags, behaviorFlags + PWH_BEHAVIOR_FLAG_COUNT),
          byte(UseEuropeanDateFormat),
          byte(UseEuropeanTimeFormat),
          timeBlob_.empty() ? none : timeBlob_,
          expenseBlob_};
}

bool PWHConfiguration::writeValues(const Blob& columns) {
  static constexpr const char16_t* kNames[] = {kColumnsValue,      kSortOrderValue,    kFlagsValue,
                                               kEuropeanDateValue, kEuropeanTimeValue, kTimeRecordValue};
  const StoredValues values = storedValues(columns);
  for (std::size_t i = 0; i < kValueCount; ++i) {
    // A value unread at start-up and unchanged since: what is stored stays.
    if (unreadable_[i] && values[i] == loaded_[i]) continue;
    const Blob& v = values[i];
    if (i < std::size(kNames)) {
      if (!WriteRegistryKey(kNames[i], v.data(), v.size())) return false;
    } else if (v.empty()) {
      if (!WriteRegistryKey(kExpenseLowValue, PWH_NO_DEFAULT_MARKER, 2)) return false;
      if (!WriteRegistryKey(kExpenseHighValue, PWH_NO_DEFAULT_MARKER, 2)) return false;
    } else {
      const std::size_t half = v.size() / 2;
      if (!WriteRegistryKey(kExpenseLowValue, v.data(), half)) return false;
      if (!WriteRegistryKey(kExpenseHighValue, v.data() + half, v.size() - half)) return false;
    }
  }
  return true;
}

bool PWHConfiguration::WriteRegistryKey(const char16_t* valueName, const std::uint8_t* bytes, std::size_t length) {
  const std::u16string_view name = TextOf(valueName);
  if (length == 0) {
    ShowProblem(Format(u"PWHConfiguration::WriteRegistryKey: internal error: requested storage of an empty (length 0) "
                       u"registry key:\n\n\"%s\\%s\".",
                       keyPath_, name),
                kConfigErrorTitle);
    return false;
  }
  if (length > PWH_MAX_REGISTRY_VALUE_LENGTH) {
    ShowProblem(Format(u"PWHConfiguration::WriteRegistryKey: internal error: cannot store a registry key:\n\n"
                       u"\"%s\\%s\".\n\nMaximum key length of %d exceeded [%d].",
                       keyPath_, name, int(PWH_MAX_REGISTRY_VALUE_LENGTH), static_cast<long long>(length)),
                kConfigErrorTitle);
    return false;
  }
  const LONG rc = RegSetValueExW(key_, name, 0, REG_BINARY, bytes, DWORD(length));
  if (rc != ERROR_SUCCESS) {
    ShowProblem(Format(u"Pennywhistle was unable to store device registry key:\n\n\"%s\\%s\".\n\n"
                       u"Your device registry might be corrupted. Error code: [%ld].",
                       keyPath_, name, rc),
                kConfigErrorTitle);
    return false;
  }
  return true;
}

bool PWHConfiguration::ReadRegistryKey(const char16_t* valueName, Blob* pBlob, std::size_t* pBlobLength,
                                       bool required) {
  return readValue(valueName, pBlob, pBlobLength, required, 0, false) == ValueRead::Read;
}

void PWHConfiguration::showUnableToQuery(const char16_t* valueName, LONG code) {
  ShowProblem(Format(u"Pennywhistle::ReadRegistryKey: unable to query device registry key:\n\n\"%s\\%s\".\n\n"
                     u"Your device registry might be corrupted. Error code: [%ld].",
                     keyPath_, TextOf(valueName), code),
              kErrorTitle);
}

PWHConfiguration::ValueRead PWHConfiguration::readValue(const char16_t* valueName, Blob* pBlob,
                                                        std::size_t* pBlobLength, bool required,
                                                        std::size_t minLength, bool markerAllowed) {
  if (!pBlob) {
    ShowProblem(u"Pennywhistle::ReadRegistryKey: internal error: NULL pBlob specification passed.", kErrorTitle);
    return ValueRead::Missing;
  }
  if (!pBlobLength) {
    ShowProblem(u"Pennywhistle::ReadRegistryKey: internal error: NULL pBlobLength specification passed.", kErrorTitle);
    return ValueRead::Missing;
  }
  const std::u16string_view name = TextOf(valueName);
  *pBlobLength = 0;

  DWORD type = 0;
  DWORD size = 0;
  LONG rc = RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size);
  // A value of no bytes is reported, optional or not, and then counts as missing.
  if (rc == ERROR_SUCCESS && size == 0) {
    ShowProblem(Format(u"Pennywhistle::ReadRegistryKey: device registry key:\n\n\"%s\\%s\"\n\ncontains no data. "
                       u"Your device registry might be corrupted.",
                       keyPath_, name),
                kErrorTitle);
    return ValueRead::Missing;
  }
  // A value shorter than what is read from it is as good as missing.
  if (rc == ERROR_SUCCESS && size < minLength && !(markerAllowed && size == 2)) rc = LONG(ERROR_FILE_NOT_FOUND);
  if (rc != ERROR_SUCCESS) {
    if (required) showUnableToQuery(valueName, rc);
    return rc == LONG(ERROR_FILE_NOT_FOUND) ? ValueRead::Missing : ValueRead::Unreadable;
  }

  Blob buffer;
  try {
    buffer.resize(size);
  } catch (...) {
    ShowProblem(Format(u"Pennywhistle::ReadRegistryKey: could not allocate [%d] bytes for device registry key:\n\n"
                       u"\"%s\\%s\"\n\ncontents. The device might be running out of memory - close some programs and "
                       u"try again.",
                       static_cast<long long>(size), keyPath_, name),
                kErrorTitle);
    return ValueRead::Unreadable;
  }

  DWORD got = size;
  rc = RegQueryValueExW(key_, name, nullptr, &type, buffer.data(), &got);
  if (rc != ERROR_SUCCESS) {
    if (required) {
      ShowProblem(Format(u"Pennywhistle was unable to read device registry key:\n\n\"%s\\%s\".\n\n"
                         u"Your device registry might be corrupted. Error code: [%ld].",
                         keyPath_, name, rc),
                  kConfigErrorTitle);
    }
    return rc == LONG(ERROR_FILE_NOT_FOUND) ? ValueRead::Missing : ValueRead::Unreadable;
  }
  buffer.resize(got);
  *pBlob = std::move(buffer);
  *pBlobLength = got;
  return ValueRead::Read;
}

bool SerializeTimeRecord(const TimeRecord& record, Blob* blob) { return Serialize(record, blob); }

bool DeserializeTimeRecord(const Blob* blob, TimeRecord& record) {
  if (!Deserialize(blob, record)) return false;
  // Times no clock shows (another writer, damage) would overflow the minute
  // arithmetic: the record then has no times, as when none were entered.
  const auto fits = [](std::int32_t hour, std::int32_t minute) {
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59;
  };
  if (!fits(record.startHour, record.startMinute) || !fits(record.endHour, record.endMinute)) {
    record.startHour = record.startMinute = record.endHour = record.endMinute = 0;
    record.startPm = record.endPm = false;
  }
  return true;
}

bool SerializeExpenseRecord(const ExpenseRecord& record, Blob* blob) { return Serialize(record, blob); }

bool DeserializeExpenseRecord(const Blob* blob, ExpenseRecord& record) { return Deserialize(blob, record); }

}  // namespace pw
