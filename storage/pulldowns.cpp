#include "storage/pulldowns.h"

#include <vector>

#include "platform/host_port.h"
#include "text/format.h"

namespace pw {
namespace {

constexpr std::u16string_view kIdle = u"idle";
constexpr std::u16string_view kDbErrorTitle = u"Pennywhistle Db Error";
constexpr std::u16string_view kNotApplicable = u"n/a";

void SetActivity(std::u16string_view text) { SetStatusText(PWH_STATUS_ACTIVITY, text); }

void ShowFailure(HWND owner, const std::u16string& text, std::u16string_view title) {
  MessageBoxW(owner, text, title, MB_OK | MB_ICONEXCLAMATION);
}

// How a walk over the configuration database ended.
enum class WalkEnd { Finished, Stopped, ReadFailed, BadRecord };

// Visits every record of the database from position 0 and hands the values
// of the category to visit(text, oid), which returns false to stop. At the
// normal end the database is sought back to position 0; after an error it is
// left where it stopped.
template <class Visit>
WalkEnd WalkCategory(DatabaseHandle& db, int categoryId, Visit visit) {
  const CEPROPID wanted = PulldownPropId(categoryId);
  PropertyBuffer buffer;
  for (DWORD position = 0;; ++position) {
    if (CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) == 0) break;
    const CEOID oid = CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer);
    if (oid == 0) return WalkEnd::ReadFailed;
    if (buffer.size() != 1) return WalkEnd::BadRecord;
    const CEPROPVAL& prop = buffer[0];
    if (prop.propid != wanted) continue;
    const std::u16string_view text = prop.val.lpwstr ? prop.val.lpwstr : u"";
    if (!visit(text, oid)) return WalkEnd::Stopped;
  }
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  return WalkEnd::Finished;
}

// Shows the message of a failed lookup walk (CheckProp, DeletePulldownItem).
void ShowLookupFailure(HWND owner, WalkEnd end) {
  if (end == WalkEnd::ReadFailed) {
    ShowFailure(owner, Format(u"CheckProp: could not CeReadRecordProps(): error code: (%ld).",
                              GetLastError()),
                kDbErrorTitle);
  } else if (end == WalkEnd::BadRecord) {
    ShowFailure(owner,
                Format(u"incorrect number of properties read in CeReadRecordProps(): error "
                       u"code: (%ld).",
                       GetLastError()),
                kDbErrorTitle);
  }
}

bool FillBox(HWND owner, DatabaseHandle& db, const PulldownSink& box, int categoryId) {
  const WalkEnd end = WalkCategory(db, categoryId, [&](std::u16string_view text, CEOID) {
    box(text);
    return true;
  });
  if (end == WalkEnd::ReadFailed) {
    ShowFailure(owner, Format(u"InitPulldown: could not CeReadRecordProps(): error code: (%ld).",
                              GetLastError()),
                kDbErrorTitle);
  } else if (end == WalkEnd::BadRecord) {
    ShowLookupFailure(owner, end);
  }
  return end == WalkEnd::Finished;
}

}  // namespace

const PulldownCategory* FindPulldownCategory(int categoryId) {
  for (const PulldownCategory& c : PulldownCategories) {
    if (c.id == categoryId) return &c;
  }
  return nullptr;
}

int PulldownCategoryIdByName(std::u16string_view name) {
  for (const PulldownCategory& c : PulldownCategories) {
    if (c.name == name) return c.id;
  }
  return 0;
}

bool CEPROPVALToPWHPulldownEntry(const CEPROPVAL& prop, PulldownEntry* entry) {
  const PulldownCategory* category = FindPulldownCategory(PropIdOf(prop.propid));
  if (category == nullptr || entry == nullptr) return false;
  entry->category = category->name;
  entry->text = prop.val.lpwstr ? prop.val.lpwstr : u"";
  return true;
}

bool InitPulldown(HWND owner, DatabaseHandle& db, const PulldownSink& box, int categoryId) {
  SetActivity(u"initializing pulldowns...");
  const bool whole = FillBox(owner, db, box, categoryId);
  SetActivity(kIdle);
  return whole;
}

