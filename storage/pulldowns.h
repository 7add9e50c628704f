// The pulldown lists offered in the entry and selection dialogs.
//
// Each value is one record of the configuration database holding exactly one
// text property whose identifier carries the value's category:
// (category id << 16) | CEVT_LPWSTR. The database has no sort order; the
// boxes that show the values sort them themselves. Every operation walks the
// database from position 0; lookups and deletes stop at the first match and
// compare exactly (case-sensitive).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <span>
#include <string_view>

#include "platform/object_store.h"
#include "platform/types.h"

namespace pw {

// Category ids.
enum : int {
  PWH_PULLDOWN_CLIENT = 16,
  PWH_PULLDOWN_PROJECT = 17,
  PWH_PULLDOWN_SUBPROJECT = 32,
  PWH_PULLDOWN_TASK = 33,
  PWH_PULLDOWN_TIME_RATE = 34,
  PWH_PULLDOWN_DESCRIPTION = 68,
  PWH_PULLDOWN_MILEAGE = 69,
  PWH_PULLDOWN_MILEAGE_RATE = 70,
  PWH_PULLDOWN_PAYMENT = 71,
  PWH_PULLDOWN_CURRENCY = 72,
  PWH_PULLDOWN_AMOUNT = 73,
};

// Results of CheckProp: callers offer a text for addition whenever the
// result is not PWH_PULLDOWN_PRESENT.
inline constexpr int PWH_PULLDOWN_PRESENT = 5;
inline constexpr int PWH_PULLDOWN_ABSENT = 6;

struct PulldownCategory {
  std::u16string_view name;       // as written in pulldown list files
  int id;
  std::u16string_view word;       // in the question that offers a value for adding
  std::u16string_view pageTitle;  // page of the pulldown list editor
};

// The category table, in its fixed order.
inline constexpr std::array<PulldownCategory, 11> PulldownCategories{{
    {u"Client", PWH_PULLDOWN_CLIENT, u"client", u"Client"},
    {u"Project", PWH_PULLDOWN_PROJECT, u"project", u"Project"},
    {u"Time Billing Rate", PWH_PULLDOWN_TIME_RATE, u"rate", u"Rate"},
    {u"Subproject", PWH_PULLDOWN_SUBPROJECT, u"subproject", u"Subproject"},
    {u"Task", PWH_PULLDOWN_TASK, u"task", u"Task"},
    {u"Description", PWH_PULLDOWN_DESCRIPTION, u"expense description", u"Expense Description"},
    {u"Mileage", PWH_PULLDOWN_MILEAGE, u"expense mileage", u"Mileage"},
    {u"Mileage Rate", PWH_PULLDOWN_MILEAGE_RATE, u"expense mileage rate", u"Mileage Rate"},
    {u"Payment Type", PWH_PULLDOWN_PAYMENT, u"expense payment", u"Payment"},
    {u"Currency", PWH_PULLDOWN_CURRENCY, u"currency code", u"Currency"},
    {u"Amount", PWH_PULLDOWN_AMOUNT, u"amount", u"Amount"},
}};

// The table row of a category id, or null.
const PulldownCategory* FindPulldownCategory(int categoryId);
// The id of the first category whose name is exactly name, or 0.
int PulldownCategoryIdByName(std::u16string_view name);

constexpr CEPROPID PulldownPropId(int categoryId) {
  return MakePropId(WORD(categoryId), CEVT_LPWSTR);
}

// One pulldown list value with its category's name.
struct PulldownEntry {
  std::u16string category;
  std::u16string text;
};

// Turns a read property into an entry; false when its category is not in
// the table.
bool CEPROPVALToPWHPulldownEntry(const CEPROPVAL& prop, PulldownEntry* entry);

// Receives the values of a category, in walk order (a combo box or a list
// box in the GUI; the box sorts them itself).
using PulldownSink = std::function<void(std::u16string_view text)>;

// Adds every value of the category to box (which is not emptied first).
// False after a read error, when box keeps what was added until then.
bool InitPulldown(HWND owner, DatabaseHandle& db, const PulldownSink& box, int categoryId);
// The same for the pulldown list editor's list boxes: no activity text, and a
// message for a closed database.
bool InitPulldownList(HWND owner, DatabaseHandle& db, const PulldownSink& box, int categoryId);

// PWH_PULLDOWN_PRESENT when the text is listed in the category (or is empty
// or "n/a", which are never listed); PWH_PULLDOWN_ABSENT otherwise or when
// the lookup failed.
int CheckProp(HWND owner, DatabaseHandle& db, int categoryId, std::u16string_view text);

// Stores the text as a new value of the category, without a lookup.
bool AddNewPulldownItem(HWND owner, std::u16string_view text, DatabaseHandle& db, int categoryId);

// Adds the text to the category in the configuration database db, first
// asking the user when ask is set. False when the user declined or the
// category is unknown.
bool AddEntryPulldown(HWND owner, DatabaseHandle& db, std::u16string_view text, int categoryId, bool ask);

// A value for a category's pulldown list.
struct PulldownValue {
  int categoryId;
  std::u16string_view text;
};
// What OK in an entry dialog does with its values: each one not yet listed
// (and neither empty nor "n/a") is added to its category, in the given
// order, asking first when ask is set. When further new values follow, the
// question also offers "Yes to All" and "No to All", which answer it for
// the values still to come.
void OfferNewPulldownValues(HWND owner, DatabaseHandle& db, std::span<const PulldownValue> values, bool ask);

// Deletes the first value of the category equal to text; false when there is
// none or the delete failed.
bool DeletePulldownItem(HWND owner, std::u16string_view text, DatabaseHandle& db, int categoryId);

}  // namespace pw
