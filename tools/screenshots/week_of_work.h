// A week of work for the pictures of the main window and the report: nine
// time records from Friday 03/08/2024 to Thursday 03/14/2024.
#pragma once

#include <functional>
#include <string_view>

#include "storage/record_operations.h"
#include "storage/records.h"
#include "text/fixed_text.h"

namespace pw::screenshots {

// Adds the week to a time database; adjust may change each record first.
// False when a record could not be added.
inline bool PutAWeekOfWork(DatabaseHandle& db, const std::function<void(TimeRecord&)>& adjust = {}) {
  const struct {
    const char16_t* date;
    int start, end;  // 24-hour clock, hhmm
    const char16_t *duration, *client, *project, *task, *rate, *amount;
    int billed;
    const char16_t* note;
  } week[] = {
      {u"03/08/2024", 900, 1130, u"02:30", u"Acme Corp", u"Website", u"Design", u"85", u"212.50", 1, u""},
      {u"03/08/2024", 1300, 1615, u"03:15", u"Birch & Co", u"Payroll", u"Support", u"70", u"227.50", 1, u"Year-end figures"},
      {u"03/11/2024", 830, 1200, u"03:30", u"Acme Corp", u"Website", u"Development", u"85", u"297.50", 0, u""},
      {u"03/11/2024", 1330, 1700, u"03:30", u"City Library", u"Catalogue", u"Development", u"60", u"210.00", 0,
       u"New search page"},
      {u"03/12/2024", 915, 1000, u"00:45", u"Internal", u"Admin", u"Invoices", u"0", u"0.00", 0, u""},
      {u"03/12/2024", 1000, 1300, u"03:00", u"Birch & Co", u"Payroll", u"Meeting", u"70", u"210.00", 0, u""},
      {u"03/13/2024", 900, 1230, u"03:30", u"Acme Corp", u"Shop", u"Development", u"85", u"297.50", 0, u"Checkout flow"},
      {u"03/13/2024", 1400, 1645, u"02:45", u"City Library", u"Catalogue", u"Testing", u"60", u"165.00", 0, u""},
      {u"03/14/2024", 845, 1015, u"01:30", u"Acme Corp", u"Shop", u"Review", u"85", u"127.50", 0, u""},
  };
  for (const auto& w : week) {
    TimeRecord r;
    CopyText(r.date, w.date), CopyText(r.duration, w.duration), CopyText(r.client, w.client);
    CopyText(r.project, w.project), CopyText(r.subproject, u"n/a"), CopyText(r.task, w.task);
    CopyText(r.rate, w.rate), CopyText(r.currency, u"USD"), CopyText(r.amount, w.amount), CopyText(r.notes, w.note);
    r.startHour = (w.start / 100 + 11) % 12 + 1, r.startMinute = w.start % 100, r.startPm = w.start >= 1200;
    r.endHour = (w.end / 100 + 11) % 12 + 1, r.endMinute = w.end % 100, r.endPm = w.end >= 1200;
    r.billable = std::u16string_view(w.rate) != u"0";
    r.billed = w.billed;
    if (adjust) adjust(r);
    if (!AddNewRecord(nullptr, db, r)) return false;
  }
  return true;
}

}  // namespace pw::screenshots