bool InitPulldownList(HWND owner, DatabaseHandle& db, const PulldownSink& box, int categoryId) {
  if (!db.IsOpen()) {
    ShowFailure(owner, u"internal PWH error: InitPulldown(): INVALID_HANDLE_VALUE.",
                u"Pennywhistle Error");
    return false;
  }
  return FillBox(owner, db, box, categoryId);
}

int CheckProp(HWND owner, DatabaseHandle& db, int categoryId, std::u16string_view text) {
  if (text.empty() || text == kNotApplicable) return PWH_PULLDOWN_PRESENT;
  SetActivity(u"checking pulldown...");
  bool found = false;
  const WalkEnd end = WalkCategory(db, categoryId, [&](std::u16string_view value, CEOID) {
    found = value == text;
    return !found;
  });
  ShowLookupFailure(owner, end);
  SetActivity(kIdle);
  return found ? PWH_PULLDOWN_PRESENT : PWH_PULLDOWN_ABSENT;
}

bool AddNewPulldownItem(HWND owner, std::u16string_view text, DatabaseHandle& db, int categoryId) {
  SetActivity(u"adding pulldown...");
  const std::u16string value(text);
  CEPROPVAL prop;
  prop.propid = PulldownPropId(categoryId);
  prop.val.lpwstr = value.c_str();
  const bool written = CeWriteRecordProps(db, 0, 1, &prop) != 0;
  if (!written) {
    ShowFailure(owner, Format(u"AddNewPulldownItem: database write failed: %ld.", GetLastError()),
                u"Pennywhistle Error");
  }
  SetActivity(kIdle);
  return written;
}

namespace {

// AddEntryPulldown with the question's buttons; the answer (IDYES when
// nothing was asked), IDNO when the category is unknown.
int AskAndAdd(HWND owner, DatabaseHandle& db, std::u16string_view text, int categoryId, bool ask,
              unsigned buttons) {
  int answer = IDYES;
  if (ask) {
    const PulldownCategory* category = FindPulldownCategory(categoryId);
    if (category == nullptr) {
      ShowFailure(owner,
                  u"PWH: possible memory corruption: invalid data category passed to "
                  u"AddEntryPulldown.",
                  u"Data Entry Automation");
      return IDNO;
    }
    answer = MessageBoxW(owner, Format(u"Add %s '%s' to the pulldown list ?", category->word, text),
                         u"Data Entry Automation", buttons | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer != IDYES && answer != IDYESTOALL) return answer;
  }
  AddNewPulldownItem(owner, text, db, categoryId);
  return answer;
}

}  // namespace

bool AddEntryPulldown(HWND owner, DatabaseHandle& db, std::u16string_view text, int categoryId, bool ask) {
  return AskAndAdd(owner, db, text, categoryId, ask, MB_YESNO) == IDYES;
}

void OfferNewPulldownValues(HWND owner, DatabaseHandle& db, std::span<const PulldownValue> values, bool ask) {
  std::vector<const PulldownValue*> fresh;
  for (const PulldownValue& value : values)
    if (CheckProp(owner, db, value.categoryId, value.text) != PWH_PULLDOWN_PRESENT) fresh.push_back(&value);
  for (std::size_t i = 0; i < fresh.size(); ++i) {
    // "Yes to All" and "No to All" answer for the values still to come.
    const unsigned buttons = i + 1 < fresh.size() ? MB_YESNOALL : MB_YESNO;
    const int answer = AskAndAdd(owner, db, fresh[i]->text, fresh[i]->categoryId, ask, buttons);
    if (answer == IDNOTOALL) return;
    if (answer == IDYESTOALL) ask = false;
  }
}

bool DeletePulldownItem(HWND owner, std::u16string_view text, DatabaseHandle& db, int categoryId) {
  if (text.empty()) return false;
  bool deleted = false;
  const WalkEnd end = WalkCategory(db, categoryId, [&](std::u16string_view value, CEOID oid) {
    if (value != text) return true;
    SetActivity(u"deleting pulldown...");
    deleted = CeDeleteRecord(db, oid);
    if (!deleted) {
      ShowFailure(owner, Format(u"DeleteRecord error: CeDeleteRecord failed: %ld.", GetLastError()),
                  u"Error");
    }
    SetActivity(kIdle);
    return false;
  });
  ShowLookupFailure(owner, end);
  return deleted;
}

}  // namespace pw
